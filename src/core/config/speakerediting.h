#pragma once

#include <array>
#include <string>

#include "config/configuration.h"

// The speaker and amplifier calculator's controls: the loudspeaker and amplifier data of output
// n's `TDYNAMIC`, with their ranges and steps. Its result text is `powerMemoLines`
// (tools/powercheck.h), computed again after every change.

namespace kvr::core {

// `Zload`: "2", "2.67", "4", "8", "16" ohms.
constexpr std::array<float, 5> kImpedanceValues = {2.0f, 2.67f, 4.0f, 8.0f, 16.0f};
constexpr int kBoxPowerMin = 25, kBoxPowerMax = 3200;
constexpr int kAmpPowerMin = 100, kAmpPowerMax = 3200;
constexpr int kAmpGainMin = 10, kAmpGainMax = 100;
constexpr int kNumberSpeakersItems = 4;

// The list item of an impedance, found from its rounded value (2, 3, 4, 8, 16); a value no item
// holds (from a file) shows the nearest one.
int impedanceItemFromValue(float ohms);
// The power spins step by 25 W below 1000 W and by 100 W from 1000 W on; one press in a
// direction (+1 up, -1 down), held to the range.
int powerSpinStep(int watts, int direction, int minWatts, int maxWatts);
// `dBlabel`: 20 log10(gain) with one decimal and " dB" (41 gives "32.3 dB").
std::string amplifierGainDbText(double gain);
// The caption label: "Output " + n + "  Parameters".
std::string speakerCaption(int output);

// What the controls show for output n.
struct SpeakerControls {
    int impedanceItem = 3;
    int boxPowerW = 400;
    int ampGain = 41;
    int ampPowerW = 600;
    bool balanced = true;
    int numberSpeakersItem = 1; // "1".."4" as 0..3
    std::string gainDbText;
};
SpeakerControls speakerControls(const TDYNAMIC& dyn);

// ---- The user's changes (values held to the controls' ranges) ----
void setSpeakerImpedance(Configuration& config, int output, int item);
void setSpeakerBoxPower(Configuration& config, int output, int watts);
void setAmplifierGain(Configuration& config, int output, int gain);
void setAmplifierPower(Configuration& config, int output, int watts);
void setBalancedInput(Configuration& config, int output, bool balanced);
void setNumberOfSpeakers(Configuration& config, int output, int item);

} // namespace kvr::core
