#pragma once

#include <array>
#include <cstdint>

#include "dsp/tsos.h"

namespace kvr::core {

constexpr int kMaxCurvePoints = 126;

// Time tables: the only values the dynamics editor offers; images store indices into them.
constexpr std::array<float, 45> kAttackTimesMs = {
    0.1f, 0.2f, 0.5f, 1,  2,  3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,  25,  30,  35,  40,  45,
    50,   60,   70,   80, 90, 100, 120, 140, 160, 180, 200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000};
constexpr std::array<float, 39> kReleaseTimesMs = {
    1,   2,   3,   4,   5,   10,  20,  30,  40,  50,   60,   70,   80,   90,   100,  125,  150,  175,  200,  250,
    300, 350, 400, 450, 500, 600, 700, 800, 900, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 4000, 5000, 10000};
constexpr std::array<float, 34> kGateTimesMs = {10,  15,  20,  25,  30,   35,   40,   45,   50,   60,   70,  80,
                                                90,  100, 125, 150, 175,  200,  250,  300,  350,  400,  450, 500,
                                                600, 700, 800, 900, 1000, 1500, 2000, 3000, 5000, 10000};

// The over-range the dynamics editor gives every stage it selects (a decoded memory may hold 10).
constexpr float kEditorOverRangeDb = 12.5f;

// Digital full scale in dBu: thresholds are held relative to full scale and shown in dBu.
constexpr float kFullScaleDbu = 13.85f;

// One output's dynamics stage (compressor/limiter, gate, speaker and amplifier data).
struct TDYNAMIC {
    float Reference = 18.0f; // not used by the design
    float Umbral = -13.85f;  // threshold, dB re full scale
    float Ratio = 1.0f;
    float GaindB = 0.0f;
    float TAttack = 10.0f;   // ms
    float TRelease = 100.0f; // ms
    float Tau = 0.9f;
    float GateLevel = -83.0f;
    float UmbraldBGateFS = -98.0f;
    float TAttackGate = 300.0f;
    float TReleaseGate = 350.0f;
    float AttackCoef = 0.0f;
    float AttackHalf = 0.0f;
    uint8_t AuxFlag = 0; // automatic times
    float Impedance = 8.0f;
    float BoxPower = 400.0f;
    float AmpGain = 41.0f;
    float AmpPower = 600.0f;
    uint8_t Balanced = 1;
    int32_t NumSpeakers = 1;
    uint8_t Detector = 0; // 0 envelope, 1 RMS, 2 peak
    uint8_t Flag = 1;     // not used by the design
    uint8_t CriKnee = 0;  // 0 limiter, 1 compressor
    float Knee = 4.0f;
    float Value = 4.0f; // not used by the design
    uint8_t BypassF = 0;
    uint8_t GateBypassF = 0;
    uint8_t DiezmadoF = 1;
    uint8_t RetornoF = 0;
    int32_t NPuntos = 60;
    TSOS RetornoEqu;
    // Curve tables, 1-based (index 0 unused): input linear, input dB, output dB, output linear, gain.
    std::array<float, kMaxCurvePoints + 1> InputLinear{};
    std::array<float, kMaxCurvePoints + 1> InputDb{};
    std::array<float, kMaxCurvePoints + 1> OutputDb{};
    std::array<float, kMaxCurvePoints + 1> OutputLinear{};
    std::array<float, kMaxCurvePoints + 1> CurveGain{};
    float OverRange = 10.0f; // dB above full scale covered by the cubic
    float OverC0 = 0.0f;
    float OverC1 = 0.0f;
    float OverC2 = 0.0f;
    float OverC3 = 0.0f;
    float KneeTop = 0.0f;
    float KneeBottom = 0.0f;

    TDYNAMIC(); // designs once, as the constructor of the original object did

    bool operator==(const TDYNAMIC&) const = default;
};

float AttackCoefficient(const TDYNAMIC& dyn);
float ReleaseCoefficient(const TDYNAMIC& dyn);
// Recomputes every computed field from the parameters. NPuntos is clamped to 10..126 first.
void DesignDynamics(TDYNAMIC& dyn);

} // namespace kvr::core
