#include "app/documentcontroller.h"
#include "app/programtext.h"

#include <QDir>
#include <QFileInfo>

#include "app/crossoveroperations.h"
#include "app/delayoperations.h"
#include "app/dynamicsoperations.h"
#include "app/equalizeroperations.h"
#include "app/filedialogs.h"
#include "app/leveloperations.h"
#include "app/messagepresenter.h"
#include "app/nameoperations.h"
#include "app/routingoperations.h"
#include "app/settings.h"
#include "app/viewoperations.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

const QString kConfigFolder = QStringLiteral("config");

FileDialogRequest configDialog(const char* title)
{
    FileDialogRequest request;
    request.title = q(title);
    request.filter = q(t::kConfigFilter);
    request.defaultSuffix = q(t::kConfigExtension);
    return request;
}

} // namespace

DocumentController::DocumentController(MessagePresenter& presenter, FileDialogs& dialogs, Settings& settings,
                                       QObject* parent)
    : QObject(parent), m_presenter(presenter), m_dialogs(dialogs), m_settings(settings), m_documentName(q(t::kNoName)),
      m_routing(std::make_unique<RoutingOperations>(*this)), m_levels(std::make_unique<LevelOperations>(*this)),
      m_delays(std::make_unique<DelayOperations>(*this)), m_equalizers(std::make_unique<EqualizerOperations>(*this)),
      m_crossovers(std::make_unique<CrossoverOperations>(*this)),
      m_dynamics(std::make_unique<DynamicsOperations>(*this)), m_names(std::make_unique<NameOperations>(*this)),
      m_views(std::make_unique<ViewOperations>(*this))
{
    m_history.clear();
}

DocumentController::DocumentController(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent)
    : DocumentController(presenter, dialogs, *new Settings(QString(), QString()), parent)
{
    m_ownSettings.reset(&m_settings);
}

DocumentController::~DocumentController() = default;

QString DocumentController::windowTitle() const
{
    return q(t::kMainTitle) + QLatin1Char(' ') + m_documentName;
}

void DocumentController::setLoading(bool loading)
{
    if (m_loading == loading) return;
    m_loading = loading;
    emit busyChanged(busy());
    emit historyChanged();
}

void DocumentController::setExchangeRunning(bool running)
{
    if (m_exchangeRunning == running) return;
    m_exchangeRunning = running;
    emit busyChanged(busy());
    emit historyChanged();
}

bool DocumentController::refuseWhileBusy()
{
    if (!busy()) return false;
    m_presenter.show(core::infoBox(m_loading ? t::kWaitForLoad : t::kWaitForExchange));
    return true;
}

void DocumentController::setDocumentName(const QString& name)
{
    m_documentName = name;
    emit titleChanged(windowTitle());
}

void DocumentController::setFile(const QString& path)
{
    m_filePath = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (m_filePath.isEmpty()) return;
    m_settings.addRecentFile(m_filePath);
    m_settings.setLastFolder(kConfigFolder, QFileInfo(m_filePath).absolutePath());
}

void DocumentController::replace(core::Configuration config)
{
    config.constantQ = m_config.constantQ; // a view choice, not part of a file
    m_config = std::move(config);
    emit replaced();
    emit changed(DocumentChange::everything());
}

bool DocumentController::commit(const Edit& e, core::Configuration before)
{
    if (m_config == before) return false;
    m_history.record(e.name, e.gestureKey, e.change, std::move(before));
    emit changed(e.change);
    emit historyChanged();
    return true;
}

void DocumentController::showNotices(const std::vector<std::string>& notices)
{
    for (const std::string& text : notices)
        m_presenter.show(core::warningBox(text));
}

void DocumentController::undo()
{
    if (!canUndo()) return;
    DocumentIdentity identity = this->identity();
    const DocumentChange change = m_history.undo(m_config, identity);
    setIdentity(identity);
    emit changed(change);
    emit historyChanged();
}

void DocumentController::redo()
{
    if (!canRedo()) return;
    DocumentIdentity identity = this->identity();
    const DocumentChange change = m_history.redo(m_config, identity);
    setIdentity(identity);
    emit changed(change);
    emit historyChanged();
}

DocumentIdentity DocumentController::identity() const
{
    return {m_filePath, m_documentName};
}

void DocumentController::setIdentity(const DocumentIdentity& identity)
{
    // Back to a file the user already had: the recent list and the folders stay as they are.
    m_filePath = identity.filePath;
    if (identity.name != m_documentName) setDocumentName(identity.name);
}

bool DocumentController::offerSave(core::MessageKind kind)
{
    if (!modified()) return true;
    const core::Button answer = m_presenter.show(
        core::Message{kind, core::Button::Yes | core::Button::No | core::Button::Cancel, t::kSaveQuestion, false});
    if (answer == core::Button::No) return true;
    if (answer != core::Button::Yes) return false;
    // A cancelled or failed save keeps the Configuration: the caller stops.
    return saveConfiguration();
}

bool DocumentController::newConfiguration()
{
    if (refuseWhileBusy()) return false;
    if (!offerSave(core::MessageKind::Warning)) return false;
    replace(core::Configuration());
    m_history.clear();
    setFile({});
    setDocumentName(q(t::kNoName));
    emit historyChanged();
    return true;
}

bool DocumentController::openConfiguration()
{
    if (refuseWhileBusy()) return false;
    if (!offerSave(core::MessageKind::Warning)) return false;
    FileDialogRequest request = configDialog(t::kOpenDialogTitle);
    // An existing file is chosen: no extension is added to what the user picked.
    request.defaultSuffix.clear();
    request.directory =
        m_filePath.isEmpty() ? m_settings.lastFolder(kConfigFolder) : QFileInfo(m_filePath).absolutePath();
    const QString path = m_dialogs.openFile(request);
    if (path.isEmpty()) return false;
    return openConfigurationFile(path);
}

bool DocumentController::openRecentFile(const QString& path)
{
    if (refuseWhileBusy()) return false;
    if (!QFileInfo::exists(path)) {
        m_settings.removeRecentFile(path);
        m_presenter.show(core::warningBox(t::kRecentFileMissingPrefix + QDir::toNativeSeparators(path).toStdString() +
                                          t::kRecentFileMissingSuffix));
        return false;
    }
    if (!offerSave(core::MessageKind::Warning)) return false;
    return openConfigurationFile(path);
}

bool DocumentController::openConfigurationFile(const QString& path)
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
    for (const core::Message& m : loaded->notices)
        m_presenter.show(m);
    replace(std::move(loaded->config));
    m_history.clear();
    setFile(path);
    setDocumentName(QFileInfo(path).fileName());
    emit historyChanged();
    return true;
}

bool DocumentController::saveConfiguration()
{
    FileDialogRequest request = configDialog(t::kSaveDialogTitle);
    // The file's own folder and name once there is one; before that the system name in the
    // folder used last.
    if (m_filePath.isEmpty()) {
        request.directory = m_settings.lastFolder(kConfigFolder);
        request.proposedName = QString::fromStdString(m_config.system.name);
    } else {
        request.directory = QFileInfo(m_filePath).absolutePath();
        request.proposedName = QFileInfo(m_filePath).fileName();
    }
    const QString path = m_dialogs.saveFile(request);
    if (path.isEmpty()) return false;
    // Saving over the file itself is what Save means; replacing another file is asked first.
    const QFileInfo target(path);
    if (target.exists() && target.absoluteFilePath() != m_filePath) {
        const core::Button answer = m_presenter.show(core::Message{
            core::MessageKind::Warning, core::Button::Yes | core::Button::No,
            t::kOverwriteQuestionPrefix + QDir::toNativeSeparators(path).toStdString() + t::kOverwriteQuestionSuffix,
            false});
        if (answer != core::Button::Yes) return false;
    }
    return saveConfigurationFile(path);
}

bool DocumentController::saveConfigurationFile(const QString& path)
{
    const core::Status saved = core::saveConfigurationFile(path.toStdString(), m_config);
    if (!saved) {
        m_presenter.show(core::errorBox(saved.message()));
        return false;
    }
    m_history.markClean();
    setFile(path);
    setDocumentName(QFileInfo(path).fileName());
    emit historyChanged();
    return true;
}

void DocumentController::restoreRecovered(core::Configuration config, const QString& name)
{
    core::Configuration before = m_config;
    replace(std::move(config));
    m_history.clear();
    m_history.record(tr("Restore recovered configuration"), {}, DocumentChange::everything(), std::move(before),
                     identity());
    m_history.endGesture();
    setFile({});
    setDocumentName(name.isEmpty() ? q(t::kRecoveredName) : name);
    emit historyChanged();
}

bool DocumentController::requestClose()
{
    if (refuseWhileBusy()) return false;
    return offerSave(core::MessageKind::Confirmation);
}

void DocumentController::beginRead(int memory)
{
    m_readMemory = memory;
    core::Configuration before = m_config;
    replace(core::Configuration());
    m_history.endGesture();
    m_history.record(tr("Read memory %1").arg(memory), QStringLiteral("read"), DocumentChange::everything(),
                     std::move(before), identity());
    setFile({});
    setDocumentName(q(t::kNoName));
    emit historyChanged();
}

void DocumentController::finishRead(core::Configuration decoded)
{
    // Still the read's step: the gesture key keeps the two halves one step.
    core::Configuration before = m_config;
    replace(std::move(decoded));
    m_history.record(tr("Read memory %1").arg(m_readMemory), QStringLiteral("read"), DocumentChange::everything(),
                     std::move(before));
    m_history.endGesture();
    emit historyChanged();
    emit memoryRead();
}

} // namespace kvr::gui
