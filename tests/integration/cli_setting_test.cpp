#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "config/configfile.h"
#include "config/settingkeys.h"
#include "support/tempdir.h"

using namespace kvr::core;
using kvr::test::TempDir;

namespace {

struct CliOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

CliOutcome cli(const std::string& folder, const QStringList& arguments)
{
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(folder));
    p.start(QStringLiteral(KVR_CLI_PATH), arguments);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

Bytes bytesOf(const std::string& path)
{
    auto read = readWholeFile(path, 10000);
    return read ? *read : Bytes();
}

} // namespace

TEST(CliSet, AppliesInOrderAndGetShowsTheEditorsValues)
{
    TempDir dir;
    ASSERT_EQ(cli(dir.path(), {"new", "in.kv4"}).status, 0);
    const CliOutcome set =
        cli(dir.path(), {"set", "in.kv4", "--out", "out.kv4", "output.1.xover.low.freq=6000",
                         "output.1.xover.high.freq=10", "input.A.delay_m=1.00", "output.2.delay_ms=30",
                         "output.3.gain_db=+12", "output.1.dynamics.threshold_dbu=8.3", "system.name=Hall 2"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.err, "");
    const CliOutcome get = cli(dir.path(), {"get", "out.kv4", "output.1.xover.low.freq", "output.1.xover.high.freq",
                                            "input.A.delay_samples", "output.2.delay_samples", "output.2.delay_ms",
                                            "output.3.gain_db", "output.1.dynamics.threshold_dbu", "system.name"});
    EXPECT_EQ(get.status, 0) << get.err;
    // The low side meets the 5000 Hz high side, which then cannot go below it.
    EXPECT_EQ(get.out, "output.1.xover.low.freq=5000\n"
                       "output.1.xover.high.freq=5000\n"
                       "input.A.delay_samples=139\n"
                       "output.2.delay_samples=1440\n"
                       "output.2.delay_ms=30.00\n"
                       "output.3.gain_db=10.0\n"
                       "output.1.dynamics.threshold_dbu=8.5\n"
                       "system.name=Hall 2\n");

    // Without keys: every key, one line each, as the program reads the file.
    const CliOutcome all = cli(dir.path(), {"get", "out.kv4"});
    EXPECT_EQ(all.status, 0);
    const std::vector<std::string> keys = allSettingKeys();
    EXPECT_EQ(static_cast<size_t>(std::count(all.out.begin(), all.out.end(), '\n')), keys.size());
    auto opened = loadConfigurationFile(dir.file("out.kv4"));
    ASSERT_TRUE(opened.ok());
    std::string expected;
    for (const std::string& key : keys)
        expected += key + "=" + getSetting(opened->config, key).value() + "\n";
    EXPECT_EQ(all.out, expected);
}

TEST(CliSet, EditorMessagesGoToStandardError)
{
    TempDir dir;
    ASSERT_EQ(cli(dir.path(), {"new", "in.kv4"}).status, 0);
    const CliOutcome set = cli(dir.path(), {"set", "in.kv4", "--out", "out.kv4", "output.4.xover.high.family=bessel",
                                            "output.4.xover.high.order=8", "output.4.xover.high.freq=20000"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.out, "");
    EXPECT_EQ(set.err.rfind("Cutoff Frequency of Bessel LowPass filter of order 8 is limited to ", 0), 0u) << set.err;
}

TEST(CliSet, RefusalsExitTwoAndWriteNothing)
{
    TempDir dir;
    ASSERT_EQ(cli(dir.path(), {"new", "in.kv4"}).status, 0);
    const Bytes original = bytesOf(dir.file("in.kv4"));
    struct Row {
        QStringList arguments;
        int status;
        std::string err; // the start of stderr
    };
    const Row rows[] = {
        {{"set", "in.kv4", "--out", "out.kv4", "output.3.gain_db=-2", "output.1.dynamics.ratio=3"},
         2,
         "kvr610-cli: set: output.1.dynamics.ratio=3: disabled: a limiter has no ratio\n"},
        {{"set", "in.kv4", "--out", "in.kv4", "output.3.gain_db=-2", "output.9.gain_db=1"},
         2,
         "kvr610-cli: set: output.9.gain_db=1: unknown key\n"},
        {{"set", "in.kv4", "--out", "in.kv4", "output.3.mute=maybe"},
         2,
         "kvr610-cli: set: output.3.mute=maybe: \"maybe\" is not on or off\n"},
        {{"set", "in.kv4", "--out", "in.kv4", "input.A.peq.count=1"},
         2,
         "kvr610-cli: set: input.A.peq.count=1: the editors never lower a band count; it is 2\n"},
        {{"set", "in.kv4", "--out", "in.kv4", "output.2.delay_samples=5"},
         2,
         "kvr610-cli: set: output.2.delay_samples=5: read-only: the program computes it\n"},
        {{"set", "in.kv4", "--out", "in.kv4", "output.1.xover.low.freq=nan"},
         2,
         "kvr610-cli: set: output.1.xover.low.freq=nan: \"nan\" is not a number\n"},
        {{"set", "in.kv4", "--out", "in.kv4", "output.2.gain_db=-inf"},
         2,
         "kvr610-cli: set: output.2.gain_db=-inf: \"-inf\" is not a number\n"},
        {{"set", "in.kv4", "output.3.gain_db=-2"}, 2, "kvr610-cli: set: --out OUT.kv4 is required\n"},
        {{"set", "in.kv4", "--out", "out.kv4"}, 2, "kvr610-cli: set: expects KEY=VALUE assignments\n"},
        {{"set", "missing.kv4", "--out", "out.kv4", "output.3.gain_db=-2"}, 1, "kvr610-cli: "},
        {{"get", "in.kv4", "output.3.gain_db", "output.3.volume"},
         2,
         "kvr610-cli: get: output.3.volume: unknown key\n"},
    };
    for (const Row& row : rows) {
        const CliOutcome run = cli(dir.path(), row.arguments);
        const std::string what = row.arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, row.status) << what << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, row.err.size()), row.err) << what;
        EXPECT_EQ(run.out, "") << what;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out.kv4")))) << what;
        EXPECT_TRUE(bytesOf(dir.file("in.kv4")) == original) << what;
    }
}

TEST(CliSet, TheReadmeLoopOverManyFiles)
{
    // The README's example, run as written (kvr610-cli stands for the built tool).
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("venues"))));
    const char* levels[] = {"0", "-6", "4.5"};
    for (int k = 0; k < 3; ++k) {
        const std::string file = "venues/v" + std::to_string(k) + ".kv4";
        ASSERT_EQ(cli(dir.path(), {"new", QString::fromStdString(file)}).status, 0);
        ASSERT_EQ(cli(dir.path(), {"set", QString::fromStdString(file), "--out", QString::fromStdString(file),
                                   QStringLiteral("output.3.gain_db=") + levels[k],
                                   // the subwoofer: a 30 Hz high-pass, a 120 Hz low-pass
                                   "output.4.xover.low.family=butterworth", "output.4.xover.low.freq=30",
                                   "output.4.xover.high.family=linkwitz-riley", "output.4.xover.high.freq=120"})
                      .status,
                  0);
    }
    const QString loop = QStringLiteral(R"(kvr610-cli() { "$CLI" "$@"; }
for f in venues/*.kv4; do
  level=$(kvr610-cli get "$f" output.3.gain_db | cut -d= -f2)
  kvr610-cli set "$f" --out "$f" \
    output.3.gain_db=$(awk -v l="$level" 'BEGIN { print l - 2 }') \
    output.4.xover.high.freq=90 || echo "$f: not changed"
done
)");
    QProcess shell;
    shell.setWorkingDirectory(QString::fromStdString(dir.path()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CLI"), QStringLiteral(KVR_CLI_PATH));
    shell.setProcessEnvironment(env);
    shell.start(QStringLiteral("bash"), {QStringLiteral("-c"), loop});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(shell.readAllStandardOutput().toStdString(), "");
    const char* lowered[] = {"-2.0", "-8.0", "2.5"};
    for (int k = 0; k < 3; ++k) {
        const CliOutcome get =
            cli(dir.path(), {QStringLiteral("get"), QStringLiteral("venues/v%1.kv4").arg(k),
                             QStringLiteral("output.3.gain_db"), QStringLiteral("output.4.xover.high.freq")});
        EXPECT_EQ(get.out, std::string("output.3.gain_db=") + lowered[k] + "\noutput.4.xover.high.freq=90\n") << k;
    }
}
