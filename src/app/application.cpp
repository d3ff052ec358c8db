#include "app/application.h"

#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/librarymaker.h"
#include "app/modulefinder.h"
#include "app/recoverykeeper.h"
#include "app/settings.h"

namespace kvr::gui {

Application::Application(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent)
    : Application(presenter, dialogs, *new Settings, parent)
{
    m_ownSettings.reset(&m_settings);
}

Application::Application(MessagePresenter& presenter, FileDialogs& dialogs, Settings& settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_presenter(presenter), m_dialogs(dialogs),
      m_document(new DocumentController(presenter, dialogs, settings, this)),
      m_device(new DeviceController(*m_document, presenter, dialogs, settings, this)),
      m_modules(new ModuleFinder(*m_device, presenter, this)),
      m_libraryMaker(new LibraryMaker(*m_document, *m_device, presenter, dialogs, this)),
      m_recovery(new RecoveryKeeper(*m_document, settings, presenter, this))
{
}

Application::~Application()
{
    delete m_recovery;
    // The device goes first: it closes its links while the document still exists.
    delete m_libraryMaker;
    delete m_modules;
    delete m_device;
    delete m_document;
}

bool Application::requestClose()
{
    if (!m_document->requestClose()) return false;
    m_device->goOffline();
    // A normal end: nothing to recover next time.
    m_recovery->discard();
    m_settings.sync();
    return true;
}

} // namespace kvr::gui
