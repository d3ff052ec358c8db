#include "app/recoverykeeper.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QTimer>

#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "app/settings.h"
#include "config/configfile.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {
const QString kWindow = QStringLiteral("Recovery");
const QString kNameKey = QStringLiteral("documentName");
} // namespace

RecoveryKeeper::RecoveryKeeper(DocumentController& document, Settings& settings, MessagePresenter& presenter,
                               QObject* parent)
    : QObject(parent), m_document(document), m_settings(settings), m_presenter(presenter), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &RecoveryKeeper::write);
    const QString folder = settings.recoveryFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder)) return;
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral("/running.lock"));
    // A lock whose program is gone is taken over at once.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return;
    m_lock = std::move(lock);
    connect(&m_document, &DocumentController::historyChanged, this, &RecoveryKeeper::onDocumentChanged);
}

RecoveryKeeper::~RecoveryKeeper() = default;

QString RecoveryKeeper::copyPath() const
{
    return m_settings.recoveryFolder() + QStringLiteral("/recovery.kv4");
}

void RecoveryKeeper::onDocumentChanged()
{
    if (!m_document.modified()) {
        // Saved, or undone back to the saved state: nothing to recover.
        m_timer->stop();
        remove();
        return;
    }
    // At most one write per delay while the user keeps editing.
    if (!m_timer->isActive()) m_timer->start(m_delayMs);
}

void RecoveryKeeper::flush()
{
    if (m_timer->isActive()) {
        m_timer->stop();
        write();
    }
}

void RecoveryKeeper::write()
{
    if (!active() || !m_document.modified()) return;
    QSaveFile file(copyPath());
    if (!file.open(QIODevice::WriteOnly)) return;
    const core::Bytes bytes = core::encodeConfigurationFile(m_document.configuration(), copyPath().toStdString());
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    // A failed write keeps the previous copy; the next change tries again.
    if (!file.commit()) return;
    m_settings.setWindowValue(kWindow, kNameKey, m_document.documentName());
    m_settings.sync();
}

void RecoveryKeeper::remove()
{
    if (active()) QFile::remove(copyPath());
}

void RecoveryKeeper::discard()
{
    m_timer->stop();
    remove();
}

bool RecoveryKeeper::offerRestore()
{
    if (!active() || !QFile::exists(copyPath())) return false;
    const core::Button answer = m_presenter.show(core::Message{
        core::MessageKind::Confirmation, core::Button::Yes | core::Button::No, t::kRecoveryQuestion, false});
    if (answer != core::Button::Yes) {
        remove();
        return false;
    }
    auto loaded = core::loadConfigurationFile(copyPath().toStdString());
    if (!loaded) {
        m_presenter.show(core::errorBox(t::kRecoveryUnreadable + loaded.message()));
        remove();
        return false;
    }
    m_document.restoreRecovered(std::move(loaded->config), m_settings.windowValue(kWindow, kNameKey).toString());
    // The restored Configuration is unsaved: it is kept again at once.
    write();
    return true;
}

} // namespace kvr::gui
