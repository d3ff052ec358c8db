#pragma once

#include <QObject>
#include <QString>

namespace kvr::gui {

struct EthernetModule;

// Finds the processor's Ethernet modules and manages them. The program's window talks to this;
// what goes over the network (or to a virtual module) is the implementation's business.
class ModuleNetwork : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ModuleNetwork() override = default;

    // Starts a scan; every module of this kind of processor that answers is reported once.
    virtual void scan() = 0;
    // The scan window closed: later answers are not reported.
    virtual void stopScan() = 0;
    virtual void identify(const EthernetModule& module) = 0;
    // Each change ends with changeAnswered (false also when no answer came in time).
    virtual void changeIp(const EthernetModule& module, const QString& address) = 0;
    virtual void changeHostName(const EthernetModule& module, const QString& hostName) = 0;

signals:
    void moduleFound(const kvr::gui::EthernetModule& module);
    void changeAnswered(bool ok);
    // The scan could not start (no network address of this machine); the text is the box.
    void scanFailed(const QString& text);
};

// A fixed list of modules: the virtual processor of the demonstration, or a test's.
class FixedModuleNetwork final : public ModuleNetwork {
    Q_OBJECT
public:
    using ModuleNetwork::ModuleNetwork;
    void setModules(QList<EthernetModule> modules);
    void scan() override;
    void stopScan() override {}
    void identify(const EthernetModule&) override {}
    void changeIp(const EthernetModule& module, const QString& address) override;
    void changeHostName(const EthernetModule& module, const QString& hostName) override;

private:
    QList<EthernetModule> m_modules;
};

} // namespace kvr::gui
