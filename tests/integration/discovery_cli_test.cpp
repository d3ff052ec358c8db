// kvr610-sim with Ethernet modules and kvr610-cli's module commands, as separate programs. The
// modules sit on 127.0.0.x; every discovery goes to 127.255.255.255 on a port the system picked.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "sim/simoptions.h"
#include "sim_support.h"

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

QProcess* startCli(const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    auto* process = new QProcess;
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(KVR_CLI_PATH), arguments);
    return process;
}

CliRun finish(QProcess* process)
{
    CliRun run;
    if (process->waitForFinished(20000)) run.exitCode = process->exitCode();
    run.out = QString::fromLocal8Bit(process->readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process->readAllStandardError());
    delete process;
    return run;
}

CliRun cli(const QStringList& arguments)
{
    return finish(startCli(arguments));
}

// The simulator's lines: "discovery 127.255.255.255:PORT", then one per module.
struct ModuleSim {
    simtest::SimProcess process;
    QString udpPort;
    QString tcpPort;

    explicit ModuleSim(const QStringList& modules, int count)
        : process(QStringList{"--discovery-port", "0", "--tcp", "0"} + modules, 1 + count)
    {
        if (process.endpoints.size() < 1 + count) return;
        udpPort = process.endpoints[0].section(QLatin1Char(':'), -1);
        tcpPort = process.endpoints[1].section(QLatin1Char(':'), -1);
    }
};

} // namespace

TEST(ModuleSimulatorProgram, PrintsOneLinePerModuleInAddressOrder)
{
    ModuleSim sim({"--module", "SALA1,0.32.74.1.2.3", "--foreign-module", "OTHER,F1", "--module", "FOH/L,M2"}, 3);
    ASSERT_EQ(sim.process.endpoints.size(), 4) << sim.process.stop().toStdString();
    EXPECT_TRUE(sim.process.endpoints[0].startsWith("discovery 127.255.255.255:"));
    EXPECT_NE(sim.udpPort.toInt(), 0);
    EXPECT_EQ(sim.process.endpoints[1], "module SALA1 0.32.74.1.2.3 127.0.0.2:" + sim.tcpPort);
    EXPECT_EQ(sim.process.endpoints[2], "foreign-module OTHER F1 127.0.0.3");
    EXPECT_EQ(sim.process.endpoints[3], "module FOH/L M2 127.0.0.4:" + sim.tcpPort); // one port for all
}

TEST(ModuleSimulatorProgram, ModuleOptions)
{
    using kvr::sim::parseSimOptions;
    auto options = parseSimOptions({"--module", "A,1", "--foreign-module", "B,2", "--module", "C/D,x y"});
    ASSERT_TRUE(options.ok()) << options.message();
    ASSERT_EQ(options->modules.size(), 3u);
    EXPECT_EQ(options->modules[1].hostName, "B");
    EXPECT_TRUE(options->modules[1].foreign);
    EXPECT_EQ(options->modules[2].hostName, "C/D");
    EXPECT_EQ(options->modules[2].identifier, "x y");
    EXPECT_EQ(options->tcpPort, 1001);
    EXPECT_EQ(options->discoveryPort, 65535);

    options = parseSimOptions({"--module", "A,1", "--tcp", "4001", "--discovery-port", "4002", "--ignore-changes"});
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options->tcpPort, 4001);
    EXPECT_EQ(options->discoveryPort, 4002);
    EXPECT_TRUE(options->ignoreChanges);

    for (const QStringList& bad :
         {QStringList{"--module", "A"}, QStringList{"--module", ",1"}, QStringList{"--module", "A,"},
          QStringList{"--module", "A,1/2"}, QStringList{"--module", "A,1", "--module", "B,1"},
          QStringList{"--module", "A,1", "--pty"}, QStringList{"--module", "A,1", "--tcp", "127.0.0.1:4001"},
          QStringList{"--ignore-changes"}, QStringList{"--discovery-port", "65536"}})
        EXPECT_FALSE(parseSimOptions(bad).ok()) << bad.join(' ').toStdString();
}

TEST(ModuleCli, DiscoverListsTheKvr610Modules)
{
    ModuleSim sim({"--module", "SALA1,0.32.74.1.2.3", "--foreign-module", "OTHER,F1", "--module", "FOH/L,M2",
                   "--module", "MON,M3"},
                  4);
    ASSERT_FALSE(sim.udpPort.isEmpty());
    const CliRun run = cli({"discover", "--target", "127.255.255.255", "--port", sim.udpPort});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"FOH/L=127.0.0.4 M2", "MON=127.0.0.5 M3", "SALA1=127.0.0.2 0.32.74.1.2.3"}));
}

TEST(ModuleCli, ConfigureTheModuleThenUseTheProcessorBehindIt)
{
    ModuleSim sim({"--module", "SALA1,M1", "--module", "SALA2,M2"}, 2);
    ASSERT_FALSE(sim.udpPort.isEmpty());
    const QStringList port{"--port", sim.udpPort};
    const QStringList target = QStringList{"--target", "127.255.255.255"} + port;

    CliRun run = cli(QStringList{"module", "set-ip", "M2", "127.0.0.52"} + target);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "IP Changed Successfully\n");
    run = cli(QStringList{"module", "set-name", "127.0.0.52", "stage"} + port);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Host Name Changed Successfully\n");
    EXPECT_EQ(cli(QStringList{"module", "identify", "127.0.0.52"} + port).exitCode, 0);

    run = cli(QStringList{"module", "set-name", "127.0.0.52", "TOOLONGNAME"} + port);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("The host name holds at most 8 characters.")) << run.err.toStdString();
    run = cli(QStringList{"module", "set-ip", QString(90, 'I'), "127.0.0.53"} + target);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("The module identifier is too long")) << run.err.toStdString();
    EXPECT_EQ(cli({"discover", "--target", "127.255.255.255", "--port", "0"}).exitCode, 2);

    // The renamed module by name, its target from the environment; and a name nobody has. Both
    // scan at once.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KVR_DISCOVERY_TARGET", "127.255.255.255");
    environment.insert("KVR_DISCOVERY_PORT", sim.udpPort);
    QProcess* version = startCli({"version", "--link", "eth:STAGE:" + sim.tcpPort}, environment);
    QProcess* nobody = startCli({"version", "--link", "eth:NOBODY:" + sim.tcpPort}, environment);
    run = finish(version);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "4.7\n");
    run = finish(nobody);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("no module named NOBODY answered")) << run.err.toStdString();

    const QString log = sim.process.stop();
    EXPECT_TRUE(log.contains("module SALA2 127.0.0.3: IP address changed from 127.0.0.3 to 127.0.0.52"))
        << log.toStdString();
    EXPECT_TRUE(log.contains("module STAGE 127.0.0.52: identify from"));
    EXPECT_TRUE(log.contains("module STAGE 127.0.0.52 tcp receive command=2 (version) memory=0 length=1 completed"));
}
