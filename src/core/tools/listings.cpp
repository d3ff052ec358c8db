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

std::string num(double v)
{
    return formatGeneral(v, 15);
}
std::string num(float v)
{
    return formatShortest(v);
}
std::string num(int v)
{
    return std::to_string(v);
}

// The header after the title (and the lines a listing puts right under its title).
void addHeader(Lines& lines, const ListingInputs& inputs)
{
    lines.push_back(texts::kListingBlank);
    lines.push_back(texts::kListingComment1);
    lines.push_back(texts::kListingComment2);
    lines.push_back(texts::kListingBlank + inputs.dateTime);
    lines.push_back(texts::kListingFsample + num(kSampleRate));
    lines.push_back(texts::kListingRule);
    lines.push_back(texts::kListingBlank);
}

enum class BlockStyle { Equaliser, CrossoverLow, CrossoverHigh, OutputEqualiser };

void addSectionBlock(Lines& lines, const TSOS& s, int n, BlockStyle style)
{
    switch (style) {
    case BlockStyle::Equaliser:
        lines.push_back(texts::kListingFiltro + num(n));
        break;
    case BlockStyle::CrossoverHigh:
        lines.push_back(texts::kListingSosLpf + num(n));
        break;
    case BlockStyle::CrossoverLow:
        lines.push_back(texts::kListingSosHpf + num(n));
        break;
    case BlockStyle::OutputEqualiser:
        lines.push_back(texts::kListingFiltroPeqx + num(n));
        break;
    }
    if (style == BlockStyle::Equaliser || style == BlockStyle::OutputEqualiser) {
        std::string description = sectionDescription(s);
        if (!description.empty()) lines.push_back(description);
    }
    const char* directive = style == BlockStyle::OutputEqualiser ? texts::kListingFloatPeqx : texts::kListingFloat;
    for (int index : {4, 2, 3, 1, 0})
        lines.push_back(directive + num(s.Coef(index)));
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
    lines.push_back(texts::kListingPeqTitle + num(which) + texts::kListingPeqTitleEnd + inputs.equalisationName);
    lines.push_back(texts::kListingActiveSos + num(bank.peqBandCount));
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
    lines.push_back(texts::kDspBypassFlag + num(int{bank.peqBypass}) + texts::kDspBypassFlagEnd + num(k));
    lines.push_back(texts::kDspInputGainA + num(c.input(InputId::A).linearGain()) +
                    (first ? texts::kDspInputGainEnd1 : texts::kDspInputGainEnd2)[0]);
    lines.push_back(texts::kDspInputGainB + num(c.input(InputId::B).linearGain()) +
                    (first ? texts::kDspInputGainEnd1 : texts::kDspInputGainEnd2)[1]);
    const int outputs[2] = {2 * k - 1, 2 * k};
    for (size_t i = 0; i < 2; ++i) {
        const OutputChannelSettings& out = c.output(outputs[i]);
        lines.push_back(texts::kDspOutGain[i] + num(out.mute ? 0.0 : out.linearGain()) +
                        (first ? texts::kDspOutGainEnd1 : texts::kDspOutGainEnd2)[i]);
    }
    for (size_t i = 0; i < 2; ++i)
        lines.push_back(texts::kDspPol[i] + num(c.output(outputs[i]).polarity) + texts::kDspPolEnd);
    lines.push_back(texts::kDspInputDelay + num(delayed.delaySamples + 1) + texts::kDspInputDelayEnd);
    for (size_t i = 0; i < 2; ++i)
        lines.push_back(texts::kDspXoverDelay[i] + num(c.output(outputs[i]).delaySamples() + 1) +
                        texts::kDspXoverDelayEnd + num(outputs[i]));
    lines.push_back((first ? texts::kDspPeqCount1 : texts::kDspPeqCount2) + num(bank.peqBandCount) +
                    texts::kDspPeqCountEnd + num(k));
    for (size_t i = 0; i < 2; ++i) {
        const OutputChannelSettings& out = c.output(outputs[i]);
        const int count =
            out.xover.HighSide.NumSections + out.xover.LowSide.NumSections + outputEqualiserSectionCount(out);
        std::string line = texts::kDspXoverCount[i] + num(count) + texts::kDspXoverCountEnd + num(outputs[i]);
        if (first) line += texts::kDspXoverCountPeqx + num(outputs[i]);
        lines.push_back(line);
    }
    for (int a = 1; a <= 4; ++a)
        lines.push_back(texts::kDspAux + num(a) + texts::kDspAuxMiddle + num(a));
    return lines;
}

void addSide(Lines& lines, const TXOVERPB& side, BlockStyle style)
{
    const uint8_t code = side.Tipo <= kMaxCrossoverType ? side.Tipo : 0;
    lines.push_back(std::string(";") + texts::kListingSideTexts[code] + (code == 0 ? std::string() : num(side.Frec)));
    lines.push_back(texts::kListingOrden + num(side.Orden));
    const int count = clampedCount(side.NumSections);
    for (int k = 1; k <= count; ++k)
        addSectionBlock(lines, side.Sections[static_cast<size_t>(k - 1)], k, style);
}

Lines crossoverListing(const Configuration& c, int n, const ListingInputs& inputs)
{
    const OutputChannelSettings& out = c.output(n);
    Lines lines;
    lines.push_back(texts::kListingXoverTitle + num(n));
    lines.push_back(texts::kListingXoverPeqx);
    addHeader(lines, inputs);
    addSide(lines, out.xover.HighSide, BlockStyle::CrossoverHigh);
    addSide(lines, out.xover.LowSide, BlockStyle::CrossoverLow);
    lines.push_back(texts::kListingPeqxTitle + num(n) + texts::kListingPeqxTitleEnd);
    const int count = outputEqualiserSectionCount(out);
    if (count == 0) {
        lines.push_back(texts::kListingNoPeqx + num(n));
        return lines;
    }
    lines.push_back(texts::kListingActiveSosPeqx + num(count));
    lines.push_back(texts::kListingSectionEnd);
    for (int k = 1; k <= count; ++k)
        addSectionBlock(lines, out.peqx[static_cast<size_t>(k - 1)], k, BlockStyle::OutputEqualiser);
    return lines;
}

} // namespace

std::string sectionDescription(const TSOS& s)
{
    if (s.Tipo >= std::size(texts::kListingWords) || texts::kListingWords[s.Tipo] == nullptr) return {};
    std::string text =
        texts::kListingFiltro + std::string(texts::kListingWords[s.Tipo]) + texts::kListingFrec + num(s.Frec) + " ";
    switch (s.Tipo) {
    case 6:
    case 7:
    case 9:
    case 10:
    case 12:
        return text;
    case 2:
    case 4:
        return text + texts::kListingGain + num(s.Gain) + texts::kListingDb;
    default:
        return text + texts::kListingGain + num(s.Gain) + texts::kListingDb + texts::kListingQ + num(s.Q);
    }
}

std::vector<std::string> dynamicsListing(const TDYNAMIC& d)
{
    Lines lines;
    const float start = d.Umbral - d.Knee;
    lines.push_back(texts::kDynTitle);
    lines.push_back(texts::kDynThreshold + num(start) + texts::kDynThresholdMiddle + num(start + kFullScaleDbu) +
                    texts::kDynDbu);
    lines.push_back(texts::kDynRatio + num(d.Ratio));
    lines.push_back(texts::kDynGain + num(d.GaindB) + texts::kDynDb);
    lines.push_back(texts::kDynKnee + num(d.Knee) + texts::kDynDb);
    lines.push_back(texts::kDynAttack + num(d.TAttack) + texts::kDynMs);
    lines.push_back(texts::kDynRelease + num(d.TRelease) + texts::kDynMs);
    lines.push_back(texts::kDynTau + num(100.0f * d.Tau) + "%");
    lines.push_back(texts::kDynDetectors[d.Detector < 2 ? d.Detector : 2]);
    lines.push_back(d.CriKnee != 0 ? texts::kDynKneeCompressor : texts::kDynKneeLimiter);
    lines.push_back(texts::kDynDiezmado + num(int{d.DiezmadoF}));
    lines.push_back(texts::kDynBypass + num(int{d.BypassF}));
    lines.push_back(texts::kDynRetorno + num(int{d.RetornoF}));
    lines.push_back(texts::kDynRetornoEqu + sectionDescription(d.RetornoEqu));
    lines.push_back(texts::kDynPoints + num(d.NPuntos));
    lines.push_back(texts::kDynRule);
    lines.push_back(texts::kDynGate);
    lines.push_back(texts::kDynGateThreshold + num(d.UmbraldBGateFS) + texts::kDynDb);
    lines.push_back(texts::kDynGateAttack + num(d.TAttackGate) + texts::kDynMs);
    lines.push_back(texts::kDynGateRelease + num(d.TReleaseGate) + texts::kDynMs);
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
