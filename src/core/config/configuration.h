#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "config/conversions.h"
#include "config/routing.h"
#include "dsp/tdynamic.h"
#include "dsp/tsos.h"
#include "dsp/txover.h"
#include "util/latin1.h"

namespace kvr::core {

constexpr int kBandsPerBank = 8;
constexpr int kEditableBands = 6;

// Text capacities (characters) of the stored short strings.
constexpr size_t kSystemNameCapacity = 12;
constexpr size_t kChannelNameCapacity = 4;
constexpr size_t kInfoTextCapacity = 40;
constexpr size_t kCommentCapacity = 100;
constexpr size_t kMeasurementNameCapacity = 100;

struct SystemInfo {
    std::string name = "NoName";
    std::string project;
    std::string installation;
    std::string engineer;
    std::string comment;

    bool operator==(const SystemInfo&) const = default;
};

struct InputChannelSettings {
    std::string name;                         // A and B only
    int levelPosition = kLevelPositionZeroDb; // the level track, -400..100
    bool mute = false;
    int32_t delaySamples = 0;
    std::array<TSOS, kBandsPerBank> peq{};
    int32_t peqBandCount = 2; // 1..6
    uint8_t peqBypass = 0;
    int32_t peqSource = 0; // 0 PEQA, 1 PEQM, 2 PEQB
    bool peqView = true;

    double levelDb() const { return levelDbFromPosition(levelPosition); }
    float linearGain() const { return inputLinearGainFromDb(levelDb()); }
    double delayMs() const { return delayMsFromSamples(delaySamples); }

    bool operator==(const InputChannelSettings&) const = default;
};

struct OutputChannelSettings {
    std::string name;
    RouteSource route = RouteSource::A;
    int levelPosition = kLevelPositionZeroDb;
    int polarity = +1; // -1 when "180º" is checked
    bool mute = false;
    // The output delay track (0.02 ms steps) is what the user sets; it is finer than a sample,
    // so it is kept and the samples follow from it.
    int delayPosition = 0; // 0..1500
    std::array<TSOS, kBandsPerBank> peqx{};
    int32_t peqxCount = 6; // 1..6
    bool peqxView = true;
    TXOVER xover;
    TDYNAMIC dynamics;

    double levelDb() const { return levelDbFromPosition(levelPosition); }
    // 10^(dB/20) times the polarity sign.
    double linearGain() const { return outputLinearGainFromDb(levelDb(), polarity); }
    bool inverted() const { return polarity < 0; }
    int32_t delaySamples() const { return outputDelaySamplesFromPosition(delayPosition); }
    double delayMs() const { return delayMsFromSamples(delaySamples()); }

    bool operator==(const OutputChannelSettings&) const = default;
};

struct Links {
    bool inputDelayHidden = false;     // the hidden "Link"
    bool inputDelayAB = false;         // "Link A to B"
    bool inputDelayAll = false;        // "Link All"
    std::array<bool, 3> outputDelay{}; // 1-2, 2-3, 3-4
    std::array<bool, 3> crossover{};   // 1-2, 2-3, 3-4

    bool operator==(const Links&) const = default;
};

// Influences of the summed-output view.
struct ViewFlags {
    bool peq = false;
    bool xover = false;
    bool peqx = true;
    bool outDelays = false;
    bool gain = true;
    bool speaker = false;

    bool operator==(const ViewFlags&) const = default;
};

constexpr int kMeasurementFileKinds = 9; // the codes 0..8 a configuration file stores
// With the formats installers export today, offered after them: FRD 9, ZMA 10, REW 11.
constexpr int kMeasurementKinds = 12;
constexpr float kDefaultReferenceDbSpl = 96.0f;

// One output's measured response resampled onto the FrequencyGrid (not stored in files; the
// import fills it from the files named in the settings).
struct MeasuredResponse {
    bool present = false;                   // false: nothing imported, the arrays hold zeros
    bool impedance = false;                 // values are ohms (an impedance file), not dB
    std::array<float, kGridPoints> level{}; // dB relative to the reference level, or ohms
    std::array<float, kGridPoints> phaseRad{};

    bool operator==(const MeasuredResponse&) const = default;
};

struct MeasurementImportSettings {
    std::array<std::string, kOutputCount> fileNames;
    int32_t fileKind = 0; // 0..11
    float dBspl = kDefaultReferenceDbSpl;
    // The imported responses, one per output; New clears them.
    std::array<MeasuredResponse, kOutputCount> responses{};

    bool operator==(const MeasurementImportSettings&) const = default;
};

// The complete setup of one processor memory. A default-constructed Configuration is the state
// of the program right after start-up (including the defaults its editors apply when created).
struct Configuration {
    int32_t temperatureC = kTemperatureDefaultC; // of the input delay window
    int32_t routingMode = kRoutingModeFree;
    SystemInfo system;
    std::array<InputChannelSettings, kInputCount> inputs;
    std::array<OutputChannelSettings, kOutputCount> outputs;
    Links links;
    ViewFlags view;
    MeasurementImportSettings measurement;
    bool constantQ = false; // "Const Q" variant of the type-1 design; not stored

    Configuration();

    InputChannelSettings& input(InputId id) { return inputs[static_cast<int>(id)]; }
    const InputChannelSettings& input(InputId id) const { return inputs[static_cast<int>(id)]; }
    // Output n, 1-based.
    OutputChannelSettings& output(int n) { return outputs[static_cast<size_t>(n - 1)]; }
    const OutputChannelSettings& output(int n) const { return outputs[static_cast<size_t>(n - 1)]; }

    // The input equaliser bank an output's signal passes through (by its route's selector).
    InputId bankForRoute(RouteSource route) const;
    const InputChannelSettings& bankOfOutput(int n) const { return input(bankForRoute(output(n).route)); }

    // ---- Named operations ----
    void resetToDefaults();
    // Applies routing mode m: the routes of the mode table and, for modes 6 and 7, the output names.
    void setRoutingMode(int mode);
    // A route button click: cycles A -> A+B -> B.
    void advanceRoute(int output);
    // A route button click outside "Free Route" that the user agreed to take out of the preset
    // (the free-mode question answered Yes): the mode becomes "Free Route", without applying
    // it, and the route advances.
    void clickRouteLeavingPreset(int output);
    void setInputLevelDb(InputId id, double db);
    void setOutputLevelDb(int output, double db);
    void setInputLevelPosition(InputId id, int position);
    void setOutputLevelPosition(int output, int position);
    void setPolarity(int output, bool inverted);
    void setOutputMute(int output, bool mute);
    // "Mute Outs": every output at once.
    void setOutputMutes(bool mute);
    void setInputMute(InputId id, bool mute);
    void setSystemName(const std::string& name);
    // The system information texts, each cut to what its field keeps.
    void setSystemInfo(const SystemInfo& info);
    void setInputName(InputId id, const std::string& name);
    void setOutputName(int output, const std::string& name);

    bool operator==(const Configuration&) const = default;
};

} // namespace kvr::core
