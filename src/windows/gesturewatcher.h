#pragma once

#include <QObject>

class QWidget;

namespace kvr::gui {

class DocumentController;

// Ends the document's gesture when a control is let go: a mouse button released, a key released
// (not its auto-repeat) or the focus leaving it. Consecutive edits of one control between these
// merge into one undo step.
class GestureWatcher : public QObject {
    Q_OBJECT
public:
    GestureWatcher(DocumentController& document, QObject* parent = nullptr);
    // Watches the control (and nothing else changes in how it behaves).
    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentController& m_document;
};

} // namespace kvr::gui
