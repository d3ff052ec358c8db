#include "app/application.h"

#include <QFileInfo>

#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

core::Message question(core::MessageKind kind, core::Buttons buttons, const char* text)
{
    return core::Message{kind, buttons, text, false};
}

FileDialogSpec configDialog(const char* title)
{
    FileDialogSpec spec;
    spec.title = q(title);
    spec.filter = q(t::kConfigFilter);
    spec.defaultSuffix = q(t::kConfigExtension);
    return spec;
}

} // namespace

Application::Application(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent)
    : QObject(parent), m_presenter(presenter), m_dialogs(dialogs), m_documentName(q(t::kNoName)),
      m_statusText(q(t::kStatusNoConnected))
{
}

Application::~Application() = default;

QString Application::windowTitle() const { return q(t::kMainTitle) + QLatin1Char(' ') + m_documentName; }

bool Application::busy() const { return m_loading; }

core::Button Application::ask(const core::Message& message) { return m_presenter.show(message); }

void Application::showMessages(const std::vector<core::Message>& messages)
{
    for (const core::Message& m : messages) m_presenter.show(m);
}

void Application::setDocumentName(const QString& name)
{
    m_documentName = name;
    emit titleChanged(windowTitle());
}

void Application::setConfiguration(core::Configuration config)
{
    m_config = std::move(config);
    emit configurationChanged();
}

void Application::setLoading(bool loading)
{
    if (m_loading == loading) return;
    m_loading = loading;
    emit busyChanged(busy());
}

bool Application::offerSave(core::MessageKind kind)
{
    const core::Button answer = ask(question(kind, core::Button::Yes | core::Button::No | core::Button::Cancel,
                                             t::kSaveQuestion));
    if (answer == core::Button::No) return true;
    if (answer != core::Button::Yes) return false;
    // A cancelled or failed save keeps the Configuration: the caller stops.
    return saveConfiguration();
}

bool Application::newConfiguration()
{
    if (busy()) {
        m_presenter.show(core::infoBox(m_loading ? t::kWaitForLoad : t::kWaitForExchange));
        return false;
    }
    if (!offerSave(core::MessageKind::Warning)) return false;
    core::Configuration fresh;
    fresh.constantQ = m_config.constantQ;
    setConfiguration(std::move(fresh));
    setDocumentName(q(t::kNoName));
    return true;
}

bool Application::openConfiguration()
{
    if (busy()) {
        m_presenter.show(core::infoBox(m_loading ? t::kWaitForLoad : t::kWaitForExchange));
        return false;
    }
    const QString path = m_dialogs.openFile(configDialog(t::kOpenDialogTitle));
    if (path.isEmpty()) return false;
    return openConfigurationFile(path);
}

bool Application::openConfigurationFile(const QString& path)
{
    if (busy()) return false;
    setLoading(true);
    emit loadStarted();
    auto loaded = core::loadConfigurationFile(path.toStdString(),
                                              [this](const core::LoadProgress& p) { emit loadProgress(p); });
    emit loadFinished();
    setLoading(false);
    if (!loaded) {
        m_presenter.show(core::errorBox(loaded.message()));
        return false;
    }
    // Messages that did not stop the load (an older, shorter file) come before the result.
    showMessages(loaded->notices);
    core::Configuration config = std::move(loaded->config);
    config.constantQ = m_config.constantQ;
    setConfiguration(std::move(config));
    setDocumentName(QFileInfo(path).fileName());
    return true;
}

bool Application::saveConfiguration()
{
    FileDialogSpec spec = configDialog(t::kSaveDialogTitle);
    spec.proposedName = QString::fromStdString(m_config.system.name);
    const QString path = m_dialogs.saveFile(spec);
    if (path.isEmpty()) return false;
    return saveConfigurationFile(path);
}

bool Application::saveConfigurationFile(const QString& path)
{
    const core::Status saved = core::saveConfigurationFile(path.toStdString(), m_config);
    if (!saved) {
        m_presenter.show(core::errorBox(saved.message()));
        return false;
    }
    setDocumentName(QFileInfo(path).fileName());
    return true;
}

bool Application::requestClose()
{
    if (busy()) {
        m_presenter.show(core::infoBox(m_loading ? t::kWaitForLoad : t::kWaitForExchange));
        return false;
    }
    if (!offerSave(core::MessageKind::Confirmation)) return false;
    goOffline();
    return true;
}

void Application::chooseRoutingMode(int mode)
{
    if (mode < 0 || mode >= core::kRoutingModeCount) return;
    m_config.setRoutingMode(mode);
    emit configurationChanged();
}

void Application::clickRoute(int output)
{
    if (output < 1 || output > core::kOutputCount) return;
    if (m_config.routingMode != core::kRoutingModeFree && !m_loading) {
        const core::Button answer =
            ask(question(core::MessageKind::Warning, core::Button::Yes | core::Button::No, t::kFreeModeQuestion));
        if (answer != core::Button::Yes) return;
        m_config.routingMode = core::kRoutingModeFree;
    }
    m_config.advanceRoute(output);
    emit configurationChanged();
}

void Application::setMemoryBlocked(bool blocked)
{
    if (m_memoryBlocked == blocked) return;
    m_memoryBlocked = blocked;
    emit memoryBlockedChanged(blocked);
}

void Application::setMemory(int memory)
{
    memory = std::clamp(memory, 1, 18);
    if (m_memory == memory) return;
    m_memory = memory;
    emit memoryChanged(memory);
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
    const bool enabled = m_code != ConnectionCode::Offline && !busy();
    m_deviceControlsEnabled = enabled;
    emit connectionChanged();
}

void Application::requestConnection()
{
    m_askForConnection = true;
    emit connectionWindowRequested();
}

void Application::chooseConnection(ConnectionChoice choice)
{
    switch (choice) {
    case ConnectionChoice::Offline:
        m_usbInUse = false;
        m_ethernetInUse = false;
        m_choice = choice;
        setConnectionCode(ConnectionCode::Offline);
        break;
    case ConnectionChoice::Usb:
        m_ethernetInUse = false;
        m_choice = choice;
        setConnectionCode(ConnectionCode::Offline);
        break;
    case ConnectionChoice::Ethernet:
        m_usbInUse = false;
        m_ethernetInUse = true;
        m_choice = choice;
        setConnectionCode(ConnectionCode::Ethernet);
        break;
    }
}

void Application::confirmConnection()
{
    m_askForConnection = false;
    if (m_choice == ConnectionChoice::Ethernet) {
        emit ethernetWindowRequested(true);
    } else if (m_code == ConnectionCode::Offline) {
        setStatus(q(t::kStatusSpacedOffline), false);
        updateDeviceControls();
    }
    emit commWindowVisibleChanged(false);
}

void Application::goOffline()
{
    emit commWindowVisibleChanged(false);
    m_usbInUse = false;
    m_ethernetInUse = false;
    m_choice = ConnectionChoice::Offline;
    m_code = ConnectionCode::Offline;
    updateDeviceControls();
    setStatus(q(t::kStatusOffline), false);
}

} // namespace kvr::gui
