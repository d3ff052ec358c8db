#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "config/library.h"

namespace kvr::gui {

class DeviceController;
class DocumentController;
class FileDialogs;
class MessagePresenter;

// The library maker window's side of the program: configuration files read as memories into a
// library, the library saved, opened and sent to the processor's memories.
class LibraryMaker : public QObject {
    Q_OBJECT
public:
    LibraryMaker(DocumentController& document, DeviceController& device, MessagePresenter& presenter,
                 FileDialogs& dialogs, QObject* parent = nullptr);

    static constexpr int kRows = 39;
    // Row texts Edit1..Edit39: chosen file names or memory names.
    const QStringList& rows() const { return m_rows; }
    QString fileName() const { return m_fileName; }
    const core::MemoryLibrary& library() const { return m_library; }
    void chooseRowFile(int row);
    void loadFiles();
    void save();
    void open();
    void send();

signals:
    void changed();

private:
    void clearRows();
    void fillRows();

    DocumentController& m_document;
    DeviceController& m_device;
    MessagePresenter& m_presenter;
    FileDialogs& m_dialogs;
    core::MemoryLibrary m_library;
    QStringList m_rows;
    QString m_fileName;
};

} // namespace kvr::gui
