#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "app/devicecontroller.h"

class QTimer;

namespace kvr::gui {

class MessagePresenter;
class ModuleNetwork;

// The Ethernet module window's side of the program: scans with their progress, the modules
// found, the one chosen, connecting through it, and changes of a module's address and name.
class ModuleFinder : public QObject {
    Q_OBJECT
public:
    ModuleFinder(DeviceController& device, MessagePresenter& presenter, QObject* parent = nullptr);

    const QList<EthernetModule>& modules() const { return m_modules; }
    bool scanning() const { return m_scanning; }
    int scanProgress() const { return m_scanProgress; }
    bool changeRunning() const { return m_change != Change::None; }
    // The scan's result line: "Scaning ...", the count found or "No Devices Found".
    QString scanResult() const { return m_scanResult; }
    // Index into modules(), -1 when none is chosen.
    int selectedModule() const { return m_selectedModule; }
    void scan();
    void selectModule(int index);
    void connectSelected();
    void changeIp(const QString& address);
    void changeHostName(const QString& hostName);
    void identify();
    // Where scans go; not owned. Without one a scan finds nothing.
    void setNetwork(ModuleNetwork* network);
    static constexpr int kScanMs = 3000;
    void setScanDurationMs(int ms) { m_scanMs = ms; }
    // How long a module change may take to be answered.
    // Longer than the modules' own answer limit, so their answer (or its absence) decides.
    static constexpr int kChangeLimitMs = 4000;
    void setChangeLimitMs(int ms) { m_changeLimitMs = ms; }

signals:
    void modulesChanged();
    // A scan ended: modules() holds what it found.
    void scanFinished();
    void scanProgressChanged(int position);

private:
    void onScanTimer();
    void onModuleFound(const EthernetModule& module);
    void onChangeAnswered(bool ok);

    DeviceController& m_device;
    MessagePresenter& m_presenter;
    ModuleNetwork* m_network = nullptr;
    QList<EthernetModule> m_modules;
    bool m_scanning = false;
    int m_scanProgress = 0;
    QString m_scanResult;
    int m_selectedModule = -1;
    QTimer* m_scanTimer = nullptr;
    QTimer* m_scanTicker = nullptr;
    QTimer* m_changeLimit = nullptr;
    int m_scanMs = kScanMs;
    int m_changeLimitMs = kChangeLimitMs;
    enum class Change : uint8_t { None, Ip, HostName } m_change = Change::None;
};

} // namespace kvr::gui
