#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

#include "app/listingfiles.h"

namespace kvr::gui::test {
namespace {

using core::ListingKind;

const std::array<ListingKind, 3> kKinds{ListingKind::Peq1, ListingKind::Dsp2, ListingKind::Xover4};
const std::array<std::vector<std::string>, 3> kLines{std::vector<std::string>{".float 1.0", ".float -0.5"},
                                                     std::vector<std::string>{}, std::vector<std::string>{"x"}};

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Where each listing lands and what it holds, in a folder that does not exist yet.
TEST(ListingFiles, EachListingInItsFileWithCrLf)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("data/listings"));
    EXPECT_EQ(writeListingFiles(folder, kKinds, kLines), QString());
    const struct {
        const char* file;
        QByteArray expected;
    } rows[] = {
        {"peq1.coe", QByteArray(".float 1.0\r\n.float -0.5\r\n")},
        {"dsp2data.asm", QByteArray("")},
        {"xover4.coe", QByteArray("x\r\n")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(contents(folder + QLatin1Char('/') + QString::fromUtf8(row.file)), row.expected) << row.file;
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3); // no temporary file left behind
}

// Failures: the folder cannot be made, or one file cannot be replaced (the files before it are
// written, none after it).
TEST(ListingFiles, TheFirstFailureIsReturned)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString plainFile = root.filePath(QStringLiteral("plain"));
    {
        QFile f(plainFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(writeListingFiles(plainFile, kKinds, kLines), QStringLiteral("Unable to write ") + plainFile);

    const QString folder = root.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/dsp2data.asm"))); // a folder where a file goes
    EXPECT_FALSE(writeListingFiles(folder, kKinds, kLines).isEmpty());
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/peq1.coe")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/xover4.coe")));
}

// Written on every refresh, a lasting failure is reported once; after a success or a reset it is
// reported again.
TEST(ListingFiles, ALastingFailureIsReportedOnce)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bad = root.filePath(QStringLiteral("plain"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString good = root.filePath(QStringLiteral("out"));
    enum Step { Bad, Good, Reset };
    const struct {
        Step step;
        bool reported;
    } rows[] = {{Bad, true}, {Bad, false}, {Bad, false}, {Good, false}, {Bad, true}, {Reset, false}, {Bad, true}};
    ListingFileWriter writer;
    int i = 0;
    for (const auto& row : rows) {
        ++i;
        if (row.step == Reset) {
            writer.reset();
            continue;
        }
        const QString shown = writer.write(row.step == Bad ? bad : good, kKinds, kLines);
        EXPECT_EQ(!shown.isEmpty(), row.reported) << "step " << i;
    }
}

} // namespace
} // namespace kvr::gui::test
