#pragma once

#include <array>

#include "config/editing.h"
#include "widgets/framedwindow.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace kvr::gui {

class DocumentController;

// "Copy Output Configuration": copies the checked blocks of one output to another. The choices
// stay from one opening to the next; OK asks first and copies in one step.
class CopyOutputWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit CopyOutputWindow(DocumentController& document, QWidget* parent = nullptr);

    // The seven blocks in the order they are copied.
    static constexpr int kBlocks = 7;
    core::CopyOptions options() const;
    void accept() override;

private:
    void blockToggled(bool checked);

    DocumentController& m_document;
    QSpinBox* m_from;
    QSpinBox* m_to;
    std::array<QCheckBox*, kBlocks> m_blocks{};
    QCheckBox* m_all;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kvr::gui
