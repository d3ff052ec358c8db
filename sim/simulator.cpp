#include "sim/simulator.h"

#include <QHostAddress>

#include "sim/ptytransport.h"
#include "sim/tcptransport.h"

namespace kvr::sim {

Simulator::Simulator(SimOptions options, QObject* parent) : QObject(parent), m_options(std::move(options)) {}

Simulator::~Simulator()
{
    // Transports first, so none of them reports to a host that is already gone.
    delete m_tcp;
    delete m_pty;
    delete m_host;
}

core::Status Simulator::start()
{
    QString folder = m_options.stateFolder;
    if (folder.isEmpty()) {
        m_temporaryFolder = std::make_unique<QTemporaryDir>();
        if (!m_temporaryFolder->isValid()) return core::Error{"cannot create a temporary state folder"};
        folder = m_temporaryFolder->path();
    }
    m_store = std::make_unique<StateStore>(folder);
    auto loaded = m_store->load(m_options.dspVersion.value_or(kDefaultDspVersion));
    if (!loaded) return core::Error{loaded.message()};
    ProcessorState state = std::move(loaded.value());
    if (m_options.dspVersion) {
        // The version is the running operating system's: keep its image saying the same.
        state.dspVersion = *m_options.dspVersion;
        if (state.operatingSystem.size() >= 3) state.operatingSystem[2] = *m_options.dspVersion;
    }
    if (m_options.protectedMemories) {
        state.protectedMemories = {};
        for (int memory : *m_options.protectedMemories)
            state.protectedMemories[size_t(memory - 1)] = true;
    }
    if (auto saved = m_store->saveAll(state); !saved) return saved;

    VirtualProcessor::Settings processorSettings;
    processorSettings.faults = m_options.faults;
    processorSettings.silenceTimeoutMs = m_options.silenceTimeoutMs;
    m_host = new ProcessorHost(std::move(state), processorSettings, {m_options.baud, m_options.delayMs}, this);
    m_host->setStore(m_store.get());

    const bool tcp = m_options.tcp || !m_options.pty;
    if (tcp) {
        QHostAddress address;
        if (!address.setAddress(m_options.tcpHost))
            return core::Error{"--tcp: '" + m_options.tcpHost.toStdString() + "' is not an IP address"};
        m_tcp = new TcpTransport(this);
        if (auto listening = m_tcp->listen(address, m_options.tcpPort); !listening) return listening;
        m_host->attach(m_tcp);
    }
    if (m_options.pty) {
        m_pty = new PtyTransport(this);
        if (auto opened = m_pty->open(); !opened) return opened;
        m_host->attach(m_pty);
    }
    return {};
}

QStringList Simulator::endpoints() const
{
    QStringList lines;
    if (m_tcp) lines << QStringLiteral("tcp %1:%2").arg(m_tcp->address().toString()).arg(m_tcp->port());
    if (m_pty) lines << QStringLiteral("pty %1").arg(m_pty->path());
    return lines;
}

quint16 Simulator::tcpPort() const
{
    return m_tcp ? m_tcp->port() : 0;
}

QString Simulator::ptyPath() const
{
    return m_pty ? m_pty->path() : QString();
}

} // namespace kvr::sim
