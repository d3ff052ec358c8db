#pragma once

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "sim/processorhost.h"
#include "sim/simoptions.h"
#include "sim/statestore.h"
#include "util/result.h"

namespace kvr::sim {

class TcpTransport;
class PtyTransport;
class ModuleNetwork;
class EthernetModule;

// A whole virtual processor as the options describe it: state folder, processor, transports; or,
// with modules, the Ethernet modules with a processor behind each (state in module-1, module-2,
// ... of the state folder). Runs in the caller's event loop, so a test can host it in-process.
class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(SimOptions options, QObject* parent = nullptr);
    ~Simulator() override;

    core::Status start();

    // "tcp 127.0.0.1:PORT" and "pty /dev/pts/N", or the modules' lines, as printed at start.
    QStringList endpoints() const;
    quint16 tcpPort() const;
    QString ptyPath() const;
    QString stateFolder() const { return m_store ? m_store->folder() : QString(); }

    ProcessorHost& host() { return *m_host; }
    VirtualProcessor& processor() { return m_host->processor(); }

    // With modules: the network and the modules in their order.
    ModuleNetwork* moduleNetwork() const { return m_modules; }
    EthernetModule* module(size_t index) const;
    quint16 discoveryPort() const;

    // Log lines go to stderr unless a sink is set (tests collect them).
    void setLogSink(std::function<void(const QString&)> sink) { m_logSink = std::move(sink); }

private:
    core::Result<ProcessorHost*> makeHost(const QString& folder, std::unique_ptr<StateStore>& store);
    core::Status startModules(const QString& folder);
    void log(const QString& line) const;

    SimOptions m_options;
    std::unique_ptr<QTemporaryDir> m_temporaryFolder;
    std::unique_ptr<StateStore> m_store;
    ProcessorHost* m_host = nullptr;
    TcpTransport* m_tcp = nullptr;
    PtyTransport* m_pty = nullptr;
    ModuleNetwork* m_modules = nullptr;
    std::vector<std::unique_ptr<StateStore>> m_moduleStores;
    std::function<void(const QString&)> m_logSink;
};

} // namespace kvr::sim
