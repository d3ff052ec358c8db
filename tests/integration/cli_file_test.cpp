#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "config/configfile.h"
#include "config/editing.h"
#include "support/tempdir.h"

using namespace kvr::core;
using kvr::test::TempDir;

namespace {

struct CliRun {
    int status = -1;
    std::string err;
};

// kvr610-cli run in `folder`, so that relative paths are relative to it.
CliRun cli(const std::string& folder, const QStringList& arguments)
{
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(folder));
    p.start(QStringLiteral(KVR_CLI_PATH), arguments);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError().toStdString()};
}

Configuration stageSetup()
{
    Configuration c;
    c.setSystemName("Stage");
    setCrossoverFamily(c, 2, CrossoverSide::Low, 1);
    setCrossoverOrder(c, 2, CrossoverSide::Low, 1);
    setCrossoverOrder(c, 2, CrossoverSide::Low, 2); // leaves a first-order Q behind
    setAutomaticTimes(c, 2, true);
    return c;
}

bool writeBytes(const std::string& path, const Bytes& bytes)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

} // namespace

TEST(CliResave, WritesTheCurrentFormUnderTheNameGiven)
{
    TempDir dir;
    const Bytes current = encodeConfigurationFile(stageSetup(), "/elsewhere/stage.kv4");
    struct Row {
        const char* what;
        size_t size;
        bool older;
    };
    const Row rows[] = {
        {"current", 3220, false}, {"longer", 3224, false}, {"older", 3160, true}, {"oldest", 2728, true}};
    for (const Row& row : rows) {
        Bytes in = current;
        in.resize(row.size, 0);
        ASSERT_TRUE(writeBytes(dir.file("in.kv4"), in));
        QFile::remove(QString::fromStdString(dir.file("out.kv4")));
        CliRun run = cli(dir.path(), {"resave", "in.kv4", "out.kv4"});
        EXPECT_EQ(run.status, 0) << row.what << ": " << run.err;
        if (row.older) {
            EXPECT_EQ(run.err,
                      "in.kv4 is not a KVR 610 File or is an older version (then re-save the file to translate "
                      "it to VERSION 4.70\n")
                << row.what;
        } else {
            EXPECT_EQ(run.err, "") << row.what;
        }

        auto written = readWholeFile(dir.file("out.kv4"), 10000);
        ASSERT_TRUE(written.ok()) << row.what;
        ASSERT_EQ(written->size(), 3220u) << row.what;
        ByteReader r(*written);
        EXPECT_EQ(r.shortString(10, 4), "4.70") << row.what;
        EXPECT_EQ(r.shortString(15, 100), "Orvanetix S.A4.70out.kv4") << row.what; // OUT as given
        // What the program's Open and Save would write under that name.
        auto opened = decodeConfigurationFile(in, "in.kv4");
        ASSERT_TRUE(opened.ok());
        EXPECT_TRUE(*written == encodeConfigurationFile(opened->config, "out.kv4")) << row.what;
        if (!row.older) {
            EXPECT_TRUE(*written == encodeConfigurationFile(stageSetup(), "out.kv4")) << row.what;
        }
    }
}

TEST(CliResave, RefusalsWriteNothing)
{
    TempDir dir;
    ASSERT_TRUE(writeBytes(dir.file("short.kv4"), Bytes(100, 9)));
    Bytes badMagic = encodeConfigurationFile(Configuration(), "x");
    badMagic[1] = 'X';
    ASSERT_TRUE(writeBytes(dir.file("magic.kv4"), badMagic));
    ASSERT_TRUE(writeBytes(dir.file("good.kv4"), encodeConfigurationFile(Configuration(), "x")));
    struct Row {
        QStringList arguments;
        int status;
        std::string message; // the start of stderr
    };
    const Row rows[] = {
        {{"resave", "short.kv4", "out.kv4"}, 1, "kvr610-cli: short.kv4 is not a KVR 610 File\n"},
        {{"resave", "magic.kv4", "out.kv4"}, 1, "kvr610-cli: magic.kv4 is not a KVR 610 File\n"},
        {{"resave", "missing.kv4", "out.kv4"}, 1, "kvr610-cli: "},
        {{"resave", "good.kv4", "no-such-folder/out.kv4"}, 1, "kvr610-cli: "},
        {{"resave", "good.kv4"}, 2, "kvr610-cli: resave: expects IN.kv4 and OUT.kv4\n"},
        {{"resave", "good.kv4", "out.kv4", "--force"}, 2, "kvr610-cli: resave: unknown option --force\n"},
    };
    for (const Row& row : rows) {
        CliRun run = cli(dir.path(), row.arguments);
        const std::string what = row.arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, row.status) << what << ": " << run.err;
        EXPECT_EQ(run.err.substr(0, row.message.size()), row.message) << what;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out.kv4")))) << what;
    }
}
