#include "sim/link.h"
