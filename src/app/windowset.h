#pragma once

#include <QObject>

namespace kvr::gui {

class Application;
class TAcercadeForm;
class TDCPanelForm;
class TEM100Form;
class TLoadAllMemForm;
class TManual_Detect_Form;
class TPassWord_Form;
class TProgresionForm;
class TW_Serial_Info_Form;

// Every window of the program, created once at start in a fixed order and only shown and hidden
// afterwards; it routes the application's requests to the window that answers them.
class WindowSet : public QObject {
    Q_OBJECT
public:
    explicit WindowSet(Application& app, QObject* parent = nullptr);
    ~WindowSet() override;

    TDCPanelForm* main() const { return m_main; }
    TManual_Detect_Form* connection() const { return m_connection; }
    TAcercadeForm* about() const { return m_about; }
    TW_Serial_Info_Form* comm() const { return m_comm; }
    TPassWord_Form* password() const { return m_password; }
    TProgresionForm* progress() const { return m_progress; }
    TLoadAllMemForm* libraryMaker() const { return m_libraryMaker; }
    TEM100Form* ethernet() const { return m_ethernet; }

    // In creation order.
    QList<QWidget*> all() const;

private:
    void showCentred(QWidget* window);

    Application& m_app;
    TDCPanelForm* m_main;
    TManual_Detect_Form* m_connection;
    TAcercadeForm* m_about;
    TW_Serial_Info_Form* m_comm;
    TPassWord_Form* m_password;
    TProgresionForm* m_progress;
    TLoadAllMemForm* m_libraryMaker;
    TEM100Form* m_ethernet;
};

} // namespace kvr::gui
