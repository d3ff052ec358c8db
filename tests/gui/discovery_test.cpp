#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/udpmodulenetwork.h"
#include "guifixture.h"
#include "io/modulediscovery.h"
#include "sim/simulator.h"
#include "windows/connectionwindow.h"
#include "windows/ethernetmoduleswindow.h"

namespace kvr::gui::test {
namespace {

// Emulated Ethernet modules on 127.0.0.2 and up, found over the loopback broadcast only.
class Discovery : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        sim::SimOptions options;
        options.modules = {{QStringLiteral("KVRA"), QStringLiteral("0.32.74.1.2.3"), false},
                           {QStringLiteral("KVRB"), QStringLiteral("0.32.74.1.2.4"), false},
                           {QStringLiteral("OTHER"), QStringLiteral("F1"), true}};
        options.discoveryPort = 0;
        options.tcpPort = 0;
        options.stateFolder = path(QStringLiteral("modules"));
        simulator = std::make_unique<sim::Simulator>(options);
        ASSERT_TRUE(simulator->start());
        for (const QString& line : simulator->endpoints()) {
            const QStringList parts = line.split(QLatin1Char(' '));
            const QString endpoint = parts.last();
            const quint16 port = quint16(endpoint.mid(endpoint.lastIndexOf(QLatin1Char(':')) + 1).toUInt());
            if (parts[0] == QStringLiteral("discovery")) {
                const QString address = endpoint.left(endpoint.lastIndexOf(QLatin1Char(':')));
                ASSERT_TRUE(address.startsWith(QStringLiteral("127."))); // loopback only
                finder.setTarget(address, port);
            } else if (parts[0] == QStringLiteral("module")) {
                app->device().setEthernetPort(port);
            }
        }
        ASSERT_TRUE(finder.discovery().target().startsWith(QStringLiteral("127.")));
        finder.discovery().setScanWindowMs(300);
        app->modules().setScanDurationMs(400);
        app->modules().setNetwork(&finder);
    }
    void TearDown() override
    {
        GuiTest::TearDown();
        simulator.reset();
    }

    UdpModuleNetwork finder;
    std::unique_ptr<sim::Simulator> simulator;
};

TEST_F(Discovery, FindsTheSimulatedModulesAndConnects)
{
    auto* connection = windows->connection();
    connection->show();
    find<QRadioButton>(connection, "EthernetRB")->click();
    connection->okButton()->click();
    auto* ethernet = windows->ethernet();
    ASSERT_TRUE(waitFor([&] { return ethernet->isVisible() && !app->modules().scanning(); }));
    auto* box = find<QComboBox>(ethernet, "ProcessorBox");
    ASSERT_EQ(box->count(), 2); // the foreign device is not listed
    QStringList hosts{box->itemText(0), box->itemText(1)};
    hosts.sort();
    EXPECT_EQ(hosts, (QStringList{QStringLiteral("KVRA"), QStringLiteral("KVRB")}));
    EXPECT_EQ(find<QLabel>(ethernet, "Label2")->text(), QStringLiteral("2.- Devices detected"));
    auto* list = find<QListWidget>(ethernet, "IPList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().contains(QStringLiteral("=127.0.0.")));

    const int b = box->findText(QStringLiteral("KVRB"));
    emit box->activated(b);
    find<QPushButton>(ethernet, "ConnectB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }, 8000));
    pump(30);
    EXPECT_TRUE(presenter.shown.empty()) << presenter.shown.front().text;
    EXPECT_TRUE(app->device().statusText().startsWith(QStringLiteral("ETHERNET: Connected with KVRB from ")))
        << app->device().statusText().toStdString();
    EXPECT_FALSE(ethernet->isVisible());
    EXPECT_TRUE(app->device().deviceControlsEnabled());
}

TEST_F(Discovery, AnAddressWithAnEmptyFieldIsRefused)
{
    auto* ethernet = windows->ethernet();
    ethernet->show();
    find<QPushButton>(ethernet, "ScanB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->modules().scanning(); }));
    auto* box = find<QComboBox>(ethernet, "ProcessorBox");
    ASSERT_EQ(box->count(), 2);
    emit box->activated(box->findText(QStringLiteral("KVRB")));
    const QString before = app->modules().modules()[app->modules().selectedModule()].ip;
    for (const char* field : {"IP01", "IP04"}) {
        presenter.shown.clear();
        emit box->activated(box->findText(QStringLiteral("KVRB")));
        find<QLineEdit>(ethernet, field)->clear();
        find<QPushButton>(ethernet, "ChangeIPB")->click();
        ASSERT_TRUE(waitFor([&] { return presenter.shown.size() >= 2 && !app->modules().scanning(); })) << field;
        EXPECT_EQ(presenter.shown[0].text, "The IP address must be four numbers from 0 to 255 separated by dots.")
            << field;
        EXPECT_EQ(presenter.shown[1].text, "Error Changing IP") << field;
        // Scanned again: the module kept its address.
        ASSERT_EQ(box->count(), 2) << field;
        const int b = box->findText(QStringLiteral("KVRB"));
        ASSERT_GE(b, 0);
        EXPECT_EQ(app->modules().modules()[b].ip, before) << field;
    }
}

} // namespace
} // namespace kvr::gui::test
