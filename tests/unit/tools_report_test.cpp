#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "config/editing.h"
#include "image_fixtures.h"
#include "tools/report.h"

using namespace kvr::core;
using kvr::test::imageConfiguration;

namespace {

using Lines = std::vector<std::string>;

const std::string kRule(50, '-');

Lines report(const Configuration& c)
{
    return automaticReport(c, "08/12/2026 10:11:12", "4.7.0.3");
}

// The lines from the first that equals `first` up to (not including) the first equal to `end`.
Lines section(const Lines& lines, const std::string& first, const std::string& end)
{
    auto from = std::find(lines.begin(), lines.end(), first);
    if (from == lines.end()) return {};
    auto to = std::find(from + 1, lines.end(), end);
    return Lines(from, to);
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

void expectLines(const Lines& got, const Lines& expected)
{
    for (size_t i = 0; i < std::max(got.size(), expected.size()); ++i)
        EXPECT_EQ(i < got.size() ? got[i] : "<none>", i < expected.size() ? expected[i] : "<none>") << "line " << i;
}

} // namespace

TEST(AutomaticReport, HeadAndInputsOfTheDefaults)
{
    const Lines lines = report(Configuration());
    const Lines expected = {
        "KVR 610  AUTOMATIC REPORT", "DATE : 08/12/2026 10:11:12", "VERSION : 4.7.0.3", "", kRule,
        "CONFIGURATION : NoName", "", "INPUT AND OUTPUT NAMES :", "  INPUT  A : In A    INPUT  B : In B",
        "  OUTPUT 1 : Out1    OUTPUT 2 : Out2", "  OUTPUT 3 : Out3    OUTPUT 4 : Out4", kRule,
        "ROUTING MODE : Free Route", "",
        // Bypassed bands give no line: three header lines and an empty line.
        "INPUT A CONFIGURATION :", "     MUTED: NO     GAIN : 0.0 dB   INPUT DELAY : 0.00 ms",
        "     PEQA SOURCE : PEQA", "",
        "INPUT B CONFIGURATION :", "     MUTED: NO     GAIN : 0.0 dB   INPUT DELAY : 0.00 ms",
        "     PEQB SOURCE : PEQB", "",
        "INPUT Mono (A+B) CONFIGURATION :", "     MUTED: NO     GAIN : -6.0 dB   INPUT DELAY : 0.00 ms",
        "     PEQMono (A+B) SOURCE : PEQM", "", kRule};
    expectLines(Lines(lines.begin(), lines.begin() + static_cast<long>(std::min(lines.size(), expected.size()))),
                expected);
}

TEST(AutomaticReport, OutputOfTheDefaults)
{
    const Lines lines =
        section(report(Configuration()), "OUTPUT 1 Out1 CONFIGURATION :", "OUTPUT 2 Out2 CONFIGURATION :");
    // Default limiter: stored threshold -5.85 shown at +8 dBu, flat there: V = 0.775 * 10^(8/20).
    const double volts = 0.775 * std::pow(10.0, 8.0 / 20.0);
    const double watts = std::pow(volts * 41, 2) / 8;
    const Lines expected = {"OUTPUT 1 Out1 CONFIGURATION :",
                            "",
                            "  ROUTE : A",
                            "",
                            "  XOVER 1 :",
                            "    HIGHPASS -  Type : Bypass",
                            "    LOWPASS -  Type : Bypass",
                            "",
                            " OUTPUT 1 Out1 PEQX EQUALISATION",
                            "",
                            " OUTPUT 1 DELAY : 0.00 ms",
                            " OUTPUT 1 GAIN : 0.0 dB",
                            " POLARITY 1 : NORMAL",
                            "",
                            "  DYNAMIC OUTPUT 1 Out1",
                            "    BYPASS : FALSE",
                            "    TYPE : CRI LIMITER    LIMIT : 8 dBu",
                            "    GAIN : 0 dB    CRI KNEE : 4 dB",
                            "    AUTO TIME CONSTANTS : FALSE",
                            "    ATTACK TIME : 10 ms.    RELEASE TIME : 100 ms.",
                            "    SPEAKER AND AMPLIFIER PARAMETERS :",
                            "    SPEAKER IMPEDANCE : 8 OHMS   MAXIMUM SPEAKER POWER : 400 WATTS",
                            "    MAXIMUM AMPLIFIER POWER : 600 WATTS    AMPLIFIER GAIN : 41 ( 32.3 dB )",
                            "    BALANCED SIGNAL : YES",
                            "    KVR 610  RMS OUTPUT 1 VOLTAGE : " + fixed(volts, 2) + " VRMS",
                            "    MAXIMUM RMS OUTPUT 1 POWER : " + fixed(watts, 1) + " WATTS",
                            "",
                            " NOISE GATE OUTPUT 1",
                            "  BYPASS : NO",
                            "  THRESHOLD : -69 dBu  HOLD TIME : 300 ms.  CLOSE TIME : 350 ms.",
                            "",
                            ""};
    expectLines(lines, expected);
}

TEST(AutomaticReport, BandLines)
{
    const Configuration c = imageConfiguration();
    const Lines lines = section(report(c), "INPUT A CONFIGURATION :", "");
    const Lines expected = {"INPUT A CONFIGURATION :", "     MUTED: NO     GAIN : -2.5 dB   INPUT DELAY : 9.96 ms",
                            "     PEQA SOURCE : PEQA",
                            "        Filter 1 :    Type: Parametric , freq: 250 Hz, Gain: -4.5 dB, Q: 2.5",
                            "        Filter 3 :    Type: Low Shelving 6 dB , freq: 120 Hz, Gain: 3 dB"};
    expectLines(lines, expected);
    const Lines mix = section(report(c), "INPUT Mono (A+B) CONFIGURATION :", "");
    ASSERT_EQ(mix.size(), 4u);
    EXPECT_EQ(mix[3], "        Filter 2 :    Type: RejectBand , freq: 60 Hz, Q: 5");
    TSOS integrator;
    integrator.Tipo = 19;
    integrator.Frec = 1000;
    integrator.Q = 0.707;
    EXPECT_EQ(reportBandLine(4, integrator), "        Filter 4 :    Type: Integrator + , L: 10, H: 0.00707");
    integrator.Tipo = 12;
    EXPECT_EQ(reportBandLine(4, integrator), "");
}

TEST(AutomaticReport, CrossoverSides)
{
    const Configuration c = imageConfiguration();
    // Output 2: Butterworth high-pass of order 3 at 1 kHz on its low side.
    Lines lines = section(report(c), "  XOVER 2 :", "");
    expectLines(lines, {"  XOVER 2 :", "    HIGHPASS -  Type : Butterworth", "      ORDER : 3", "      FREQ : 1000",
                        "      SOS 1 - freq :1000  ;   first order", "      SOS 2 - freq :1000  ;   Q : 1.00",
                        "    LOWPASS -  Type : Bypass"});
    // Output 1: the same order as a low-pass, with the shorter separator.
    lines = section(report(c), "  XOVER 1 :", "");
    expectLines(lines, {"  XOVER 1 :", "    HIGHPASS -  Type : Bypass", "    LOWPASS -  Type : Butterworth",
                        "      ORDER : 3", "      FREQ : 1000", "      SOS 1 - freq :1000  ; first order",
                        "      SOS 2 - freq :1000  ; Q : 1.00"});
    // Output 4: a custom high-pass has no FREQ line; so has a custom low-pass.
    Configuration custom = c;
    setCrossoverFamily(custom, 4, CrossoverSide::High, 4);
    setCrossoverOrder(custom, 4, CrossoverSide::High, 2);
    lines = section(report(custom), "  XOVER 4 :", "");
    expectLines(lines, {"  XOVER 4 :", "    HIGHPASS -  Type : Custom", "      ORDER : 3",
                        "      SOS 1 - freq :70  ;   first order", "      SOS 2 - freq :90  ;   Q : 0.90",
                        "    LOWPASS -  Type : Custom", "      ORDER : 2",
                        "      SOS 1 - freq :5000  ; Q : " + fixed(custom.output(4).xover.HighSide.Sections[0].Q, 2)});
}

TEST(AutomaticReport, MutedInvertedAndBypassedOutputs)
{
    const Lines lines = report(imageConfiguration());
    // Output 2: inverted, -3 dB.
    const Lines two = section(lines, " OUTPUT 2 DELAY : 0.00 ms", "");
    expectLines(two, {" OUTPUT 2 DELAY : 0.00 ms", " OUTPUT 2 GAIN : -3.0 dB", " POLARITY : INVERTED"});
    // Output 4 muted: no polarity line.
    const Lines four = section(lines, " OUTPUT 4 DELAY : 0.00 ms", "");
    expectLines(four, {" OUTPUT 4 DELAY : 0.00 ms", " OUTPUT 4 GAIN : MUTED"});
    // Output 3's dynamics are bypassed: nothing follows before output 4.
    const Lines three = section(lines, "  DYNAMIC OUTPUT 3 Out3", "OUTPUT 4 Out4 CONFIGURATION :");
    expectLines(three, {"  DYNAMIC OUTPUT 3 Out3", "    BYPASS : TRUE"});
    EXPECT_EQ(std::count(lines.begin(), lines.end(), " NOISE GATE OUTPUT 3"), 0);
}

TEST(AutomaticReport, CompressorUnbalancedAndGateBypassed)
{
    const Configuration c = imageConfiguration();
    const TDYNAMIC& d = c.output(2).dynamics;
    const Lines lines = section(report(c), "  DYNAMIC OUTPUT 2 Out2", "OUTPUT 3 Out3 CONFIGURATION :");
    ASSERT_GE(lines.size(), 17u);
    EXPECT_EQ(lines[2], "    TYPE : CRI COMPRESSOR    THRESHOLD : -9.85 dBu    RATIO : 4");
    EXPECT_EQ(lines[4], "    AUTO TIME CONSTANTS : FALSE");
    EXPECT_EQ(lines[5], "    ATTACK TIME : 25 ms.    RELEASE TIME : 100 ms.");
    EXPECT_EQ(lines[7], "    SPEAKER IMPEDANCE : 2.67 OHMS   MAXIMUM SPEAKER POWER : 1200 WATTS");
    EXPECT_EQ(lines[9], "    BALANCED SIGNAL : NO");
    // Hard-to-reach compressor curve end: read the designed level, then the textbook sums.
    const double level = static_cast<double>(d.OutputDb[60] + 13.85f);
    const double volts = 0.775 * std::pow(10.0, level / 20.0);
    EXPECT_EQ(lines[10], "    KVR 610  RMS OUTPUT 2 VOLTAGE : " + fixed(volts / 2, 2) + " VRMS");
    EXPECT_EQ(lines[11],
              "    MAXIMUM RMS OUTPUT 2 POWER : " + fixed(std::pow(volts * 41, 2) / 2.67f / 4, 1) + " WATTS");
    EXPECT_EQ(lines[14], "  BYPASS : YES");
}
