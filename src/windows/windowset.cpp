#include "windows/windowset.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/modulefinder.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/crossoverwindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/inputequalizerwindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/mainwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent)
    : QObject(parent), m_app(app), m_main(new MainWindow(app)),
      m_connection(new ConnectionWindow(app.device(), m_main)), m_about(new AboutWindow(m_main)),
      m_comm(new CommunicationWindow(app.device(), m_main)),
      m_inputEq(new InputEqualizerWindow(app.document(), m_main)),
      m_crossover(new CrossoverWindow(app.document(), m_main)), m_password(new PasswordWindow(app.device(), m_main)),
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

    // The PEQ block of an input opens the bank its caption names; the menu keeps the bank shown.
    handle(EditorKind::InputEq, [this](const EditorRequest& r) {
        if (!r.fromMenu && r.index >= 0 && r.index < core::kInputCount)
            m_inputEq->selectBank(core::bankForSelector(
                m_app.document().configuration().input(static_cast<core::InputId>(r.index)).peqSource));
        showCentred(m_inputEq);
    });
    // An output's XOVER block makes that output current; the menu keeps the current one.
    handle(EditorKind::Crossover, [this](const EditorRequest& r) {
        if (!r.fromMenu && r.index >= 1 && r.index <= core::kOutputCount) m_crossover->selectOutput(r.index);
        showCentred(m_crossover);
    });
}

WindowSet::~WindowSet()
{
    delete m_main;
}

QList<QWidget*> WindowSet::all() const
{
    return {m_main,      m_connection, m_about,    m_comm,         m_inputEq,
            m_crossover, m_password,   m_progress, m_libraryMaker, m_ethernet};
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
