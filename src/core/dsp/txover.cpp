#include "dsp/txover.h"

#include <cmath>
#include <numbers>

#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

constexpr int kMaxOrder = 8;
constexpr int kSideSections = 8;

// Bessel prototype, normalised to -3 dB at the cut-off. Second-order factors are
// 1/(b*s^2 + a*s + 1); odd orders add a first-order factor at r times the cut-off.
// Single precision on purpose: these are the values the design has always used.
struct BesselRow {
    float r;
    int pairCount;
    std::array<std::array<float, 2>, 4> ab; // {a, b}
};

constexpr std::array<BesselRow, kMaxOrder> kBesselTable = {{
    {1.0f, 0, {}},
    {0.0f, 1, {{{1.3617f, 0.618f}}}},
    {1.323f, 1, {{{0.9996f, 0.4772f}}}},
    {0.0f, 2, {{{1.3397f, 0.4889f}, {0.7743f, 0.389f}}}},
    {1.502f, 2, {{{1.1402f, 0.4128f}, {0.6216f, 0.3245f}}}},
    {0.0f, 3, {{{1.2217f, 0.3887f}, {0.9686f, 0.3505f}, {0.5131f, 0.2756f}}}},
    {1.684f, 3, {{{1.0944f, 0.3395f}, {0.8304f, 0.3011f}, {0.4332f, 0.2381f}}}},
    {0.0f, 4, {{{1.1112f, 0.3162f}, {0.9754f, 0.2979f}, {0.7202f, 0.2621f}, {0.3728f, 0.2087f}}}},
}};

constexpr std::array<float, kMaxOrder> kBesselLowPassLimitsHz = {20000.0f, 18800.0f, 16500.0f, 14900.0f,
                                                                 13650.0f, 12550.0f, 11650.0f, 10900.0f};

int halfUp(int order)
{
    return (order + 1) / 2;
}

// Section n of a side, 1-based as the design counts them; nullptr past the end.
TSOS* sectionAt(TXOVERPB& side, int n)
{
    if (n < 1 || n > kSideSections) return nullptr;
    return &side.Sections[n - 1];
}

SideDesignResult designBessel(TXOVERPB& side, bool lowPass)
{
    SideDesignResult result;
    const int order = side.Orden;
    if (lowPass) {
        const double limit = BesselLowPassLimitHz(order);
        if (side.Frec > limit) {
            side.Frec = limit;
            for (int n = 1; n <= 4; ++n)
                side.Sections[n - 1].Frec = limit;
            result.besselLimitMessage = std::string(texts::kBesselLimitStart) + formatInteger(order) +
                                        texts::kBesselLimitMiddle + formatGeneral(limit);
            result.limitHz = limit;
            return result;
        }
    }
    // Every section starts from the side's cut-off, so designing twice gives the same sections.
    const double fc = side.Frec;
    const BesselRow& row = kBesselTable[order - 1];
    int next = 1;
    if (order % 2 == 1) {
        TSOS& first = side.Sections[0];
        const double r = row.r;
        first.Frec = lowPass ? fc * r : fc / r;
        first.DesignFirstOrder(!lowPass);
        next = 2;
    }
    for (int p = 0; p < row.pairCount; ++p, ++next) {
        TSOS& sec = side.Sections[next - 1];
        const double a = row.ab[p][0];
        const double rootB = std::sqrt(static_cast<double>(row.ab[p][1]));
        sec.Frec = lowPass ? fc / rootB : fc * rootB;
        sec.Q = rootB / a;
        sec.Tipo = static_cast<uint8_t>(lowPass ? SectionType::LowPassQ : SectionType::HighPassQ);
        sec.Design();
    }
    return result;
}

void designCustom(TXOVERPB& side, bool lowPass)
{
    int next = 1;
    if (side.Orden % 2 == 1) {
        side.Sections[0].DesignFirstOrder(!lowPass);
        next = 2;
    }
    const auto type = lowPass ? SectionType::LowPassQ : SectionType::HighPassQ;
    for (int k = 0; k < side.Orden / 2; ++k, ++next) {
        TSOS& sec = side.Sections[next - 1];
        sec.Tipo = static_cast<uint8_t>(type);
        sec.Design();
    }
}

// A division by exactly zero gives 0 rather than an infinity or NaN that would reach files.
double divideOrZero(double num, double den)
{
    return den == 0.0 ? 0.0 : num / den;
}

} // namespace

double BesselLowPassLimitHz(int order)
{
    return static_cast<double>(kBesselLowPassLimitsHz[clampTo(order, 1, kMaxOrder) - 1]);
}

SideDesignResult DesignSide(TXOVERPB& side)
{
    for (TSOS& sec : side.Sections)
        sec.SetBypass();
    // Orders come from files and device memories as well as from the editor.
    side.Orden = clampTo(side.Orden, 1, kMaxOrder);
    side.NumSections = 1;
    SideDesignResult result;
    if (side.Tipo > kMaxCrossoverType) return result;
    switch (static_cast<CrossoverType>(side.Tipo)) {
    case CrossoverType::Bypass:
        side.NumSections = 1;
        break;
    case CrossoverType::ButterworthLowPass:
    case CrossoverType::ButterworthHighPass: {
        const int sign = side.Tipo == static_cast<uint8_t>(CrossoverType::ButterworthLowPass) ? 1 : -1;
        DesignButterworth(side, side.Orden, 1, sign, side.Frec);
        side.NumSections = halfUp(side.Orden);
        break;
    }
    case CrossoverType::LinkwitzRileyLowPass:
    case CrossoverType::LinkwitzRileyHighPass: {
        const int sign = side.Tipo == static_cast<uint8_t>(CrossoverType::LinkwitzRileyLowPass) ? 1 : -1;
        // Two equal Butterworth halves: an odd order has no such split, so it moves up by one.
        if (side.Orden % 2 == 1) ++side.Orden;
        const int half = side.Orden / 2;
        const bool small = side.Orden == 2 || side.Orden == 4;
        DesignButterworth(side, half, 1, sign, side.Frec);
        side.NumSections = small ? 2 : 4;
        DesignButterworth(side, half, small ? 2 : 3, sign, side.Frec);
        break;
    }
    case CrossoverType::BesselLowPass:
    case CrossoverType::BesselHighPass:
        side.NumSections = halfUp(side.Orden);
        result = designBessel(side, side.Tipo == static_cast<uint8_t>(CrossoverType::BesselLowPass));
        break;
    case CrossoverType::CustomLowPass:
    case CrossoverType::CustomHighPass:
        side.NumSections = halfUp(side.Orden);
        designCustom(side, side.Tipo == static_cast<uint8_t>(CrossoverType::CustomLowPass));
        break;
    }
    return result;
}

void DesignButterworth(TXOVERPB& side, int order, int start, int sign, double fcHz)
{
    const double w = 2.0 * std::numbers::pi * fcHz / kSampleRate;
    const double k = sign > 0 ? std::tan(w / 2.0) : 1.0 / std::tan(w / 2.0);
    const double kk = k * k;
    const bool low = sign > 0;
    int next = start;
    if (order % 2 == 1) {
        if (TSOS* sec = sectionAt(side, next)) {
            sec->B0 = k / (k + 1.0);
            sec->B1 = sign * sec->B0;
            sec->B2 = 0.0;
            sec->A1 = sign * (1.0 - k) / (1.0 + k);
            sec->A2 = 0.0;
            sec->Frec = fcHz;
            sec->Q = low ? QFromLowPass(*sec) : QFromHighPass(*sec);
            sec->Tipo = static_cast<uint8_t>(low ? SectionType::FirstOrder : SectionType::ButterworthFirstHigh);
        }
        ++next;
    }
    for (int i = 1; i <= order / 2; ++i, ++next) {
        TSOS* sec = sectionAt(side, next);
        if (sec == nullptr) break;
        const double theta = std::numbers::pi * (order - 1 + 2 * i) / (2.0 * order);
        const double c = std::cos(theta);
        const double d = kk + 1.0 - 2.0 * k * c;
        sec->B0 = kk / d;
        sec->B1 = 2.0 * sign * sec->B0;
        sec->B2 = sec->B0;
        sec->A1 = -2.0 * sign * (kk - 1.0) / d;
        sec->A2 = -(kk + 2.0 * k * c + 1.0) / d;
        sec->Frec = fcHz;
        sec->Q = low ? QFromLowPass(*sec) : QFromHighPass(*sec);
        sec->Tipo = static_cast<uint8_t>(low ? SectionType::LowPassQ : SectionType::HighPassQ);
    }
}

double QFromLowPass(const TSOS& section)
{
    const double b0 = section.B0;
    if (b0 == 0.0) return 0.0;
    const double beta = std::sqrt(section.A1 / (2.0 * b0) + 1.0);
    return divideOrZero(beta, 1.0 / b0 - 1.0 - beta * beta);
}

double QFromHighPass(const TSOS& section)
{
    const double a = 2.0 * section.B0;
    if (a == 0.0 || a - section.A1 == 0.0) return 0.0;
    const double beta = std::sqrt(a / (a - section.A1));
    if (beta == 0.0) return 0.0;
    return divideOrZero(1.0, 2.0 * (beta / a - (beta * beta + 1.0) / (2.0 * beta)));
}

std::vector<const TSOS*> crossoverChain(const TXOVER& xover)
{
    std::vector<const TSOS*> chain;
    chain.reserve(2 * kSideSections);
    for (const TXOVERPB* side : {&xover.HighSide, &xover.LowSide}) {
        const int count = clampTo(side->NumSections, 1, kSideSections);
        for (int n = 0; n < count; ++n)
            chain.push_back(&side->Sections[n]);
    }
    return chain;
}

} // namespace kvr::core
