// Discovery, module configuration and connecting, against the simulator's Ethernet modules.
// Every datagram goes to 127.255.255.255 or a 127.0.0.x address on a port the system picked.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <functional>
#include <memory>

#include "comm/operations.h"
#include "io/tcplink.h"
#include "io/modulediscovery.h"
#include "runhelper.h"
#include "sim/ethernetmodule.h"
#include "sim/processorhost.h"
#include "sim/simulator.h"

using namespace kvr;
using io::DiscoveredModule;
using io::ModuleChange;
using io::ModuleDiscovery;

namespace {

constexpr char kLoopbackBroadcast[] = "127.255.255.255";
constexpr int kShortScanMs = 400; // the scans here need no more on loopback

bool pumpUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

sim::SimOptions moduleOptions(std::vector<sim::ModuleSpec> modules)
{
    sim::SimOptions options;
    options.modules = std::move(modules);
    options.discoveryPort = 0; // each test its own ports, so parallel runs never meet
    options.tcp = true;
    options.tcpPort = 0;
    return options;
}

// A simulator with Ethernet modules, in this process.
struct Modules {
    QStringList log; // first, so that it outlives the simulator's last words
    sim::Simulator simulator;

    explicit Modules(sim::SimOptions options) : simulator(std::move(options))
    {
        simulator.setLogSink([this](const QString& line) { log << line; });
        const auto started = simulator.start();
        EXPECT_TRUE(started.ok()) << (started.ok() ? "" : started.message());
    }
    quint16 udpPort() const { return simulator.discoveryPort(); }
    sim::EthernetModule& module(size_t i) const { return *simulator.module(i); }
};

// Everything a ModuleDiscovery says.
struct Recorder {
    std::vector<int> progress;
    std::vector<QList<DiscoveredModule>> scans;
    std::vector<core::Message> boxes;
    std::vector<std::pair<ModuleChange, bool>> changes;
    QStringList refusals;
    int found = 0;

    explicit Recorder(ModuleDiscovery& d)
    {
        QObject::connect(&d, &ModuleDiscovery::scanProgress, [this](int p) { progress.push_back(p); });
        QObject::connect(&d, &ModuleDiscovery::moduleFound, [this](const DiscoveredModule&) { ++found; });
        QObject::connect(&d, &ModuleDiscovery::scanFinished,
                         [this](const QList<DiscoveredModule>& m) { scans.push_back(m); });
        QObject::connect(&d, &ModuleDiscovery::messageRequested,
                         [this](const core::Message& m) { boxes.push_back(m); });
        QObject::connect(&d, &ModuleDiscovery::changeFinished,
                         [this](ModuleChange c, bool ok) { changes.emplace_back(c, ok); });
        QObject::connect(&d, &ModuleDiscovery::refused, [this](const QString& r) { refusals << r; });
    }
};

QList<DiscoveredModule> scanOnce(ModuleDiscovery& discovery, Recorder& seen)
{
    const size_t before = seen.scans.size();
    EXPECT_TRUE(discovery.scan());
    EXPECT_TRUE(pumpUntil([&] { return seen.scans.size() > before; }, discovery.scanWindowMs() + 2000));
    return seen.scans.size() > before ? seen.scans.back() : QList<DiscoveredModule>{};
}

const DiscoveredModule* byHost(const QList<DiscoveredModule>& modules, const QString& host)
{
    for (const DiscoveredModule& m : modules)
        if (m.hostName == host) return &m;
    return nullptr;
}

bool tcpReachable(const QString& address, quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(address, port);
    pumpUntil([&] { return socket.state() == QAbstractSocket::ConnectedState || socket.error() != -1; }, 3000);
    return socket.state() == QAbstractSocket::ConnectedState;
}

core::Bytes pattern(size_t n, uint8_t seed)
{
    core::Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t(seed + i * 13);
    b[0] = uint8_t((n - 2) >> 8);
    b[1] = uint8_t((n - 2) & 0xFF);
    return b;
}

} // namespace

// ---- Scanning ----------------------------------------------------------------------------------

TEST(ModuleScan, FindsTheKvr610ModulesAndNotTheForeignDevice)
{
    Modules sim(
        moduleOptions({{"SALA1", "0.32.74.1.2.3"}, {"FOH/L", "ID-2"}, {"OTHER", "F1", true}, {"MONITOR", "ID-4"}}));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    discovery.setScanWindowMs(kShortScanMs);
    Recorder seen(discovery);

    QElapsedTimer clock;
    clock.start();
    const QList<DiscoveredModule> found = scanOnce(discovery, seen);
    const qint64 elapsed = clock.elapsed();

    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(seen.found, 3);
    const DiscoveredModule* sala = byHost(found, "SALA1");
    const DiscoveredModule* foh = byHost(found, "FOH/L"); // the rest of the reply, "/" included
    const DiscoveredModule* monitor = byHost(found, "MONITOR");
    ASSERT_TRUE(sala && foh && monitor);
    EXPECT_EQ(sala->ipAddress, "127.0.0.2");
    EXPECT_EQ(sala->identifier, "0.32.74.1.2.3");
    EXPECT_EQ(sala->deviceType, "KVR610");
    EXPECT_EQ(foh->ipAddress, "127.0.0.3");
    EXPECT_EQ(monitor->ipAddress, "127.0.0.5"); // the foreign device holds 127.0.0.4
    EXPECT_EQ(monitor->listLine(), "MONITOR=127.0.0.5");
    EXPECT_EQ(sim.module(2).counters().discoveries, 1); // it did answer; the scan left it out
    EXPECT_EQ(discovery.modules().size(), 3);

    // The progress runs 0..100 and never back; the window is the one asked for.
    ASSERT_FALSE(seen.progress.empty());
    EXPECT_EQ(seen.progress.front(), 0);
    EXPECT_EQ(seen.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.progress.begin(), seen.progress.end()));
    EXPECT_GE(elapsed, kShortScanMs);        // no tolerance: a floor
    EXPECT_LT(elapsed, kShortScanMs + 1000); // generous for a loaded machine
    EXPECT_TRUE(seen.boxes.empty());
}

TEST(ModuleScan, TheDefaultWindowIsThreeSeconds)
{
    ModuleDiscovery discovery;
    EXPECT_EQ(discovery.scanWindowMs(), 3000);
    EXPECT_EQ(discovery.port(), 65535);
    EXPECT_TRUE(discovery.target().isEmpty()); // resolved at scan time; no test scans with it
}

TEST(ModuleScan, UntrustedRepliesAtMost101AndNothingAfterTheWindow)
{
    // A stand-in module on 127.0.0.1 that answers one discovery with a flood: garbage of every
    // shape, then 150 good replies, then one more after the window has closed.
    QUdpSocket fake;
    ASSERT_TRUE(fake.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    ModuleDiscovery discovery;
    discovery.setTarget(QStringLiteral("127.0.0.1"), fake.localPort());
    discovery.setScanWindowMs(kShortScanMs);
    Recorder seen(discovery);

    QHostAddress scanner;
    quint16 scannerPort = 0;
    QObject::connect(&fake, &QUdpSocket::readyRead, [&] {
        while (fake.hasPendingDatagrams()) {
            const QNetworkDatagram d = fake.receiveDatagram();
            if (d.data() != "X") continue;
            scanner = d.senderAddress();
            scannerPort = quint16(d.senderPort());
            for (const QByteArray& garbage :
                 {QByteArray(), QByteArray("X"), QByteArray("XM/a/b/c/KVR610"), QByteArray(2048, '/'),
                  QByteArray(3000, 'Z'), QByteArray("\xff\x01/\x02/\x03/\x04/KVR610/\x00\xfe", 18)})
                fake.writeDatagram(garbage, scanner, scannerPort);
            for (int i = 0; i < 150; ++i)
                fake.writeDatagram("XID" + QByteArray::number(i) + "/a/b/c/KVR610/M" + QByteArray::number(i), scanner,
                                   scannerPort);
        }
    });
    const QList<DiscoveredModule> found = scanOnce(discovery, seen);
    ASSERT_NE(scannerPort, 0);
    // The garbage with five separators and type KVR610 counts as a module with a binary name.
    ASSERT_EQ(found.size(), 101);
    EXPECT_EQ(found[0].identifier, QString(QChar(1))); // byte 0 is not read
    EXPECT_EQ(found[0].hostName, QString::fromLatin1("\x00\xfe", 2));
    EXPECT_EQ(found[1].hostName, "M0");
    EXPECT_EQ(found[100].hostName, "M99");

    fake.writeDatagram("XLATE/a/b/c/KVR610/LATE", scanner, scannerPort);
    pumpUntil([] { return false; }, 200);
    EXPECT_EQ(discovery.modules().size(), 101);
    EXPECT_EQ(seen.found, 101);
    EXPECT_EQ(seen.scans.size(), 1u);
}

// ---- Identify and changes ----------------------------------------------------------------------

TEST(ModuleChanges, ChangeIpThenRescanFindsTheModuleAndItsProcessorThere)
{
    Modules sim(moduleOptions({{"SALA1", "0.32.74.1.2.3"}, {"SALA2", "0.32.74.1.2.4"}}));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    discovery.setScanWindowMs(kShortScanMs);
    Recorder seen(discovery);
    const quint16 tcpPort = sim.module(1).tcpPort();
    ASSERT_TRUE(tcpReachable("127.0.0.3", tcpPort));

    ASSERT_TRUE(discovery.changeIp("0.32.74.1.2.4", "127.0.0.42"));
    EXPECT_TRUE(discovery.isAwaitingAnswer());
    ASSERT_TRUE(pumpUntil([&] { return !seen.changes.empty(); }, 4000));
    EXPECT_EQ(seen.changes[0], std::make_pair(ModuleChange::IpAddress, true));
    ASSERT_EQ(seen.boxes.size(), 1u);
    EXPECT_EQ(seen.boxes[0].kind, core::MessageKind::Information);
    EXPECT_EQ(seen.boxes[0].text, "IP Changed Successfully");

    const QList<DiscoveredModule> found = scanOnce(discovery, seen);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(byHost(found, "SALA2")->ipAddress, "127.0.0.42");
    EXPECT_EQ(byHost(found, "SALA1")->ipAddress, "127.0.0.2"); // the other one stays
    EXPECT_TRUE(tcpReachable("127.0.0.42", tcpPort));
    EXPECT_FALSE(tcpReachable("127.0.0.3", tcpPort));
}

TEST(ModuleChanges, ChangeHostNameThenRescan)
{
    Modules sim(moduleOptions({{"SALA1", "M1"}, {"SALA2", "M2"}}));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    discovery.setScanWindowMs(kShortScanMs);
    Recorder seen(discovery);

    ASSERT_TRUE(discovery.changeHostName("127.0.0.3", "STAGE"));
    ASSERT_TRUE(pumpUntil([&] { return !seen.changes.empty(); }, 4000));
    EXPECT_EQ(seen.changes[0], std::make_pair(ModuleChange::HostName, true));
    EXPECT_EQ(seen.boxes.at(0).text, "Host Name Changed Successfully");
    EXPECT_EQ(sim.module(1).counters().nameChanges, 1);

    const QList<DiscoveredModule> found = scanOnce(discovery, seen);
    ASSERT_TRUE(byHost(found, "STAGE"));
    EXPECT_EQ(byHost(found, "STAGE")->ipAddress, "127.0.0.3");
    EXPECT_TRUE(byHost(found, "SALA1"));
    EXPECT_FALSE(byHost(found, "SALA2"));
}

TEST(ModuleChanges, AnAnswerOtherThanAIsAnError)
{
    // The simulated module cannot move to the broadcast address and answers "N".
    Modules sim(moduleOptions({{"SALA1", "M1"}}));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    Recorder seen(discovery);
    ASSERT_TRUE(discovery.changeIp("M1", kLoopbackBroadcast));
    ASSERT_TRUE(pumpUntil([&] { return !seen.changes.empty(); }, 4000));
    EXPECT_EQ(seen.changes[0], std::make_pair(ModuleChange::IpAddress, false));
    ASSERT_EQ(seen.boxes.size(), 1u);
    EXPECT_EQ(seen.boxes[0].kind, core::MessageKind::Error);
    EXPECT_EQ(seen.boxes[0].text, "Error Changing IP");
    EXPECT_EQ(sim.module(0).counters().refusedChanges, 1);
    EXPECT_EQ(sim.module(0).address().toString(), "127.0.0.2");
}

TEST(ModuleChanges, AModuleThatNeverAnswersEndsInTheErrorAfterTheLimit)
{
    sim::SimOptions options = moduleOptions({{"SALA1", "M1"}});
    options.ignoreChanges = true;
    Modules sim(std::move(options));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    Recorder seen(discovery);

    // The real 3 s limit once.
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(discovery.changeIp("M1", "127.0.0.43"));
    ASSERT_TRUE(pumpUntil([&] { return !seen.changes.empty(); }, 6000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 2950); // the limit, less a coarse timer's early wake-up (50 ms)
    EXPECT_LT(elapsed, 4000); // and not much more
    EXPECT_EQ(seen.changes[0], std::make_pair(ModuleChange::IpAddress, false));
    EXPECT_EQ(seen.boxes.at(0).text, "Error Changing IP");
    EXPECT_EQ(sim.module(0).counters().ignoredChanges, 1);
    EXPECT_FALSE(discovery.isAwaitingAnswer());

    discovery.setAnswerLimitMs(300);
    ASSERT_TRUE(discovery.changeHostName("127.0.0.2", "NONAME"));
    ASSERT_TRUE(pumpUntil([&] { return seen.changes.size() == 2; }, 3000));
    EXPECT_EQ(seen.changes[1], std::make_pair(ModuleChange::HostName, false));
    EXPECT_EQ(seen.boxes.at(1).text, "Error Changing Host Name");
    EXPECT_EQ(sim.module(0).hostName(), "SALA1");
}

TEST(ModuleChanges, IdentifyAndRefusals)
{
    Modules sim(moduleOptions({{"SALA1", "M1"}}));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    discovery.setScanWindowMs(kShortScanMs);
    Recorder seen(discovery);

    EXPECT_TRUE(discovery.identify("127.0.0.2"));
    EXPECT_FALSE(discovery.isAwaitingAnswer()); // nothing is awaited
    ASSERT_TRUE(pumpUntil([&] { return sim.module(0).counters().identifies == 1; }, 2000));

    // An identifier that does not fit the 101-byte message: refused, nothing sent.
    EXPECT_FALSE(discovery.changeIp(QString(90, QLatin1Char('I')), "127.0.0.44"));
    EXPECT_FALSE(discovery.changeIp("M1", "127.0.0"));
    EXPECT_FALSE(discovery.identify("SALA1"));
    ASSERT_EQ(seen.refusals.size(), 3);
    EXPECT_EQ(seen.refusals[0],
              "The module identifier is too long: the message to the module holds at most 101 bytes.");
    EXPECT_EQ(seen.refusals[1], "The IP address must be four numbers from 0 to 255 separated by dots.");
    EXPECT_EQ(seen.refusals[2], "The IP address must be four numbers from 0 to 255 separated by dots.");

    // One exchange at a time: no change during a scan, no scan while a change is awaited.
    ASSERT_TRUE(discovery.scan());
    EXPECT_FALSE(discovery.changeHostName("127.0.0.2", "X"));
    EXPECT_EQ(seen.refusals.back(), "Another exchange with the Ethernet modules is running.");
    ASSERT_TRUE(pumpUntil([&] { return !seen.scans.empty(); }, 3000));
    ASSERT_TRUE(discovery.changeHostName("127.0.0.2", "NEW"));
    EXPECT_FALSE(discovery.scan());
    ASSERT_TRUE(pumpUntil([&] { return !seen.changes.empty(); }, 4000));
    EXPECT_TRUE(seen.changes[0].second);
    EXPECT_EQ(sim.module(0).counters().ipChanges, 0);
    EXPECT_EQ(sim.module(0).counters().nameChanges, 1);
    EXPECT_EQ(sim.module(0).counters().ignoredDatagrams, 0);
}

// ---- Connecting --------------------------------------------------------------------------------

namespace {

// The program's side of a connection: its one TCP link aimed at the chosen module, and the detect
// exchange over it through the runner, with what the runner reports.
struct Program {
    io::OperationRunner runner;
    io::TcpLink link{QString()};
    std::vector<core::Message> boxes;
    std::vector<core::ConnectionEffect> effects;
    std::vector<core::Outcome> outcomes;
    quint16 tcpPort = io::TcpLink::kDefaultPort;

    Program()
    {
        QObject::connect(&runner, &io::OperationRunner::messageRequested,
                         [this](const core::Message& m) { boxes.push_back(m); });
        QObject::connect(&runner, &io::OperationRunner::connectionEffect,
                         [this](core::ConnectionEffect e) { effects.push_back(e); });
        QObject::connect(&runner, &io::OperationRunner::finished,
                         [this](const core::Outcome& o) { outcomes.push_back(o); });
    }
    bool connectAndWait(const QString& address, const QString& host)
    {
        outcomes.clear();
        link.setRemote(address, tcpPort, host);
        runner.setLink(&link);
        if (!runner.start(core::makeDetect(link.info()))) return false;
        return pumpUntil([this] { return !outcomes.empty(); }, 12000);
    }
    bool connected() const { return !outcomes.empty() && outcomes.back().completed(); }
};

} // namespace

TEST(ModuleConnection, ConnectThenStoreAndReadThroughTheChosenModule)
{
    Modules sim(moduleOptions({{"SALA1", "M1"}, {"SALA2", "M2"}}));
    ModuleDiscovery discovery;
    discovery.setTarget(kLoopbackBroadcast, sim.udpPort());
    discovery.setScanWindowMs(kShortScanMs);
    Recorder seen(discovery);
    const QList<DiscoveredModule> found = scanOnce(discovery, seen);
    const DiscoveredModule* chosen = byHost(found, "SALA2");
    ASSERT_TRUE(chosen);

    Program program;
    program.tcpPort = sim.module(1).tcpPort();
    ASSERT_TRUE(program.connectAndWait(chosen->ipAddress, chosen->hostName));
    ASSERT_TRUE(program.connected()) << (program.boxes.empty() ? "" : program.boxes[0].text);
    const QString local = program.link.localAddress();
    EXPECT_TRUE(QHostAddress(local).isLoopback()) << local.toStdString();
    EXPECT_EQ(program.link.host(), "127.0.0.3");
    EXPECT_TRUE(program.boxes.empty());

    // A store and a read over the same link reach the processor behind SALA2 only.
    const core::Bytes image = pattern(900, 7);
    const auto stored = test::runOperation(program.link, core::makeStore(program.link.info(), 3, image));
    ASSERT_TRUE(stored.outcome.completed()) << stored.outcome.reason;
    const auto read = test::runOperation(program.link, core::makeMemoryRead(program.link.info(), 3));
    ASSERT_TRUE(read.outcome.completed()) << read.outcome.reason;
    EXPECT_EQ(read.outcome.data, image);
    EXPECT_EQ(sim.module(1).processorHost()->processor().state().memories[2], image);
    EXPECT_TRUE(sim.module(0).processorHost()->processor().state().memories[2].empty());
    EXPECT_EQ(sim.module(1).processorHost()->processor().counters().send[0].completed, 1u); // the detect
}

TEST(ModuleConnection, ARefusedConnectionShowsTheSocketErrorAndGoesOffline)
{
    quint16 closedPort = 0;
    {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        closedPort = server.serverPort();
    }
    Program program;
    program.tcpPort = closedPort;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(program.connectAndWait("127.0.0.1", "SALA1"));
    EXPECT_LT(clock.elapsed(), 5500); // within the 5 s connect limit (+0.5 s)
    ASSERT_FALSE(program.boxes.empty());
    EXPECT_EQ(program.boxes[0].kind, core::MessageKind::Error);
    EXPECT_EQ(program.boxes[0].text,
              "ETHERNET error: Opening IP: 127.0.0.1. Verify if the IP is Correct and the Processor is Switched ON");
    ASSERT_FALSE(program.effects.empty());
    EXPECT_EQ(program.effects.front(), core::ConnectionEffect::GoOffline);
    EXPECT_FALSE(program.connected());
}

TEST(ModuleConnection, ASilentProcessorGivesTheCommunicationError)
{
    sim::SimOptions options = moduleOptions({{"SALA1", "M1"}});
    options.faults.stopAfterBytes = 0; // the module takes the connection; the processor never answers
    Modules sim(std::move(options));
    Program program;
    program.tcpPort = sim.module(0).tcpPort();
    ASSERT_TRUE(program.connectAndWait("127.0.0.2", "SALA1"));
    ASSERT_FALSE(program.boxes.empty());
    EXPECT_EQ(program.boxes.back().text, "ETHERNET Comunication Error. Connecting with: SALA1");
    EXPECT_EQ(program.effects.back(), core::ConnectionEffect::GoOffline);
    EXPECT_FALSE(program.connected());
}
