#include "app/demoprocessor.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

#include "app/application.h"
#include "app/modulefinder.h"

namespace kvr::gui {

namespace {
constexpr int kStartLimitMs = 5000;
} // namespace

DemoProcessor::DemoProcessor(QString simulatorPath, QObject* parent) : QObject(parent), m_path(std::move(simulatorPath))
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setReadChannel(QProcess::StandardOutput);
#ifdef Q_OS_LINUX
    // The virtual processor ends with the program, however the program ends.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
}

DemoProcessor::~DemoProcessor()
{
    stop();
}

core::Status DemoProcessor::start()
{
    const QFileInfo sim(m_path);
    if (!sim.isExecutable())
        return core::Error{"The virtual processor was not found: " + QDir::cleanPath(m_path).toStdString()};
    m_stateFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/demo-processor");
    QDir().mkpath(m_stateFolder);
    const QStringList arguments{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--state"),
                                m_stateFolder};
    m_process.start(sim.absoluteFilePath(), arguments);
    // The simulator prints its endpoints as soon as it listens; the windows are not up yet.
    if (!m_process.waitForStarted(kStartLimitMs))
        return core::Error{"The virtual processor did not start: " + m_process.errorString().toStdString()};
    while (m_endpoints.isEmpty() || m_process.canReadLine()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(kStartLimitMs)) break;
        while (m_process.canReadLine())
            m_endpoints << QString::fromUtf8(m_process.readLine()).trimmed();
    }
    if (m_endpoints.isEmpty()) {
        stop();
        return core::Error{"The virtual processor did not answer."};
    }
    return {};
}

void DemoProcessor::stop()
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(2000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

void DemoProcessor::aimDiscovery(Application& app)
{
    // "tcp 127.0.0.1:PORT": the one module of the demonstration, on loopback.
    for (const QString& line : m_endpoints) {
        if (!line.startsWith(QStringLiteral("tcp "))) continue;
        const QString endpoint = line.mid(4);
        const qsizetype colon = endpoint.lastIndexOf(QLatin1Char(':'));
        if (colon < 0) continue;
        if (!m_finder) m_finder = new FixedModuleFinder(this);
        m_finder->setModules(
            {EthernetModule{endpoint.left(colon), QStringLiteral("KVR DEMO"), QStringLiteral("DEMO01")}});
        app.setEthernetPort(static_cast<quint16>(endpoint.mid(colon + 1).toUInt()));
        app.setModuleFinder(m_finder);
        return;
    }
}

} // namespace kvr::gui
