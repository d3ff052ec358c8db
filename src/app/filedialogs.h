#pragma once

#include <QString>
#include <QStringList>

namespace kvr::gui {

// What a file dialog asks for. The filter is written as the program lists it:
// "Caption|pattern|Caption|pattern".
struct FileDialogRequest {
    QString title;
    QString filter;
    QString defaultSuffix;
    QString proposedName; // save dialogs
    QString directory;    // where the dialog starts; empty: the current directory
    bool confirmOverwrite = false;
};

// Every file dialog of the program goes through this, so tests can answer them.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Empty when cancelled.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual QStringList openFiles(const FileDialogRequest& request) = 0;
    virtual QString saveFile(const FileDialogRequest& request) = 0;
};

// "A *.x|*.x|All *.*|*.*" as Qt writes filters: "A *.x (*.x);;All *.* (*)".
QString qtFilter(const QString& filter);

} // namespace kvr::gui
