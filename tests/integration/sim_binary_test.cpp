#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "sim_support.h"

using simtest::Bytes;
using simtest::SendResult;

TEST(SimulatorProgram, PrintsOneLinePerTransport)
{
    simtest::SimProcess sim({"--tcp", "127.0.0.1:0", "--pty"}, 2);
    ASSERT_EQ(sim.endpoints.size(), 2);
    EXPECT_TRUE(QRegularExpression("^tcp 127\\.0\\.0\\.1:[1-9][0-9]*$").match(sim.endpoints[0]).hasMatch())
        << sim.endpoints[0].toStdString();
    EXPECT_TRUE(QRegularExpression("^pty /dev/pts/[0-9]+$").match(sim.endpoints[1]).hasMatch())
        << sim.endpoints[1].toStdString();
    simtest::PtyWire pty(sim.endpoints[1].mid(4));
    EXPECT_EQ(simtest::runSend(pty, 0, 0, {}).kind, SendResult::Kind::Completed);
}

TEST(SimulatorProgram, StoredMemoriesSurviveARestart)
{
    QTemporaryDir folder;
    const Bytes image = simtest::makeImage(300, 42);
    QString log;
    {
        simtest::SimProcess sim({"--tcp", "127.0.0.1:0", "--state", folder.path()});
        ASSERT_NE(sim.tcpPort(), 0);
        simtest::TcpWire wire(sim.tcpPort());
        EXPECT_EQ(simtest::runSend(wire, 3, 12, image).kind, SendResult::Kind::Completed);
        const Bytes password = {2, 2, 1, 1, 3, 3, 0x00};
        EXPECT_EQ(simtest::runSend(wire, 6, 0, password).kind, SendResult::Kind::Completed);
        log = sim.stop();
    }
    EXPECT_TRUE(log.contains(QStringLiteral(" tcp send command=3 (store) memory=12 length=300 completed: M=298 ")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(" tcp send command=6 (password) memory=0 length=7 completed: "
                                            "password keys 2 2 1 1 3 3, inactive")));

    simtest::SimProcess sim({"--tcp", "127.0.0.1:0", "--state", folder.path()});
    simtest::TcpWire wire(sim.tcpPort());
    SendResult read = simtest::runSend(wire, 4, 12, {});
    EXPECT_EQ(read.status, 0x0D);
    ASSERT_EQ(read.kind, SendResult::Kind::Completed);
    auto received = simtest::runReceive(wire);
    ASSERT_TRUE(received.ok) << received.why;
    EXPECT_EQ(received.data, image);
}

TEST(SimulatorProgram, BaudRatePacesAStoreToItsWireTime)
{
    simtest::SimProcess sim({"--tcp", "127.0.0.1:0", "--baud", "38400"});
    simtest::TcpWire wire(sim.tcpPort());
    const Bytes image = simtest::makeImage(640, 5);
    QElapsedTimer clock;
    clock.start();
    SendResult store = simtest::runSend(wire, 3, 1, image);
    const qint64 elapsedMs = clock.elapsed();
    ASSERT_EQ(store.kind, SendResult::Kind::Completed);
    // Lock-step, so every byte's wire time adds up: the program's START, COMMAND, number twice,
    // two length bytes, 640 data bytes and END (647), and the processor's START, COMMAND, number,
    // status, length, ten block answers and END (16); ten bits a byte at 38400 baud.
    const double wireMs = (647.0 + 16.0) * 10.0 / 38400.0 * 1000.0;                    // 172.66 ms
    EXPECT_GE(double(elapsedMs), wireMs) << "paced store took " << elapsedMs << " ms"; // no tolerance: a floor
    EXPECT_LT(double(elapsedMs), wireMs + 1500.0) << "pacing far slower than the wire";
}

TEST(SimulatorProgram, ABadOptionGivesTheUsageAndExitCodeTwo)
{
    QProcess process;
    process.start(QStringLiteral(KVR_SIM_PATH), {"--wrong-byte", "nowhere"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2);
    const QString text = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_TRUE(text.contains(QStringLiteral("unknown step"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("usage: kvr610-sim")));
}
