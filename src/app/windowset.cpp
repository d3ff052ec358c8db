#include "app/windowset.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/application.h"
#include "app/tacercadeform.h"
#include "app/tdcpanelform.h"
#include "app/tem100form.h"
#include "app/tloadallmemform.h"
#include "app/tmanual_detect_form.h"
#include "app/tpassword_form.h"
#include "app/tprogresionform.h"
#include "app/tw_serial_info_form.h"

namespace kvr::gui {

WindowSet::WindowSet(Application& app, QObject* parent)
    : QObject(parent), m_app(app), m_main(new TDCPanelForm(app)), m_connection(new TManual_Detect_Form(app, m_main)),
      m_about(new TAcercadeForm(m_main)), m_comm(new TW_Serial_Info_Form(app, m_main)),
      m_password(new TPassWord_Form(app, m_main)), m_progress(new TProgresionForm(app, m_main)),
      m_libraryMaker(new TLoadAllMemForm(app, m_main)), m_ethernet(new TEM100Form(app, m_main))
{
    connect(&app, &Application::connectionWindowRequested, this, [this] { showCentred(m_connection); });
    connect(&app, &Application::ethernetWindowRequested, this, [this](bool scan) {
        showCentred(m_ethernet);
        if (scan) m_app.scanModules();
    });
    connect(&app, &Application::passwordWindowRequested, this, [this] { showCentred(m_password); });
    connect(m_main, &TDCPanelForm::aboutRequested, this, [this] { showCentred(m_about); });
    connect(m_main, &TDCPanelForm::libraryMakerRequested, this, [this] { showCentred(m_libraryMaker); });
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
