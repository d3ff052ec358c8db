#include "dsp/tsos.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kvr::core {

namespace {

constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kInvSqrt2 = 0.70710678118654752;
// The const-Q peaking is pre-warped half a hertz above 12000 Hz when it sits exactly on fs/4.
constexpr double kConstQOmegaAtFs4 = 37700.682639404313758; // 12000.5 * pi

constexpr double fs()
{
    return static_cast<double>(kSampleRate);
}

double omegaOf(double frecHz)
{
    return 2.0 * std::numbers::pi * frecHz / fs();
}

void setCoefficients(TSOS& sec, double b0, double b1, double b2, double a1, double a2)
{
    sec.B0 = b0;
    sec.B1 = b1;
    sec.B2 = b2;
    sec.A1 = a1;
    sec.A2 = a2;
}

// The five results divided by d.
void setNormalised(TSOS& sec, double d, double b0, double b1, double b2, double a1, double a2)
{
    setCoefficients(sec, b0 / d, b1 / d, b2 / d, a1 / d, a2 / d);
}

void designPeakingAdaptQ(TSOS& sec)
{
    const double w = omegaOf(sec.Frec);
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double a = Pow10(sec.Gain / 40.0);
    const double alpha = s / (2.0 * sec.Q);
    const double d = 1.0 + alpha / a;
    setCoefficients(sec, (1.0 + alpha * a) / d, -2.0 * c / d, (1.0 - alpha * a) / d, 2.0 * c / d,
                    -(1.0 - alpha / a) / d);
}

void designPeakingConstQ(TSOS& sec)
{
    const double omega = sec.Frec == 12000.0 ? kConstQOmegaAtFs4 : std::numbers::pi * sec.Frec;
    const double k = 1.0 / Tan(omega / fs());
    double e = 1.0;
    double dd = 1.0;
    if (sec.Gain >= 0.0)
        e = Pow10(sec.Gain / 20.0);
    else
        dd = Pow10(std::fabs(sec.Gain) / 20.0);
    const double k2 = k * k;
    const double h = (e / sec.Q) * k;
    const double g = (dd / sec.Q) * k;
    const double d = k2 + g + 1.0;
    setNormalised(sec, d, k2 + h + 1.0, 2.0 * (1.0 - k2), 1.0 - h + k2, -2.0 * (1.0 - k2), -(k2 + 1.0 - g));
}

void designShelf6(TSOS& sec, bool high)
{
    if (sec.Gain == 0.0) {
        sec.SetBypass();
        return;
    }
    const double bigK = Tan(omegaOf(sec.Frec) / 2.0);
    const double a = Pow10(sec.Gain / 20.0);
    // Level reached at Frec: 3 dB from the shelf for large gains, half the shelf (in dB) for small.
    double b = 0.0;
    if (a > kSqrt2)
        b = a / kSqrt2;
    else if (a < kInvSqrt2)
        b = a * kSqrt2;
    else
        b = std::sqrt(a);
    const double r = std::sqrt((b * b - 1.0) / (a * a - b * b));
    if (!high) {
        const double e = r * bigK;
        const double f = 1.0 / (e + 1.0);
        setCoefficients(sec, (a * e + 1.0) * f, (a * e - 1.0) * f, 0.0, 2.0 * f - 1.0, 0.0);
        sec.Tipo = static_cast<uint8_t>(SectionType::ShelvLow6);
    } else {
        const double e = r / bigK;
        const double f = 1.0 / (e + 1.0);
        setCoefficients(sec, (a * e + 1.0) * f, (1.0 - a * e) * f, 0.0, 1.0 - 2.0 * f, 0.0);
        sec.Tipo = static_cast<uint8_t>(SectionType::ShelvHigh6);
    }
}

void designShelf12(TSOS& sec, bool high)
{
    if (sec.Gain == 0.0) {
        sec.SetBypass();
        return;
    }
    const double k = Tan(omegaOf(sec.Frec) / 2.0);
    const double kk = k * k;
    const double v = Pow10(std::fabs(sec.Gain) / 20.0);
    const double g = k * std::sqrt(v) * kSqrt2;
    const double e = 1.0 + kSqrt2 * k + kk;
    const double c = 1.0 - kSqrt2 * k + kk;
    if (!high) {
        if (sec.Gain > 0.0) {
            setNormalised(sec, e, 1.0 + g + kk * v, 2.0 * (kk * v - 1.0), 1.0 - g + kk * v, -2.0 * (kk - 1.0), -c);
        } else {
            const double p = 1.0 + g + kk * v;
            setNormalised(sec, p, e, 2.0 * (kk - 1.0), c, -2.0 * (kk * v - 1.0), -(1.0 - g + kk * v));
        }
        sec.Tipo = static_cast<uint8_t>(SectionType::ShelvLow12);
    } else {
        if (sec.Gain > 0.0) {
            setNormalised(sec, e, v + g + kk, 2.0 * (kk - v), v - g + kk, -2.0 * (kk - 1.0), -c);
        } else {
            const double p = v + g + kk;
            setNormalised(sec, p, e, 2.0 * (kk - 1.0), c, -2.0 * (kk - v), -(v - g + kk));
        }
        sec.Tipo = static_cast<uint8_t>(SectionType::ShelvHigh12);
    }
}

// Second-order low- or high-pass; q = 1/sqrt(2) is the Butterworth pair of types 6 and 7.
void designPass2(TSOS& sec, bool high, double q)
{
    const double w = omegaOf(sec.Frec);
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double alpha = s / (2.0 * q);
    const double d = 2.0 * (1.0 + alpha);
    const double n = (high ? 1.0 + c : 1.0 - c) / d;
    setCoefficients(sec, n, (high ? -2.0 : 2.0) * n, n, 4.0 * c / d, -2.0 * (1.0 - alpha) / d);
    sec.Gain = 0.0;
}

void designButterworth2(TSOS& sec, bool high)
{
    const double w = omegaOf(sec.Frec);
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double d = 2.0 + kSqrt2 * s;
    const double n = (high ? 1.0 + c : 1.0 - c) / d;
    setCoefficients(sec, n, (high ? -2.0 : 2.0) * n, n, 4.0 * c / d, -(2.0 - kSqrt2 * s) / d);
    sec.Gain = 0.0;
    sec.Tipo = static_cast<uint8_t>(high ? SectionType::HiPass : SectionType::LowPass);
}

void designBand(TSOS& sec, bool stop)
{
    const double w = omegaOf(sec.Frec);
    const double c = std::cos(w);
    // Below 2f/fs the bandwidth w/Q would pass pi; the stored Q is kept as entered.
    const double qe = std::max(sec.Q, 2.0 * sec.Frec / fs());
    const double t = Tan((w / qe) / 2.0);
    const double f = 1.0 / (t + 1.0);
    if (!stop) {
        const double g = Pow10(sec.Gain / 20.0);
        setCoefficients(sec, g * (1.0 - f), 0.0, -g * (1.0 - f), 2.0 * c * f, 1.0 - 2.0 * f);
        sec.Tipo = static_cast<uint8_t>(SectionType::BandPass);
    } else {
        setCoefficients(sec, f, -2.0 * c * f, f, 2.0 * c * f, 1.0 - 2.0 * f);
        sec.Tipo = static_cast<uint8_t>(SectionType::StopBand);
    }
}

void designAllPass1(TSOS& sec)
{
    const double k = 1.0 / Tan(omegaOf(sec.Frec) / 2.0);
    setCoefficients(sec, (1.0 - k) / (1.0 + k), 1.0, 0.0, (k - 1.0) / (k + 1.0), 0.0);
    sec.Tipo = static_cast<uint8_t>(SectionType::AllPass1);
}

void designAllPass2(TSOS& sec)
{
    const double k = 1.0 / Tan(omegaOf(sec.Frec) / 2.0);
    const double kq = k / sec.Q;
    const double d = k * k + kq + 1.0;
    setCoefficients(sec, (k * k - kq + 1.0) / d, 2.0 * (1.0 - k * k) / d, 1.0, -2.0 * (1.0 - k * k) / d,
                    -(k * k - kq + 1.0) / d);
    sec.Tipo = static_cast<uint8_t>(SectionType::AllPass2);
}

void designShelfSlope(TSOS& sec, bool high)
{
    const double w = omegaOf(sec.Frec);
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double a = std::sqrt(Pow10(sec.Gain / 20.0));
    const double m = (a * a + 1.0) / sec.Q - (a - 1.0) * (a - 1.0);
    // Steeper slopes than the gain allows would need a complex beta: hold the smallest one.
    const double beta = m < 0.1 ? 0.1 : std::sqrt(m);
    const double bs = beta * s;
    if (high) {
        const double d = bs + (a + 1.0) - (a - 1.0) * c;
        setNormalised(sec, d, a * ((a + 1.0) + (a - 1.0) * c + bs), -2.0 * a * ((a - 1.0) + (a + 1.0) * c),
                      a * ((a + 1.0) + (a - 1.0) * c - bs), -2.0 * ((a - 1.0) - (a + 1.0) * c),
                      -((a + 1.0) - (a - 1.0) * c - bs));
        sec.Tipo = static_cast<uint8_t>(SectionType::HighShelfSlope);
    } else {
        const double d = bs + (a + 1.0) + (a - 1.0) * c;
        setNormalised(sec, d, a * ((a + 1.0) - (a - 1.0) * c + bs), 2.0 * a * ((a - 1.0) - (a + 1.0) * c),
                      a * ((a + 1.0) - (a - 1.0) * c - bs), 2.0 * ((a - 1.0) + (a + 1.0) * c),
                      -((a + 1.0) + (a - 1.0) * c - bs));
        sec.Tipo = static_cast<uint8_t>(SectionType::LowShelfSlope);
    }
}

// First-order analogue section (F*s + h)/(s + g); Gain is a plain ratio here.
void designAnalog(TSOS& sec, bool minus)
{
    const double d = 2.0 * std::numbers::pi / std::tan(std::numbers::pi / fs());
    const double f = 1.0 / (sec.Gain + 1.0);
    const double u = sec.Frec / 100.0;
    double h = f * sec.Gain * 686.0 / u;
    if (minus) h = -h;
    const double g = (sec.Q / 100.0) * 686.0 / u;
    const double den = d + g;
    setCoefficients(sec, (f * d + h) / den, 2.0 * h / den, (h - f * d) / den, -2.0 * g / den, (d - g) / den);
    sec.Tipo = static_cast<uint8_t>(minus ? SectionType::AnalogMinus : SectionType::AnalogPlus);
}

} // namespace

void TSOS::SetBypass()
{
    setCoefficients(*this, 1.0, 0.0, 0.0, 0.0, 0.0);
}

void TSOS::Design(bool constantQ)
{
    if (Tipo > kMaxSectionType) return;
    switch (static_cast<SectionType>(Tipo)) {
    case SectionType::Bypass:
        SetBypass();
        break;
    case SectionType::Parametric:
        // The const-Q variant keeps code 1: the choice is the editor's, not the section's.
        if (constantQ)
            designPeakingConstQ(*this);
        else
            designPeakingAdaptQ(*this);
        Tipo = static_cast<uint8_t>(SectionType::Parametric);
        break;
    case SectionType::ShelvLow6:
        designShelf6(*this, false);
        break;
    case SectionType::ShelvHigh6:
        designShelf6(*this, true);
        break;
    case SectionType::ShelvLow12:
        designShelf12(*this, false);
        break;
    case SectionType::ShelvHigh12:
        designShelf12(*this, true);
        break;
    case SectionType::LowPass:
        designButterworth2(*this, false);
        break;
    case SectionType::HiPass:
        designButterworth2(*this, true);
        break;
    case SectionType::BandPass:
        designBand(*this, false);
        break;
    case SectionType::StopBand:
        designBand(*this, true);
        break;
    case SectionType::AllPass1:
        designAllPass1(*this);
        break;
    case SectionType::AllPass2:
        designAllPass2(*this);
        break;
    case SectionType::NoDesign:
    case SectionType::FirstOrder:
    case SectionType::ButterworthFirstHigh:
        // Only the crossover design knows whether these are low- or high-pass.
        break;
    case SectionType::LowPassQ:
        designPass2(*this, false, Q);
        Tipo = static_cast<uint8_t>(SectionType::LowPassQ);
        break;
    case SectionType::HighPassQ:
        designPass2(*this, true, Q);
        Tipo = static_cast<uint8_t>(SectionType::HighPassQ);
        break;
    case SectionType::LowShelfSlope:
        designShelfSlope(*this, false);
        break;
    case SectionType::HighShelfSlope:
        designShelfSlope(*this, true);
        break;
    case SectionType::AnalogPlus:
        designAnalog(*this, false);
        break;
    case SectionType::AnalogMinus:
        designAnalog(*this, true);
        break;
    case SectionType::ParametricConstQ:
        designPeakingConstQ(*this);
        Tipo = static_cast<uint8_t>(SectionType::ParametricConstQ);
        break;
    }
}

void TSOS::DesignFirstOrder(bool highPass)
{
    const double k = Tan(omegaOf(Frec) / 2.0);
    const double beta = (1.0 - k) / (1.0 + k);
    if (highPass)
        setCoefficients(*this, (1.0 + beta) / 2.0, -(1.0 + beta) / 2.0, 0.0, beta, 0.0);
    else
        setCoefficients(*this, (1.0 - beta) / 2.0, (1.0 - beta) / 2.0, 0.0, beta, 0.0);
    Gain = 0.0;
    Tipo = static_cast<uint8_t>(SectionType::FirstOrder);
}

double TSOS::Coef(int index) const
{
    // The index is taken modulo 128; only 0..4 name coefficients.
    switch (((index % 128) + 128) % 128) {
    case 0:
        return B0;
    case 1:
        return B1;
    case 2:
        return B2;
    case 3:
        return A1;
    case 4:
        return A2;
    default:
        return 0.0;
    }
}

void AddChainResponse(const TSOS* const* sections, int count, float* magnitudeDb, float* phaseRad)
{
    const FrequencyGrid& grid = frequencyGrid();
    for (int k = 0; k < kGridPoints; ++k) {
        magnitudeDb[k] = 0.0f;
        phaseRad[k] = 0.0f;
    }
    if (sections == nullptr) return;
    // The response of one section at every point, then its magnitude, then its phase: separate
    // passes keep the loops free of dependencies, so the logarithms and arctangents overlap.
    std::array<TComplex, kGridPoints> h;
    for (int i = 0; i < count; ++i) {
        const TSOS* sec = sections[i];
        if (sec == nullptr) continue;
        // A unity section adds exactly 0 dB and 0 rad at every point.
        if (sec->B0 == 1.0 && sec->B1 == 0.0 && sec->B2 == 0.0 && sec->A1 == 0.0 && sec->A2 == 0.0) continue;
        const double b0 = sec->B0;
        const double b1 = sec->B1;
        const double b2 = sec->B2;
        const double a1 = -sec->A1;
        const double a2 = -sec->A2;
        for (int k = 0; k < kGridPoints; ++k) {
            const double zr = grid.zInverse[k].Re;
            const double zi = grid.zInverse[k].Im;
            // N = B0 + z(B1 + z B2) and D = 1 + z(-A1 + z(-A2)), term by term as ComplexMul and
            // ComplexAdd form them (written out: this is the plots' hot path).
            double tr = b1 + b2 * zr;
            double ti = b2 * zi;
            const TComplex n{b0 + (zr * tr - zi * ti), zr * ti + tr * zi};
            tr = a1 + a2 * zr;
            ti = a2 * zi;
            const TComplex d{1.0 + (zr * tr - zi * ti), zr * ti + tr * zi};
            ComplexDiv(n, d, h[k]);
        }
        for (int k = 0; k < kGridPoints; ++k) {
            const double mag = ComplexAbs(h[k]);
            const double magDb = mag == 0.0 ? kMagnitudeFloorDb : 20.0 * Log10(mag);
            magnitudeDb[k] = static_cast<float>(magnitudeDb[k] + magDb);
        }
        for (int k = 0; k < kGridPoints; ++k)
            phaseRad[k] = static_cast<float>(phaseRad[k] + Atan2(h[k].Re, h[k].Im));
    }
}

void AddChainResponse(std::span<const TSOS* const> sections, ChainResponse& out)
{
    AddChainResponse(sections.data(), static_cast<int>(sections.size()), out.magnitudeDb.data(), out.phaseRad.data());
}

void AddBankResponse(std::span<const TSOS> bank, int count, ChainResponse& out)
{
    std::array<const TSOS*, 16> chain{};
    const size_t n = std::min({static_cast<size_t>(std::max(count, 0)), bank.size(), chain.size()});
    for (size_t k = 0; k < n; ++k)
        chain[k] = &bank[k];
    AddChainResponse(std::span<const TSOS* const>(chain.data(), n), out);
}

double wrapPhaseDegrees(double phaseRad)
{
    const double s = phaseRad >= 0.0 ? 1.0 : -1.0;
    return phaseRad * 180.0 / std::numbers::pi - 360.0 * std::trunc(phaseRad / (2.0 * std::numbers::pi) + s * 0.5);
}

} // namespace kvr::core
