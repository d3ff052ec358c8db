#include "windows/windowset.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/modulefinder.h"
#include "app/settings.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/mainwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent)
    : QObject(parent), m_app(app), m_main(new MainWindow(app)),
      m_connection(new ConnectionWindow(app.device(), m_main)), m_about(new AboutWindow(m_main)),
      m_comm(new CommunicationWindow(app.device(), m_main)), m_password(new PasswordWindow(app.device(), m_main)),
      m_progress(new ProgressWindow(app.document(), m_main)),
      m_libraryMaker(new LibraryMakerWindow(app.libraryMaker(), app.device(), app.document(), m_main)),
      m_ethernet(new EthernetModulesWindow(app.modules(), app.device(), app.presenter(), m_main))
{
    DeviceController& device = app.device();
    connect(&device, &DeviceController::connectionWindowRequested, this, [this] { showCentred(m_connection); });
    connect(&device, &DeviceController::ethernetWindowRequested, this, [this](bool scan) {
        showCentred(m_ethernet);
        if (scan) m_app.modules().scan();
    });
    connect(&device, &DeviceController::passwordWindowRequested, this, [this] { showCentred(m_password); });
    connect(m_main, &MainWindow::editorRequested, this, &WindowSet::onEditorRequested);
    connect(m_main, &MainWindow::aboutRequested, this, [this] { showCentred(m_about); });
    connect(m_main, &MainWindow::libraryMakerRequested, this, [this] { showCentred(m_libraryMaker); });
    rememberPlaces(); // keep last
}

WindowSet::~WindowSet()
{
    savePlaces();
    delete m_main;
}

void WindowSet::rememberPlaces()
{
    m_main->installEventFilter(this);
    for (FramedWindow* window : m_main->findChildren<FramedWindow*>())
        window->installEventFilter(this);
}

void WindowSet::savePlaces()
{
    if (!m_main) return;
    QList<FramedWindow*> windows = m_main->findChildren<FramedWindow*>();
    windows.prepend(m_main);
    for (FramedWindow* window : windows)
        if (window->isVisible()) m_app.settings().setWindowGeometry(window->objectName(), window->saveGeometry());
}

bool WindowSet::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<FramedWindow*>(watched);
    if (window && !window->objectName().isEmpty()) {
        if (event->type() == QEvent::Show && !window->property("kvrPlaced").toBool()) {
            // Once per run: afterwards the window keeps its place itself while hidden.
            window->setProperty("kvrPlaced", true);
            const QByteArray geometry = m_app.settings().windowGeometry(window->objectName());
            if (!geometry.isEmpty()) window->restoreGeometry(geometry);
        } else if (event->type() == QEvent::Hide) {
            m_app.settings().setWindowGeometry(window->objectName(), window->saveGeometry());
        }
    }
    return QObject::eventFilter(watched, event);
}

QList<QWidget*> WindowSet::all() const
{
    return {m_main, m_connection, m_about, m_comm, m_password, m_progress, m_libraryMaker, m_ethernet};
}

void WindowSet::handle(EditorKind kind, std::function<void(const EditorRequest&)> open)
{
    m_openers[static_cast<size_t>(kind)] = std::move(open);
    m_main->setEditorAvailable(kind, true);
}

void WindowSet::onEditorRequested(const EditorRequest& request)
{
    if (const auto& open = m_openers[static_cast<size_t>(request.kind)]) open(request);
}

void WindowSet::showCentred(QWidget* window)
{
    // A window the user has placed before goes back there (eventFilter), the others centre.
    if (!window->isVisible() && m_app.settings().windowGeometry(window->objectName()).isEmpty()) {
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
