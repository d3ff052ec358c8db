// The power spin box on its own: its steps and its range ends.

#include <gtest/gtest.h>

#include "widgets/powerspinbox.h"

namespace kvr::gui::test {
namespace {

TEST(PowerSpinBox, StepsStayInsideTheRange)
{
    PowerSpinBox box;
    box.setRange(25, 1200);
    struct Step {
        int from, steps, to;
    };
    // 25 W steps below 1000 W, 100 W from there (down from 1000 too); the ends hold.
    for (const Step& s : {Step{25, -1, 25}, Step{25, 3, 100}, Step{950, 3, 1100}, Step{1100, 1, 1200},
                          Step{1200, 5, 1200}, Step{1100, -2, 900}}) {
        box.setValue(s.from);
        box.stepBy(s.steps);
        EXPECT_EQ(box.value(), s.to) << s.from << " " << s.steps;
    }
}

} // namespace
} // namespace kvr::gui::test
