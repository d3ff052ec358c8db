#include <gtest/gtest.h>

#include <QProcess>
#include <cmath>
#include <fstream>
#include <numbers>

#include "support/tempdir.h"
#include "util/numtext.h"

using kvr::test::TempDir;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(KVR_CLI_PATH), arguments);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

} // namespace

TEST(CliMeasurement, PrintsTheGridLinesAndRefusesWithTheReadersMessage)
{
    TempDir dir;
    // 96 + f/1000 dB and f/100 degrees: at a grid frequency f the line's own value.
    const std::string frd = dir.file("line.frd");
    std::ofstream(frd) << "* line\n0 96 0\n24000 120 240\n";
    struct Row {
        const char* kind;
        const char* reference;
        double offsetDb; // subtracted from the level (not from ohms)
    };
    for (const Row& r : {Row{"FRD", "90", 90.0}, Row{"ZMA", nullptr, 0.0}}) {
        QStringList args{QStringLiteral("measurement"), QString::fromStdString(frd), QStringLiteral("--kind"),
                         QString::fromUtf8(r.kind)};
        if (r.reference) args << QStringLiteral("--reference") << QString::fromUtf8(r.reference);
        CliRun run = cli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto lines = splitLines(run.out);
        ASSERT_EQ(lines.size(), 401u);
        for (size_t i : {size_t(0), size_t(221), size_t(400)}) {
            double f = 0, level = 0, phase = 0;
            ASSERT_EQ(std::sscanf(lines[i].c_str(), "%lf %lf %lf", &f, &level, &phase), 3) << lines[i];
            // Printed to round-trip the single the program holds.
            EXPECT_EQ(static_cast<float>(level), static_cast<float>(96.0 + f / 1000.0 - r.offsetDb)) << lines[i];
            EXPECT_NEAR(phase, f / 100.0 * std::numbers::pi / 180.0, 1e-6) << lines[i];
        }
        EXPECT_EQ(lines[0].substr(0, 3), "20 ");
        EXPECT_EQ(lines[400].substr(0, 6), "23999 ");
    }

    // Refused: the reader's message alone on stderr, status 1.
    CliRun refused = cli(
        {QStringLiteral("measurement"), QString::fromStdString(frd), QStringLiteral("--kind"), QStringLiteral("CLIO")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, frd + " is not a valid CLIO exported data file.\n");
    EXPECT_TRUE(refused.out.empty());
    CliRun missing = cli({QStringLiteral("measurement"), QString::fromStdString(dir.file("none.frd")),
                          QStringLiteral("--kind"), QStringLiteral("FRD")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Unable to open " + dir.file("none.frd") + ": No such file or directory\n");
    // A device is never read: a configuration naming one must not hang its load.
    CliRun device = cli(
        {QStringLiteral("measurement"), QStringLiteral("/dev/zero"), QStringLiteral("--kind"), QStringLiteral("FRD")});
    EXPECT_EQ(device.status, 1);
    EXPECT_EQ(device.err, "Unable to open /dev/zero: not a regular file\n");
    // Usage errors name what is wrong.
    struct Usage {
        QStringList options;
        std::string message;
    };
    const std::string kKinds = "kvr610-cli: measurement: --kind must be CLIO, MLSSA, WINAIR, SMAART, CALSOD, "
                               "DAAS32, LSL, FRD, ZMA or REW\n";
    const Usage usages[] = {
        {{QStringLiteral("--kind"), QStringLiteral("IMP")}, kKinds},
        {{}, kKinds},
        {{QStringLiteral("--kind"), QStringLiteral("FRD"), QStringLiteral("--reference"), QStringLiteral("141")},
         "kvr610-cli: measurement: --reference must be a level from -140 to 140 dB\n"},
        {{QStringLiteral("--kind"), QStringLiteral("FRD"), QStringLiteral("--reference")},
         "kvr610-cli: measurement: --reference needs a value\n"},
        {{QStringLiteral("--reference"), QStringLiteral("90"), QStringLiteral("--kind")},
         "kvr610-cli: measurement: --kind needs a value\n"},
    };
    for (const Usage& usage : usages) {
        const CliRun run = cli(QStringList{QStringLiteral("measurement"), QString::fromStdString(frd)} + usage.options);
        EXPECT_EQ(run.status, 2) << usage.message;
        EXPECT_EQ(run.err, usage.message);
    }
}
