#include "widgets/powerspinbox.h"

#include <cstdlib>

#include "config/speakerediting.h"

namespace kvr::gui {

PowerSpinBox::PowerSpinBox(QWidget* parent) : QSpinBox(parent) {}

void PowerSpinBox::stepBy(int steps)
{
    int watts = value();
    for (int i = 0; i < std::abs(steps); ++i)
        watts = core::powerSpinStep(watts, steps < 0 ? -1 : 1, minimum(), maximum());
    setValue(watts);
}

} // namespace kvr::gui
