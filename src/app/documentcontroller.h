#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "app/documentchange.h"
#include "app/edithistory.h"
#include "config/configfile.h"
#include "config/configuration.h"
#include "util/message.h"

namespace kvr::gui {

class FileDialogs;
class MessagePresenter;
class CrossoverOperations;
class DelayOperations;
class DynamicsOperations;
class EqualizerOperations;
class LevelOperations;
class NameOperations;
class RoutingOperations;
class Settings;
class ViewOperations;

// The one Configuration, the file it came from, and its undo history. Every change goes through
// edit(): one named step per user action (a gesture merges into one step), followed by a notice
// of the regions it touched. The editing operations are grouped by region in small classes
// reached from here (routing(), ...).
class DocumentController : public QObject {
    Q_OBJECT
public:
    DocumentController(MessagePresenter& presenter, FileDialogs& dialogs, Settings& settings,
                       QObject* parent = nullptr);
    // With settings kept in memory only (nothing remembered).
    DocumentController(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent = nullptr);
    ~DocumentController() override;

    MessagePresenter& presenter() { return m_presenter; }
    FileDialogs& dialogs() { return m_dialogs; }
    Settings& settings() { return m_settings; }

    const core::Configuration& configuration() const { return m_config; }
    // "NoName" after New, the file name after Open or Save.
    QString documentName() const { return m_documentName; }
    // The file opened or saved last, empty after New and a memory read (an undo of the read brings
    // it back).
    QString filePath() const { return m_filePath; }
    QString windowTitle() const;
    // The name the title shows (the names window's OK shows the system name there).
    void setDocumentName(const QString& name);

    // ---- Busy: a load, or an exchange with the processor ----
    bool loading() const { return m_loading; }
    bool exchangeRunning() const { return m_exchangeRunning; }
    bool busy() const { return m_loading || m_exchangeRunning; }
    void setLoading(bool loading);
    // The device controller says when an exchange runs (undo and redo wait for its end).
    void setExchangeRunning(bool running);
    // Shows "wait" and returns true while busy.
    bool refuseWhileBusy();

    // ---- File ----
    // New: asks to save unsaved changes first. False when the user stopped it.
    bool newConfiguration();
    // Open: asks to save unsaved changes, then the open dialog and the load.
    bool openConfiguration();
    bool openConfigurationFile(const QString& path);
    // A file of the recent list: a missing one is taken off the list with a message.
    bool openRecentFile(const QString& path);
    // Save: the save dialog, then the write. True when written.
    bool saveConfiguration();
    bool saveConfigurationFile(const QString& path);
    // A recovered copy becomes the Configuration: one undoable step over the start-up one, unsaved.
    void restoreRecovered(core::Configuration config, const QString& name);
    // The close question: true when the program may end.
    bool requestClose();
    // Offers to save unsaved changes (a box of the given kind); false when the caller must stop.
    bool offerSave(core::MessageKind kind);

    // ---- A memory read from the processor: one undoable step ----
    // The read starts as New does (the fresh Configuration), without clearing the history.
    void beginRead(int memory);
    // The decoded memory replaces the fresh Configuration within the same step.
    void finishRead(core::Configuration decoded);

    // ---- Editing ----
    struct Edit {
        QString name;          // "Output 2 crossover": what Undo/Redo will say
        DocumentChange change; // what it touches
        QString gestureKey;    // non-empty: consecutive edits with this key merge until endGesture()
    };
    // Runs `change` on the Configuration as one step. An edit that changes nothing records nothing
    // and announces nothing. Returns whether the Configuration changed.
    template <typename F> bool edit(const Edit& e, F&& change)
    {
        core::Configuration before = m_config;
        change(m_config);
        return commit(e, std::move(before));
    }
    // The gesture in progress (drag, slider, held keys) ended.
    void endGesture() { m_history.endGesture(); }
    // Messages an operation produced, shown in order after it.
    void showNotices(const std::vector<std::string>& notices);

    // ---- Undo and redo ----
    bool canUndo() const { return !m_exchangeRunning && !m_loading && m_history.canUndo(); }
    bool canRedo() const { return !m_exchangeRunning && !m_loading && m_history.canRedo(); }
    QString undoName() const { return m_history.undoName(); }
    QString redoName() const { return m_history.redoName(); }
    void undo();
    void redo();
    // There are changes since New, Open or the last save.
    bool modified() const { return m_history.modified(); }
    const EditHistory& history() const { return m_history; }

    // ---- Editing operations by region ----
    RoutingOperations& routing() { return *m_routing; }
    LevelOperations& levels() { return *m_levels; }
    DelayOperations& delays() { return *m_delays; }
    EqualizerOperations& equalizers() { return *m_equalizers; }
    CrossoverOperations& crossovers() { return *m_crossovers; }
    DynamicsOperations& dynamics() { return *m_dynamics; }
    NameOperations& names() { return *m_names; }
    ViewOperations& views() { return *m_views; }

signals:
    void changed(const kvr::gui::DocumentChange& change);
    // New, Open or a read replaced the Configuration (editors close or reset as they do then).
    void replaced();
    // A memory read from the processor became the Configuration (after its replaced()).
    void memoryRead();
    void titleChanged(const QString& title);
    void busyChanged(bool busy);
    // Undo/redo availability, their names, or the modified state changed.
    void historyChanged();
    void loadStarted();
    void loadProgress(const kvr::core::LoadProgress& progress);
    void loadFinished();

private:
    bool commit(const Edit& e, core::Configuration before);
    void replace(core::Configuration config);
    void setFile(const QString& path);
    DocumentIdentity identity() const;
    // The file and name an undo or redo brings back (the title follows).
    void setIdentity(const DocumentIdentity& identity);

    std::unique_ptr<Settings> m_ownSettings;
    MessagePresenter& m_presenter;
    FileDialogs& m_dialogs;
    Settings& m_settings;
    QString m_filePath;
    core::Configuration m_config;
    EditHistory m_history;
    QString m_documentName;
    bool m_loading = false;
    bool m_exchangeRunning = false;
    int m_readMemory = 0;
    std::unique_ptr<RoutingOperations> m_routing;
    std::unique_ptr<LevelOperations> m_levels;
    std::unique_ptr<DelayOperations> m_delays;
    std::unique_ptr<EqualizerOperations> m_equalizers;
    std::unique_ptr<CrossoverOperations> m_crossovers;
    std::unique_ptr<DynamicsOperations> m_dynamics;
    std::unique_ptr<NameOperations> m_names;
    std::unique_ptr<ViewOperations> m_views;
};

} // namespace kvr::gui
