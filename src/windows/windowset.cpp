#include "windows/windowset.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/modulefinder.h"
#include "app/settings.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/copyoutputwindow.h"
#include "windows/crossoverwindow.h"
#include "windows/devicedatawindow.h"
#include "windows/dynamicswindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/inputdelaywindow.h"
#include "windows/inputequalizerwindow.h"
#include "windows/levelswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/listingswindow.h"
#include "windows/mainwindow.h"
#include "windows/measurementimportwindow.h"
#include "windows/nameswindow.h"
#include "windows/outputdelaywindow.h"
#include "windows/outputequalizerwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"
#include "windows/reportwindow.h"
#include "windows/speakercalculatorwindow.h"
#include "windows/systeminformationwindow.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent) : QObject(parent), m_app(app), m_main(new MainWindow(app))
{
    // Created once, in this order, and only shown and hidden afterwards.
    m_all << m_main;
    m_connection = created(new ConnectionWindow(app.device(), m_main));
    m_about = created(new AboutWindow(m_main));
    m_comm = created(new CommunicationWindow(app.device(), m_main));
    m_levels = created(new LevelsWindow(app.document(), m_main));
    m_inputDelay = created(new InputDelayWindow(app.document(), m_main));
    m_inputEq = created(new InputEqualizerWindow(app.document(), m_main));
    m_crossover = created(new CrossoverWindow(app.document(), m_main));
    m_listings = created(new ListingsWindow(app.document(), m_main));
    m_dynamics = created(new DynamicsWindow(app.document(), m_main));
    m_outputDelay = created(new OutputDelayWindow(app.document(), m_main));
    m_outputEq = created(new OutputEqualizerWindow(app.document(), m_main));
    m_names = created(new NamesWindow(app.document(), m_main));
    m_systemInfo = created(new SystemInformationWindow(app.document(), m_main));
    m_password = created(new PasswordWindow(app.device(), m_main));
    m_speaker = created(new SpeakerCalculatorWindow(app.document(), m_main));
    m_deviceData = created(new DeviceDataWindow(app.document(), app.device(), m_main));
    m_measurementImport = created(new MeasurementImportWindow(app.document(), m_main));
    m_progress = created(new ProgressWindow(app.document(), m_main));
    m_report = created(new ReportWindow(app.document(), m_main));
    m_copyOutputs = created(new CopyOutputWindow(app.document(), m_main));
    m_libraryMaker = created(new LibraryMakerWindow(app.libraryMaker(), app.device(), app.document(), m_main));
    m_ethernet = created(new EthernetModulesWindow(app.modules(), app.device(), app.presenter(), m_main));

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
    handleEqualizerAndCrossoverEditors();
    handleReportAndListings();
    handleOutputEditors();
    rememberPlaces(); // keep last
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
}

void WindowSet::closeEditorsBeforeCopy()
{
    m_outputEq->close();
    m_crossover->close();
    m_inputEq->close();
    m_levels->close();
    m_dynamics->close();
}

void WindowSet::handleOutputEditors()
{
    // An output's PEQX block makes that output current; the menu keeps the current one.
    handle(EditorKind::OutputEq, [this](const EditorRequest& r) {
        if (!r.fromMenu) m_outputEq->selectOutput(r.index);
        showCentred(m_outputEq);
    });
    handle(EditorKind::Dynamics, [this](const EditorRequest& r) {
        showCentred(m_dynamics);
        if (!r.fromMenu) m_dynamics->selectOutput(r.index);
    });
    // A person at the levels or output delay window's controls of output n sees it here too.
    const auto follow = [this](int n) {
        if (m_outputEq->isVisible()) m_outputEq->selectOutput(n);
    };
    connect(m_levels, &LevelsWindow::outputSelected, this, follow);
    connect(m_outputDelay, &OutputDelayWindow::outputSelected, this, follow);
    connect(m_outputEq, &OutputEqualizerWindow::importRequested, this, [this] { showCentred(m_measurementImport); });
    // "Speaker Parameters" waits for the calculator, which shows the dynamics window's output;
    // a tab chosen there shows the same output in the dynamics window.
    connect(m_dynamics, &DynamicsWindow::speakerParametersRequested, this, [this](int output) {
        m_speaker->selectOutput(output);
        showEditor(m_speaker, true);
    });
    connect(m_speaker, &SpeakerCalculatorWindow::outputSelected, m_dynamics, &DynamicsWindow::selectOutput);
}

void WindowSet::showEditor(QDialog* window, bool modal)
{
    if (!window->isVisible()) window->setModal(modal);
    showCentred(window);
}

void WindowSet::handleEqualizerAndCrossoverEditors()
{
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

void WindowSet::handleReportAndListings()
{
    // The report window is modal from the main window; a listing opens in it beside its memos.
    handle(EditorKind::Report, [this](const EditorRequest&) {
        m_report->showReport();
        m_report->hide(); // shown beside the listings: now modal
        m_report->exec();
    });
    handle(EditorKind::Listings, [this](const EditorRequest&) { showCentred(m_listings); });
    handle(EditorKind::DeviceData, [this](const EditorRequest&) { showCentred(m_deviceData); });
    connect(m_listings, &ListingsWindow::memoOpened, this,
            [this](const QString& name, const std::vector<std::string>& lines) {
                m_report->showLines(name, lines);
                showCentred(m_report);
            });
    connect(m_main, &MainWindow::listingsSaveToggled, m_listings, &ListingsWindow::setSaveToFiles);
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
    return m_all;
}

template <typename W> W* WindowSet::created(W* window)
{
    m_all << window;
    return window;
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
