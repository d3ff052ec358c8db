#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include "config/configfile.h"
#include "devicefixture.h"
#include "windows/librarymakerwindow.h"
#include "windows/mainwindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;

class Library : public DeviceTest {
protected:
    QString configFile(const std::string& name)
    {
        core::Configuration c;
        c.setSystemName(name);
        const QString file = path(QString::fromStdString(name) + QStringLiteral(".kv4"));
        EXPECT_TRUE(core::saveConfigurationFile(file.toStdString(), c));
        return file;
    }
    QWidget* maker() { return windows->libraryMaker(); }
    QString row(int n) { return find<QLineEdit>(maker(), ("Edit" + std::to_string(n)).c_str())->text(); }
};

TEST_F(Library, LoadSaveOpenUseTheirOwnExtensions)
{
    // Saving an empty library asks for files first.
    find<QPushButton>(maker(), "SaveLibraryB")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "You must to Load the files before saving");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Warning);
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Load Files"));
    EXPECT_EQ(dialogs.asked.back().defaultSuffix, QStringLiteral("kv4"));

    dialogs.openManyAnswers = {{configFile("First"), configFile("Second")}};
    find<QPushButton>(maker(), "LoadFilesB")->click();
    // The list is worked from its last entry back: memory 1 holds the last file.
    EXPECT_EQ(row(1), QStringLiteral("Second      "));
    EXPECT_EQ(row(2), QStringLiteral("First       "));
    EXPECT_TRUE(row(3).isEmpty());
    EXPECT_EQ(app->document().configuration().system.name, "NoName"); // the edited Configuration is untouched

    const QString library = path(QStringLiteral("two.kvl"));
    dialogs.saveAnswers = {library};
    find<QPushButton>(maker(), "SaveLibraryB")->click();
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Save Library"));
    EXPECT_EQ(dialogs.asked.back().proposedName, QStringLiteral("NoName"));
    EXPECT_EQ(dialogs.asked.back().defaultSuffix, QStringLiteral("kvl"));
    EXPECT_EQ(dialogs.asked.back().filter, QStringLiteral("KVR 610 Library *.kvl|*.kvl|All Files *.*|*.*"));
    EXPECT_EQ(QFileInfo(library).size(), 239617);

    dialogs.openAnswers = {library};
    find<QPushButton>(maker(), "OpenLibraryB")->click();
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Open Library"));
    EXPECT_EQ(dialogs.asked.back().defaultSuffix, QStringLiteral("kvl"));
    EXPECT_EQ(find<QLineEdit>(maker(), "Edit40")->text(), QStringLiteral("two.kvl"));
    EXPECT_EQ(row(1), QStringLiteral("Second      "));
    EXPECT_EQ(row(2), QStringLiteral("First       "));
}

TEST_F(Library, SendsThreeMemoriesThenChangesToMemoryOne)
{
    // Offline: the message, then the connection window.
    find<QPushButton>(maker(), "SendLibraryB")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "You must be connected not offline");
    EXPECT_TRUE(waitFor([&] { return windows->connection()->isVisible(); }));
    windows->connection()->hide();

    dialogs.openManyAnswers = {{configFile("One"), configFile("Two"), configFile("Three")}};
    find<QPushButton>(maker(), "LoadFilesB")->click();
    ASSERT_EQ(app->libraryMaker().library().count(), 3);
    connectEthernet();
    // A full memory is overwritten without a question during a library send.
    simulator->processor().state().memories[1] = core::Bytes(100, 0x11);
    presenter.shown.clear();

    app->device().setMemory(7);
    std::vector<int> selector;
    QObject::connect(&app->device(), &DeviceController::memoryChanged, [&](int m) { selector.push_back(m); });
    const auto changesBefore = simulator->processor().counters().send[7].total();
    find<QPushButton>(maker(), "SendLibraryB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }, 10000));
    pump(30);
    EXPECT_TRUE(presenter.shown.empty()) << presenter.shown.front().text;
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(simulator->processor().counters().stores[size_t(k - 1)], 1u) << k;
        EXPECT_EQ(
            core::Bytes(app->libraryMaker().library().image(k).begin(), app->libraryMaker().library().image(k).end()),
            simulator->processor().state().memories[size_t(k - 1)])
            << k;
    }
    EXPECT_EQ(selector, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(find<QSpinBox>(windows->main(), "NProgramSpin")->value(), 3);
    EXPECT_EQ(simulator->processor().counters().send[7].total(), changesBefore + 1);
    EXPECT_EQ(simulator->processor().state().activeMemory, 1);
    EXPECT_TRUE(app->device().deviceControlsEnabled());
}

} // namespace
} // namespace kvr::gui::test
