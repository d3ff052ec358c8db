#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTcpServer>
#include <QToolButton>

#include "devicefixture.h"
#include "windows/mainwindow.h"
#include "windows/passwordwindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;

class Device : public DeviceTest {};

TEST_F(Device, EthernetScanConnectAndOperations)
{
    auto* ethernet = windows->ethernet();
    auto* connection = windows->connection();
    connection->show();
    find<QRadioButton>(connection, "EthernetRB")->click();
    EXPECT_TRUE(find<QToolButton>(windows->main(), "EthernetB")->isVisibleTo(windows->main()));
    connection->okButton()->click();
    ASSERT_TRUE(waitFor([&] { return ethernet->isVisible(); }));
    EXPECT_EQ(find<QLabel>(ethernet, "Label2")->text(), QStringLiteral("Scaning ..."));
    ASSERT_TRUE(waitFor([&] { return !app->modules().scanning(); }));
    EXPECT_EQ(find<QLabel>(ethernet, "Label2")->text(), QStringLiteral("1.- Devices detected"));
    auto* list = find<QListWidget>(ethernet, "IPList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("KVRTEST=127.0.0.1"));
    EXPECT_EQ(find<QLabel>(ethernet, "Label5")->text(), QStringLiteral("IP"));

    // Connect without a choice asks for one.
    find<QPushButton>(ethernet, "ConnectB")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "You must Select a Processor from the Drop Down List");

    emit find<QComboBox>(ethernet, "ProcessorBox")->activated(0);
    EXPECT_EQ(find<QLabel>(ethernet, "Label5")->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(find<QLineEdit>(ethernet, "IP01")->text(), QStringLiteral("127"));
    EXPECT_EQ(find<QLineEdit>(ethernet, "IP04")->text(), QStringLiteral("1"));
    EXPECT_EQ(find<QLineEdit>(ethernet, "HostEdit")->text(), QStringLiteral("KVRTEST"));
    find<QPushButton>(ethernet, "ConnectB")->click();
    EXPECT_TRUE(app->device().busy());
    EXPECT_FALSE(find<QToolButton>(windows->main(), "WriteProgramB")->isEnabled());
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }, 8000));
    const QString status = QStringLiteral("ETHERNET: Connected with KVRTEST from 127.0.0.1");
    EXPECT_EQ(find<QLabel>(windows->main(), "StatusL")->text(), status);
    EXPECT_EQ(find<QLabel>(ethernet, "StatusB")->text(), status);
    EXPECT_FALSE(ethernet->isVisible());
    EXPECT_TRUE(find<QToolButton>(windows->main(), "WriteProgramB")->isEnabled());
    EXPECT_TRUE(find<QSpinBox>(windows->main(), "NProgramSpin")->isEnabled());
    EXPECT_EQ(simulator->processor().counters().send[0].completed, 1u);

    // Version read: its box.
    presenter.shown.clear();
    find<QToolButton>(windows->main(), "GetDSPVersionB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy() && !presenter.shown.empty(); }));
    EXPECT_EQ(presenter.shown.back().text, "KVR 610  DSP Version : 4.7");

    // Changing to an empty memory is refused with its box; the program stays connected.
    presenter.shown.clear();
    find<QSpinBox>(windows->main(), "NProgramSpin")->setValue(9);
    find<QToolButton>(windows->main(), "ChangeConfigB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy() && !presenter.shown.empty(); }));
    EXPECT_EQ(presenter.shown.back().text, "MEMORY EMPTY. NO POSSIBLE TO CHANGE PROGRAM");
    EXPECT_TRUE(app->device().statusConnected());

    // Keyboard lock after its question.
    presenter.shown.clear();
    presenter.answers = {Button::Ok};
    find<QToolButton>(windows->main(), "KeyBoardB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }));
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown[0].text, "Do you want to LOCK the Keyboard?");
    EXPECT_EQ(simulator->processor().state().keyboardLock, 0xFF);

    // The password window: six keys and "Password Active", then OK sends the seven bytes.
    auto* password = windows->password();
    find<QToolButton>(windows->main(), "PasswordB")->click();
    ASSERT_TRUE(waitFor([&] { return password->isVisible(); }));
    EXPECT_FALSE(app->device().deviceControlsEnabled()); // while the window is open
    for (const char* key : {"FARR_SpeedButton", "FABA_SpeedButton", "ENTER_SpeedButton", "ENTER_SpeedButton",
                            "FABA_SpeedButton", "FARR_SpeedButton"})
        find<QPushButton>(password, key)->click();
    find<QCheckBox>(password, "Active_CheckBox")->setChecked(true);
    find<QPushButton>(password, "OK_BitBtn")->click();
    EXPECT_FALSE(password->isVisible());
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }));
    EXPECT_EQ(simulator->processor().state().password, (std::array<uint8_t, 7>{1, 2, 3, 3, 2, 1, 0xFF}));
    EXPECT_TRUE(app->device().deviceControlsEnabled());

    // The operating system read back and saved under its proposed name.
    const QString asc = path(QStringLiteral("os.asc"));
    dialogs.saveAnswers = {asc};
    find<QToolButton>(windows->main(), "GetDSPSystemB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }));
    pump(30);
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Save DSP Operating System"));
    EXPECT_EQ(dialogs.asked.back().proposedName, QStringLiteral("snvd047_r"));
    EXPECT_EQ(dialogs.asked.back().filter, QStringLiteral("DSP Operating System|*.asc"));
    EXPECT_GT(QFileInfo(asc).size(), 0);

    // New, Open and close wait while an exchange runs.
    find<QToolButton>(windows->main(), "ResetB")->click();
    EXPECT_TRUE(app->device().busy());
    EXPECT_FALSE(find<QToolButton>(windows->main(), "NewB")->isEnabled());
    EXPECT_FALSE(find<QToolButton>(windows->main(), "OpenB")->isEnabled());
    presenter.shown.clear();
    windows->main()->show();
    windows->main()->close();
    EXPECT_TRUE(windows->main()->isVisible());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "The KVR 610 is busy. Please wait until the communication ends.");
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }));
    EXPECT_EQ(simulator->processor().counters().send[8].completed, 1u);
}

} // namespace
} // namespace kvr::gui::test

namespace kvr::gui::test {
namespace {

TEST_F(Device, RefusedConnectionShowsTheSocketErrorAndEndsOffline)
{
    // A loopback port nobody listens on.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closed = probe.serverPort();
    probe.close();
    app->device().setEthernetPort(closed);

    auto* connection = windows->connection();
    connection->show();
    find<QRadioButton>(connection, "EthernetRB")->click();
    connection->okButton()->click();
    ASSERT_TRUE(waitFor([&] { return !app->modules().scanning(); }));
    emit find<QComboBox>(windows->ethernet(), "ProcessorBox")->activated(0);
    find<QPushButton>(windows->ethernet(), "ConnectB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy() && !presenter.shown.empty(); }, 8000));
    EXPECT_EQ(presenter.shown[0].text,
              "ETHERNET error: Opening IP: 127.0.0.1. Verify if the IP is Correct and the Processor is Switched ON");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Error);
    EXPECT_EQ(app->device().connectionCode(), ConnectionCode::Offline);
    EXPECT_FALSE(app->device().statusConnected());
    EXPECT_EQ(find<QLabel>(windows->main(), "StatusL")->text(), QStringLiteral("Status: Offline"));
    EXPECT_EQ(find<QLabel>(windows->ethernet(), "StatusB")->text(), QStringLiteral("Status: Offline"));
    EXPECT_FALSE(find<QToolButton>(windows->main(), "WriteProgramB")->isEnabled());
}

} // namespace
} // namespace kvr::gui::test
