#pragma once

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "sim/processorhost.h"
#include "sim/simoptions.h"
#include "sim/statestore.h"
#include "util/result.h"

namespace kvr::sim {

class TcpTransport;
class PtyTransport;

// A whole virtual processor as the options describe it: state folder, processor, transports.
// Runs in the caller's event loop, so a test can host it in-process.
class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(SimOptions options, QObject* parent = nullptr);
    ~Simulator() override;

    core::Status start();

    // "tcp 127.0.0.1:PORT" and "pty /dev/pts/N", as printed at start.
    QStringList endpoints() const;
    quint16 tcpPort() const;
    QString ptyPath() const;
    QString stateFolder() const { return m_store ? m_store->folder() : QString(); }

    ProcessorHost& host() { return *m_host; }
    VirtualProcessor& processor() { return m_host->processor(); }

private:
    SimOptions m_options;
    std::unique_ptr<QTemporaryDir> m_temporaryFolder;
    std::unique_ptr<StateStore> m_store;
    ProcessorHost* m_host = nullptr;
    TcpTransport* m_tcp = nullptr;
    PtyTransport* m_pty = nullptr;
};

} // namespace kvr::sim
