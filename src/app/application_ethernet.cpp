#include <QTimer>

#include "app/application.h"
#include "app/messagepresenter.h"
#include "app/modulefinder.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {
QString q(const char* text)
{
    return QString::fromUtf8(text);
}
constexpr int kFirstProgress = 5;
constexpr int kMaxModules = 101;
} // namespace

void Application::setUpEthernet()
{
    m_scanTimer = new QTimer(this);
    m_scanTimer->setSingleShot(true);
    connect(m_scanTimer, &QTimer::timeout, this, &Application::onScanTimer);
    // The bar walks from 5 to 100 over the scan window.
    m_scanTicker = new QTimer(this);
    connect(m_scanTicker, &QTimer::timeout, this, [this] {
        if (m_scanProgress >= 100) return m_scanTicker->stop();
        emit scanProgressChanged(++m_scanProgress);
    });
    m_changeLimit = new QTimer(this);
    m_changeLimit->setSingleShot(true);
    connect(m_changeLimit, &QTimer::timeout, this, [this] { onChangeAnswered(false); });
}

void Application::setModuleFinder(ModuleFinder* finder)
{
    if (m_finder) disconnect(m_finder, nullptr, this, nullptr);
    m_finder = finder;
    if (!m_finder) return;
    connect(m_finder, &ModuleFinder::moduleFound, this, &Application::onModuleFound);
    connect(m_finder, &ModuleFinder::changeAnswered, this, &Application::onChangeAnswered);
    connect(m_finder, &ModuleFinder::scanFailed, this,
            [this](const QString& text) { m_presenter.show(core::errorBox(text.toStdString())); });
}

void Application::scanModules()
{
    m_scanTimer->stop();
    m_scanning = true;
    m_modules.clear();
    m_selectedModule = -1;
    m_scanProgress = kFirstProgress;
    m_scanResult = q(t::kScanning);
    emit modulesChanged();
    m_scanTimer->start(m_scanMs);
    m_scanTicker->start(std::max(1, m_scanMs / 100 - 1));
    if (m_finder) m_finder->scan();
}

void Application::onModuleFound(const EthernetModule& module)
{
    if (!m_scanning || m_modules.size() >= kMaxModules) return;
    m_modules.append(module);
}

void Application::onScanTimer()
{
    m_scanning = false;
    m_scanTicker->stop();
    if (m_finder) m_finder->stopScan();
    m_scanProgress = 100;
    if (m_modules.isEmpty()) {
        m_scanResult = q(t::kNoDevicesFound);
        if (m_code == ConnectionCode::Ethernet && m_pending == Pending::None) {
            m_ethernetInUse = false;
            m_choice = ConnectionChoice::Offline;
            setConnectionCode(ConnectionCode::Offline);
        }
    } else {
        m_scanResult = QString::number(m_modules.size()) + q(t::kDevicesDetected);
    }
    emit scanProgressChanged(m_scanProgress);
    emit modulesChanged();
}

void Application::selectModule(int index)
{
    m_selectedModule = (index >= 0 && index < m_modules.size()) ? index : -1;
    emit modulesChanged();
}

void Application::identifyModule()
{
    if (m_finder && m_selectedModule >= 0) m_finder->identify(m_modules[m_selectedModule]);
}

void Application::changeModuleIp(const QString& address)
{
    if (!m_finder || m_selectedModule < 0 || m_change != ModuleChange::None) return;
    m_change = ModuleChange::Ip;
    m_changeLimit->start(m_changeLimitMs);
    m_finder->changeIp(m_modules[m_selectedModule], address);
}

void Application::changeModuleHostName(const QString& hostName)
{
    if (!m_finder || m_selectedModule < 0 || m_change != ModuleChange::None) return;
    m_change = ModuleChange::HostName;
    m_changeLimit->start(m_changeLimitMs);
    m_finder->changeHostName(m_modules[m_selectedModule], hostName);
}

void Application::onChangeAnswered(bool ok)
{
    if (m_change == ModuleChange::None) return;
    const bool ip = m_change == ModuleChange::Ip;
    m_change = ModuleChange::None;
    m_changeLimit->stop();
    if (ok)
        m_presenter.show(core::infoBox(ip ? t::kIpChangedSuccessfully : t::kHostNameChangedSuccessfully));
    else
        m_presenter.show(core::errorBox(ip ? t::kErrorChangingIp : t::kErrorChangingHostName));
    scanModules();
}

} // namespace kvr::gui
