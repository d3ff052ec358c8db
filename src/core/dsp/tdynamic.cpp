#include "dsp/tdynamic.h"

#include <cmath>

#include "util/rounding.h"

namespace kvr::core {

namespace {

constexpr int kMinCurvePoints = 10;

// Ballistics coefficient: (1 - Tau) reached after timeMs worth of detector samples.
double ballistics(const TDYNAMIC& dyn, double timeMs)
{
    const double rate =
        dyn.DiezmadoF != 0 ? static_cast<double>(roundHalfEven(kSampleRate / 2.0)) : static_cast<double>(kSampleRate);
    return std::exp(std::log(1.0 - static_cast<double>(dyn.Tau)) / (timeMs / 1000.0 * rate));
}

double dbToLinear(double db)
{
    return Pow10(db / 20.0);
}

} // namespace

TDYNAMIC::TDYNAMIC()
{
    DesignDynamics(*this);
}

float AttackCoefficient(const TDYNAMIC& dyn)
{
    return static_cast<float>(ballistics(dyn, dyn.TAttack));
}

float ReleaseCoefficient(const TDYNAMIC& dyn)
{
    return static_cast<float>(ballistics(dyn, dyn.TRelease));
}

void DesignDynamics(TDYNAMIC& dyn)
{
    dyn.NPuntos = clampTo(dyn.NPuntos, kMinCurvePoints, kMaxCurvePoints);
    const int n = dyn.NPuntos;

    // Each step below reads the single the previous step stored, as the processor's fields hold
    // it; only the arithmetic between two stores is done in double.
    dyn.AttackCoef = AttackCoefficient(dyn);
    dyn.AttackHalf = static_cast<float>((1.0 - static_cast<double>(dyn.AttackCoef)) / 2.0);

    // A threshold of exactly full scale is moved just below it.
    if (dyn.Umbral == 0.0f) dyn.Umbral = -0.01f;

    const double t = dyn.Umbral;
    const double w = dyn.Knee;
    const double makeUp = dyn.GaindB;
    // A limiter is flat above the threshold.
    const double slope = dyn.CriKnee == 1 ? 1.0 / static_cast<double>(dyn.Ratio) : 0.0;

    // Points from the start of the knee up to full scale, evenly spaced in linear level.
    const double l0 = dbToLinear(t - w);
    for (int i = 1; i <= n; ++i) {
        dyn.InputLinear[i] = static_cast<float>(l0 + (1.0 - l0) * (i - 1) / (n - 1));
        const double x = dyn.InputLinear[i];
        dyn.InputDb[i] = static_cast<float>(20.0 * Log10(x));
        const double xDb = dyn.InputDb[i];
        double y = 0.0;
        if (w != 0.0) {
            if (xDb <= t + w) {
                const double into = xDb - t + w;
                y = xDb + (slope - 1.0) * into * into / (4.0 * w) + makeUp;
            } else {
                y = t + makeUp + slope * (xDb - t);
            }
        } else {
            y = makeUp + t + slope * (xDb - t);
        }
        dyn.OutputDb[i] = static_cast<float>(y);
        dyn.OutputLinear[i] = static_cast<float>(dbToLinear(dyn.OutputDb[i]));
        dyn.CurveGain[i] = static_cast<float>(static_cast<double>(dyn.OutputLinear[i]) / x);
    }

    if (w <= 3.0) {
        dyn.KneeTop = static_cast<float>(dbToLinear(t));
        dyn.KneeBottom = static_cast<float>(dbToLinear(t - 3.0));
    } else {
        // The first point at most 3 dB under the knee; a knee that ends above full scale may
        // have none, and then the last point stands in.
        const double target = t - 3.0 + makeUp;
        int j = n;
        for (int i = 1; i <= n; ++i) {
            if (static_cast<double>(dyn.OutputDb[i]) >= target) {
                j = i;
                break;
            }
        }
        dyn.KneeTop = static_cast<float>(dbToLinear(t + w));
        dyn.KneeBottom = static_cast<float>(dbToLinear(dyn.InputDb[j]));
    }
    if (dyn.CriKnee == 1) {
        dyn.KneeBottom = static_cast<float>(dbToLinear(t));
        dyn.KneeTop = 0.8414f;
    }

    // Cubic gain for inputs from full scale (x = 1) up to the over-range level m: it equals the
    // curve's last gain at 1 and gm at m.
    const double m = dbToLinear(dyn.OverRange);
    const double g1 = dyn.CurveGain[n];
    const double gm = dbToLinear((1.0 - slope) * t) / m;
    const double span = (1.0 - m) * (1.0 - m) * (1.0 - m);
    // No over-range (m = 1) leaves nothing to bridge: hold the constant gm.
    const double u = span == 0.0 ? 0.0 : (g1 - gm) / span;
    dyn.OverC3 = static_cast<float>(u);
    dyn.OverC2 = static_cast<float>(-3.0 * m * u);
    dyn.OverC1 = static_cast<float>(3.0 * m * m * u);
    dyn.OverC0 = static_cast<float>(gm - m * m * m * u);
}

} // namespace kvr::core
