#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QTimer;

namespace kvr::gui {

class DocumentController;
class MessagePresenter;
class Settings;

// Keeps a copy of the working Configuration while it has unsaved changes, so that a program that
// ended abnormally (a crash, a signal, a power cut) loses at most the last few seconds of work.
// The copy is a configuration file written atomically into the recovery folder a few seconds
// after a change; saving, returning to the saved state and a normal end remove it. A lock held
// for the whole run tells a copy left by a dead run from one a running program is writing: a
// second program running at the same time keeps no copy and offers none.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 3000;

    RecoveryKeeper(DocumentController& document, Settings& settings, MessagePresenter& presenter,
                   QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    QString copyPath() const;
    // This run owns the recovery folder (no other program holds it).
    bool active() const { return m_lock != nullptr; }
    // At start: a copy left by a run that ended abnormally is offered; Yes restores it, No
    // removes it. Returns whether a copy was restored.
    bool offerRestore();
    // A normal end: the copy goes.
    void discard();
    // Writes a pending copy now (the timer would do it a little later).
    void flush();
    void setDelayMs(int ms) { m_delayMs = ms; }

private:
    void onDocumentChanged();
    void write();
    void remove();

    DocumentController& m_document;
    Settings& m_settings;
    MessagePresenter& m_presenter;
    std::unique_ptr<QLockFile> m_lock;
    QTimer* m_timer;
    int m_delayMs = kDelayMs;
};

} // namespace kvr::gui
