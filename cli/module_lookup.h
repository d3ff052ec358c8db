#pragma once

// Finding modules for the command-line tool: where the discovery goes (options, then the
// environment, then the machine's own directed broadcast) and a scan run to its end. Header-only,
// as the device commands and the module commands both use it.

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "io/modulediscovery.h"
#include "util/numtext.h"

namespace kvr::cli {

struct DiscoveryTarget {
    QString address; // empty: the machine's directed broadcast
    quint16 port = core::discovery::kPort;
};

// --target/--port, else KVR_DISCOVERY_TARGET/KVR_DISCOVERY_PORT, else the defaults.
inline std::optional<DiscoveryTarget> discoveryTarget(const std::optional<std::string>& target,
                                                      const std::optional<std::string>& port, std::string& error)
{
    DiscoveryTarget t;
    std::optional<std::string> address = target;
    if (!address)
        if (const char* env = std::getenv("KVR_DISCOVERY_TARGET"); env && *env) address = env;
    if (address) {
        if (!core::isDottedIpv4(*address)) {
            error = "the discovery target must be an IPv4 address, not '" + *address + "'";
            return std::nullopt;
        }
        t.address = QString::fromStdString(*address);
    }
    std::optional<std::string> portText = port;
    if (!portText)
        if (const char* env = std::getenv("KVR_DISCOVERY_PORT"); env && *env) portText = env;
    if (portText) {
        const auto value = core::parseInteger(*portText);
        if (!value || *value < 1 || *value > 65535) {
            error = "bad discovery port '" + *portText + "'";
            return std::nullopt;
        }
        t.port = quint16(*value);
    }
    return t;
}

inline void aim(io::ModuleDiscovery& discovery, const DiscoveryTarget& target)
{
    discovery.setTarget(target.address, target.port);
}

inline void printBoxes(io::ModuleDiscovery& discovery)
{
    QObject::connect(&discovery, &io::ModuleDiscovery::messageRequested, [](const core::Message& m) {
        std::fprintf(m.kind == core::MessageKind::Information ? stdout : stderr, "%s\n", m.text.c_str());
    });
    QObject::connect(&discovery, &io::ModuleDiscovery::refused,
                     [](const QString& r) { std::fprintf(stderr, "kvr610-cli: %s\n", qPrintable(r)); });
}

// One whole scan (3 s); its boxes go to stderr.
inline QList<io::DiscoveredModule> scanModules(const DiscoveryTarget& target)
{
    io::ModuleDiscovery discovery;
    aim(discovery, target);
    printBoxes(discovery);
    QEventLoop loop;
    QList<io::DiscoveredModule> found;
    QObject::connect(&discovery, &io::ModuleDiscovery::scanFinished, [&](const QList<io::DiscoveredModule>& modules) {
        found = modules;
        loop.quit();
    });
    if (discovery.scan()) loop.exec();
    return found;
}

} // namespace kvr::cli
