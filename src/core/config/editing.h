#pragma once

#include <array>
#include <string>
#include <vector>

#include "config/configuration.h"

// The editors' event chains as operations on the Configuration: what happens when a control's
// value changes (links between delays and crossovers, clamps, quantisation through slider
// positions, redesigns). Windows call these; the file loader runs them in the order Open does.

namespace kvr::core {

// Messages an operation wants shown (for example the Bessel limit); shown in order, after it.
using Notices = std::vector<std::string>;

// ---- Input delays: distance tracks in cm with the "Link A to B" / "Link All" chains ----
class InputDelayTracks {
public:
    // Tracks as the editor shows the Configuration's delays.
    explicit InputDelayTracks(Configuration& config);
    // Tracks at given positions (the loader starts from a freshly created window: all 0).
    InputDelayTracks(Configuration& config, std::array<int, kInputCount> positions);

    int position(InputId id) const { return m_positions[static_cast<int>(id)]; }
    // Moves a track; nothing happens when the position does not change.
    void setPosition(InputId id, int positionCm);
    // A temperature change keeps the delays in time and moves the tracks to the new distances
    // (links do not run: every channel keeps its own delay).
    void setTemperature(int celsius);
    // A distance typed in metres, at the editor's 1 cm resolution.
    void setDistance(InputId id, double metres);
    // Activation of the window: every track to the distance of its stored samples, whose samples
    // are then those of the track. The links copy nothing: refilling the window, or moving the
    // tracks for a new temperature, must not overwrite a linked channel with another's delay.
    void activate();
    // Open: the tracks (of a fresh window) move to the file's distances A, B, A+B in turn, each
    // move running its links as a person's move does.
    void load();

private:
    void changed(InputId id);

    Configuration& m_config;
    std::array<int, kInputCount> m_positions{};
    int m_depth = 0;
};

// ---- Output delays: 0.02 ms tracks with the 1-2, 2-3, 3-4 link chains ----
// Moves output n's track; nothing happens when the position does not change.
void setOutputDelayPosition(Configuration& config, int output, int position);
void setOutputDelayMs(Configuration& config, int output, double ms);
void setOutputDelayDistance(Configuration& config, int output, double cm, int celsius);
// Open: every track to the position of a delay in samples, outputs 1..4 in turn, each move
// running its links.
void activateOutputDelays(Configuration& config, const std::array<int32_t, kOutputCount>& samples);

// ---- Crossover editor ----
enum class CrossoverSide { Low, High };

constexpr int kCrossoverFamilyCount = 5; // "ByPass", "ButtW", "L-Riley", "Bessel", "Custom"
int crossoverCodeFromFamily(CrossoverSide side, int familyItem);
int crossoverFamilyFromCode(CrossoverSide side, int code);
TXOVERPB& crossoverSide(Configuration& config, int output, CrossoverSide side);
const TXOVERPB& crossoverSide(const Configuration& config, int output, CrossoverSide side);
// The main window's fc label of a side: "  -- ", "   C " or the frequency as an integer.
std::string crossoverFrequencyLabel(const TXOVERPB& side, CrossoverSide which);

// "Apply side": clamps the side against the other one (they may meet, never cross), stores
// frequency, order and family, designs it (Bessel limit included) and runs the links; a linked
// side that its own clamp holds gives the held value back, so linked sides end equal. Every
// crossover operation ends with the automatic dynamics times of each output that has them on
// derived again from its low side, as the dynamics editor would.
Notices applyCrossoverSide(Configuration& config, int output, CrossoverSide side);
// The user's changes of the Normal page's controls (each applies the side).
Notices setCrossoverFrequency(Configuration& config, int output, CrossoverSide side, double hz);
Notices setCrossoverOrder(Configuration& config, int output, CrossoverSide side, int order);
Notices setCrossoverFamily(Configuration& config, int output, CrossoverSide side, int familyItem);
// "Fill from Configuration": every side through the editor's controls, outputs 1..4, low then high.
Notices refillCrossovers(Configuration& config);

// ---- Dynamics editor ----
// Output selection: values through the slider positions, automatic times, design, bypass knees.
void selectDynamicsOutput(Configuration& config, int output);
// The editor selects outputs 2, 3, 4 and 1 after a load or a copy.
void reselectAllDynamics(Configuration& config);
// Automatic attack/release times from the output's crossover low side.
void applyAutomaticTimes(Configuration& config, int output);
// The "Constants" check under "Auto Time": stores the option; turned on, the times follow the
// low side at once. Turned off, the times stay as they are. Disabled (nothing changes) while the
// stage is bypassed.
void setAutomaticTimes(Configuration& config, int output, bool on);
// Design plus the bypass button's knee values for a bypassed stage.
void designDynamicsStage(TDYNAMIC& dyn);

// ---- Equalisers ----
void designBank(std::array<TSOS, kBandsPerBank>& bank, bool constantQ);
// Every design of the Configuration recomputed from its stored parameters (no links, no clamps).
void redesignAll(Configuration& config);

// ---- Output copying ----
struct CopyOptions {
    bool route = false;
    bool xover = false;
    bool peqx = false;
    bool outputDelay = false;
    bool outputGain = false;
    bool dynamics = false;
    bool name = false;
    static CopyOptions all() { return {true, true, true, true, true, true, true}; }
};
// Copies output `from`'s blocks to output `to` (nothing when they are equal). The delay moves
// `to`'s track as a person's move does: outputs linked to it follow.
Notices copyOutput(Configuration& config, int from, int to, const CopyOptions& what);

} // namespace kvr::core
