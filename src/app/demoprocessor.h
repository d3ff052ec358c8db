#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

#include "util/result.h"

namespace kvr::gui {

class Application;
class UdpModuleNetwork;

// The virtual processor of `kvr610 --demo`: kvr610-sim started on loopback with a state folder
// under the user's data folder (so its memories survive), stopped when the program ends.
class DemoProcessor : public QObject {
    Q_OBJECT
public:
    // What the virtual processor is started with.
    struct Options {
        // "HOSTNAME,ID" of each emulated Ethernet module.
        QStringList modules{QStringLiteral("KVR-DEMO,0.32.74.1.2.3")};
        // Empty: "demo-processor" in the user's data folder.
        QString stateFolder;
        // 0: unpaced; otherwise every byte paced as a wire of this rate.
        int baud = 0;
    };

    explicit DemoProcessor(QString simulatorPath, QObject* parent = nullptr);
    ~DemoProcessor() override;

    // Where the program finds the simulator: next to its own build output.
    static QString defaultSimulatorPath();

    core::Status start() { return start(Options{}); }
    core::Status start(const Options& options);
    void stop();
    // Points the program's Ethernet discovery at the simulated module.
    void aimDiscovery(Application& app);

    QString stateFolder() const { return m_stateFolder; }
    // "tcp 127.0.0.1:PORT", "module HOST ID 127.0.0.N:PORT" lines printed by the simulator.
    QStringList endpoints() const { return m_endpoints; }

private:
    QString m_path;
    QString m_stateFolder;
    QProcess m_process;
    QStringList m_endpoints;
    UdpModuleNetwork* m_finder = nullptr;
};

} // namespace kvr::gui
