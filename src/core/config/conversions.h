#pragma once

#include <cstdint>

// One function per conversion between a value the user sees, the position of the control that
// holds it, and what the Configuration, the files and the processor keep. Every other module
// uses these; none computes a conversion of its own.

namespace kvr::core {

// ---- Levels: a track position -400..100, 0.1 dB per step (-400 = +10 dB, -300 = 0 dB) ----
constexpr int kLevelPositionMin = -400;
constexpr int kLevelPositionMax = 100;
constexpr int kLevelPositionZeroDb = -300;
constexpr int kLevelFaderOffset = 405; // fader value = position + 405

int clampLevelPosition(int64_t position);
// The dB value a position stands for, as the one-decimal label shows it (exact decimal).
double levelDbFromPosition(int position);
// Position whose label shows dB rounded to 0.1 dB.
int levelPositionFromDb(double db);
// Position of a stored linear gain (magnitude): round(-300 - 200 log10 |g|). A zero gain is the
// quietest position; NaN gives 0 dB.
int levelPositionFromLinear(double gain);
// Inputs keep their linear gain in single precision.
float inputLinearGainFromDb(double db);
double outputLinearGainFromDb(double db, int polaritySign);
// The word the processor receives for a level: 101 - position.
int processorLevelWord(int position);
// The levels window's faders, 0..506, are bound to the tracks (the track clamps).
constexpr int kLevelFaderMax = 506;
int levelFaderFromPosition(int position);
int levelPositionFromFader(int64_t fader);

// ---- Output delays: a track position 0..1500 in 0.02 ms steps, at most 1440 samples ----
constexpr int kOutputDelayPositionMax = 1500;
constexpr int kOutputDelayMaxSamples = 1440;
constexpr int kOutputDelayFaderTop = 1511; // fader value = 1511 - position
constexpr int kOutputDelayFaderMax = 1512;

double outputDelayMsFromPosition(int position);
int outputDelaySamplesFromPosition(int position);
int outputDelayPositionFromSamples(int64_t samples);
int outputDelayFaderFromPosition(int position);
// The track clamps what its fader asks for.
int outputDelayPositionFromFader(int64_t fader);

// ---- Delays in general ----
double delayMsFromSamples(int64_t samples);
// Nearest output delay position for a time or a distance (at a temperature).
int outputDelayPositionFromMs(double ms);
int outputDelayPositionFromCm(double cm, int celsius);
// A delay as the main window labels it (samples / 48 ms): the nearest whole sample, at most 1440,
// on the track position Open gives those samples. A labelled value read back keeps its samples.
int outputDelayPositionFromLabelMs(double ms);

// ---- Input delays: a distance track in centimetres 0..10000 at an air temperature ----
constexpr int kInputDelayPositionMax = 10000;
constexpr int kTemperatureMinC = 0;
constexpr int kTemperatureMaxC = 50;
constexpr int kTemperatureDefaultC = 25;
constexpr double kMetresPerFoot = 0.30480061;

int clampTemperatureC(int64_t celsius);
// Speed of sound in m/s at a whole-degree temperature, in single precision.
float speedOfSound(int celsius);
int inputDelaySamplesFromCm(int positionCm, int celsius);
int inputDelayCmFromSamples(int64_t samples, int celsius);
// The input delay window's readouts of a track position: metres, and the time the distance
// stands for before it is rounded to samples.
double metresFromCm(double cm);
double inputDelayMsFromCm(int positionCm, int celsius);
// Faders 0..10101, fader value = 10100 - position (the track clamps).
constexpr int kInputDelayFaderTop = 10100;
constexpr int kInputDelayFaderMax = 10101;
int inputDelayFaderFromPosition(int positionCm);
int inputDelayPositionFromFader(int64_t fader);
int fahrenheitFromCelsius(int celsius);
int celsiusFromFahrenheit(int fahrenheit);
// Output delay window's distance display.
double delayCmFromMs(double ms, int celsius);
double feetFromCm(double cm);

// ---- Dynamics controls (positions of the editor's sliders) ----
constexpr int kThresholdPositionMin = -40, kThresholdPositionMax = 36;
constexpr int kRatioPositionMin = 2, kRatioPositionMax = 20;
constexpr int kGainPositionMin = -20, kGainPositionMax = 20;
constexpr int kKneePositionMin = 0, kKneePositionMax = 20;
constexpr int kGatePositionMin = 30, kGatePositionMax = 85;

// Thresholds are stored relative to full scale and shown in dBu (+13.85).
float dbuFromStoredThreshold(float stored);
float storedThresholdFromDbu(double dbu);
int thresholdPositionFromStored(float stored);
float thresholdStoredFromPosition(int position);
int ratioPositionFromValue(float ratio);
float ratioFromPosition(int position);
int makeupGainPositionFromValue(float gainDb);
float makeupGainFromPosition(int position);
int kneePositionFromValue(float kneeDb);
float kneeFromPosition(int position);
int gatePositionFromStored(float stored);
float gateStoredFromPosition(int position);
// Positions of values as the editor shows them (threshold and gate in dBu): the nearest
// position, held to the slider's range.
int thresholdPositionFromDbu(double dbu);
int gatePositionFromDbu(double dbu);
// The gate threshold in whole dBu of a position held to the slider's range (-30..-85).
int gateDbuFromPosition(int position);
// Index of a time in its table: the equal entry, else the nearest one.
int attackIndexFromMs(float ms);
int releaseIndexFromMs(float ms);
int gateTimeIndexFromMs(float ms);

// ---- Equaliser fields ----
constexpr int kEqTypeItems = 12;           // the type lists offer codes 0..11, item index = code
constexpr double kEqFrequencyStepHz = 1.0; // per arrow key or spin button
constexpr double kEqGainStepDb = 0.1;
constexpr double kEqQStep = 0.1;
// The Q track bar (Q = position / 10) and its inverted slider twin (value = 202 - position).
constexpr int kQBarMin = 2;
constexpr int kQBarMax = 200;
constexpr int kQBarDefault = 20;
constexpr int kQSliderMin = 2;
constexpr int kQSliderMax = 201;
constexpr int kQSliderSum = 202;
// A press takes hold of a band marker within these distances of it.
constexpr double kBandDragDecades = 0.07;
constexpr double kBandDragDb = 2.0;
// Rounds to `decimals` the way a formatted field does (through its text).
double roundToDecimals(double value, int decimals);
double eqFrequencyFromField(double hz); // 20..20000, whole Hz
double eqGainFromField(double db);      // -15..+12, one decimal
double eqQFromField(double q);          // 0.3..20, one decimal
int eqQBarPositionFromQ(double q);      // 2..200
double eqLFromFrequency(double hz);     // L = f/100, 0.01..20, two decimals
double eqHFromQ(double q);              // H = Q/100, 0.0001..1, four decimals
double eqBFromGain(double gain);        // 0..3, one decimal
// Types 19 and 20: the hidden Q field's range, and what `LEdit` and `HEdit` store through their
// field texts (frequency = L x 100 in whole Hz, Q = H x 100 with two decimals).
constexpr double kAnalogQMin = 0.0001;
constexpr double kAnalogQMax = 101.0;
double analogFrequencyFromL(double l);
double analogQFromH(double h);

// ---- Crossover frequencies (the editor's spin boxes) ----
constexpr int kCrossoverFrequencyMin = 20;
constexpr int kCrossoverFrequencyMax = 20000;
constexpr int kCustomHighFrequencyMax = 23950;
int crossoverSpinFromFrequency(double hz); // whole Hz, 20..20000
double customQFromField(double q);         // 0.1..20, three decimals
// Custom section frequency fields, whole Hz: low side 20..20000, high side 20..23950.
double customFrequencyFromField(double hz, bool highSide);

} // namespace kvr::core
