#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "config/configfile.h"
#include "config/editing.h"
#include "image/deviceimage.h"
#include "simprocess.h"
#include "support/tempdir.h"

using namespace kvr::core;
using kvr::test::SimProcess;
using kvr::test::TempDir;

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(KVR_CLI_PATH), arguments);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

Configuration sampleSetup()
{
    Configuration c;
    c.setSystemName("Club Stage");
    c.setRoutingMode(7);
    c.setOutputLevelDb(2, -4.5);
    c.setPolarity(3, true);
    setOutputDelayMs(c, 4, 1.5);
    setCrossoverFamily(c, 1, CrossoverSide::High, 2);
    setCrossoverFrequency(c, 1, CrossoverSide::High, 120);
    c.output(2).peqx[0].Tipo = 1;
    c.output(2).peqx[0].Gain = -3;
    c.output(2).peqx[0].Frec = 250;
    return c;
}

// Header (offsets 0..48) and ConfigRecord (650 bytes after the marker pair) of an image.
std::pair<Bytes, Bytes> headerAndRecord(const Bytes& image)
{
    auto layout = LocateDeviceImage(image);
    EXPECT_TRUE(layout.ok());
    Bytes header(image.begin(), image.begin() + 49);
    Bytes record(image.begin() + static_cast<long>(layout->recordOffset),
                 image.begin() + static_cast<long>(layout->recordOffset + 650));
    return {header, record};
}

} // namespace

TEST(CliRoundTrip, StoreThenReadGivesBackTheSameMemory)
{
    TempDir dir;
    SimProcess sim({"--tcp", "127.0.0.1:0", "--state", QString::fromStdString(dir.file("state"))});
    ASSERT_TRUE(sim.ready());
    const QString link = QStringLiteral("--link=tcp:127.0.0.1:%1").arg(sim.port());
    const std::string original = dir.file("stage.kv4");
    ASSERT_TRUE(saveConfigurationFile(original, sampleSetup()).ok());

    CliRun store = cli({"store", "3", QString::fromStdString(original), link});
    ASSERT_EQ(store.status, 0) << store.err.toStdString();
    EXPECT_TRUE(store.err.contains("Loading Preset... "));

    // A second store meets a full memory: without --overwrite the question is answered No.
    CliRun again = cli({"store", "3", QString::fromStdString(original), link});
    EXPECT_EQ(again.status, 4);
    EXPECT_TRUE(again.err.contains("Memory 3 Is Full. Do You Want To OverWrite?"));

    const std::string readBack = dir.file("back.kv4");
    CliRun readRun = cli({"read", "3", QString::fromStdString(readBack), link});
    ASSERT_EQ(readRun.status, 0) << readRun.err.toStdString();
    EXPECT_TRUE(readRun.err.contains("Designing DYNAMICS ..."));

    auto a = loadConfigurationFile(original);
    auto b = loadConfigurationFile(readBack);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_EQ(b->config.system.name, "Club Stage");
    EXPECT_EQ(b->config.output(3).name, "Su M");
    auto imageA = BuildDeviceImage(a->config, false);
    auto imageB = BuildDeviceImage(b->config, false);
    ASSERT_TRUE(imageA.ok() && imageB.ok());
    EXPECT_TRUE(headerAndRecord(*imageA) == headerAndRecord(*imageB));
}

TEST(CliRoundTrip, EmptyMemoryIsRefusedAndNothingIsWritten)
{
    TempDir dir;
    SimProcess sim({"--tcp", "127.0.0.1:0", "--state", QString::fromStdString(dir.file("state"))});
    ASSERT_TRUE(sim.ready());
    CliRun readRun = cli({"read", "12", QString::fromStdString(dir.file("x.kv4")),
                    QStringLiteral("--link=tcp:127.0.0.1:%1").arg(sim.port())});
    EXPECT_EQ(readRun.status, 4);
    EXPECT_TRUE(readRun.err.contains("MEMORY EMPTY. NO POSSIBLE TO READ PROGRAM"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("x.kv4"))));
}
