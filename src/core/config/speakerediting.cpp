#include "config/speakerediting.h"

#include <cmath>
#include <cstdlib>

#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

constexpr int kPowerStepChangeW = 1000;
constexpr int kSmallPowerStepW = 25;
constexpr int kLargePowerStepW = 100;

int rounded(float value, int fallback)
{
    if (!std::isfinite(value)) return fallback;
    return static_cast<int>(clampTo<int64_t>(roundHalfEven(value), -1000000, 1000000));
}

} // namespace

int impedanceItemFromValue(float ohms)
{
    static constexpr std::array<int, 5> kRounded = {2, 3, 4, 8, 16};
    const int r = rounded(ohms, 8);
    int best = 0;
    for (int i = 1; i < static_cast<int>(kRounded.size()); ++i)
        if (std::abs(kRounded[static_cast<size_t>(i)] - r) < std::abs(kRounded[static_cast<size_t>(best)] - r))
            best = i;
    return best;
}

int powerSpinStep(int watts, int direction, int minWatts, int maxWatts)
{
    const int step = watts < kPowerStepChangeW ? kSmallPowerStepW : kLargePowerStepW;
    return clampTo(watts + (direction < 0 ? -step : step), minWatts, maxWatts);
}

std::string amplifierGainDbText(double gain)
{
    return formatFixed(20.0 * std::log10(gain), 1) + texts::kDbSuffix;
}

std::string speakerCaption(int output)
{
    return texts::kSpeakerCaptionStart + std::to_string(output) + texts::kSpeakerCaptionEnd;
}

SpeakerControls speakerControls(const TDYNAMIC& dyn)
{
    SpeakerControls c;
    c.impedanceItem = impedanceItemFromValue(dyn.Impedance);
    c.boxPowerW = clampTo(rounded(dyn.BoxPower, 400), kBoxPowerMin, kBoxPowerMax);
    c.ampGain = clampTo(rounded(dyn.AmpGain, 41), kAmpGainMin, kAmpGainMax);
    c.ampPowerW = clampTo(rounded(dyn.AmpPower, 600), kAmpPowerMin, kAmpPowerMax);
    c.balanced = dyn.Balanced != 0;
    c.numberSpeakersItem = clampTo<int32_t>(dyn.NumSpeakers, 0, kNumberSpeakersItems - 1);
    c.gainDbText = amplifierGainDbText(c.ampGain);
    return c;
}

void setSpeakerImpedance(Configuration& config, int output, int item)
{
    config.output(output).dynamics.Impedance =
        kImpedanceValues[static_cast<size_t>(clampTo(item, 0, static_cast<int>(kImpedanceValues.size()) - 1))];
}

void setSpeakerBoxPower(Configuration& config, int output, int watts)
{
    config.output(output).dynamics.BoxPower = static_cast<float>(clampTo(watts, kBoxPowerMin, kBoxPowerMax));
}

void setAmplifierGain(Configuration& config, int output, int gain)
{
    config.output(output).dynamics.AmpGain = static_cast<float>(clampTo(gain, kAmpGainMin, kAmpGainMax));
}

void setAmplifierPower(Configuration& config, int output, int watts)
{
    config.output(output).dynamics.AmpPower = static_cast<float>(clampTo(watts, kAmpPowerMin, kAmpPowerMax));
}

void setBalancedInput(Configuration& config, int output, bool balanced)
{
    config.output(output).dynamics.Balanced = balanced ? 1 : 0;
}

void setNumberOfSpeakers(Configuration& config, int output, int item)
{
    config.output(output).dynamics.NumSpeakers = clampTo(item, 0, kNumberSpeakersItems - 1);
}

} // namespace kvr::core
