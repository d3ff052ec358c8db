#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "sim_support.h"
#include "simprocess.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(KVR_CLI_PATH), arguments);
    CliRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QJsonObject json(const CliRun& run)
{
    return QJsonDocument::fromJson(run.out).object();
}

class CliVerify : public ::testing::Test {
protected:
    void SetUp() override
    {
        simtest::ensureApplication();
        ASSERT_TRUE(folder.isValid());
        file = folder.filePath(QStringLiteral("a.kv4"));
        ASSERT_EQ(cli({QStringLiteral("new"), file}).exitCode, 0);
    }
    QString link(const kvr::test::SimProcess& sim) const { return QStringLiteral("tcp:127.0.0.1:%1").arg(sim.port()); }
    QTemporaryDir folder;
    QString file;
};

TEST_F(CliVerify, AStoreReadBackAsSentIsVerified)
{
    kvr::test::SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--state"),
                               folder.filePath(QStringLiteral("sim"))});
    ASSERT_TRUE(sim.ready());
    const CliRun run = cli({QStringLiteral("store"), QStringLiteral("3"), file, QStringLiteral("--link"), link(sim),
                            QStringLiteral("--verify"), QStringLiteral("--json")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = json(run);
    EXPECT_EQ(result.value("result").toString(), QStringLiteral("completed"));
    EXPECT_TRUE(result.value("verified").toBool());
    EXPECT_EQ(result.value("memory").toInt(), 3);
    EXPECT_FALSE(result.contains("mismatch"));

    // Without --verify nothing is read back and nothing claims verification.
    const CliRun plain = cli({QStringLiteral("store"), QStringLiteral("4"), file, QStringLiteral("--link"), link(sim),
                              QStringLiteral("--json")});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_FALSE(json(plain).contains("verified"));
    EXPECT_FALSE(plain.err.contains("Verifying"));
}

TEST_F(CliVerify, AChangedStoredByteFailsWithThePartNamed)
{
    // Offsets chosen by the layout: 20 lies in the system name, 700 in DSP block 1 of a fresh
    // configuration (its block 1 holds more than 650 bytes), 2900 in the record of a
    // 2934-byte image.
    struct Row {
        int offset;
        const char* part;
    };
    const Row rows[] = {{20, "header"}, {700, "DSP block 1"}, {2900, "configuration record"}};
    for (const Row& row : rows) {
        kvr::test::SimProcess sim({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--state"),
                                   folder.filePath(QStringLiteral("sim%1").arg(row.offset)),
                                   QStringLiteral("--corrupt-store"), QString::number(row.offset)});
        ASSERT_TRUE(sim.ready());
        const CliRun run = cli({QStringLiteral("store"), QStringLiteral("2"), file, QStringLiteral("--link"), link(sim),
                                QStringLiteral("--verify"), QStringLiteral("--json")});
        EXPECT_EQ(run.exitCode, 1) << row.part; // a mismatch is a failure, never a success
        const QJsonObject result = json(run);
        EXPECT_EQ(result.value("result").toString(), QStringLiteral("failed")) << row.part;
        EXPECT_FALSE(result.value("verified").toBool());
        const QJsonObject mismatch = result.value("mismatch").toObject();
        EXPECT_EQ(mismatch.value("part").toString(), QString::fromUtf8(row.part));
        EXPECT_EQ(mismatch.value("offset").toInt(), row.offset);
        EXPECT_TRUE(run.err.contains("NOT verified")) << run.err.toStdString();
    }
}

TEST(CliJson, InfoLibraryAndHelp)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("b.kv4"));
    ASSERT_EQ(cli({QStringLiteral("new"), file}).exitCode, 0);
    const CliRun info = cli({QStringLiteral("info"), file, QStringLiteral("--json")});
    ASSERT_EQ(info.exitCode, 0);
    const QJsonObject c = json(info);
    EXPECT_EQ(c.value("systemName").toString(), QStringLiteral("NoName"));
    EXPECT_EQ(c.value("routingMode").toInt(), 5);
    EXPECT_EQ(c.value("inputs").toArray().size(), 3);
    EXPECT_EQ(c.value("outputs").toArray().size(), 4);
    EXPECT_EQ(c.value("outputs").toArray()[1].toObject().value("name").toString(), QStringLiteral("Out2"));

    const QString library = folder.filePath(QStringLiteral("l.kvl"));
    ASSERT_EQ(cli({QStringLiteral("library"), QStringLiteral("build"), library, file, file}).exitCode, 0);
    const CliRun list = cli({QStringLiteral("library"), QStringLiteral("list"), library, QStringLiteral("--json")});
    ASSERT_EQ(list.exitCode, 0);
    const QJsonArray memories = json(list).value("memories").toArray();
    ASSERT_EQ(memories.size(), 2);
    EXPECT_EQ(memories[1].toObject().value("memory").toInt(), 2);

    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* code :
         {"  0  done", "  1  failed", "  2  wrong command", "  3  no Ethernet module", "  4  refused"})
        EXPECT_TRUE(help.err.contains(code)) << code;
}

} // namespace
