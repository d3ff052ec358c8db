#include "module_commands.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>
#include <memory>

#include "args.h"
#include "json_output.h"
#include "module_lookup.h"

namespace kvr::cli {

namespace {

int usage(const std::string& why)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", why.c_str());
    printModuleCommandsUsage();
    return kUsageError;
}

// Runs one change to its answer (or its time limit); the box text is the result.
template <typename Start> int runChange(const DiscoveryTarget& target, Start start)
{
    io::ModuleDiscovery discovery;
    aim(discovery, target);
    printBoxes(discovery);
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&discovery, &io::ModuleDiscovery::changeFinished, [&](io::ModuleChange, bool accepted) {
        ok = accepted;
        loop.quit();
    });
    if (!start(discovery)) return kFailure;
    loop.exec();
    return ok ? 0 : kFailure;
}

} // namespace

void printModuleCommandsUsage()
{
    std::fprintf(stderr,
                 "Ethernet modules (UDP port 65535 unless --port; discovery to the directed broadcast of this\n"
                 "computer's first IPv4 address unless --target; KVR_DISCOVERY_TARGET/KVR_DISCOVERY_PORT too):\n"
                 "  discover [--target ADDR] [--port P] [--json]\n"
                 "                                          one line per module: HOST=IP IDENTIFIER\n"
                 "  module set-ip ID NEW_IP [--target ADDR] [--port P]\n"
                 "  module set-name IP NAME [--port P]      NAME: at most 8 characters, sent in upper case\n"
                 "  module identify IP [--port P]           the module blinks its Ethernet LEDs\n");
}

int runModuleCommand(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || (arguments[0] != "discover" && arguments[0] != "module")) return -1;
    Args args(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    const auto targetOption = args.takeOption("--target");
    const auto portOption = args.takeOption("--port");
    const bool json = args.takeFlag("--json");
    if (args.missingValue()) return usage("--target and --port need a value");
    if (auto unknown = args.unknownOption()) return usage("unknown option " + *unknown);
    std::string error;
    const auto target = discoveryTarget(targetOption, portOption, error);
    if (!target) return usage(error);

    std::unique_ptr<QCoreApplication> ownApp;
    static int argc = 1;
    static char name[] = "kvr610-cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) ownApp = std::make_unique<QCoreApplication>(argc, argv);

    const auto& p = args.positional();
    if (arguments[0] == "discover") {
        if (!p.empty()) return usage("discover takes no arguments");
        const QList<io::DiscoveredModule> modules = scanModules(*target);
        if (json) {
            QJsonArray list;
            for (const io::DiscoveredModule& m : modules)
                list.append(QJsonObject{{"hostName", m.hostName}, {"ip", m.ipAddress}, {"identifier", m.identifier}});
            printJson(list);
            return 0;
        }
        for (const io::DiscoveredModule& m : modules)
            std::printf("%s %s\n", m.listLine().toLatin1().constData(), m.identifier.toLatin1().constData());
        if (modules.isEmpty()) std::fprintf(stderr, "kvr610-cli: no module answered\n");
        return 0;
    }
    if (p.empty()) return usage("module needs set-ip, set-name or identify");
    if (p[0] == "set-ip" && p.size() == 3) {
        const QString id = QString::fromLatin1(p[1].c_str());
        const QString address = QString::fromStdString(p[2]);
        return runChange(*target, [&](io::ModuleDiscovery& d) { return d.changeIp(id, address); });
    }
    if (p[0] == "set-name" && p.size() == 3) {
        auto hostName = core::hostNameFromEdit(p[2]);
        if (!hostName) return usage(hostName.message());
        const QString address = QString::fromStdString(p[1]);
        const QString newName = QString::fromLatin1(hostName->c_str());
        return runChange(*target, [&](io::ModuleDiscovery& d) { return d.changeHostName(address, newName); });
    }
    if (p[0] == "identify" && p.size() == 2) {
        io::ModuleDiscovery discovery;
        aim(discovery, *target);
        printBoxes(discovery);
        return discovery.identify(QString::fromStdString(p[1])) ? 0 : kFailure;
    }
    return usage("wrong arguments for module " + p[0]);
}

} // namespace kvr::cli
