#include "windows/windowset.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "windows/aboutwindow.h"
#include "windows/mainwindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/connectionwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"
#include "windows/communicationwindow.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent)
    : QObject(parent), m_app(app), m_main(new MainWindow(app)), m_connection(new ConnectionWindow(app, m_main)),
      m_about(new AboutWindow(m_main)), m_comm(new CommunicationWindow(app, m_main)),
      m_password(new PasswordWindow(app, m_main)), m_progress(new ProgressWindow(app, m_main)),
      m_libraryMaker(new LibraryMakerWindow(app, m_main)), m_ethernet(new EthernetModulesWindow(app, m_main))
{
    connect(&app, &Application::connectionWindowRequested, this, [this] { showCentred(m_connection); });
    connect(&app, &Application::ethernetWindowRequested, this, [this](bool scan) {
        showCentred(m_ethernet);
        if (scan) m_app.scanModules();
    });
    connect(&app, &Application::passwordWindowRequested, this, [this] { showCentred(m_password); });
    connect(m_main, &MainWindow::aboutRequested, this, [this] { showCentred(m_about); });
    connect(m_main, &MainWindow::libraryMakerRequested, this, [this] { showCentred(m_libraryMaker); });
}

WindowSet::~WindowSet()
{
    delete m_main;
}

QList<QWidget*> WindowSet::all() const
{
    return {m_main, m_connection, m_about, m_comm, m_password, m_progress, m_libraryMaker, m_ethernet};
}

void WindowSet::showCentred(QWidget* window)
{
    if (!window->isVisible()) {
        const QRect anchor = m_main->isVisible() ? m_main->frameGeometry()
                                                 : (QGuiApplication::primaryScreen()
                                                        ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 1280, 800));
        window->adjustSize();
        window->move(anchor.center() - window->rect().center());
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kvr::gui
