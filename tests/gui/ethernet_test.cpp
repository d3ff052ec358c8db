#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/modulenetwork.h"
#include "guifixture.h"
#include "windows/connectionwindow.h"
#include "windows/ethernetmoduleswindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;

// A module list that never answers a change.
class SilentFinder final : public ModuleNetwork {
public:
    QList<EthernetModule> modules;
    void scan() override
    {
        for (const EthernetModule& m : modules)
            emit moduleFound(m);
    }
    void stopScan() override {}
    void identify(const EthernetModule&) override {}
    void changeIp(const EthernetModule&, const QString&) override {}
    void changeHostName(const EthernetModule&, const QString&) override {}
};

class Ethernet : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        app->modules().setScanDurationMs(100);
        app->modules().setChangeLimitMs(100);
    }
    QWidget* window() { return windows->ethernet(); }
    void scan()
    {
        find<QPushButton>(window(), "ScanB")->click();
        ASSERT_TRUE(waitFor([&] { return !app->modules().scanning(); }));
    }
    QList<EthernetModule> twoModules()
    {
        return {EthernetModule{QStringLiteral("127.0.0.2"), QStringLiteral("LEFT"), QStringLiteral("A1")},
                EthernetModule{QStringLiteral("127.0.0.3"), QStringLiteral("RIGHT/2"), QStringLiteral("A2")}};
    }
};

TEST_F(Ethernet, NoModuleFoundFallsBackToOffline)
{
    SilentFinder finder;
    app->modules().setNetwork(&finder);
    auto* connection = windows->connection();
    connection->show();
    find<QRadioButton>(connection, "EthernetRB")->click();
    EXPECT_EQ(app->device().connectionCode(), ConnectionCode::Ethernet);
    connection->okButton()->click();
    ASSERT_TRUE(waitFor([&] { return window()->isVisible() && !app->modules().scanning(); }));
    EXPECT_EQ(find<QLabel>(window(), "Label2")->text(), QStringLiteral("No Devices Found"));
    EXPECT_FALSE(find<QComboBox>(window(), "ProcessorBox")->isVisibleTo(window()));
    EXPECT_FALSE(find<QPushButton>(window(), "ConnectB")->isVisibleTo(window()));
    EXPECT_EQ(app->device().connectionCode(), ConnectionCode::Offline);
    EXPECT_TRUE(find<QRadioButton>(connection, "OfflineRB")->isChecked());
}

TEST_F(Ethernet, ChangesAreAnsweredAndTheListRescanned)
{
    FixedModuleNetwork finder;
    finder.setModules(twoModules());
    app->modules().setNetwork(&finder);
    window()->show();
    scan();
    auto* list = find<QListWidget>(window(), "IPList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("RIGHT/2=127.0.0.3"));
    EXPECT_EQ(find<QLabel>(window(), "Label2")->text(), QStringLiteral("2.- Devices detected"));

    emit find<QComboBox>(window(), "ProcessorBox")->activated(1);
    find<QLineEdit>(window(), "IP04")->setText(QStringLiteral("9"));
    find<QPushButton>(window(), "ChangeIPB")->click();
    ASSERT_TRUE(waitFor([&] { return !presenter.shown.empty() && !app->modules().scanning(); }));
    EXPECT_EQ(presenter.shown[0].text, "IP Changed Successfully");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Information);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("RIGHT/2=127.0.0.9")); // scanned again

    emit find<QComboBox>(window(), "ProcessorBox")->activated(0);
    auto* host = find<QLineEdit>(window(), "HostEdit");
    host->clear();
    for (QChar c : QStringLiteral("stage")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(host, &key);
    }
    EXPECT_EQ(host->text(), QStringLiteral("STAGE")); // upper case
    find<QPushButton>(window(), "ChangeHostB")->click();
    ASSERT_TRUE(waitFor([&] { return presenter.shown.size() == 2 && !app->modules().scanning(); }));
    EXPECT_EQ(presenter.shown[1].text, "Host Name Changed Successfully");
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("STAGE=127.0.0.2"));
}

TEST_F(Ethernet, UnansweredChangeEndsWithItsError)
{
    SilentFinder finder;
    finder.modules = twoModules();
    app->modules().setNetwork(&finder);
    window()->show();
    scan();
    emit find<QComboBox>(window(), "ProcessorBox")->activated(0);
    find<QPushButton>(window(), "ChangeIPB")->click();
    ASSERT_TRUE(waitFor([&] { return !presenter.shown.empty(); }));
    EXPECT_EQ(presenter.shown[0].text, "Error Changing IP");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Error);
    ASSERT_TRUE(waitFor([&] { return !app->modules().scanning(); }));
    emit find<QComboBox>(window(), "ProcessorBox")->activated(0);
    find<QPushButton>(window(), "ChangeHostB")->click();
    ASSERT_TRUE(waitFor([&] { return presenter.shown.size() == 2; }));
    EXPECT_EQ(presenter.shown[1].text, "Error Changing Host Name");
}

TEST_F(Ethernet, DeleteKeyRemovesAListLineAfterAsking)
{
    FixedModuleNetwork finder;
    finder.setModules(twoModules());
    app->modules().setNetwork(&finder);
    window()->show();
    scan();
    auto* list = find<QListWidget>(window(), "IPList");
    list->setCurrentRow(0);
    presenter.answers = {Button::Cancel};
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &del);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "Do you want to Delete: LEFT=127.0.0.2");
    EXPECT_EQ(presenter.shown[0].buttons, Button::Ok | Button::Cancel);
    EXPECT_EQ(list->count(), 2);
    presenter.answers = {Button::Ok};
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(list, &backspace);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("RIGHT/2=127.0.0.3"));
    EXPECT_EQ(app->modules().modules().size(), 2); // the module table stays
}

TEST_F(Ethernet, DeletedLinesStayDeletedUntilTheNextScan)
{
    FixedModuleNetwork finder;
    finder.setModules(twoModules());
    app->modules().setNetwork(&finder);
    window()->show();
    scan();
    auto* list = find<QListWidget>(window(), "IPList");
    list->setCurrentRow(0);
    presenter.answers = {Button::Ok};
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(list, &del);
    ASSERT_EQ(list->count(), 1);
    // Choosing a module changes the chosen one, not the list.
    for (int index : {1, 0}) {
        emit find<QComboBox>(window(), "ProcessorBox")->activated(index);
        EXPECT_EQ(find<QComboBox>(window(), "ProcessorBox")->currentIndex(), index);
        ASSERT_EQ(list->count(), 1) << index;
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("RIGHT/2=127.0.0.3")) << index;
    }
    scan();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("LEFT=127.0.0.2"));
}

TEST_F(Ethernet, HostNameShowsInFullAndTypingStopsAtEightCharacters)
{
    window()->show();
    auto* host = find<QLineEdit>(window(), "HostEdit");
    EXPECT_EQ(host->text(), QStringLiteral("HOST NAME"));
    struct Row {
        const char* typed;
        const char* shown;
    };
    for (const Row& row : {Row{"stage", "STAGE"}, Row{"abcdefgh", "ABCDEFGH"}, Row{"abcdefghij", "ABCDEFGH"}}) {
        host->clear();
        for (QChar c : QString::fromLatin1(row.typed)) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(host, &key);
        }
        EXPECT_EQ(host->text(), QString::fromLatin1(row.shown)) << row.typed;
    }
    // A module's own name is shown as it is.
    FixedModuleNetwork finder;
    finder.setModules(
        {EthernetModule{QStringLiteral("127.0.0.2"), QStringLiteral("MAINHALL12"), QStringLiteral("A1")}});
    app->modules().setNetwork(&finder);
    scan();
    emit find<QComboBox>(window(), "ProcessorBox")->activated(0);
    EXPECT_EQ(host->text(), QStringLiteral("MAINHALL12"));
}

} // namespace
} // namespace kvr::gui::test
