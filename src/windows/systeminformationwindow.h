#pragma once

#include "widgets/framedwindow.h"

class QLineEdit;
class QPushButton;

namespace kvr::gui {

class DocumentController;

// "System Information": the system name and the project, installation, engineer and comment
// texts the file keeps. OK writes them back in one step; the title stays as it is.
class SystemInformationWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit SystemInformationWindow(DocumentController& document, QWidget* parent = nullptr);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();

    DocumentController& m_document;
    QLineEdit* m_name;
    QLineEdit* m_project;
    QLineEdit* m_installation;
    QLineEdit* m_engineer;
    QLineEdit* m_comment;
    QPushButton* m_ok;
};

} // namespace kvr::gui
