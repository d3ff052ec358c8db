#include "tools/listings.h"

#include <iterator>

#include "config/editing.h"
#include "dsp/frequencygrid.h"
#include "image/deviceimage.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

using Lines = std::vector<std::string>;

// The header after the title (and the lines a listing puts right under its title).
void addHeader(Lines& lines, const ListingInputs& inputs)
{
    lines.push_back(texts::kListingBlank);
    lines.push_back(texts::kListingComment1);
    lines.push_back(texts::kListingComment2);
    lines.push_back(texts::kListingBlank + inputs.dateTime);
    lines.push_back(texts::kListingFsample + formatInteger(kSampleRate));
    lines.push_back(texts::kListingRule);
    lines.push_back(texts::kListingBlank);
}

enum class BlockStyle { Equaliser, CrossoverLow, CrossoverHigh, OutputEqualiser };

void addSectionBlock(Lines& lines, const TSOS& s, int n, BlockStyle style)
{
    switch (style) {
    case BlockStyle::Equaliser:
        lines.push_back(texts::kListingFiltro + formatInteger(n));
        break;
    case BlockStyle::CrossoverHigh:
        lines.push_back(texts::kListingSosLpf + formatInteger(n));
        break;
    case BlockStyle::CrossoverLow:
        lines.push_back(texts::kListingSosHpf + formatInteger(n));
        break;
    case BlockStyle::OutputEqualiser:
        lines.push_back(texts::kListingFiltroPeqx + formatInteger(n));
        break;
    }
    if (style == BlockStyle::Equaliser || style == BlockStyle::OutputEqualiser) {
        std::string description = sectionDescription(s);
        if (!description.empty()) lines.push_back(description);
    }
    const char* directive = style == BlockStyle::OutputEqualiser ? texts::kListingFloatPeqx : texts::kListingFloat;
    for (int index : {4, 2, 3, 1, 0})
        lines.push_back(directive + formatNumber(s.Coef(index)));
    lines.push_back(texts::kListingSectionEnd);
}

int clampedCount(int32_t count)
{
    return clampTo<int32_t>(count, 0, kBandsPerBank);
}

const InputChannelSettings& peq2Bank(const Configuration& c, const ListingInputs& inputs)
{
    return c.input(inputs.peq2ListsPeqa ? InputId::A : InputId::B);
}

Lines equaliserListing(const Configuration& c, int which, const ListingInputs& inputs)
{
    const InputChannelSettings& bank = which == 1 ? c.input(InputId::A) : peq2Bank(c, inputs);
    Lines lines;
    lines.push_back(texts::kListingPeqTitle + formatInteger(which) + texts::kListingPeqTitleEnd +
                    inputs.equalisationName);
    lines.push_back(texts::kListingActiveSos + formatInteger(bank.peqBandCount));
    addHeader(lines, inputs);
    for (int k = 1; k <= clampedCount(bank.peqBandCount); ++k)
        addSectionBlock(lines, bank.peq[static_cast<size_t>(k - 1)], k, BlockStyle::Equaliser);
    return lines;
}

// DSP 1 runs outputs 1 and 2 behind input A's equaliser and delay, DSP 2 outputs 3 and 4 behind B's.
Lines dspListing(const Configuration& c, int k, const ListingInputs& inputs)
{
    const bool first = k == 1;
    const InputChannelSettings& bank = first ? c.input(InputId::A) : peq2Bank(c, inputs);
    const InputChannelSettings& delayed = c.input(first ? InputId::A : InputId::B);
    Lines lines;
    lines.push_back(first ? texts::kListingDsp1Title : texts::kListingDsp2Title);
    addHeader(lines, inputs);
    lines.push_back(texts::kDspBypassFlag + formatInteger(int{bank.peqBypass}) + texts::kDspBypassFlagEnd +
                    formatInteger(k));
    lines.push_back(texts::kDspInputGainA + formatNumber(c.input(InputId::A).linearGain()) +
                    (first ? texts::kDspInputGainEnd1 : texts::kDspInputGainEnd2)[0]);
    lines.push_back(texts::kDspInputGainB + formatNumber(c.input(InputId::B).linearGain()) +
                    (first ? texts::kDspInputGainEnd1 : texts::kDspInputGainEnd2)[1]);
    const int outputs[2] = {2 * k - 1, 2 * k};
    for (size_t i = 0; i < 2; ++i) {
        const OutputChannelSettings& out = c.output(outputs[i]);
        lines.push_back(texts::kDspOutGain[i] + formatNumber(out.mute ? 0.0 : out.linearGain()) +
                        (first ? texts::kDspOutGainEnd1 : texts::kDspOutGainEnd2)[i]);
    }
    for (size_t i = 0; i < 2; ++i)
        lines.push_back(texts::kDspPol[i] + formatInteger(c.output(outputs[i]).polarity) + texts::kDspPolEnd);
    lines.push_back(texts::kDspInputDelay + formatInteger(delayed.delaySamples + 1) + texts::kDspInputDelayEnd);
    for (size_t i = 0; i < 2; ++i)
        lines.push_back(texts::kDspXoverDelay[i] + formatInteger(c.output(outputs[i]).delaySamples() + 1) +
                        texts::kDspXoverDelayEnd + formatInteger(outputs[i]));
    lines.push_back((first ? texts::kDspPeqCount1 : texts::kDspPeqCount2) + formatInteger(bank.peqBandCount) +
                    texts::kDspPeqCountEnd + formatInteger(k));
    for (size_t i = 0; i < 2; ++i) {
        const OutputChannelSettings& out = c.output(outputs[i]);
        const int count =
            out.xover.HighSide.NumSections + out.xover.LowSide.NumSections + outputEqualiserSectionCount(out);
        std::string line =
            texts::kDspXoverCount[i] + formatInteger(count) + texts::kDspXoverCountEnd + formatInteger(outputs[i]);
        if (first) line += texts::kDspXoverCountPeqx + formatInteger(outputs[i]);
        lines.push_back(line);
    }
    for (int a = 1; a <= 4; ++a)
        lines.push_back(texts::kDspAux + formatInteger(a) + texts::kDspAuxMiddle + formatInteger(a));
    return lines;
}

void addSide(Lines& lines, const TXOVERPB& side, BlockStyle style)
{
    const uint8_t code = side.Tipo <= kMaxCrossoverType ? side.Tipo : 0;
    lines.push_back(std::string(";") + texts::kListingSideTexts[code] +
                    (code == 0 ? std::string() : formatNumber(side.Frec)));
    lines.push_back(texts::kListingOrden + formatInteger(side.Orden));
    const int count = clampedCount(side.NumSections);
    for (int k = 1; k <= count; ++k)
        addSectionBlock(lines, side.Sections[static_cast<size_t>(k - 1)], k, style);
}

Lines crossoverListing(const Configuration& c, int n, const ListingInputs& inputs)
{
    const OutputChannelSettings& out = c.output(n);
    Lines lines;
    lines.push_back(texts::kListingXoverTitle + formatInteger(n));
    lines.push_back(texts::kListingXoverPeqx);
    addHeader(lines, inputs);
    addSide(lines, out.xover.HighSide, BlockStyle::CrossoverHigh);
    addSide(lines, out.xover.LowSide, BlockStyle::CrossoverLow);
    lines.push_back(texts::kListingPeqxTitle + formatInteger(n) + texts::kListingPeqxTitleEnd);
    const int count = outputEqualiserSectionCount(out);
    if (count == 0) {
        lines.push_back(texts::kListingNoPeqx + formatInteger(n));
        return lines;
    }
    lines.push_back(texts::kListingActiveSosPeqx + formatInteger(count));
    lines.push_back(texts::kListingSectionEnd);
    for (int k = 1; k <= count; ++k)
        addSectionBlock(lines, out.peqx[static_cast<size_t>(k - 1)], k, BlockStyle::OutputEqualiser);
    return lines;
}

} // namespace

std::string sectionDescription(const TSOS& s)
{
    if (s.Tipo >= std::size(texts::kListingWords) || texts::kListingWords[s.Tipo] == nullptr) return {};
    std::string text = texts::kListingFiltro + std::string(texts::kListingWords[s.Tipo]) + texts::kListingFrec +
                       formatNumber(s.Frec) + " ";
    switch (s.Tipo) {
    case 6:
    case 7:
    case 9:
    case 10:
    case 12:
        return text;
    case 2:
    case 4:
        return text + texts::kListingGain + formatNumber(s.Gain) + texts::kListingDb;
    default:
        return text + texts::kListingGain + formatNumber(s.Gain) + texts::kListingDb + texts::kListingQ +
               formatNumber(s.Q);
    }
}

std::vector<std::string> dynamicsListing(const TDYNAMIC& d)
{
    Lines lines;
    const float start = d.Umbral - d.Knee;
    lines.push_back(texts::kDynTitle);
    lines.push_back(texts::kDynThreshold + formatNumber(start) + texts::kDynThresholdMiddle +
                    formatNumber(start + kFullScaleDbu) + texts::kDynDbu);
    lines.push_back(texts::kDynRatio + formatNumber(d.Ratio));
    lines.push_back(texts::kDynGain + formatNumber(d.GaindB) + texts::kDynDb);
    lines.push_back(texts::kDynKnee + formatNumber(d.Knee) + texts::kDynDb);
    lines.push_back(texts::kDynAttack + formatNumber(d.TAttack) + texts::kDynMs);
    lines.push_back(texts::kDynRelease + formatNumber(d.TRelease) + texts::kDynMs);
    lines.push_back(texts::kDynTau + formatNumber(100.0f * d.Tau) + "%");
    lines.push_back(texts::kDynDetectors[d.Detector < 2 ? d.Detector : 2]);
    lines.push_back(d.CriKnee != 0 ? texts::kDynKneeCompressor : texts::kDynKneeLimiter);
    lines.push_back(texts::kDynDiezmado + formatInteger(int{d.DiezmadoF}));
    lines.push_back(texts::kDynBypass + formatInteger(int{d.BypassF}));
    lines.push_back(texts::kDynRetorno + formatInteger(int{d.RetornoF}));
    lines.push_back(texts::kDynRetornoEqu + sectionDescription(d.RetornoEqu));
    lines.push_back(texts::kDynPoints + formatInteger(d.NPuntos));
    lines.push_back(texts::kDynRule);
    lines.push_back(texts::kDynGate);
    lines.push_back(texts::kDynGateThreshold + formatNumber(d.UmbraldBGateFS) + texts::kDynDb);
    lines.push_back(texts::kDynGateAttack + formatNumber(d.TAttackGate) + texts::kDynMs);
    lines.push_back(texts::kDynGateRelease + formatNumber(d.TReleaseGate) + texts::kDynMs);
    return lines;
}

std::vector<std::string> coefficientListing(const Configuration& config, ListingKind kind, const ListingInputs& inputs)
{
    Configuration c = config;
    switch (kind) {
    case ListingKind::Dynamics: {
        Lines lines;
        // As the dynamics editor regenerates them: each output selected and designed in turn.
        for (int n = 1; n <= kOutputCount; ++n) {
            selectDynamicsOutput(c, n);
            const Lines one = dynamicsListing(c.output(n).dynamics);
            lines.insert(lines.end(), one.begin(), one.end());
        }
        return lines;
    }
    case ListingKind::Peq1:
        redesignAll(c);
        return equaliserListing(c, 1, inputs);
    case ListingKind::Peq2:
        redesignAll(c);
        return equaliserListing(c, 2, inputs);
    case ListingKind::Dsp1:
        redesignAll(c);
        return dspListing(c, 1, inputs);
    case ListingKind::Dsp2:
        redesignAll(c);
        return dspListing(c, 2, inputs);
    case ListingKind::Xover1:
        redesignAll(c);
        return crossoverListing(c, 1, inputs);
    case ListingKind::Xover2:
        redesignAll(c);
        return crossoverListing(c, 2, inputs);
    case ListingKind::Xover3:
        redesignAll(c);
        return crossoverListing(c, 3, inputs);
    case ListingKind::Xover4:
        redesignAll(c);
        return crossoverListing(c, 4, inputs);
    }
    return {};
}

std::string listingFileName(ListingKind kind)
{
    switch (kind) {
    case ListingKind::Peq1:
        return "peq1.coe";
    case ListingKind::Peq2:
        return "peq2.coe";
    case ListingKind::Dsp1:
        return "dsp1data.asm";
    case ListingKind::Dsp2:
        return "dsp2data.asm";
    case ListingKind::Xover1:
        return "xover1.coe";
    case ListingKind::Xover2:
        return "xover2.coe";
    case ListingKind::Xover3:
        return "xover3.coe";
    case ListingKind::Xover4:
        return "xover4.coe";
    case ListingKind::Dynamics:
        break;
    }
    return {};
}

} // namespace kvr::core
