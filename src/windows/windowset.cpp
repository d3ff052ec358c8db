#include "windows/windowset.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/modulefinder.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/copyoutputwindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/inputdelaywindow.h"
#include "windows/levelswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/mainwindow.h"
#include "windows/nameswindow.h"
#include "windows/outputdelaywindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"
#include "windows/systeminformationwindow.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent)
    : QObject(parent), m_app(app), m_main(new MainWindow(app)),
      m_connection(new ConnectionWindow(app.device(), m_main)), m_about(new AboutWindow(m_main)),
      m_comm(new CommunicationWindow(app.device(), m_main)), m_levels(new LevelsWindow(app.document(), m_main)),
      m_inputDelay(new InputDelayWindow(app.document(), m_main)),
      m_outputDelay(new OutputDelayWindow(app.document(), m_main)), m_names(new NamesWindow(app.document(), m_main)),
      m_systemInfo(new SystemInformationWindow(app.document(), m_main)),
      m_password(new PasswordWindow(app.device(), m_main)), m_progress(new ProgressWindow(app.document(), m_main)),
      m_copyOutputs(new CopyOutputWindow(app.document(), m_main)),
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
    handleLevelAndNameEditors();
}

void WindowSet::handleLevelAndNameEditors()
{
    // The gain blocks open the levels window beside the others; "&Gains" opens it modally.
    handle(EditorKind::Levels, [this](const EditorRequest& r) { showEditor(m_levels, r.fromMenu); });
    // The delay blocks wait for their window; the menu items open it beside the others.
    handle(EditorKind::InputDelay, [this](const EditorRequest& r) {
        showEditor(m_inputDelay, !r.fromMenu);
        if (!r.fromMenu) m_inputDelay->focusInput(static_cast<core::InputId>(r.index));
    });
    handle(EditorKind::OutputDelay, [this](const EditorRequest& r) {
        showEditor(m_outputDelay, !r.fromMenu);
        if (!r.fromMenu) m_outputDelay->focusOutput(r.index);
    });
    handle(EditorKind::Names, [this](const EditorRequest&) { showEditor(m_names, true); });
    handle(EditorKind::SystemInfo, [this](const EditorRequest&) { showEditor(m_systemInfo, true); });
    handle(EditorKind::CopyOutputs, [this](const EditorRequest&) {
        closeEditorsBeforeCopy();
        showEditor(m_copyOutputs, true);
    });
    connect(m_levels, &LevelsWindow::namesRequested, this, [this] { showEditor(m_names, true); });
    // Still to be connected where those windows are built: the output equaliser follows
    // m_levels->outputSelected and m_outputDelay->outputSelected while it is visible, and the
    // coefficient listings recompute on m_inputDelay->confirmed and m_outputDelay->confirmed.
}

void WindowSet::closeEditorsBeforeCopy()
{
    // In this order: the output equaliser, crossover, input equaliser, levels and dynamics
    // windows. Those not built yet are closed here once they exist.
    m_levels->close();
}

void WindowSet::showEditor(QDialog* window, bool modal)
{
    if (!window->isVisible()) window->setModal(modal);
    showCentred(window);
}

WindowSet::~WindowSet()
{
    delete m_main;
}

QList<QWidget*> WindowSet::all() const
{
    return {m_main,  m_connection, m_about,    m_comm,     m_levels,      m_inputDelay,   m_outputDelay,
            m_names, m_systemInfo, m_password, m_progress, m_copyOutputs, m_libraryMaker, m_ethernet};
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
