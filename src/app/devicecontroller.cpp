#include "app/devicecontroller.h"
#include "app/programtext.h"
#include <QTimer>
#include <utility>

#include "app/documentcontroller.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "app/settings.h"
#include "comm/operations.h"
#include "image/deviceimage.h"
#include "image/imagecompare.h"
#include "image/osimage.h"
#include "io/operationrunner.h"
#include "io/tcplink.h"
#include "io/usblink.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {
} // namespace

DeviceController::DeviceController(DocumentController& document, MessagePresenter& presenter, FileDialogs& dialogs,
                                   Settings& settings, QObject* parent)
    : QObject(parent), m_document(document), m_presenter(presenter), m_dialogs(dialogs), m_settings(settings),
      m_statusText(q(t::kStatusNoConnected))
{
    connect(&m_document, &DocumentController::busyChanged, this, &DeviceController::updateDeviceControls);
    m_runner = std::make_unique<io::OperationRunner>(this);
    m_usb = new io::UsbLink(this);
    io::OperationRunner* r = m_runner.get();
    connect(r, &io::OperationRunner::statusChanged, this, &DeviceController::commStatusChanged);
    connect(r, &io::OperationRunner::progressChanged, this, &DeviceController::commProgressChanged);
    connect(r, &io::OperationRunner::commWindowVisibleChanged, this, &DeviceController::commWindowVisibleChanged);
    connect(r, &io::OperationRunner::messageRequested, this, [this](const core::Message& m) { enqueue(QueuedBox{m}); });
    connect(r, &io::OperationRunner::questionAsked, this,
            [this](const core::Question& question) { enqueue(QueuedQuestion{question}); });
    connect(r, &io::OperationRunner::connectionEffect, this, &DeviceController::onConnectionEffect);
    connect(r, &io::OperationRunner::memorySelectorChanged, this, &DeviceController::setMemory);
    connect(r, &io::OperationRunner::finished, this, &DeviceController::onOperationFinished);
    connect(r, &io::OperationRunner::refused, this,
            [this](const QString& reason) { enqueue(QueuedBox{core::infoBox(reason.toStdString())}); });
}

DeviceController::~DeviceController()
{
    closeSocket();
}

bool DeviceController::busy() const
{
    return m_document.busy();
}

void DeviceController::publishBusy()
{
    m_document.setExchangeRunning(m_pending != Pending::None || m_usbChecking);
}

void DeviceController::setMemoryBlocked(bool blocked)
{
    if (m_memoryBlocked == blocked) return;
    m_memoryBlocked = blocked;
    emit memoryBlockedChanged(blocked);
}

void DeviceController::setMemory(int memory)
{
    memory = std::clamp(memory, 1, 18);
    if (m_memory == memory) return;
    m_memory = memory;
    emit memoryChanged(memory);
}

// ---- Effects shown one after another ----

void DeviceController::enqueue(UiEffect effect)
{
    m_effects.push_back(std::move(effect));
    if (m_drainScheduled || m_draining) return;
    m_drainScheduled = true;
    QTimer::singleShot(0, this, &DeviceController::drainEffects);
}

void DeviceController::drainEffects()
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

void DeviceController::answerQuestion(const core::Question& question)
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

void DeviceController::setStatus(const QString& text, bool connected)
{
    m_statusText = text;
    m_statusConnected = connected;
    emit connectionChanged();
}

void DeviceController::setConnectionCode(ConnectionCode code)
{
    m_code = code;
    updateDeviceControls();
}

void DeviceController::setChoice(ConnectionChoice choice)
{
    m_choice = choice;
    emit connectionChanged();
}

void DeviceController::updateDeviceControls()
{
    m_deviceControlsEnabled = m_code != ConnectionCode::Offline && !busy();
    emit connectionChanged();
}

io::Link* DeviceController::currentLink() const
{
    if (m_usbInUse) return m_usb;
    if (m_ethernetInUse) return m_tcp;
    return nullptr;
}

io::Link* DeviceController::operationLink()
{
    io::Link* link = currentLink();
    // ETHERNET chosen but no module connected yet.
    if (!link) m_presenter.show(core::infoBox(t::kNotConnected));
    return link;
}

void DeviceController::closeSocket()
{
    if (m_tcp) m_tcp->close();
}

void DeviceController::requestConnection()
{
    m_askForConnection = true;
    emit connectionWindowRequested();
}

ConnectionChoice DeviceController::offeredChoice() const
{
    if (m_choiceMade || m_code != ConnectionCode::Offline) return m_choice;
    return m_settings.connectionChoice();
}

void DeviceController::confirmChoice(ConnectionChoice choice)
{
    if (busy()) return;
    if (choice != m_choice || !m_choiceMade) {
        chooseConnection(choice);
        // The USB check answers later; OK goes on once it has.
        if (m_usbChecking) {
            m_confirmAfterCheck = true;
            return;
        }
    }
    confirmConnection();
}

void DeviceController::chooseConnection(ConnectionChoice choice)
{
    if (busy()) return;
    m_choiceMade = true;
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
            const bool confirm = std::exchange(m_confirmAfterCheck, false);
            if (!ok) {
                m_presenter.show(core::errorBox(error.toStdString()));
                m_usbInUse = false;
                m_choice = ConnectionChoice::Offline;
                setConnectionCode(ConnectionCode::Offline);
                publishBusy();
                if (confirm) confirmConnection();
                return;
            }
            m_usbInUse = true;
            setConnectionCode(ConnectionCode::Usb);
            publishBusy();
            if (confirm) confirmConnection();
        });
        publishBusy();
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

void DeviceController::confirmConnection()
{
    m_askForConnection = false;
    m_choiceMade = true;
    m_settings.setConnectionChoice(m_choice);
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

void DeviceController::goOffline()
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

void DeviceController::onConnectionEffect(core::ConnectionEffect effect)
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

void DeviceController::ethernetNotFound()
{
    // A rescan that finds no module ends the link too: a connection still open would leave the
    // status green over an offline program.
    if (m_code != ConnectionCode::Ethernet || m_pending != Pending::None) return;
    goOffline();
}

void DeviceController::showEthernetWindow()
{
    chooseConnection(ConnectionChoice::Ethernet);
    emit ethernetWindowRequested(false);
}

void DeviceController::connectEthernet(const EthernetModule& module)
{
    if (busy()) return;
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

bool DeviceController::refuseWhileBusy()
{
    if (!busy()) return false;
    m_presenter.show(core::infoBox(m_document.loading() ? t::kWaitForLoad : t::kOperationRunning));
    return true;
}

bool DeviceController::startOperation(std::unique_ptr<core::DeviceOperation> operation, Pending pending, io::Link* link)
{
    if (!link) {
        m_presenter.show(core::infoBox(t::kNotConnected));
        return false;
    }
    m_runner->setLink(link);
    m_pending = pending;
    m_operationMemory = m_memory;
    updateDeviceControls();
    publishBusy();
    if (!m_runner->start(std::move(operation))) {
        m_pending = Pending::None;
        updateDeviceControls();
        publishBusy();
        return false;
    }
    return true;
}

void DeviceController::onOperationFinished(const core::Outcome& outcome)
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
            m_settings.setConnectionChoice(ConnectionChoice::Ethernet);
            m_settings.setEthernetModule(QString::fromStdString(m_tcp->info().hostName));
            emit ethernetWindowDone();
        }
        break;
    case Pending::Version:
        if (outcome.completed() && !outcome.data.empty()) m_dspVersion = outcome.data.front();
        break;
    case Pending::Store:
        finishStore(outcome);
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
    publishBusy();
    emit operationFinished(outcome.completed(), outcome.failed());
}

void DeviceController::storeConfiguration()
{
    if (refuseWhileBusy()) return;
    io::Link* link = operationLink();
    if (!link) return;
    auto image = core::BuildDeviceImage(m_document.configuration(), m_memoryBlocked);
    if (!image) {
        m_presenter.show(core::errorBox(image.message()));
        return;
    }
    startOperation(core::makeStore(link->info(), m_memory, std::move(*image), {}, verifyAfterStore()), Pending::Store,
                   link);
}

bool DeviceController::verifyAfterStore() const
{
    return m_settings.verifyAfterStore();
}

void DeviceController::setVerifyAfterStore(bool verify)
{
    m_settings.setVerifyAfterStore(verify);
}

void DeviceController::setResult(const QString& text, bool failed)
{
    m_resultText = text;
    m_resultFailed = failed;
    emit resultChanged();
}

void DeviceController::finishStore(const core::Outcome& outcome)
{
    if (outcome.completed()) {
        setResult(QString::fromStdString(core::memoryStoredText(m_operationMemory, outcome.verified)), false);
    } else if (outcome.failed() && outcome.reason.rfind(t::kMemoryPrefix, 0) == 0) {
        // The memory took the image but did not read back as sent: never a success.
        setResult(QString::fromStdString(outcome.reason), true);
        enqueue(QueuedBox{core::errorBox(outcome.reason)});
    } else {
        setResult({}, false);
    }
}

void DeviceController::readMemory()
{
    if (refuseWhileBusy()) return;
    io::Link* link = operationLink();
    if (!link) return;
    // The Configuration is replaced: unsaved changes are offered for saving first, and Cancel
    // ends the read. The read then starts from a fresh Configuration, as New does.
    if (!m_document.offerSave(core::MessageKind::Warning)) return;
    if (startOperation(core::makeMemoryRead(link->info(), m_memory), Pending::Read, link))
        m_document.beginRead(m_operationMemory);
}

void DeviceController::changeMemory()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink())
        startOperation(core::makeMemoryChange(link->info(), m_memory), Pending::Change, link);
}

void DeviceController::readVersion()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) {
        emit commStatusChanged(q(t::kGetVersion));
        startOperation(core::makeVersionRead(link->info()), Pending::Version, link);
    }
}

void DeviceController::readOperatingSystem()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) {
        emit commStatusChanged(q(t::kGetSystem));
        startOperation(core::makeOsRead(link->info()), Pending::OsRead, link);
    }
}

void DeviceController::uploadOperatingSystem()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) startOperation(core::makeOsUpload(link->info()), Pending::OsUpload, link);
}

void DeviceController::lockKeyboard(bool fromMenu)
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink())
        startOperation(core::makeKeyboard(link->info(), true, fromMenu), Pending::Keyboard, link);
}

void DeviceController::unlockKeyboard()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink())
        startOperation(core::makeKeyboard(link->info(), false), Pending::Keyboard, link);
}

void DeviceController::requestPassword()
{
    if (refuseWhileBusy() || !operationLink()) return;
    // The device controls stay disabled while the window is open.
    m_deviceControlsEnabled = false;
    emit connectionChanged();
    emit passwordWindowRequested();
}

void DeviceController::sendPassword(const std::array<uint8_t, 6>& keys, bool active)
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

void DeviceController::cancelPassword()
{
    updateDeviceControls();
}

void DeviceController::resetProcessor()
{
    if (refuseWhileBusy()) return;
    if (io::Link* link = operationLink()) startOperation(core::makeReset(link->info()), Pending::Reset, link);
}

bool DeviceController::sendLibrary(std::vector<core::Bytes> images)
{
    if (refuseWhileBusy()) return false;
    io::Link* link = currentLink();
    if (!link) return false;
    return startOperation(core::makeLibrarySend(link->info(), std::move(images)), Pending::LibrarySend, link);
}

// ---- Operating systems and reads ----

core::Result<core::Bytes> DeviceController::readOperatingSystemFile(const QString& path)
{
    auto os = core::readOsFile(path.toStdString());
    if (!os) return os.error();
    return std::move(os->image);
}

void DeviceController::finishMemoryRead(const core::Outcome& outcome)
{
    if (!outcome.completed()) return;
    m_document.setLoading(true);
    emit m_document.loadStarted();
    auto decoded = core::DecodeDeviceImage(outcome.data, m_operationMemory,
                                           [this](const core::LoadProgress& p) { emit m_document.loadProgress(p); });
    emit m_document.loadFinished();
    m_document.setLoading(false);
    if (!decoded) {
        // A damaged or older image is never applied.
        m_presenter.show(core::errorBox(decoded.message()));
        return;
    }
    m_document.finishRead(std::move(*decoded));
    setResult(QString::fromStdString(core::memoryReadText(m_operationMemory)), false);
}

void DeviceController::finishOperatingSystemRead(const core::Outcome& outcome)
{
    if (!outcome.completed()) return;
    emit commWindowVisibleChanged(false);
    auto received = core::receivedOs(outcome.data);
    if (!received) {
        m_presenter.show(core::errorBox(received.message()));
        return;
    }
    FileDialogRequest request;
    request.title = q(t::kOsSaveDialogTitle);
    request.filter = q(t::kOsSaveFilter);
    request.defaultSuffix = QStringLiteral("asc");
    request.proposedName = QString::fromStdString(core::proposedOsFileName(received->version));
    request.confirmOverwrite = true;
    const QString path = m_dialogs.saveFile(request);
    if (path.isEmpty()) return;
    if (const core::Status saved = core::saveOsFile(path.toStdString(), outcome.data); !saved)
        m_presenter.show(core::errorBox(saved.message()));
}

} // namespace kvr::gui
