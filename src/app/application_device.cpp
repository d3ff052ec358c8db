#include <QTimer>

#include "app/application.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "comm/operations.h"
#include "io/operationrunner.h"
#include "io/tcplink.h"
#include "io/usblink.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {
QString q(const char* text)
{
    return QString::fromUtf8(text);
}
} // namespace

void Application::setUpDevice()
{
    m_runner = std::make_unique<io::OperationRunner>(this);
    m_usb = new io::UsbLink(this);
    io::OperationRunner* r = m_runner.get();
    connect(r, &io::OperationRunner::statusChanged, this, &Application::commStatusChanged);
    connect(r, &io::OperationRunner::progressChanged, this, &Application::commProgressChanged);
    connect(r, &io::OperationRunner::commWindowVisibleChanged, this, &Application::commWindowVisibleChanged);
    connect(r, &io::OperationRunner::messageRequested, this, [this](const core::Message& m) { enqueue(QueuedBox{m}); });
    connect(r, &io::OperationRunner::questionAsked, this,
            [this](const core::Question& question) { enqueue(QueuedQuestion{question}); });
    connect(r, &io::OperationRunner::connectionEffect, this, &Application::onConnectionEffect);
    connect(r, &io::OperationRunner::memorySelectorChanged, this, &Application::setMemory);
    connect(r, &io::OperationRunner::finished, this, &Application::onOperationFinished);
    connect(r, &io::OperationRunner::refused, this,
            [this](const QString& reason) { enqueue(QueuedBox{core::infoBox(reason.toStdString())}); });
}

// ---- Effects shown one after another ----

void Application::enqueue(UiEffect effect)
{
    m_effects.push_back(std::move(effect));
    if (m_drainScheduled || m_draining) return;
    m_drainScheduled = true;
    QTimer::singleShot(0, this, &Application::drainEffects);
}

void Application::drainEffects()
{
    m_drainScheduled = false;
    if (m_draining) return;
    m_draining = true;
    while (!m_effects.empty()) {
        UiEffect effect = std::move(m_effects.front());
        m_effects.pop_front();
        if (auto* box = std::get_if<QueuedBox>(&effect)) {
            m_presenter.show(box->message);
        } else if (auto* asked = std::get_if<QueuedQuestion>(&effect)) {
            answerQuestion(asked->question);
        } else {
            requestConnection();
        }
    }
    m_draining = false;
}

void Application::answerQuestion(const core::Question& question)
{
    core::Answer answer;
    switch (question.kind) {
    case core::QuestionKind::ChooseOsFile: {
        FileDialogRequest request;
        request.title = q(t::kOsOpenDialogTitle);
        request.filter = q(t::kOsOpenFilter);
        request.defaultSuffix = QStringLiteral("asc");
        const QString path = m_dialogs.openFile(request);
        answer.button = core::Button::Cancel;
        if (!path.isEmpty()) {
            auto image = readOperatingSystemFile(path);
            if (image) {
                answer.button = core::Button::Ok;
                answer.data = std::move(*image);
            } else {
                m_presenter.show(core::errorBox(image.message()));
            }
        }
        break;
    }
    case core::QuestionKind::ConnectionWindow:
        // Operations start only while connected; nothing to reconnect here.
        answer.button = core::Button::Cancel;
        answer.connected = m_code != ConnectionCode::Offline;
        answer.link = currentLink() ? currentLink()->info() : core::LinkInfo{};
        break;
    default:
        answer.button = m_presenter.show(question.message);
        break;
    }
    m_runner->answer(answer);
}

// ---- Connection ----

void Application::setStatus(const QString& text, bool connected)
{
    m_statusText = text;
    m_statusConnected = connected;
    emit connectionChanged();
}

void Application::setConnectionCode(ConnectionCode code)
{
    m_code = code;
    updateDeviceControls();
}

void Application::setChoice(ConnectionChoice choice)
{
    m_choice = choice;
    emit connectionChanged();
}

void Application::updateDeviceControls()
{
    m_deviceControlsEnabled = m_code != ConnectionCode::Offline && !busy();
    emit connectionChanged();
}

io::Link* Application::currentLink() const
{
    if (m_usbInUse) return m_usb;
    if (m_ethernetInUse) return m_tcp;
    return nullptr;
}

io::Link* Application::operationLink()
{
    io::Link* link = currentLink();
    // ETHERNET chosen but no module connected yet.
    if (!link) m_presenter.show(core::infoBox(t::kNotConnected));
    return link;
}

void Application::closeSocket()
{
    if (m_tcp) m_tcp->close();
}

void Application::requestConnection()
{
    m_askForConnection = true;
    emit connectionWindowRequested();
}

void Application::chooseConnection(ConnectionChoice choice)
{
    if (busy()) return;
    switch (choice) {
    case ConnectionChoice::Offline:
        m_choice = choice;
        m_usbInUse = false;
        m_ethernetInUse = false;
        closeSocket();
        setConnectionCode(ConnectionCode::Offline);
        break;
    case ConnectionChoice::Usb: {
        m_choice = choice;
        m_ethernetInUse = false;
        closeSocket();
        // Open and close the device once: is there one at all?
        m_usbChecking = true;
        setConnectionCode(ConnectionCode::Offline);
        auto* guard = new QObject(this);
        connect(m_usb, &io::Link::opened, guard, [this, guard](bool ok, const QString& error) {
            guard->deleteLater();
            m_usbChecking = false;
            m_usb->close();
            if (!ok) {
                m_presenter.show(core::errorBox(error.toStdString()));
                m_usbInUse = false;
                m_choice = ConnectionChoice::Offline;
                setConnectionCode(ConnectionCode::Offline);
                emit busyChanged(busy());
                return;
            }
            m_usbInUse = true;
            setConnectionCode(ConnectionCode::Usb);
            emit busyChanged(busy());
        });
        emit busyChanged(busy());
        m_usb->open();
        break;
    }
    case ConnectionChoice::Ethernet:
        m_choice = choice;
        m_usbInUse = false;
        m_ethernetInUse = true;
        setConnectionCode(ConnectionCode::Ethernet);
        break;
    }
}

void Application::confirmConnection()
{
    m_askForConnection = false;
    emit commWindowVisibleChanged(false);
    if (m_choice == ConnectionChoice::Ethernet) {
        emit ethernetWindowRequested(true);
        return;
    }
    if (m_choice == ConnectionChoice::Usb && m_usbInUse) {
        startOperation(core::makeDetect({core::LinkKind::Usb, {}}), Pending::UsbDetect, m_usb);
        return;
    }
    setStatus(q(t::kStatusSpacedOffline), false);
    updateDeviceControls();
}

void Application::goOffline()
{
    emit commWindowVisibleChanged(false);
    m_usbInUse = false;
    m_ethernetInUse = false;
    m_choice = ConnectionChoice::Offline;
    closeSocket();
    m_code = ConnectionCode::Offline;
    setStatus(q(t::kStatusOffline), false);
    updateDeviceControls();
}

void Application::onConnectionEffect(core::ConnectionEffect effect)
{
    switch (effect) {
    case core::ConnectionEffect::GoOffline:
        goOffline();
        break;
    case core::ConnectionEffect::ConnectionChoiceOffline:
        setChoice(ConnectionChoice::Offline);
        break;
    case core::ConnectionEffect::ShowConnectionWindow:
        enqueue(QueuedConnectionWindow{});
        break;
    }
}

void Application::showEthernetWindow()
{
    chooseConnection(ConnectionChoice::Ethernet);
    emit ethernetWindowRequested(false);
}

void Application::connectModule()
{
    if (m_selectedModule < 0 || m_selectedModule >= m_modules.size() || busy()) return;
    const EthernetModule module = m_modules[m_selectedModule];
    if (m_tcp) {
        m_tcp->close();
        m_tcp->deleteLater();
    }
    m_tcp = new io::TcpLink(module.ip, m_ethernetPort, module.hostName, this);
    m_usbInUse = false;
    m_ethernetInUse = true;
    m_choice = ConnectionChoice::Ethernet;
    m_code = ConnectionCode::Ethernet;
    startOperation(core::makeDetect(m_tcp->info()), Pending::EthernetDetect, m_tcp);
}

// ---- Operations ----

bool Application::refuseWhileBusy()
{
    if (!busy()) return false;
    m_presenter.show(core::infoBox(m_loading ? t::kWaitForLoad : t::kOperationRunning));
    return true;
}

bool Application::startOperation(std::unique_ptr<core::DeviceOperation> operation, Pending pending, io::Link* link)
{
    if (!link) {
        m_presenter.show(core::infoBox(t::kNotConnected));
        return false;
    }
    m_runner->setLink(link);
    m_pending = pending;
    m_operationMemory = m_memory;
    updateDeviceControls();
    emit busyChanged(true);
    if (!m_runner->start(std::move(operation))) {
        m_pending = Pending::None;
        updateDeviceControls();
        emit busyChanged(busy());
        return false;
    }
    return true;
}

void Application::onOperationFinished(const core::Outcome& outcome)
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    switch (pending) {
    case Pending::UsbDetect:
        if (outcome.completed()) {
            m_usbInUse = true;
            m_code = ConnectionCode::Usb;
            setStatus(q(t::kStatusConnectedUsb), true);
        }
        break;
    case Pending::EthernetDetect:
        if (outcome.completed() && m_tcp) {
            setStatus(q(t::kStatusEthernetConnectedPrefix) + QString::fromStdString(m_tcp->info().hostName) +
                          q(t::kStatusEthernetConnectedFrom) + m_tcp->localAddress(),
                      true);
            emit ethernetWindowDone();
        }
        break;
    case Pending::Version:
        if (outcome.completed() && !outcome.data.empty()) m_dspVersion = outcome.data.front();
        break;
    case Pending::Read:
        finishMemoryRead(outcome);
        break;
    case Pending::OsRead:
        finishOperatingSystemRead(outcome);
        break;
    default:
        break;
    }
    updateDeviceControls();
    emit busyChanged(busy());
    emit operationFinished(outcome.completed(), outcome.failed());
}

void Application::storeConfiguration()
{
    if (refuseWhileBusy()) return;
    io::Link* link = operationLink();
    if (!link) return;
    auto image = buildImage();
    if (!image) {
        m_presenter.show(core::errorBox(image.message()));
        return;
    }
    startOperation(core::makeStore(link->info(), m_memory, std::move(*image)), Pending::Store, link);
}

void Application::readMemory()
{
    if (refuseWhileBusy()) return;
    io::Link* link = operationLink();
    if (!link) return;
    // The Configuration is replaced: New asks first, and Cancel ends the read.
    if (!newConfiguration()) return;
    startOperation(core::makeMemoryRead(link->info(), m_memory), Pending::Read, link);
}

void Application::changeMemory()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink())
        startOperation(core::makeMemoryChange(link->info(), m_memory), Pending::Change, link);
}

void Application::readVersion()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) {
        emit commStatusChanged(q(t::kGetVersion));
        startOperation(core::makeVersionRead(link->info()), Pending::Version, link);
    }
}

void Application::readOperatingSystem()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) {
        emit commStatusChanged(q(t::kGetSystem));
        startOperation(core::makeOsRead(link->info()), Pending::OsRead, link);
    }
}

void Application::uploadOperatingSystem()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) startOperation(core::makeOsUpload(link->info()), Pending::OsUpload, link);
}

void Application::lockKeyboard(bool fromMenu)
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink())
        startOperation(core::makeKeyboard(link->info(), true, fromMenu), Pending::Keyboard, link);
}

void Application::unlockKeyboard()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink())
        startOperation(core::makeKeyboard(link->info(), false), Pending::Keyboard, link);
}

void Application::requestPassword()
{
    if (refuseWhileBusy() || !operationLink()) return;
    // The device controls stay disabled while the window is open.
    m_deviceControlsEnabled = false;
    emit connectionChanged();
    emit passwordWindowRequested();
}

void Application::sendPassword(const std::array<uint8_t, 6>& keys, bool active)
{
    io::Link* link = operationLink();
    auto block = core::passwordBlock(keys, active);
    if (!link || !block) {
        if (!block) m_presenter.show(core::errorBox(block.message()));
        updateDeviceControls();
        return;
    }
    startOperation(core::makePassword(link->info(), std::move(*block)), Pending::Password, link);
}

void Application::cancelPassword()
{
    updateDeviceControls();
}

void Application::resetProcessor()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) startOperation(core::makeReset(link->info()), Pending::Reset, link);
}

} // namespace kvr::gui
