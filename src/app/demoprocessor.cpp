#include "app/demoprocessor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/modulefinder.h"
#include "app/udpmodulenetwork.h"

namespace kvr::gui {

namespace {
constexpr int kStartLimitMs = 5000;
} // namespace

DemoProcessor::DemoProcessor(QString simulatorPath, QObject* parent) : QObject(parent), m_path(std::move(simulatorPath))
{
    // Its log lines go to our stderr, so a demonstration shows what the processor saw.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
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

QString DemoProcessor::defaultSimulatorPath()
{
    // In the build tree the simulator has a folder of its own; installed, it lies beside us.
    const QString built = QCoreApplication::applicationDirPath() + QStringLiteral("/" KVR_SIM_RELATIVE_PATH);
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/kvr610-sim");
    return QFileInfo(built).isExecutable() || !QFileInfo(installed).isExecutable() ? built : installed;
}

core::Status DemoProcessor::start(const Options& options)
{
    const QFileInfo sim(m_path);
    if (!sim.isExecutable())
        return core::Error{"The virtual processor was not found: " + QDir::cleanPath(m_path).toStdString()};
    m_stateFolder = options.stateFolder;
    if (m_stateFolder.isEmpty())
        m_stateFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/demo-processor");
    QDir().mkpath(m_stateFolder);
    // Each Ethernet module on its own loopback address; ports the system picks, so nothing
    // privileged is needed and nothing else on the machine is disturbed.
    QStringList arguments;
    for (const QString& module : options.modules)
        arguments << QStringLiteral("--module") << module;
    arguments << QStringLiteral("--discovery-port") << QStringLiteral("0") << QStringLiteral("--tcp")
              << QStringLiteral("0") << QStringLiteral("--state") << m_stateFolder;
    if (options.baud > 0) arguments << QStringLiteral("--baud") << QString::number(options.baud);
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
    // "discovery 127.255.255.255:PORT" and "module HOST ID 127.0.0.N:TCPPORT".
    auto portOf = [](const QString& endpoint) {
        return static_cast<quint16>(endpoint.mid(endpoint.lastIndexOf(QLatin1Char(':')) + 1).toUInt());
    };
    auto addressOf = [](const QString& endpoint) { return endpoint.left(endpoint.lastIndexOf(QLatin1Char(':'))); };
    for (const QString& line : m_endpoints) {
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() == 2 && parts[0] == QStringLiteral("discovery")) {
            if (!m_finder) m_finder = new UdpModuleNetwork(this);
            m_finder->setTarget(addressOf(parts[1]), portOf(parts[1]));
        } else if (parts.size() == 4 && parts[0] == QStringLiteral("module")) {
            app.device().setEthernetPort(portOf(parts[3]));
        }
    }
    if (m_finder) app.modules().setNetwork(m_finder);
}

} // namespace kvr::gui
