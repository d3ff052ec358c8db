#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "app/documentchange.h"
#include "config/configuration.h"

namespace kvr::gui {

// The file a Configuration belongs to, as the title and Save show it.
struct DocumentIdentity {
    QString filePath;
    QString name;
    bool operator==(const DocumentIdentity&) const = default;
};

// Undo and redo by snapshots of the whole Configuration (a few kilobytes each): simple, and an
// undo gives back exactly what was there. Each step keeps the state before it; a gesture (a drag,
// a slider, held keys) merges into one step while its key stays the same.
class EditHistory {
public:
    static constexpr size_t kDefaultLimit = 200;

    explicit EditHistory(size_t limit = kDefaultLimit) : m_limit(limit) {}

    // After an edit that changed the Configuration: `before` is the state it started from, `change`
    // what it touched (an undo announces the same). A step that also leaves the file (a memory
    // read, a restored copy) gives the identity it started from; other steps keep whatever file
    // the document has by then (a save in between stays). Returns false when the edit merged into
    // the open gesture of the top step.
    bool record(const QString& name, const QString& gestureKey, const DocumentChange& change,
                core::Configuration before, std::optional<DocumentIdentity> identityBefore = std::nullopt);
    // The open gesture ends: the next edit of the same control is a new step.
    void endGesture() { m_gestureOpen = false; }

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    QString undoName() const { return m_undo.empty() ? QString() : m_undo.back().name; }
    QString redoName() const { return m_redo.empty() ? QString() : m_redo.back().name; }
    // Swap `current` with the state before the last step (and `identity` too when the step carries
    // one); returns what to redraw.
    DocumentChange undo(core::Configuration& current, DocumentIdentity& identity);
    DocumentChange redo(core::Configuration& current, DocumentIdentity& identity);

    // A fresh history (New, Open); the present state is the saved one.
    void clear();
    // Serial number of the present state: equal serials, equal Configurations.
    uint64_t state() const { return m_state; }
    void markClean() { m_clean = m_state; }
    bool modified() const { return m_state != m_clean; }
    size_t size() const { return m_undo.size(); }
    size_t redoSize() const { return m_redo.size(); }

private:
    struct Step {
        QString name;
        QString gestureKey;
        DocumentChange change;
        core::Configuration other; // the state on the other side of the step
        uint64_t otherState = 0;
        std::optional<DocumentIdentity> otherIdentity; // only for steps that change the file
    };

    DocumentChange swapStep(Step& step, core::Configuration& current, DocumentIdentity& identity);

    size_t m_limit;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    bool m_gestureOpen = false;
    uint64_t m_state = 0;
    uint64_t m_nextState = 1;
    uint64_t m_clean = 0;
};

} // namespace kvr::gui
