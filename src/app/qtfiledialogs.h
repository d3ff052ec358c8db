#pragma once

#include "app/filedialogs.h"

class QWidget;

namespace kvr::gui {

// QFileDialog, starting in the current directory.
class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    QString openFile(const FileDialogRequest& request) override;
    QStringList openFiles(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;

private:
    QWidget* m_parent;
};

} // namespace kvr::gui
