#pragma once

#include <string>

// What the level and delay windows show beside their controls, and the copy window's question.
// The windows only put these texts on screen.

namespace kvr::core {

// A level track's dB label: one decimal, no unit ("-6.0", "10.0").
std::string levelText(int position);

// The input delay window's readouts of a distance track at an air temperature.
struct InputDelayReadout {
    std::string metres; // two decimals
    std::string feet;   // two decimals
    std::string ms;     // two decimals: the distance's time, before it is rounded to samples
};
InputDelayReadout inputDelayReadout(int positionCm, int celsius);

// The output delay window's readouts of a track position (0.02 ms steps) at an air temperature;
// a position beyond the track is read at its end. The output equaliser shows the same ms.
struct OutputDelayReadout {
    std::string ms;   // two decimals
    std::string cm;   // one decimal
    std::string feet; // one decimal
};
OutputDelayReadout outputDelayReadout(int position, int celsius);

// On a focused delay track the Up arrow adds this to the position and the Down arrow subtracts it.
constexpr int kDelayKeyStep = 2;

// "Do you want to copy data from Output 1 to Output 3 ?"
std::string copyOutputQuestion(int from, int to);

} // namespace kvr::core
