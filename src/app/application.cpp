#include "app/application.h"

#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/librarymaker.h"
#include "app/modulefinder.h"

namespace kvr::gui {

Application::Application(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent)
    : QObject(parent), m_presenter(presenter), m_dialogs(dialogs),
      m_document(new DocumentController(presenter, dialogs, this)),
      m_device(new DeviceController(*m_document, presenter, dialogs, this)),
      m_modules(new ModuleFinder(*m_device, presenter, this)),
      m_libraryMaker(new LibraryMaker(*m_document, *m_device, presenter, dialogs, this))
{
}

Application::~Application()
{
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
    return true;
}

} // namespace kvr::gui
