#include "app/librarymaker.h"
#include "app/programtext.h"

#include <QFileInfo>

#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

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

LibraryMaker::LibraryMaker(DocumentController& document, DeviceController& device, MessagePresenter& presenter,
                           FileDialogs& dialogs, QObject* parent)
    : QObject(parent), m_document(document), m_device(device), m_presenter(presenter), m_dialogs(dialogs)
{
    for (int i = 0; i < kRows; ++i)
        m_rows << QString();
}

// ---- Library maker ----

void LibraryMaker::clearRows()
{
    for (QString& row : m_rows)
        row.clear();
}

void LibraryMaker::fillRows()
{
    for (int k = 1; k <= m_library.count() && k <= kRows; ++k)
        m_rows[k - 1] += QString::fromStdString(m_library.memoryName(k));
    emit changed();
}

void LibraryMaker::chooseRowFile(int row)
{
    if (row < 0 || row >= kRows || m_document.busy()) return;
    const QString path = m_dialogs.openFile(configFilesDialog());
    if (path.isEmpty()) return;
    m_rows[row] = path;
    emit changed();
}

void LibraryMaker::loadFiles()
{
    if (m_document.refuseWhileBusy()) return;
    clearRows();
    emit changed();
    const QStringList files = m_dialogs.openFiles(configFilesDialog());
    if (files.isEmpty()) return;
    std::vector<std::string> paths;
    for (const QString& f : files)
        paths.push_back(f.toStdString());
    m_document.setLoading(true);
    emit m_document.loadStarted();
    core::LibraryBuild build = core::buildLibrary(
        paths, m_device.memoryBlocked(), [this](const core::LoadProgress& p) { emit m_document.loadProgress(p); });
    emit m_document.loadFinished();
    m_document.setLoading(false);
    for (const core::Message& m : build.notices)
        m_presenter.show(m);
    if (build.failure) m_presenter.show(*build.failure);
    m_library = std::move(build.library);
    m_fileName.clear();
    fillRows();
}

void LibraryMaker::save()
{
    if (m_document.refuseWhileBusy()) return;
    if (m_library.count() == 0) {
        m_presenter.show(core::warningBox(t::kLoadBeforeSaving));
        loadFiles();
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

void LibraryMaker::open()
{
    if (m_document.refuseWhileBusy()) return;
    clearRows();
    m_library = core::MemoryLibrary();
    m_fileName.clear();
    emit changed();
    const QString path = m_dialogs.openFile(libraryDialog(t::kOpenLibrary));
    if (path.isEmpty()) return;
    auto library = core::readLibraryFile(path.toStdString());
    if (!library) {
        m_presenter.show(core::errorBox(library.message()));
        return;
    }
    m_library = std::move(*library);
    m_fileName = QFileInfo(path).fileName();
    fillRows();
}

void LibraryMaker::send()
{
    if (m_document.refuseWhileBusy()) return;
    if (!m_device.currentLink() || !m_device.statusConnected()) {
        // Connect first; the user sends again once connected.
        m_presenter.show(core::warningBox(t::kSendLibraryOffline));
        m_device.requestConnection();
        return;
    }
    if (m_library.count() == 0) {
        m_presenter.show(core::warningBox(t::kSendLibraryEmpty));
        open();
        return;
    }
    m_device.sendLibrary(m_library.imagesToSend());
}

} // namespace kvr::gui
