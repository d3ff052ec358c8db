#pragma once

#include "app/filedialogs.h"

class QWidget;

namespace kvr::gui {

class Settings;

// QFileDialog. A dialog starts in the folder its request names, else in the folder the same
// dialog (by title) was last left in, else in the current directory.
class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    // Where the folders of each dialog are remembered; none: nothing is remembered.
    void setSettings(Settings* settings) { m_settings = settings; }
    QString openFile(const FileDialogRequest& request) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;

private:
    QWidget* m_parent;
    Settings* m_settings = nullptr;
};

// The folder a dialog starts in (see QtFileDialogs).
QString dialogStartFolder(const FileDialogRequest& request, const Settings* settings);
// Remembers the folder of what the user chose in this dialog.
void rememberDialogFolder(const FileDialogRequest& request, const QString& chosen, Settings* settings);
// The extension a save dialog adds to a name typed without one: the request's, but none while a
// filter that matches every file ("*.*") is selected. `selectedFilter` is in Qt's form.
QString dialogDefaultSuffix(const FileDialogRequest& request, const QString& selectedFilter);

} // namespace kvr::gui
