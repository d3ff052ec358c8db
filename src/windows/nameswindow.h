#pragma once

#include <array>

#include "config/routing.h"
#include "widgets/framedwindow.h"

class QLineEdit;
class QPushButton;

namespace kvr::gui {

class DocumentController;

// "Input & Output Configuration": the system name and the names of inputs A, B and the four
// outputs. The fields take the Configuration's texts when the window opens; OK writes them back
// in one step and shows the system name in the main window's title, Cancel leaves them.
class NamesWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit NamesWindow(DocumentController& document, QWidget* parent = nullptr);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();

    DocumentController& m_document;
    QLineEdit* m_systemName;
    std::array<QLineEdit*, 2> m_inputs{};
    std::array<QLineEdit*, core::kOutputCount> m_outputs{};
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace kvr::gui
