#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tools/delayaxis.h"

using namespace kvr::core;

namespace {

TEST(DelayAxis, StepsAreOneTwoOrFiveTimesAPowerOfTen)
{
    struct Row {
        double value, step;
    };
    for (const Row& r : {Row{0.3, 0.5}, Row{1.0, 1.0}, Row{1.01, 2.0}, Row{2.0, 2.0}, Row{3.7, 5.0}, Row{5.2, 10.0},
                         Row{12.0, 20.0}, Row{0.12, 0.2}, Row{0.0, 1.0}, Row{-3.0, 1.0}})
        EXPECT_DOUBLE_EQ(niceStepAbove(r.value), r.step) << r.value;
}

TEST(DelayAxis, RangeFromZeroToTheStepAboveTheLargestDelay)
{
    struct Row {
        std::vector<double> values;
        double min, max;
    };
    const Row rows[] = {
        {{}, 0.0, 1.0},                     // nothing shown
        {{0.1, 0.2, 0.4}, 0.0, 1.0},        // at least a millisecond of room
        {{0.5, 3.0, 7.5}, 0.0, 10.0},       // 7.5 -> 10
        {{1.2, 1.2, 12.5}, 0.0, 20.0},      // 12.5 -> 20
        {{-0.3, 2.0, 4.0}, -0.5, 5.0},      // a negative delay: the step below it
        {{-80.0, 1.0, 400.0}, -20.0, 50.0}, // held to -20..50
    };
    for (const Row& r : rows) {
        const DelayAxisRange range = groupDelayAxisRange(r.values);
        EXPECT_DOUBLE_EQ(range.minMs, r.min) << r.values.size();
        EXPECT_DOUBLE_EQ(range.maxMs, r.max) << r.values.size();
    }
}

TEST(DelayAxis, AFewSpikesOfANotchDoNotSetTheRange)
{
    // 401 points of a curve near 2 ms, and at a notch three points far off either way.
    std::vector<double> values(401, 2.0);
    values[200] = 900.0;
    values[201] = -700.0;
    values[202] = 450.0;
    const DelayAxisRange range = groupDelayAxisRange(values);
    EXPECT_DOUBLE_EQ(range.minMs, 0.0);
    EXPECT_DOUBLE_EQ(range.maxMs, 2.0);
    // Infinite or undefined values are left out.
    const std::vector<double> odd{1.5, std::numeric_limits<double>::infinity(), std::nan("")};
    EXPECT_DOUBLE_EQ(groupDelayAxisRange(odd).maxMs, 2.0);
}

} // namespace
