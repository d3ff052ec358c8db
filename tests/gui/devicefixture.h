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
        simulator->host().setLogSink([this](const QString& line) { processorLog << line; });
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
        expectEveryExchangeWhole();
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
        expectEveryExchangeWhole();
    }

    // The processor saw every exchange to its end: none was cut off by a connection that closed
    // or was replaced while the processor still waited for a byte of it.
    void expectEveryExchangeWhole()
    {
        if (!simulator) return;
        const uint64_t interrupted = simulator->processor().counters().interrupted;
        EXPECT_EQ(interrupted, m_interruptedSeen) << "processor log:\n"
                                                  << processorLog.join(QLatin1Char('\n')).toStdString();
        m_interruptedSeen = interrupted; // each one reported once, where it happened
    }

    std::unique_ptr<sim::Simulator> simulator;
    QStringList processorLog; // one line per exchange, as the simulator logs them
    FixedModuleNetwork finder;

private:
    uint64_t m_interruptedSeen = 0;
};

} // namespace kvr::gui::test
