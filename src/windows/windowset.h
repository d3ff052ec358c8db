#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "windows/mainwindow.h"

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

    // Shows a window centred on the main window (where it was last, once shown).
    void showCentred(QWidget* window);
    // Writes where every visible window is (the others were written when they were hidden).
    void savePlaces();

protected:
    // Every framed window goes back where the user left it, and as large.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Watches the show and hide of the main window and every framed window it owns; called last
    // in the constructor so that every window created there is included.
    void rememberPlaces();
    // What a request of the main window for a kind of window does; the kind's controls are
    // enabled once it is set.
    void handle(EditorKind kind, std::function<void(const EditorRequest&)> open);
    void onEditorRequested(const EditorRequest& request);
    std::array<std::function<void(const EditorRequest&)>, kEditorKinds> m_openers;

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
