#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

#include "util/result.h"

namespace kvr::gui {

class Application;
class NetworkModuleFinder;

// The virtual processor of `kvr610 --demo`: kvr610-sim started on loopback with a state folder
// under the user's data folder (so its memories survive), stopped when the program ends.
class DemoProcessor : public QObject {
    Q_OBJECT
public:
    explicit DemoProcessor(QString simulatorPath, QObject* parent = nullptr);
    ~DemoProcessor() override;

    core::Status start();
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
    NetworkModuleFinder* m_finder = nullptr;
};

} // namespace kvr::gui
