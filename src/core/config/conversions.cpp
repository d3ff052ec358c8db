#include "config/conversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dsp/frequencygrid.h"
#include "dsp/tdynamic.h"
#include "util/numtext.h"
#include "util/rounding.h"

namespace kvr::core {

int clampLevelPosition(int64_t position)
{
    return static_cast<int>(clampTo<int64_t>(position, kLevelPositionMin, kLevelPositionMax));
}

double levelDbFromPosition(int position)
{
    return static_cast<double>(-300 - clampLevelPosition(position)) / 10.0;
}

int levelPositionFromDb(double db)
{
    if (std::isnan(db)) return kLevelPositionZeroDb;
    return clampLevelPosition(roundHalfEven(-300.0 - 10.0 * db));
}

int levelPositionFromLinear(double gain)
{
    if (std::isnan(gain)) return kLevelPositionZeroDb;
    double magnitude = std::fabs(gain);
    if (magnitude == 0.0) return kLevelPositionMax;
    return clampLevelPosition(roundHalfEven(-300.0 - 200.0 * std::log10(magnitude)));
}

float inputLinearGainFromDb(double db)
{
    return static_cast<float>(std::pow(10.0, db / 20.0));
}

double outputLinearGainFromDb(double db, int polaritySign)
{
    return std::pow(10.0, db / 20.0) * (polaritySign < 0 ? -1.0 : 1.0);
}

int processorLevelWord(int position)
{
    return 101 - clampLevelPosition(position);
}

int levelFaderFromPosition(int position)
{
    return clampLevelPosition(position) + kLevelFaderOffset;
}

int levelPositionFromFader(int64_t fader)
{
    return clampLevelPosition(fader - kLevelFaderOffset);
}

double outputDelayMsFromPosition(int position)
{
    return position * 0.02;
}

int outputDelaySamplesFromPosition(int position)
{
    position = clampTo(position, 0, kOutputDelayPositionMax);
    return static_cast<int>(std::min<int64_t>(roundHalfEven(outputDelayMsFromPosition(position) / 1000.0 * kSampleRate),
                                              kOutputDelayMaxSamples));
}

int outputDelayPositionFromSamples(int64_t samples)
{
    samples = clampTo<int64_t>(samples, 0, 1 << 30);
    return static_cast<int>(clampTo<int64_t>(roundHalfEven(static_cast<double>(samples) * 50000.0 / kSampleRate), 0,
                                             kOutputDelayPositionMax));
}

int outputDelayFaderFromPosition(int position)
{
    return kOutputDelayFaderTop - clampTo(position, 0, kOutputDelayPositionMax);
}

int outputDelayPositionFromFader(int64_t fader)
{
    return static_cast<int>(clampTo<int64_t>(kOutputDelayFaderTop - fader, 0, kOutputDelayPositionMax));
}

double delayMsFromSamples(int64_t samples)
{
    return static_cast<double>(samples) / kSampleRate * 1000.0;
}

int outputDelayPositionFromMs(double ms)
{
    if (std::isnan(ms)) return 0;
    return static_cast<int>(clampTo<int64_t>(roundHalfEven(ms / 0.02), 0, kOutputDelayPositionMax));
}

int outputDelayPositionFromCm(double cm, int celsius)
{
    return outputDelayPositionFromMs(cm / 100.0 / speedOfSound(celsius) * 1000.0);
}

int outputDelayPositionFromLabelMs(double ms)
{
    if (std::isnan(ms)) return 0;
    const int64_t samples = roundHalfEven(ms / 1000.0 * kSampleRate);
    return outputDelayPositionFromSamples(clampTo<int64_t>(samples, 0, kOutputDelayMaxSamples));
}

int clampTemperatureC(int64_t celsius)
{
    return static_cast<int>(clampTo<int64_t>(celsius, kTemperatureMinC, kTemperatureMaxC));
}

float speedOfSound(int celsius)
{
    return 20.06f * std::sqrt(static_cast<float>(clampTemperatureC(celsius) + 273));
}

int inputDelaySamplesFromCm(int positionCm, int celsius)
{
    positionCm = clampTo(positionCm, 0, kInputDelayPositionMax);
    double c = speedOfSound(celsius);
    return static_cast<int>(roundHalfEven(positionCm / 100.0 / c * kSampleRate));
}

int inputDelayCmFromSamples(int64_t samples, int celsius)
{
    samples = clampTo<int64_t>(samples, 0, 1 << 30);
    double c = speedOfSound(celsius);
    return static_cast<int>(clampTo<int64_t>(roundHalfEven(static_cast<double>(samples) * 100.0 * c / kSampleRate), 0,
                                             kInputDelayPositionMax));
}

double metresFromCm(double cm)
{
    return cm / 100.0;
}

double inputDelayMsFromCm(int positionCm, int celsius)
{
    return clampTo(positionCm, 0, kInputDelayPositionMax) / 100.0 / static_cast<double>(speedOfSound(celsius)) * 1000.0;
}

int inputDelayFaderFromPosition(int positionCm)
{
    return kInputDelayFaderTop - clampTo(positionCm, 0, kInputDelayPositionMax);
}

int inputDelayPositionFromFader(int64_t fader)
{
    return static_cast<int>(clampTo<int64_t>(kInputDelayFaderTop - fader, 0, kInputDelayPositionMax));
}

int fahrenheitFromCelsius(int celsius)
{
    return static_cast<int>(roundHalfEven(celsius * 1.8 + 32.0));
}

int celsiusFromFahrenheit(int fahrenheit)
{
    return static_cast<int>(roundHalfEven((fahrenheit * 5.0 - 160.0) / 9.0));
}

double delayCmFromMs(double ms, int celsius)
{
    return ms / 1000.0 * speedOfSound(celsius) * 100.0;
}

double feetFromCm(double cm)
{
    return cm / 100.0 / kMetresPerFoot;
}

float dbuFromStoredThreshold(float stored)
{
    return stored + kFullScaleDbu;
}

float storedThresholdFromDbu(double dbu)
{
    return static_cast<float>(dbu - static_cast<double>(kFullScaleDbu));
}

static int clampedPosition(double value, int lo, int hi, int fallback)
{
    if (std::isnan(value)) return fallback;
    return static_cast<int>(clampTo<int64_t>(roundHalfEven(value), lo, hi));
}

int thresholdPositionFromDbu(double dbu)
{
    return clampedPosition(-4.0 - 2.0 * dbu, kThresholdPositionMin, kThresholdPositionMax, -20);
}

int gatePositionFromDbu(double dbu)
{
    return clampedPosition(-dbu, kGatePositionMin, kGatePositionMax, 69);
}

int gateDbuFromPosition(int position)
{
    return -clampTo(position, kGatePositionMin, kGatePositionMax);
}

int thresholdPositionFromStored(float stored)
{
    // The shown dBu value is the stored single plus the 13.85 offset, as the editor adds them.
    return thresholdPositionFromDbu(static_cast<double>(stored) + 13.85);
}

float thresholdStoredFromPosition(int position)
{
    double dbu = (-4.0 - position) / 2.0;
    return static_cast<float>(dbu - 13.85);
}

int ratioPositionFromValue(float ratio)
{
    return clampedPosition(22.0 - 2.0 * ratio, kRatioPositionMin, kRatioPositionMax, 20);
}

float ratioFromPosition(int position)
{
    return static_cast<float>((22 - position) / 2.0);
}

int makeupGainPositionFromValue(float gainDb)
{
    return clampedPosition(-2.0 * gainDb, kGainPositionMin, kGainPositionMax, 0);
}

float makeupGainFromPosition(int position)
{
    return static_cast<float>(-position / 2.0);
}

int kneePositionFromValue(float kneeDb)
{
    return clampedPosition(20.0 - 2.0 * kneeDb, kKneePositionMin, kKneePositionMax, 12);
}

float kneeFromPosition(int position)
{
    return static_cast<float>((20 - position) / 2.0);
}

int gatePositionFromStored(float stored)
{
    return gatePositionFromDbu(static_cast<double>(stored) + 13.85);
}

float gateStoredFromPosition(int position)
{
    return static_cast<float>(-position - 13.85);
}

template <size_t N> static int nearestIndex(const std::array<float, N>& table, float ms, int fallback)
{
    if (std::isnan(ms)) return fallback;
    for (size_t i = 0; i < N; ++i)
        if (table[i] == ms) return static_cast<int>(i);
    size_t best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < N; ++i) {
        double d = std::fabs(static_cast<double>(table[i]) - ms);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<int>(best);
}

int attackIndexFromMs(float ms)
{
    return nearestIndex(kAttackTimesMs, ms, 12);
}
int releaseIndexFromMs(float ms)
{
    return nearestIndex(kReleaseTimesMs, ms, 14);
}
int gateTimeIndexFromMs(float ms)
{
    return nearestIndex(kGateTimesMs, ms, 19);
}

double roundToDecimals(double value, int decimals)
{
    if (!std::isfinite(value)) return value;
    return parseNumber(formatFixed(value, decimals)).value_or(0.0);
}

double eqFrequencyFromField(double hz)
{
    return clampFinite(roundToDecimals(hz, 0), 20.0, 20000.0, 1000.0);
}

double eqGainFromField(double db)
{
    return clampFinite(roundToDecimals(db, 1), -15.0, 12.0, 0.0);
}

double eqQFromField(double q)
{
    return clampFinite(roundToDecimals(q, 1), 0.3, 20.0, 0.7);
}

int eqQBarPositionFromQ(double q)
{
    return clampedPosition(q * 10.0, 2, 200, 7);
}

double eqLFromFrequency(double hz)
{
    return clampFinite(roundToDecimals(hz / 100.0, 2), 0.01, 20.0, 10.0);
}

double eqHFromQ(double q)
{
    return clampFinite(roundToDecimals(q / 100.0, 4), 0.0001, 1.0, 0.00707);
}

double eqBFromGain(double gain)
{
    return clampFinite(roundToDecimals(gain, 1), 0.0, 3.0, 0.0);
}

// L has two decimals and H four: L x 100 is whole and H x 100 has two, once the product's
// binary noise (0.07 x 100 = 7.000000000000001) is rounded away.
double analogFrequencyFromL(double l)
{
    return roundToDecimals(eqLFromFrequency(l * 100.0) * 100.0, 0);
}

double analogQFromH(double h)
{
    return roundToDecimals(eqHFromQ(h * 100.0) * 100.0, 2);
}

int crossoverSpinFromFrequency(double hz)
{
    return clampedPosition(hz, kCrossoverFrequencyMin, kCrossoverFrequencyMax, 1000);
}

double customQFromField(double q)
{
    return clampFinite(roundToDecimals(q, 3), 0.1, 20.0, 1.0);
}

double customFrequencyFromField(double hz, bool highSide)
{
    const double top = highSide ? kCustomHighFrequencyMax : kCrossoverFrequencyMax;
    return clampFinite(roundToDecimals(hz, 0), kCrossoverFrequencyMin, top, 1000.0);
}

} // namespace kvr::core
