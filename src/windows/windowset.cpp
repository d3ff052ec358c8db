#include "windows/windowset.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/modulefinder.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/devicedatawindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/listingswindow.h"
#include "windows/mainwindow.h"
#include "windows/measurementimportwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"
#include "windows/reportwindow.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent)
    : QObject(parent), m_app(app), m_main(new MainWindow(app)),
      m_connection(new ConnectionWindow(app.device(), m_main)), m_about(new AboutWindow(m_main)),
      m_comm(new CommunicationWindow(app.device(), m_main)), m_listings(new ListingsWindow(app.document(), m_main)),
      m_password(new PasswordWindow(app.device(), m_main)),
      m_deviceData(new DeviceDataWindow(app.document(), app.device(), m_main)),
      m_measurementImport(new MeasurementImportWindow(app.document(), m_main)),
      m_progress(new ProgressWindow(app.document(), m_main)), m_report(new ReportWindow(app.document(), m_main)),
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
    delete m_main;
}

QList<QWidget*> WindowSet::all() const
{
    return {m_main,       m_connection,        m_about,    m_comm,   m_listings,     m_password,
            m_deviceData, m_measurementImport, m_progress, m_report, m_libraryMaker, m_ethernet};
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
