#include "app/application.h"

#include <QFileInfo>

#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "io/operationrunner.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

core::Message question(core::MessageKind kind, core::Buttons buttons, const char* text)
{
    return core::Message{kind, buttons, text, false};
}

FileDialogRequest configDialog(const char* title)
{
    FileDialogRequest request;
    request.title = q(title);
    request.filter = q(t::kConfigFilter);
    request.defaultSuffix = q(t::kConfigExtension);
    return request;
}

} // namespace

Application::Application(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent)
    : QObject(parent), m_presenter(presenter), m_dialogs(dialogs), m_documentName(q(t::kNoName)),
      m_statusText(q(t::kStatusNoConnected))
{
    for (int i = 0; i < kLibraryRows; ++i)
        m_libraryRows << QString();
    setUpDevice();
    setUpEthernet();
}

Application::~Application()
{
    closeSocket();
}

QString Application::windowTitle() const
{
    return q(t::kMainTitle) + QLatin1Char(' ') + m_documentName;
}

bool Application::busy() const
{
    return m_loading || m_pending != Pending::None || m_usbChecking;
}

core::Button Application::ask(const core::Message& message)
{
    return m_presenter.show(message);
}

void Application::showMessages(const std::vector<core::Message>& messages)
{
    for (const core::Message& m : messages)
        m_presenter.show(m);
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
    const core::Button answer =
        ask(question(kind, core::Button::Yes | core::Button::No | core::Button::Cancel, t::kSaveQuestion));
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
    auto loaded =
        core::loadConfigurationFile(path.toStdString(), [this](const core::LoadProgress& p) { emit loadProgress(p); });
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
    FileDialogRequest request = configDialog(t::kSaveDialogTitle);
    request.proposedName = QString::fromStdString(m_config.system.name);
    const QString path = m_dialogs.saveFile(request);
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

} // namespace kvr::gui
