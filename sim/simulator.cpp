#include "sim/simulator.h"

#include <QDateTime>
#include <QDir>
#include <QHostAddress>
#include <cstdio>

#include "sim/modulenetwork.h"

#include "sim/ptytransport.h"
#include "sim/tcptransport.h"

namespace kvr::sim {

Simulator::Simulator(SimOptions options, QObject* parent) : QObject(parent), m_options(std::move(options)) {}

Simulator::~Simulator()
{
    // Transports first, so none of them reports to a host that is already gone.
    delete m_tcp;
    delete m_pty;
    delete m_modules;
    delete m_host;
}

core::Result<ProcessorHost*> Simulator::makeHost(const QString& folder, std::unique_ptr<StateStore>& store)
{
    store = std::make_unique<StateStore>(folder);
    auto loaded = store->load(m_options.dspVersion.value_or(kDefaultDspVersion));
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
    if (auto saved = store->saveAll(state); !saved) return core::Error{saved.message()};

    VirtualProcessor::Settings processorSettings;
    processorSettings.faults = m_options.faults;
    processorSettings.silenceTimeoutMs = m_options.silenceTimeoutMs;
    auto* host = new ProcessorHost(std::move(state), processorSettings, {m_options.baud, m_options.delayMs}, this);
    host->setStore(store.get());
    return host;
}

core::Status Simulator::start()
{
    QString folder = m_options.stateFolder;
    if (folder.isEmpty()) {
        m_temporaryFolder = std::make_unique<QTemporaryDir>();
        if (!m_temporaryFolder->isValid()) return core::Error{"cannot create a temporary state folder"};
        folder = m_temporaryFolder->path();
    }
    if (!m_options.modules.empty()) return startModules(folder);

    auto host = makeHost(folder, m_store);
    if (!host) return core::Error{host.message()};
    m_host = *host;
    if (m_logSink) m_host->setLogSink(m_logSink);

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

core::Status Simulator::startModules(const QString& folder)
{
    m_modules = new ModuleNetwork(this);
    if (auto listening = m_modules->listen(m_options.discoveryPort); !listening) return listening;
    quint16 tcpPort = m_options.tcpPort;
    for (size_t i = 0; i < m_options.modules.size(); ++i) {
        const ModuleSpec& wanted = m_options.modules[i];
        ProcessorHost* host = nullptr;
        if (!wanted.foreign) {
            m_moduleStores.emplace_back();
            auto made = makeHost(QDir(folder).filePath(QStringLiteral("module-%1").arg(i + 1)), m_moduleStores.back());
            if (!made) return core::Error{made.message()};
            host = *made;
        }
        auto* module = new EthernetModule(
            {wanted.hostName, wanted.identifier, wanted.foreign, m_modules->udpPort(), tcpPort, m_options.ignoreChanges},
            host);
        module->setLogSink([this](const QString& line) { log(line); });
        if (host) {
            // The processor's lines name the module it stands behind.
            host->setLogSink([this, module](const QString& line) {
                const qsizetype cut = line.indexOf(QLatin1Char(' '), line.indexOf(QLatin1Char(' ')) + 1) + 1;
                const QString who =
                    QStringLiteral("module %1 %2 ").arg(module->hostName(), module->address().toString());
                if (m_logSink)
                    m_logSink(line.left(cut) + who + line.mid(cut));
                else
                    std::fprintf(stderr, "%s\n", qPrintable(line.left(cut) + who + line.mid(cut)));
            });
        }
        if (auto added = m_modules->add(module); !added) {
            if (tcpPort != 0 && tcpPort < 1024)
                return core::Error{added.message() + " (ports below 1024 need privileges: give --tcp PORT)"};
            return added;
        }
        if (host && tcpPort == 0) tcpPort = module->tcpPort(); // the port the system picked, for all
    }
    return {};
}

void Simulator::log(const QString& text) const
{
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")) + text;
    if (m_logSink) return m_logSink(line);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

EthernetModule* Simulator::module(size_t index) const
{
    return m_modules && index < m_modules->modules().size() ? m_modules->modules()[index] : nullptr;
}

quint16 Simulator::discoveryPort() const
{
    return m_modules ? m_modules->udpPort() : 0;
}

QStringList Simulator::endpoints() const
{
    if (m_modules) return m_modules->endpoints();
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
