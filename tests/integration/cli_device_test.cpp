#include <gtest/gtest.h>

#include "../../cli/device_commands.cpp" // the command-line tool has no library of its own
#include "fakewire.h"

using kvr::cli::runDeviceCommand;
using kvr::test::FakeProcessor;

namespace {

std::string tcp(const kvr::test::FakeTcpProcessor& server)
{
    return "tcp:127.0.0.1:" + std::to_string(server.port());
}

} // namespace

TEST(CliDeviceCommands, RunsOperationsAndReportsTheirOutcome)
{
    FakeProcessor proc;
    kvr::test::FakeTcpProcessor server(proc);
    proc.memories[4] = {1, 2};
    EXPECT_EQ(runDeviceCommand({"version", "--link", tcp(server)}), 0);
    EXPECT_EQ(runDeviceCommand({"activate", "4", "--link", tcp(server)}), 0);
    EXPECT_EQ(proc.activeMemory, 4);
    EXPECT_EQ(runDeviceCommand({"--link", tcp(server), "password", "123321", "--active"}), -1); // command first
    EXPECT_EQ(runDeviceCommand({"password", "--link", tcp(server), "123321", "--active"}), 0);
    EXPECT_EQ(proc.password, (kvr::core::Bytes{1, 2, 3, 3, 2, 1, 0xFF}));
    EXPECT_EQ(runDeviceCommand({"lock", "--link", tcp(server)}), 0);
    EXPECT_EQ(proc.keyboard, 0xFF);
    EXPECT_EQ(runDeviceCommand({"activate", "9", "--link", tcp(server)}), 4); // empty memory: refused
}

TEST(CliDeviceCommands, RejectsBadArguments)
{
    EXPECT_EQ(runDeviceCommand({"open", "x.kv4"}), -1);
    EXPECT_EQ(runDeviceCommand({"reset"}), 2);                                             // no link
    EXPECT_EQ(runDeviceCommand({"activate", "19", "--link", "usb"}), 2);                   // memories 1..18
    EXPECT_EQ(runDeviceCommand({"password", "124321", "--link", "usb"}), 2);               // keys 1..3
    EXPECT_EQ(runDeviceCommand({"reset", "--link", "tcp:127.0.0.1:99999"}), 2);            // bad port
    EXPECT_EQ(runDeviceCommand({"store", "3", "/nonexistent/a.kv4", "--link", "usb"}), 1); // nothing sent
    EXPECT_EQ(runDeviceCommand({"read", "0", "out.kv4", "--link", "usb"}), 2);
}

TEST(CliDeviceCommands, UnreachableProcessorFails)
{
    quint16 port = 0;
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        port = s.serverPort();
    }
    EXPECT_EQ(runDeviceCommand({"reset", "--link", "tcp:127.0.0.1:" + std::to_string(port)}), 1);
}

TEST(CliDeviceCommands, OptionErrorsAreUsageErrorsWithTheirMessage)
{
    struct Row {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Row rows[] = {
        {{"reset", "--link"}, "kvr610-cli: --link needs a value\n"},
        {{"version", "--link", "usb", "--target"}, "kvr610-cli: --target needs a value\n"},
        {{"reset", "--link", "usb", "--force"}, "kvr610-cli: unknown option --force\n"},
        {{"reset", "--link="}, "kvr610-cli: --link is required\n"},
        {{"reset", "--link=bogus"}, "kvr610-cli: bad --link bogus\n"},
        {{"reset", "now", "--link", "usb"}, "kvr610-cli: wrong arguments for reset\n"},
    };
    for (const Row& row : rows) {
        testing::internal::CaptureStderr();
        const int status = runDeviceCommand(row.arguments);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 2) << row.message;
        EXPECT_EQ(err.substr(0, err.find('\n') + 1), row.message);
    }
}
