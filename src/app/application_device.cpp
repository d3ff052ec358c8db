#include "app/application.h"

#include "app/messagepresenter.h"
#include "util/texts.h"

namespace kvr::gui {

void Application::showEthernetWindow()
{
    chooseConnection(ConnectionChoice::Ethernet);
    emit ethernetWindowRequested(false);
}

void Application::storeConfiguration() {}
void Application::readMemory() {}
void Application::changeMemory() {}
void Application::readVersion() {}
void Application::readOperatingSystem() {}
void Application::uploadOperatingSystem() {}
void Application::lockKeyboard(bool) {}
void Application::unlockKeyboard() {}
void Application::requestPassword() { emit passwordWindowRequested(); }
void Application::sendPassword(const std::array<uint8_t, 6>&, bool) {}
void Application::cancelPassword() {}
void Application::resetProcessor() {}

} // namespace kvr::gui

namespace kvr::gui {

void Application::scanModules() {}
void Application::selectModule(int index)
{
    m_selectedModule = (index >= 0 && index < m_modules.size()) ? index : -1;
    emit modulesChanged();
}
void Application::connectModule() {}
void Application::changeModuleIp(const QString&) {}
void Application::changeModuleHostName(const QString&) {}
void Application::identifyModule() {}

void Application::chooseLibraryRowFile(int) {}
void Application::loadLibraryFiles() {}
void Application::saveLibrary() {}
void Application::openLibrary() {}
void Application::sendLibrary() {}

} // namespace kvr::gui
