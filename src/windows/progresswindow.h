#pragma once

#include "config/configfile.h"
#include "widgets/framedwindow.h"

class QLabel;
class QProgressBar;

namespace kvr::gui {

class DocumentController;

// The progress window of a file load: the file, the stage and a bar. It repaints itself at
// every stage, since the load runs in one go.
class ProgressWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit ProgressWindow(DocumentController& document, QWidget* parent = nullptr);
    void setProgress(const core::LoadProgress& progress);

    QLabel* text() const { return m_text; }
    QLabel* status() const { return m_status; }
    QProgressBar* bar() const { return m_bar; }

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QLabel* m_status;
};

} // namespace kvr::gui
