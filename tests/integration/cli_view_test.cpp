#include <gtest/gtest.h>

#include <QProcess>
#include <cmath>
#include <numbers>

#include "config/configfile.h"
#include "config/editing.h"
#include "config/outputeqediting.h"
#include "support/tempdir.h"
#include "tools/outputview.h"

using namespace kvr::core;
using kvr::test::TempDir;

namespace {

struct CliRun {
    int status = -1;
    QStringList lines;
    QString err;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(KVR_CLI_PATH), arguments);
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, out.split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}

class CliView : public ::testing::Test {
protected:
    void SetUp() override
    {
        Configuration c;
        selectOutputBand(c, 2, 2);
        setOutputBandType(c, 2, 2, 1);
        setOutputBandGain(c, 2, 2, -7.5);
        setOutputBandFrequency(c, 2, 2, 640);
        c.setPolarity(3, true);
        setOutputDelayMs(c, 4, 1.5);
        ASSERT_TRUE(saveConfigurationFile(path, c).ok());
        config = loadConfigurationFile(path)->config; // as the command reads it
    }

    TempDir dir;
    const std::string path = dir.file("view.kv4");
    const QString file = QString::fromStdString(path);
    Configuration config;
};

} // namespace

TEST_F(CliView, OutputViewPrintsTheKeptTotalExactly)
{
    const CliRun run = cli({"output-view", file, "--output", "2"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_EQ(run.lines.size(), kGridPoints);
    const ViewCurve expected = outputView(config, 2, ViewFlags{});
    for (int i = 0; i < kGridPoints; ++i) {
        const QStringList f = run.lines[i].split(' ');
        ASSERT_EQ(f.size(), 3);
        EXPECT_EQ(f[0].toInt(), frequencyGrid().frequencyHz[static_cast<size_t>(i)]);
        EXPECT_EQ(f[1].toDouble(), expected.levelDb[static_cast<size_t>(i)]); // round-trip digits
        EXPECT_EQ(f[2].toDouble(), expected.phaseRad[static_cast<size_t>(i)]);
    }
}

TEST_F(CliView, InfluencesAddAndDelay)
{
    // Nothing switched in: a flat 0 dB, turned half a turn by the inverted polarity.
    CliRun run = cli({"output-view", file, "--output", "3", "--with", "none"});
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), kGridPoints);
    for (const QString& line : run.lines) {
        EXPECT_EQ(line.split(' ')[1].toDouble(), 0.0);
        EXPECT_EQ(line.split(' ')[2].toDouble(), -std::numbers::pi);
    }
    // Outputs 1 and 4 alike but for output 4's delay: the Add sum of 1 with itself is +6.02 dB.
    run = cli({"output-view", file, "--add", "1,4", "--with", "peqx,gain"});
    ASSERT_EQ(run.status, 0);
    EXPECT_NEAR(run.lines[0].split(' ')[1].toDouble(), 20 * std::log10(2.0), 1e-9);
    // The group delay of output 4 with its delay switched in.
    run = cli({"output-view", file, "--output", "4", "--with", "delay", "--delay"});
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), kGridPoints);
    for (const QString& line : run.lines)
        EXPECT_NEAR(line.split(' ')[1].toDouble(), 1.5, 1e-9);
}

TEST_F(CliView, RefusalsAndTheEmptySum)
{
    CliRun run = cli({"output-view", file, "--add", ""});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_FALSE(run.err.isEmpty());
    struct Row {
        QStringList args;
    };
    const Row usage[] = {
        {{"output-view", file, "--output", "5"}},
        {{"output-view", file, "--output", "1", "--with", "peq,bass"}},
        {{"output-view", file, "--output", "1", "--add", "2"}},
        {{"output-view", file, "--add", "1,x"}},
        {{"dynamics", file}},
    };
    for (const Row& r : usage) {
        run = cli(r.args);
        EXPECT_EQ(run.status, 2) << r.args.join(' ').toStdString();
        EXPECT_TRUE(run.lines.isEmpty());
    }
}

TEST_F(CliView, DynamicsPrintsTheCurveAsPlotted)
{
    const CliRun run = cli({"dynamics", file, "--output", "2"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const TDYNAMIC& d = config.output(2).dynamics;
    ASSERT_EQ(run.lines.size(), d.NPuntos + 1 + 3);
    EXPECT_EQ(run.lines[0], "-40 -40");                              // no make-up gain
    EXPECT_EQ(run.lines[d.NPuntos].split(' ')[0].toDouble(), 13.85); // full scale in dBu
    ASSERT_TRUE(run.lines[d.NPuntos + 1].startsWith("KNEE_TOP "));
    EXPECT_EQ(run.lines[d.NPuntos + 1].split(' ')[1].toFloat(), d.KneeTop);
    EXPECT_TRUE(run.lines[d.NPuntos + 2].startsWith("KNEE_BOTTOM "));
    EXPECT_EQ(run.lines[d.NPuntos + 3].split(' ').size(), 5);
}
