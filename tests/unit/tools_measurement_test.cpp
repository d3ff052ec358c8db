#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "config/configfile.h"
#include "dsp/frequencygrid.h"
#include "support/tempdir.h"
#include "tools/measurementimport.h"

using namespace kvr::core;

namespace {

constexpr double kPi = std::numbers::pi;

Result<MeasuredPoints> parse(const std::string& text, MeasurementKind kind, const std::string& name = "m.txt")
{
    return parseMeasurement(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), kind, name);
}

// `count` lines of filler, so the next line has that index.
std::string lines(size_t count, const std::string& filler = "x")
{
    std::string out;
    for (size_t i = 0; i < count; ++i)
        out += filler + "\n";
    return out;
}

int gridIndexOf(int hz)
{
    const FrequencyGrid& g = frequencyGrid();
    for (int i = 0; i < kGridPoints; ++i)
        if (g.frequencyHz[static_cast<size_t>(i)] == hz) return i;
    return -1;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(MeasurementKinds, CodesNamesAndPhaseUnitsArePinned)
{
    using K = MeasurementKind;
    const K order[] = {K::Clio,   K::Mlssa,  K::WinAirr,        K::Smaart, K::Imp, K::Laud,
                       K::Calsod, K::Daas32, K::LoudspeakerLab, K::Frd,    K::Zma, K::Rew};
    const char* names[] = {"CLIO",
                           "MLSSA",
                           "WINAIR",
                           "SIA Smaart Pro - Transfer Function",
                           "IMP",
                           "LAUD",
                           " CALSOD ",
                           "DAAS 32 - CALSOD ",
                           "LoudSpeaker Lab - CALSOD ",
                           "FRD",
                           "ZMA",
                           "REW"};
    for (int k = 0; k < kMeasurementKinds; ++k) {
        EXPECT_EQ(static_cast<int>(order[k]), k);
        EXPECT_EQ(measurementNotValidMessage("f", order[k]),
                  std::string("f is not a valid ") + names[k] + " exported data file.");
        EXPECT_EQ(measurementKindReadable(order[k]), k != 4 && k != 5) << k;
        // Degrees turned into radians: all but WINAIR, DAAS 32 and LoudSpeaker Lab.
        EXPECT_EQ(measurementPhaseInDegrees(order[k]), k != 2 && k != 7 && k != 8) << k;
    }
    EXPECT_STREQ(measurementDialogFilter(K::Daas32), "CALSOD DAAS32 Exported data *.spl|*.spl|all *.*|*.*");
}

// The header line of each fixed-column format, and data lines whose fields lie exactly in its
// character ranges: where the format allows, a digit lies right beside a range, so a range one
// character off reads another number.
TEST(MeasurementFixedFormats, HeaderLineAndCharacterRanges)
{
    using K = MeasurementKind;
    const std::string clio = "    Freq\t      dB\t   Phase\n";
    const std::string mlssa = "      \"Hz\"  \"Mag (dB)\"       \"deg\"\n";
    const std::string clioLine = "  1000.5\t   85.25\t  -12.75";             // 1..8, 10..17, 19..26
    const std::string clio2Line = "   1000.57777777   85.2577777777 -12.75"; // 1..9, 17..24, 33..39
    const std::string mlssaLine = "    1000.5,      85.25,     -12.75";      // 1..10, 12..22, 24..34
    const std::string winairLine = "1000.50000085.25000000-12.75000000";     // 1..10, 11..22, 23..34
    const std::string calsodLine = "1000.5000085.2500-12.7500";              // 1..9, 10..17, 18..25
    struct Row {
        K kind;
        std::string head;
        std::string line;
        bool accepted;
    };
    const Row rows[] = {
        {K::Clio, clio, clioLine, true},
        {K::Clio, "Freq [Hz]  dBSPL  Phase\n", clio2Line, true},
        {K::Clio, "Freq      dB         Phase\n", clioLine, false},
        {K::Clio, "    Freq\t      dB\t   Phase \n", clioLine, false},
        {K::Mlssa, "\"title\"\n" + mlssa, mlssaLine, true},
        {K::Mlssa, mlssa, mlssaLine, false}, // on line 0
        {K::WinAirr, " WinAIRR saved file\n" + lines(3), winairLine, true},
        {K::WinAirr, "WinAIRR saved file\n" + lines(3), winairLine, false},
        {K::Calsod, "CALSOD\n" + lines(7), calsodLine, true},
        {K::Daas32, "CALSOD\n" + lines(7), calsodLine, true},
        {K::LoudspeakerLab, "calsod\n" + lines(7), calsodLine, false},
        {K::Calsod, "", "", false},
    };
    for (const Row& r : rows) {
        std::string second = r.line;
        if (!second.empty()) second.replace(second.find("1000.5"), 1, "2");
        auto read = parse(r.head + r.line + "\n" + second + "\n", r.kind, "/m/speaker.txt");
        ASSERT_EQ(read.ok(), r.accepted) << r.head << r.line;
        if (!read.ok()) {
            EXPECT_EQ(read.message(), measurementNotValidMessage("/m/speaker.txt", r.kind));
            continue;
        }
        ASSERT_EQ(read->frequencyHz.size(), 2u) << r.line;
        EXPECT_EQ(read->frequencyHz[0], 1000.5) << r.line;
        EXPECT_EQ(read->frequencyHz[1], 2000.5) << r.line;
        EXPECT_EQ(read->level[0], 85.25) << r.line;
        EXPECT_EQ(read->phase[0], -12.75) << r.line;
    }
}

TEST(MeasurementSmaart, HeaderInLinesOneToThirtyNineAndDataFromLineEighteen)
{
    const std::string header = "; Frequency (Hz)\tMagnitude (dB)\tPhase (degrees)";
    const std::string data = "100.0\t90.5\t10.25\n200.0\t91.5\t20.5\textra\n";
    struct Row {
        size_t headerLine;
        bool accepted;
    };
    for (const Row& r : {Row{1, true}, Row{17, true}, Row{39, true}, Row{40, false}, Row{0, false}}) {
        std::string text = lines(r.headerLine, "; comment") + header + "\n";
        text += lines(r.headerLine < 17 ? 17 - r.headerLine : 0, "; more") + data;
        auto read = parse(text, MeasurementKind::Smaart, "s.txt");
        ASSERT_EQ(read.ok(), r.accepted) << r.headerLine;
        if (!read.ok()) {
            EXPECT_EQ(read.message(), "s.txt is not a valid SIA Smaart Pro - Transfer Function exported data file.");
            continue;
        }
        // Header and comment lines are skipped, never entered as points at 0 Hz.
        ASSERT_EQ(read->frequencyHz.size(), 2u) << r.headerLine;
        EXPECT_EQ(read->frequencyHz[0], 100.0);
        EXPECT_EQ(read->phase[0], 10.25);
        EXPECT_EQ(read->phase[1], 20.5); // a fourth column does not spoil the phase
    }
    // A data line before line 18 is not read.
    auto early = parse("x\n" + header + "\n" + "50.0\t80\t1\n" + lines(15) + data, MeasurementKind::Smaart);
    ASSERT_TRUE(early.ok());
    EXPECT_EQ(early->frequencyHz.front(), 100.0);
}

TEST(MeasurementFaults, LinesThatDoNotConvertAreSkipped)
{
    const std::string clio = "    Freq\t      dB\t   Phase\n";
    struct Row {
        const char* what;
        std::string text;
        size_t points;
    };
    const Row rows[] = {
        {"blank last line", clio + "  100.00\t   90.00\t   10.00\n  200.00\t   91.00\t   20.00\n\n", 2},
        {"text in the middle", clio + "  100.00\t   90.00\t   10.00\n  -----\n  200.00\t   91.00\t   20.00\n", 2},
        {"phase missing", clio + "  100.00\t   90.00\t   10.00\n  150.00\t   90.50\n  200.00\t   91.00\t   20.00", 2},
        {"not finite",
         clio + "  100.00\t   90.00\t   10.00\n     inf\t   90.50\t    1.00\n  200.00\t   91.00\t   20.00", 2},
        {"equal neighbours",
         clio + "  100.00\t   90.00\t   10.00\n  100.00\t   95.00\t   10.00\n  200.00\t   91.00\t   20.00", 2},
    };
    for (const Row& r : rows) {
        auto read = parse(r.text, MeasurementKind::Clio);
        ASSERT_TRUE(read.ok()) << r.what;
        EXPECT_EQ(read->frequencyHz.size(), r.points) << r.what;
        EXPECT_EQ(read->level[0], 90.0) << r.what; // the first of equal neighbours stays
    }
    // Fewer than two usable points, or only one frequency: refused, never divided by.
    for (const std::string& body :
         {std::string("  100.00\t   90.00\t   10.00\n"),
          std::string("  100.00\t   90.00\t   10.00\n  100.00\t   91.00\t   11.00\n"), std::string("\n\n")}) {
        auto read = parse(clio + body, MeasurementKind::Clio, "one.txt");
        ASSERT_FALSE(read.ok()) << body;
        EXPECT_EQ(read.message(), "one.txt is not a valid CLIO exported data file.");
    }
}

TEST(MeasurementText, FrdZmaAndRewLayouts)
{
    struct Row {
        const char* what;
        MeasurementKind kind;
        std::string text;
        size_t points;
        double lastPhase;
    };
    const Row rows[] = {
        {"comments, tabs, CR LF", MeasurementKind::Frd,
         "* c\r\n; c\r\n# c\r\nFreq\tdB\tPhase\r\n100\t90\t10\r\n200\t91\t20\r\n", 2, 20},
        {"spaces, no final newline", MeasurementKind::Frd, "  100   90   10\n  200   91   20", 2, 20},
        {"commas, CR alone", MeasurementKind::Frd, "100,90,10\r200,91,20\r", 2, 20},
        {"explicit signs, exponents", MeasurementKind::Frd, "1.0e+02 +9.0e+01 +10\n2.0e+02 +91.0 -2.0e+01\n", 2, -20},
        {"no phase column", MeasurementKind::Frd, "100 90\n200 91\n", 2, 0},
        {"group delay column", MeasurementKind::Frd,
         "* Data: db(Response), Group Delay (sec) \n100 90 0.001\n200 91 0.002\n", 2, 0},
        {"empty fields", MeasurementKind::Frd, "100\t90\t10\n200\t91\t20\n\t\t\n", 2, 20},
        {"impedance", MeasurementKind::Zma, "* Data: Impedance (ohms), Phase (degrees)\n100 7.5 30\n200 8.5 35\n", 2,
         35},
        {"REW", MeasurementKind::Rew, "* Measurement data measured by REW V5.20\n* Freq(Hz) SPL(dB)\n100 90\n200 91\n",
         2, 0},
    };
    for (const Row& r : rows) {
        auto read = parse(r.text, r.kind);
        ASSERT_TRUE(read.ok()) << r.what;
        ASSERT_EQ(read->frequencyHz.size(), r.points) << r.what;
        EXPECT_EQ(read->frequencyHz[1], 200.0) << r.what;
        EXPECT_EQ(read->phase[1], r.lastPhase) << r.what;
        EXPECT_TRUE(read->phaseInDegrees);
        EXPECT_EQ(read->impedance, r.kind == MeasurementKind::Zma) << r.what;
    }
    // REW's own text names the program; numbers alone are no REW export.
    auto notRew = parse("100 90 10\n200 91 20\n", MeasurementKind::Rew, "r.txt");
    ASSERT_FALSE(notRew.ok());
    EXPECT_EQ(notRew.message(), "r.txt is not a valid REW exported data file.");
}

TEST(MeasurementResample, InterpolatesInFrequencyAndFillsEveryGridPoint)
{
    // Level 96 + f/1000 dB and phase f/100 degrees, exactly linear: at any grid frequency the
    // interpolation gives the line's value.
    auto read = parse("0 96 0\n24000 120 240\n", MeasurementKind::Frd);
    ASSERT_TRUE(read.ok());
    MeasuredResponse r = resampleMeasurement(*read, 96.0f);
    EXPECT_TRUE(r.present);
    const FrequencyGrid& g = frequencyGrid();
    for (int i : {0, gridIndexOf(1005), kGridPoints - 1}) {
        const double f = g.frequencyHz[static_cast<size_t>(i)];
        EXPECT_NEAR(r.level[static_cast<size_t>(i)], f / 1000.0, 2e-6) << f; // single precision
        EXPECT_NEAR(r.phaseRad[static_cast<size_t>(i)], f / 100.0 * kPi / 180.0, 2e-6) << f;
    }
    EXPECT_NEAR(r.level[400], 23.999, 2e-6); // the last point too, not left at 0 dB

    // Outside the measured range: -140 dB and phase 0; 96 dB shows as 0 dB at reference 96.
    auto narrow = parse("100 96 45\n1000 96 45\n", MeasurementKind::Frd);
    ASSERT_TRUE(narrow.ok());
    MeasuredResponse n = resampleMeasurement(*narrow, 96.0f);
    EXPECT_EQ(n.level[0], -140.0f);
    EXPECT_EQ(n.phaseRad[0], 0.0f);
    EXPECT_EQ(n.level[static_cast<size_t>(gridIndexOf(100))], 0.0f);
    EXPECT_FLOAT_EQ(n.phaseRad[static_cast<size_t>(gridIndexOf(100))], static_cast<float>(kPi / 4));
    EXPECT_EQ(n.level[static_cast<size_t>(gridIndexOf(1005))], -140.0f);
    EXPECT_EQ(resampleMeasurement(*narrow, 90.0f).level[static_cast<size_t>(gridIndexOf(100))], 6.0f);
}

TEST(MeasurementResample, PhaseUnitsAndImpedanceByFormat)
{
    // 90 degrees everywhere: radians for CLIO, as read for WINAIR.
    const std::string clio =
        "    Freq\t      dB\t   Phase\n    10.0\t   96.00\t   90.00\n 30000.0\t   96.00\t   90.00\n";
    const std::string winair =
        " WinAIRR saved file\n" + lines(3) + "      10.0     96.0000     90.0000\n   30000.0     96.0000     90.0000\n";
    MeasuredResponse c = resampleMeasurement(*parse(clio, MeasurementKind::Clio), 96.0f);
    MeasuredResponse w = resampleMeasurement(*parse(winair, MeasurementKind::WinAirr), 96.0f);
    EXPECT_FLOAT_EQ(c.phaseRad[200], static_cast<float>(kPi / 2));
    EXPECT_EQ(w.phaseRad[200], 90.0f);
    // An impedance keeps its ohms (no reference) and has 0 ohms outside its range.
    MeasuredResponse z = resampleMeasurement(*parse("100 8 0\n1000 8 0\n", MeasurementKind::Zma), 96.0f);
    EXPECT_TRUE(z.impedance);
    EXPECT_EQ(z.level[static_cast<size_t>(gridIndexOf(100))], 8.0f);
    EXPECT_EQ(z.level[0], 0.0f);
}

TEST(MeasurementLines, LongLinesAndLargeFilesStayBounded)
{
    // One 5 MB line of garbage: held to its first 4096 characters, refused.
    std::string huge(5u << 20, 'x');
    auto garbage = parse(huge, MeasurementKind::Frd, "g.frd");
    ASSERT_FALSE(garbage.ok());
    EXPECT_EQ(garbage.message(), "g.frd is not a valid FRD exported data file.");
    // A data line longer than the limit is not taken for numbers.
    auto cutData = parse("100 90 10\n200 91 20\n300 92 " + std::string(5000, '1') + "\n", MeasurementKind::Frd);
    ASSERT_TRUE(cutData.ok());
    EXPECT_EQ(cutData->frequencyHz.size(), 2u);
}

// ---------------------------------------------------------------- the real files

namespace {

const std::filesystem::path kReal = KVR_MEASUREMENTS_DIR;

#define REQUIRE_REAL_FILES()                                                                                           \
    if (!std::filesystem::is_directory(kReal)) GTEST_SKIP() << "no folder " << kReal

} // namespace

// Points, range and resampled values (reference 96 dB) at three grid points, from
// data/measurement_reference.py, an independent reader and resampler.
TEST(MeasurementRealFiles, EveryFileImportsUnderItsFoldersKind)
{
    REQUIRE_REAL_FILES();
    struct Value {
        int index;
        double level, phase;
    };
    struct Read {
        MeasurementKind kind;
        size_t points;
        double first, last;
    };
    struct Row {
        const char* file; // below its folder
        Read read;
        Value values[2];
    };
    const Row rows[] = {
        {"frd/jcandy-speakertools_bin-util-example_plot_sample.frd",
         {MeasurementKind::Frd, 1002, 1.0, 20404.054},
         {{0, -0.7112266331658361, 0.0}, {221, 22.657637814284286, 0.0}}},
        {"frd/romain-o-FindMyCrossover_data-Woofers-FRD-0deg_SIG180-4_0deg.frd",
         {MeasurementKind::Frd, 417, 19.866, 20000.0},
         {{0, -21.311318714328635, 2.966993669067515}, {221, -5.733987316945601, 0.18929551907764844}}},
        {"frd/ayukhno-autosound-measurements_hardware-helix-dsp-ultra-s-measurements_fact5-bell-boost-q4-after.txt",
         {MeasurementKind::Frd, 961, 20.0, 20000.0},
         {{0, -23.563100000000006, 1.8337301786078424}, {221, -20.00114792639461, -0.6631698340584188}}},
        {"zma/jcandy-speakertools_bin-util-example_plot_sample.zma",
         {MeasurementKind::Zma, 386, 10.0, 20000.0},
         {{0, 12.852803999999999, 0.7927313038760426}, {221, 7.413754018445323, 0.27319820442878184}}},
        {"zma/jcandy-speakertools_src-data_L16RNX_0g_242_27mV.zma",
         {MeasurementKind::Zma, 386, 10.0, 20000.0},
         {{0, 10.313514, 0.6539934759321016}, {221, 7.195144664031621, 0.31088010212853867}}},
        {"zma/romain-o-FindMyCrossover_data-Woofers-ZMA_SIG180-4.zma",
         {MeasurementKind::Zma, 344, 1.029, 20642.546},
         {{0, 7.575411149825784, 0.909696073385272}, {221, 5.87837549312202, 0.5448278222129715}}},
        {"rew/Tunetown-RoomMap_examples-realTest1_0_0_0.txt",
         {MeasurementKind::Rew, 516, 25.571, 198.846},
         {{14, -43.53445697329377, -1.10169066649796}, {221, -140.0, 0.0}}},
        {"rew/camille-7-PublicGraphTool_data-targets_Diffuse-Field-Target.txt",
         {MeasurementKind::Rew, 957, 20.0, 19896.974609},
         {{0, -95.534, 0.0}, {221, -90.967997881579, 0.0}}},
        {"rew/camille-7-PublicGraphTool_data_Audiosense-DT200-Final-E-L.txt",
         {MeasurementKind::Rew, 481, 20.0, 20000.0},
         {{0, -6.6299999999999955, 0.13363287950819783}, {221, -13.802999999999997, 0.4215325027180878}}},
        // The clio/ files fail the CLIO header rule; their text reads as FRD.
        {"clio/pierreaubert-autoeq_data_tests-drivers-ex-2-wavecor_TW022WA06.txt",
         {MeasurementKind::Frd, 800, 200.0, 40000.0},
         {{130, -28.360799999999998, 2.8418079199502393}, {400, -2.832923755513548, -0.5600471286312647}}},
        {"clio/pierreaubert-autoeq_data_tests-drivers-ex-2-wavecor_WF120BD04.txt",
         {MeasurementKind::Frd, 800, 20.0, 20000.0},
         {{0, -31.396900000000002, 2.59293444059136}, {221, -10.426975862068971, 0.3041683988828907}}},
    };
    for (const Row& r : rows) {
        const std::string path = (kReal / r.file).string();
        FileImport file = importMeasurementFile(path, r.read.kind, 96.0f);
        ASSERT_EQ(file.outcome, FileImport::Outcome::Imported) << r.file << ": " << file.message;
        EXPECT_EQ(file.points, r.read.points) << r.file;
        EXPECT_EQ(file.firstHz, r.read.first) << r.file;
        EXPECT_EQ(file.lastHz, r.read.last) << r.file;
        EXPECT_EQ(file.response.impedance, r.read.kind == MeasurementKind::Zma);
        EXPECT_EQ(file.groupDelay, std::string(r.file).find("sample.frd") != std::string::npos) << r.file;
        // Single precision of values up to about 100.
        for (const Value& v : r.values) {
            EXPECT_NEAR(file.response.level[static_cast<size_t>(v.index)], v.level, 2e-5) << r.file << " " << v.index;
            EXPECT_NEAR(file.response.phaseRad[static_cast<size_t>(v.index)], v.phase, 2e-6)
                << r.file << " " << v.index;
        }
        if (std::string(r.file).rfind("clio/", 0) == 0) {
            FileImport asClio = importMeasurementFile(path, MeasurementKind::Clio, 96.0f);
            EXPECT_EQ(asClio.outcome, FileImport::Outcome::Refused);
            EXPECT_EQ(asClio.message, path + " is not a valid CLIO exported data file.");
        }
    }
}

// ---------------------------------------------------------------- the import and its settings

TEST(MeasurementImport, OkReadsEachOutputAndReportsEachFailure)
{
    kvr::test::TempDir dir;
    const std::string good = dir.file("good.frd");
    const std::string bad = dir.file("bad.frd");
    writeFile(good, "100 96 0\n1000 96 0\n");
    writeFile(bad, "* nothing\n");
    MeasurementImportSettings s;
    s.fileKind = static_cast<int32_t>(MeasurementKind::Frd);
    s.fileNames = {good, dir.file("missing.frd"), "", bad};
    s.responses[2].present = true; // anything imported before is cleared
    ImportOutcome window = importMeasurements(s, MissingFile::EmptyName);
    ASSERT_EQ(window.notices.size(), 2u);
    EXPECT_EQ(window.notices[0].text, "Unable to Open " + dir.file("missing.frd") +
                                          " Measure File for Output 2. Look for the correct file to use the Measures.");
    EXPECT_EQ(window.notices[1].text, bad + " is not a valid FRD exported data file.");
    EXPECT_TRUE(s.responses[0].present);
    EXPECT_FALSE(s.responses[1].present || s.responses[2].present || s.responses[3].present);
    EXPECT_EQ(s.fileNames[1], ""); // the window empties the field of a missing file
    EXPECT_EQ(s.fileNames[3], bad);
    ASSERT_EQ(window.info.size(), 4u);
    EXPECT_EQ(window.info[0], "Output 1: good.frd, 2 points, 100 Hz to 1000 Hz");
    EXPECT_EQ(window.info[2], "Output 3: no measurement");

    // IMP and LAUD have no reader.
    s.fileKind = static_cast<int32_t>(MeasurementKind::Imp);
    ImportOutcome imp = importMeasurements(s, MissingFile::EmptyName);
    ASSERT_EQ(imp.notices.size(), 1u);
    EXPECT_EQ(imp.notices[0].text, "Option Under Construction. Please Select Another");
    EXPECT_FALSE(s.responses[0].present);
}

TEST(MeasurementImport, LoadingKeepsTheNameOfAMissingFile)
{
    kvr::test::TempDir dir;
    const std::string frd = dir.file("woofer.frd");
    writeFile(frd, "100 96 0\n1000 96 0\n");
    Configuration c;
    c.measurement.fileKind = static_cast<int32_t>(MeasurementKind::Frd);
    c.measurement.fileNames = {frd, dir.file("gone.frd"), "", ""};
    const std::string kv4 = dir.file("setup.kv4");
    ASSERT_TRUE(saveConfigurationFile(kv4, c).ok());
    auto loaded = loadConfigurationFile(kv4);
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->notices.size(), 1u);
    EXPECT_EQ(loaded->notices[0].text,
              "Unable to Open " + dir.file("gone.frd") +
                  " Measure File for Output 2. Look for the correct file to use the Measures.");
    EXPECT_EQ(loaded->config.measurement.fileNames[1], dir.file("gone.frd"));
    EXPECT_FALSE(loaded->config.measurement.responses[1].present);
    EXPECT_TRUE(loaded->config.measurement.responses[0].present);
    EXPECT_EQ(loaded->config.measurement.fileKind, 9);
    // Saved again, the file still names it.
    ASSERT_TRUE(saveConfigurationFile(kv4, loaded->config).ok());
    EXPECT_EQ(loadConfigurationFile(kv4)->config.measurement.fileNames[1], dir.file("gone.frd"));
}

TEST(MeasurementImport, ExtraKindsAreStoredBesideTheOldCode)
{
    struct Row {
        int32_t kind;
        int32_t code;  // at 3212, what an older program reads
        uint8_t b3209; // marker
        uint8_t b3210; // kind
    };
    for (const Row& r :
         {Row{0, 0, 0, 0}, Row{8, 8, 0, 0}, Row{9, 0, 0xE7, 9}, Row{10, 0, 0xE7, 10}, Row{11, 0, 0xE7, 11}}) {
        Configuration c;
        c.measurement.fileKind = r.kind;
        Bytes b = encodeConfigurationFile(c, "p");
        int32_t code = 0;
        std::memcpy(&code, b.data() + 3212, 4);
        EXPECT_EQ(code, r.code) << r.kind;
        EXPECT_EQ(b[3209], r.b3209) << r.kind;
        EXPECT_EQ(b[3210], r.b3210) << r.kind;
        EXPECT_EQ(decodeConfigurationFile(b, "p")->config.measurement.fileKind, r.kind);
    }
    // Padding from another writer is no marker; a marker beside another code is ignored.
    EXPECT_EQ(measurementKindFromStored({0, 0x55, 10}), 0);
    EXPECT_EQ(measurementKindFromStored({3, 0xE7, 10}), 3);
    EXPECT_EQ(measurementKindFromStored({0, 0xE7, 12}), 0);
    EXPECT_EQ(measurementKindFromStored({-1, 0, 0}), 0);
}

TEST(MeasurementImport, ControlsOfTheWindow)
{
    Configuration c;
    EXPECT_TRUE(chooseMeasurementKind(c, 10).empty());
    EXPECT_EQ(c.measurement.fileKind, 10);
    for (int item : {4, 5}) {
        auto notices = chooseMeasurementKind(c, item);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0], "Option Under Construction. Please Select Another");
        EXPECT_EQ(c.measurement.fileKind, 0);
    }
    struct Row {
        double in;
        float stored;
    };
    for (Row r : {Row{96.0, 96.0f}, Row{-150, -140.0f}, Row{140.04, 140.0f}, Row{85.25, 85.2f}, Row{NAN, 96.0f}}) {
        setMeasurementReference(c, r.in);
        EXPECT_EQ(c.measurement.dBspl, r.stored) << r.in;
    }
    const std::string longName = "/" + std::string(120, 'd') + "/m.frd";
    auto cut = setMeasurementFileName(c, 2, longName);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(c.measurement.fileNames[1], longName.substr(0, 100));
    EXPECT_TRUE(setMeasurementFileName(c, 2, "/m/a.frd").empty());
    EXPECT_EQ(c.measurement.fileNames[1], "/m/a.frd");
}
