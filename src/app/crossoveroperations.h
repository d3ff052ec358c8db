#pragma once

#include <QString>

#include "config/editing.h"

namespace kvr::gui {

class DocumentController;
class DocumentChange;

// The crossover sides of each output and their links.
// Each operation is one named, undoable edit of the document; each returns whether the
// Configuration changed. Held controls (arrow keys, spin buttons, the plot drag) merge into one
// undo step per gesture.
class CrossoverOperations {
public:
    explicit CrossoverOperations(DocumentController& document) : m_document(document) {}

    // ---- Normal page (output 1..4, side) ----
    bool setFrequency(int output, core::CrossoverSide side, double hz);
    bool setOrder(int output, core::CrossoverSide side, int order);
    bool setFamily(int output, core::CrossoverSide side, int familyItem);
    // ---- Custom page (section 1..4) ----
    bool setCustomFrequency(int output, core::CrossoverSide side, int section, double hz);
    bool setCustomQ(int output, core::CrossoverSide side, int section, double q);
    bool setCustomOrder(int output, core::CrossoverSide side, int order);
    // ---- Links 1-2, 2-3, 3-4 (link 1..3) ----
    bool setLink(int link, bool on);
    // ---- The plot drag: the side's frequency to the mouse frequency. Its messages (a Bessel
    // limit) are added to `deferred` for the window to show once the drag ends. ----
    bool dragFrequency(int output, core::CrossoverSide side, double f, core::Notices& deferred);
    // The drag ended: each message it gathered is shown once, in the order first met.
    void showDeferred(const core::Notices& deferred);

    // What a change from `before` to `after` touched: the crossovers and dynamics of the outputs
    // that differ, and the links.
    static DocumentChange changeBetween(const core::Configuration& before, const core::Configuration& after);

private:
    template <typename F>
    bool run(const QString& name, const QString& gestureKey, F&& operation, core::Notices* deferred = nullptr);
    void show(const core::Notices& notices);

    DocumentController& m_document;
};

} // namespace kvr::gui
