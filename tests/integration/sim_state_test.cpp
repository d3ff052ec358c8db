#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "sim/simulator.h"
#include "sim/statestore.h"
#include "sim_support.h"

using namespace kvr::sim;
using simtest::Bytes;
using simtest::SendResult;

TEST(SimulatorState, EveryPartSurvivesSaveAndLoad)
{
    QTemporaryDir folder;
    StateStore store(folder.path());
    ProcessorState state = defaultProcessorState(45);
    state.memories[0] = simtest::makeImage(300, 1);
    state.memories[17] = simtest::makeImage(49, 2);
    state.activeMemory = 18;
    state.keyboardLock = 0xFF;
    state.password = {1, 3, 2, 2, 3, 1, 0xFF};
    state.protectedMemories[4] = state.protectedMemories[6] = true;
    state.operatingSystem = {0x00, 0x05, 44, 0xAB, 0xCD};
    ASSERT_TRUE(store.saveAll(state).ok());

    auto loaded = store.load();
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded->memories, state.memories);
    EXPECT_EQ(loaded->activeMemory, 18);
    EXPECT_EQ(loaded->dspVersion, 45);
    EXPECT_EQ(loaded->keyboardLock, 0xFF);
    EXPECT_EQ(loaded->password, state.password);
    EXPECT_EQ(loaded->protectedMemories, state.protectedMemories);
    EXPECT_EQ(loaded->operatingSystem, state.operatingSystem);

    // Only the finished files: nothing left over from the atomic writes, no file for an empty memory.
    const QStringList files = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, (QStringList{"memory-01.bin", "memory-18.bin", "os.bin", "settings.txt"}));

    state.memories[0].clear();
    ASSERT_TRUE(store.saveMemory(state, 1).ok());
    EXPECT_FALSE(QFile::exists(folder.filePath("memory-01.bin")));
}

TEST(SimulatorState, AnEmptyFolderGivesTheDefaults)
{
    QTemporaryDir folder;
    auto loaded = StateStore(folder.filePath("new/inner")).load();
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_EQ(loaded->dspVersion, 47);
    EXPECT_EQ(loaded->activeMemory, 1);
    EXPECT_EQ(loaded->operatingSystem, defaultOperatingSystem(47));
    for (const auto& memory : loaded->memories)
        EXPECT_TRUE(memory.empty());
}

TEST(SimulatorState, ABadSettingsLineIsReportedWithItsPlace)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("settings.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("version 47\nactive 19\n");
    file.close();
    auto loaded = StateStore(folder.path()).load();
    ASSERT_FALSE(loaded.ok());
    EXPECT_NE(loaded.message().find("line 2"), std::string::npos) << loaded.message();
}

TEST(SimulatorState, ARestartedSimulatorKnowsWhatWasStored)
{
    QTemporaryDir folder;
    const Bytes image = simtest::makeImage(150, 7);
    {
        SimOptions options;
        options.tcp = true;
        options.stateFolder = folder.path();
        Simulator simulator(options);
        ASSERT_TRUE(simulator.start().ok());
        simulator.host().setLogSink([](const QString&) {});
        simtest::TcpWire wire(simulator.tcpPort());
        EXPECT_EQ(simtest::runSend(wire, 3, 12, image).kind, SendResult::Kind::Completed);
        EXPECT_EQ(simtest::runSend(wire, 7, 12, {}).kind, SendResult::Kind::Completed);
        EXPECT_EQ(simtest::runSend(wire, 5, 0, {0xFF}).kind, SendResult::Kind::Completed);
    }
    SimOptions options;
    options.tcp = true;
    options.stateFolder = folder.path();
    options.dspVersion = 46;
    options.protectedMemories = std::vector<int>{12};
    Simulator simulator(options);
    ASSERT_TRUE(simulator.start().ok());
    const ProcessorState& state = simulator.processor().state();
    EXPECT_EQ(state.memories[11], image);
    EXPECT_EQ(state.activeMemory, 12);
    EXPECT_EQ(state.keyboardLock, 0xFF);
    EXPECT_EQ(state.dspVersion, 46);
    EXPECT_EQ(state.operatingSystem[2], 46); // the running system's image says the same version
    EXPECT_TRUE(state.protectedMemories[11]);
}

TEST(SimulatorOptions, EveryOptionIsRead)
{
    auto options = parseSimOptions({"--tcp",
                                    "127.0.0.2:1001",
                                    "--pty",
                                    "--state=/tmp/x",
                                    "--version",
                                    "46",
                                    "--protect",
                                    "5,7",
                                    "--refuse-number",
                                    "--baud",
                                    "38400",
                                    "--delay",
                                    "20",
                                    "--stop-after",
                                    "100",
                                    "--drop-after=50",
                                    "--wrong-byte",
                                    "long:0x12@3",
                                    "--wrong-byte",
                                    "begin",
                                    "--status-full",
                                    "2",
                                    "--status-empty",
                                    "3,4",
                                    "--silence-timeout",
                                    "900"});
    ASSERT_TRUE(options.ok()) << options.message();
    EXPECT_TRUE(options->tcp);
    EXPECT_EQ(options->tcpHost, "127.0.0.2");
    EXPECT_EQ(options->tcpPort, 1001);
    EXPECT_TRUE(options->pty);
    EXPECT_EQ(options->stateFolder, "/tmp/x");
    EXPECT_EQ(options->dspVersion, uint8_t(46));
    EXPECT_EQ(options->protectedMemories, (std::vector<int>{5, 7}));
    EXPECT_TRUE(options->faults.refuseNumber);
    EXPECT_EQ(options->baud, 38400);
    EXPECT_EQ(options->delayMs, 20);
    EXPECT_EQ(options->faults.stopAfterBytes, uint64_t(100));
    EXPECT_EQ(options->faults.dropAfterBytes, uint64_t(50));
    ASSERT_EQ(options->faults.wrongBytes.size(), 2u);
    EXPECT_EQ(options->faults.wrongBytes[0].value, uint8_t(0x12));
    EXPECT_EQ(options->faults.wrongBytes[0].command, uint8_t(3));
    EXPECT_TRUE(options->faults.statusFull[1]);
    EXPECT_TRUE(options->faults.statusEmpty[2] && options->faults.statusEmpty[3]);
    EXPECT_EQ(options->silenceTimeoutMs, 900);

    auto portOnly = parseSimOptions({"--tcp", "0"});
    ASSERT_TRUE(portOnly.ok());
    EXPECT_EQ(portOnly->tcpHost, "127.0.0.1");
    auto noProtection = parseSimOptions({"--protect", ""});
    ASSERT_TRUE(noProtection.ok());
    EXPECT_TRUE(noProtection->protectedMemories->empty());
}

TEST(SimulatorOptions, BadValuesAreRefusedWithAReason)
{
    const std::vector<QStringList> bad = {
        {"--frobnicate"},
        {"--tcp", "127.0.0.1:70000"},
        {"--tcp"},
        {"--version", "256"},
        {"--protect", "0"},
        {"--protect", "5,19"},
        {"--baud", "0"},
        {"--delay", "-1"},
        {"--wrong-byte", "x"},
        {"--status-full", "3", "--status-empty", "3"},
        {"--pty=1"},
        {"--stop-after", "a"},
    };
    for (const QStringList& arguments : bad) {
        auto options = parseSimOptions(arguments);
        EXPECT_FALSE(options.ok()) << arguments.join(' ').toStdString();
        if (!options.ok()) {
            EXPECT_FALSE(options.message().empty());
        }
    }
}
