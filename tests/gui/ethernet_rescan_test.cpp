#include <QLabel>
#include <QPushButton>

#include "devicefixture.h"
#include "sim/tcptransport.h"

namespace kvr::gui::test {
namespace {

using EthernetRescan = DeviceTest;

// Connected over Ethernet, a new scan that finds no module leaves the program offline throughout:
// the connection closed, the status no longer green, the device controls off.
TEST_F(EthernetRescan, FindingNoModuleEndsTheConnection)
{
    connectEthernet();
    auto* server = simulator->findChild<sim::TcpTransport*>();
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(waitFor([&] { return server->hasClient(); }));

    finder.setModules({});
    auto* ethernet = windows->ethernet();
    ethernet->show();
    find<QPushButton>(ethernet, "ScanB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->modules().scanning(); }));
    EXPECT_EQ(find<QLabel>(ethernet, "Label2")->text(), QStringLiteral("No Devices Found"));

    EXPECT_EQ(app->device().connectionCode(), ConnectionCode::Offline);
    EXPECT_EQ(app->device().statusText(), QStringLiteral("Status: Offline"));
    EXPECT_FALSE(app->device().statusConnected());
    EXPECT_FALSE(app->device().deviceControlsEnabled());
    EXPECT_EQ(find<QLabel>(ethernet, "StatusB")->text(), QStringLiteral("Status: Offline"));
    EXPECT_TRUE(waitFor([&] { return !server->hasClient(); })) << "the module still has the connection";
}

} // namespace
} // namespace kvr::gui::test
