#include "app/application.h"

#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "util/texts.h"

namespace kvr::gui {

core::Result<core::Bytes> Application::buildImage() const
{
    return core::Error{"not available"};
}
core::Result<core::Bytes> Application::readOperatingSystemFile(const QString&)
{
    return core::Error{"not available"};
}
void Application::finishMemoryRead(const core::Outcome&) {}
void Application::finishOperatingSystemRead(const core::Outcome&) {}

void Application::chooseLibraryRowFile(int) {}
void Application::loadLibraryFiles() {}
void Application::saveLibrary() {}
void Application::openLibrary() {}
void Application::sendLibrary() {}

} // namespace kvr::gui
