#include "app/modulefinder.h"
#include "app/programtext.h"

#include <QTimer>

#include "app/messagepresenter.h"
#include "app/modulenetwork.h"
#include "app/settings.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {
constexpr int kFirstProgress = 5;
constexpr int kMaxModules = 101;
} // namespace

ModuleFinder::ModuleFinder(DeviceController& device, MessagePresenter& presenter, QObject* parent)
    : QObject(parent), m_device(device), m_presenter(presenter)
{
    m_scanTimer = new QTimer(this);
    m_scanTimer->setSingleShot(true);
    connect(m_scanTimer, &QTimer::timeout, this, &ModuleFinder::onScanTimer);
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

void ModuleFinder::setNetwork(ModuleNetwork* network)
{
    if (m_network) disconnect(m_network, nullptr, this, nullptr);
    m_network = network;
    if (!m_network) return;
    connect(m_network, &ModuleNetwork::moduleFound, this, &ModuleFinder::onModuleFound);
    connect(m_network, &ModuleNetwork::changeAnswered, this, &ModuleFinder::onChangeAnswered);
    connect(m_network, &ModuleNetwork::scanFailed, this,
            [this](const QString& text) { m_presenter.show(core::errorBox(text.toStdString())); });
}

void ModuleFinder::scan()
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
    if (m_network) m_network->scan();
}

void ModuleFinder::onModuleFound(const EthernetModule& module)
{
    if (!m_scanning || m_modules.size() >= kMaxModules) return;
    m_modules.append(module);
}

void ModuleFinder::onScanTimer()
{
    m_scanning = false;
    m_scanTicker->stop();
    if (m_network) m_network->stopScan();
    m_scanProgress = 100;
    if (m_modules.isEmpty()) {
        m_scanResult = q(t::kNoDevicesFound);
        m_device.ethernetNotFound();
    } else {
        m_scanResult = QString::number(m_modules.size()) + q(t::kDevicesDetected);
        // The module connected last time is offered first.
        const QString last = m_device.settings().ethernetModule();
        for (int i = 0; i < m_modules.size() && !last.isEmpty(); ++i)
            if (m_modules[i].hostName == last) m_selectedModule = i;
    }
    emit scanProgressChanged(m_scanProgress);
    emit scanFinished();
    emit modulesChanged();
}

void ModuleFinder::selectModule(int index)
{
    m_selectedModule = (index >= 0 && index < m_modules.size()) ? index : -1;
    emit modulesChanged();
}

void ModuleFinder::connectSelected()
{
    if (m_selectedModule < 0 || m_selectedModule >= m_modules.size()) return;
    m_device.connectEthernet(m_modules[m_selectedModule]);
}

void ModuleFinder::identify()
{
    if (m_network && m_selectedModule >= 0) m_network->identify(m_modules[m_selectedModule]);
}

void ModuleFinder::changeIp(const QString& address)
{
    if (!m_network || m_selectedModule < 0 || m_change != Change::None) return;
    m_change = Change::Ip;
    m_changeLimit->start(m_changeLimitMs);
    m_network->changeIp(m_modules[m_selectedModule], address);
}

void ModuleFinder::changeHostName(const QString& hostName)
{
    if (!m_network || m_selectedModule < 0 || m_change != Change::None) return;
    m_change = Change::HostName;
    m_changeLimit->start(m_changeLimitMs);
    m_network->changeHostName(m_modules[m_selectedModule], hostName);
}

void ModuleFinder::onChangeAnswered(bool ok)
{
    if (m_change == Change::None) return;
    const bool ip = m_change == Change::Ip;
    m_change = Change::None;
    m_changeLimit->stop();
    if (ok)
        m_presenter.show(core::infoBox(ip ? t::kIpChangedSuccessfully : t::kHostNameChangedSuccessfully));
    else
        m_presenter.show(core::errorBox(ip ? t::kErrorChangingIp : t::kErrorChangingHostName));
    scan();
}

} // namespace kvr::gui
