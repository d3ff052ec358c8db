#include "io/link.h"

namespace kvr::io {

Link::~Link() = default;

} // namespace kvr::io
