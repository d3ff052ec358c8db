#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/modulenetwork.h"
#include "guifixture.h"
#include "sim/simulator.h"
#include "windows/connectionwindow.h"
#include "windows/ethernetmoduleswindow.h"

namespace kvr::gui::test {

// The program against a virtual processor hosted in this process on 127.0.0.1, reached through
// a module list that names only that address.
class DeviceTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        sim::SimOptions options;
        options.tcp = true;
        options.tcpHost = QStringLiteral("127.0.0.1");
        options.tcpPort = 0;
        options.stateFolder = path(QStringLiteral("processor"));
        adjust(options);
        simulator = std::make_unique<sim::Simulator>(options);
        ASSERT_TRUE(simulator->start());
        simulator->host().setLogSink([](const QString&) {});
        finder.setModules(
            {EthernetModule{QStringLiteral("127.0.0.1"), QStringLiteral("KVRTEST"), QStringLiteral("0001")}});
        app->modules().setNetwork(&finder);
        app->device().setEthernetPort(simulator->tcpPort());
        app->modules().setScanDurationMs(200);
    }
    // A test fixture may give the virtual processor failure modes or pacing.
    virtual void adjust(sim::SimOptions&) {}

    void TearDown() override
    {
        GuiTest::TearDown();
        simulator.reset();
    }

    // ETHERNET in the connection window, OK, scan, choose the module, Connect.
    void connectEthernet()
    {
        auto* connection = windows->connection();
        connection->show();
        find<QRadioButton>(connection, "EthernetRB")->click();
        connection->okButton()->click();
        auto* ethernet = windows->ethernet();
        ASSERT_TRUE(waitFor([&] { return ethernet->isVisible() && !app->modules().scanning(); }));
        auto* box = find<QComboBox>(ethernet, "ProcessorBox");
        ASSERT_EQ(box->count(), 1);
        emit box->activated(0);
        find<QPushButton>(ethernet, "ConnectB")->click();
        ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }, 8000));
        ASSERT_TRUE(app->device().statusConnected()) << app->device().statusText().toStdString();
    }

    std::unique_ptr<sim::Simulator> simulator;
    FixedModuleNetwork finder;
};

} // namespace kvr::gui::test
