#pragma once

#include <QObject>

namespace kvr::gui {

class Application;
class AboutWindow;
class MainWindow;
class EthernetModulesWindow;
class LibraryMakerWindow;
class ConnectionWindow;
class PasswordWindow;
class ProgressWindow;
class CommunicationWindow;

// Every window of the program, created once at start in a fixed order and only shown and hidden
// afterwards; it routes the application's requests to the window that answers them.
class WindowSet : public QObject {
    Q_OBJECT
public:
    explicit WindowSet(Application& app, QObject* parent = nullptr);
    ~WindowSet() override;

    MainWindow* main() const { return m_main; }
    ConnectionWindow* connection() const { return m_connection; }
    AboutWindow* about() const { return m_about; }
    CommunicationWindow* comm() const { return m_comm; }
    PasswordWindow* password() const { return m_password; }
    ProgressWindow* progress() const { return m_progress; }
    LibraryMakerWindow* libraryMaker() const { return m_libraryMaker; }
    EthernetModulesWindow* ethernet() const { return m_ethernet; }

    // In creation order.
    QList<QWidget*> all() const;

private:
    void showCentred(QWidget* window);

    Application& m_app;
    MainWindow* m_main;
    ConnectionWindow* m_connection;
    AboutWindow* m_about;
    CommunicationWindow* m_comm;
    PasswordWindow* m_password;
    ProgressWindow* m_progress;
    LibraryMakerWindow* m_libraryMaker;
    EthernetModulesWindow* m_ethernet;
};

} // namespace kvr::gui
