#include <QFileInfo>

#include "app/application.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "comm/operations.h"
#include "image/deviceimage.h"
#include "image/osimage.h"
#include "io/link.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

FileDialogRequest libraryDialog(const char* title)
{
    FileDialogRequest request;
    request.title = q(title);
    request.filter = q(t::kLibraryFilter);
    request.defaultSuffix = q(t::kLibraryExtension);
    return request;
}

FileDialogRequest configFilesDialog()
{
    FileDialogRequest request;
    request.title = q(t::kLoadFiles);
    request.filter = q(t::kConfigFilter);
    request.defaultSuffix = q(t::kConfigExtension);
    return request;
}

} // namespace

// ---- Images and operating systems ----

core::Result<core::Bytes> Application::buildImage() const
{
    return core::BuildDeviceImage(m_config, m_memoryBlocked);
}

core::Result<core::Bytes> Application::readOperatingSystemFile(const QString& path)
{
    auto os = core::readOsFile(path.toStdString());
    if (!os) return os.error();
    return std::move(os->image);
}

void Application::finishMemoryRead(const core::Outcome& outcome)
{
    if (!outcome.completed()) return;
    setLoading(true);
    emit loadStarted();
    auto decoded = core::DecodeDeviceImage(outcome.data, m_operationMemory,
                                           [this](const core::LoadProgress& p) { emit loadProgress(p); });
    emit loadFinished();
    setLoading(false);
    if (!decoded) {
        // A damaged or older image is never applied.
        m_presenter.show(core::errorBox(decoded.message()));
        return;
    }
    core::Configuration config = std::move(*decoded);
    config.constantQ = m_config.constantQ;
    setConfiguration(std::move(config));
}

void Application::finishOperatingSystemRead(const core::Outcome& outcome)
{
    if (!outcome.completed()) return;
    emit commWindowVisibleChanged(false);
    auto received = core::receivedOs(outcome.data);
    if (!received) {
        m_presenter.show(core::errorBox(received.message()));
        return;
    }
    FileDialogRequest request;
    request.title = q(t::kOsSaveDialogTitle);
    request.filter = q(t::kOsSaveFilter);
    request.defaultSuffix = QStringLiteral("asc");
    request.proposedName = QString::fromStdString(core::proposedOsFileName(received->version));
    request.confirmOverwrite = true;
    const QString path = m_dialogs.saveFile(request);
    if (path.isEmpty()) return;
    if (const core::Status saved = core::saveOsFile(path.toStdString(), outcome.data); !saved)
        m_presenter.show(core::errorBox(saved.message()));
}

// ---- Library maker ----

void Application::clearLibraryRows()
{
    for (QString& row : m_libraryRows)
        row.clear();
}

void Application::fillLibraryRows()
{
    for (int k = 1; k <= m_library.count() && k <= kLibraryRows; ++k)
        m_libraryRows[k - 1] += QString::fromStdString(m_library.memoryName(k));
    emit libraryChanged();
}

void Application::chooseLibraryRowFile(int row)
{
    if (row < 0 || row >= kLibraryRows || busy()) return;
    const QString path = m_dialogs.openFile(configFilesDialog());
    if (path.isEmpty()) return;
    m_libraryRows[row] = path;
    emit libraryChanged();
}

void Application::loadLibraryFiles()
{
    if (refuseWhileBusy()) return;
    clearLibraryRows();
    emit libraryChanged();
    const QStringList files = m_dialogs.openFiles(configFilesDialog());
    if (files.isEmpty()) return;
    std::vector<std::string> paths;
    for (const QString& f : files)
        paths.push_back(f.toStdString());
    setLoading(true);
    updateDeviceControls();
    emit loadStarted();
    core::LibraryBuild build =
        core::buildLibrary(paths, m_memoryBlocked, [this](const core::LoadProgress& p) { emit loadProgress(p); });
    emit loadFinished();
    setLoading(false);
    updateDeviceControls();
    showMessages(build.notices);
    if (build.failure) m_presenter.show(*build.failure);
    m_library = std::move(build.library);
    m_libraryFileName.clear();
    fillLibraryRows();
}

void Application::saveLibrary()
{
    if (refuseWhileBusy()) return;
    if (m_library.count() == 0) {
        m_presenter.show(core::warningBox(t::kLoadBeforeSaving));
        loadLibraryFiles();
        return;
    }
    FileDialogRequest request = libraryDialog(t::kSaveLibrary);
    request.proposedName = q(t::kNoName);
    request.confirmOverwrite = true;
    const QString path = m_dialogs.saveFile(request);
    if (path.isEmpty()) return;
    if (const core::Status saved = core::writeLibraryFile(path.toStdString(), m_library); !saved)
        m_presenter.show(core::errorBox(saved.message()));
}

void Application::openLibrary()
{
    if (refuseWhileBusy()) return;
    clearLibraryRows();
    m_library = core::MemoryLibrary();
    m_libraryFileName.clear();
    emit libraryChanged();
    const QString path = m_dialogs.openFile(libraryDialog(t::kOpenLibrary));
    if (path.isEmpty()) return;
    auto library = core::readLibraryFile(path.toStdString());
    if (!library) {
        m_presenter.show(core::errorBox(library.message()));
        return;
    }
    m_library = std::move(*library);
    m_libraryFileName = QFileInfo(path).fileName();
    fillLibraryRows();
}

void Application::sendLibrary()
{
    if (refuseWhileBusy()) return;
    io::Link* link = currentLink();
    if (!link || !m_statusConnected) {
        // Connect first; the user sends again once connected.
        m_presenter.show(core::warningBox(t::kSendLibraryOffline));
        requestConnection();
        return;
    }
    if (m_library.count() == 0) {
        m_presenter.show(core::warningBox(t::kSendLibraryEmpty));
        openLibrary();
        return;
    }
    std::vector<core::Bytes> images;
    for (int k = 1; k <= m_library.count(); ++k) {
        const auto image = m_library.image(k);
        images.emplace_back(image.begin(), image.end());
    }
    startOperation(core::makeLibrarySend(link->info(), std::move(images)), Pending::LibrarySend, link);
}

} // namespace kvr::gui
