#include "app/qtfiledialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "app/settings.h"

namespace kvr::gui {

QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        entries << QStringLiteral("%1 (%2)").arg(parts[i], pattern.replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

QString dialogStartFolder(const FileDialogRequest& request, const Settings* settings)
{
    if (!request.directory.isEmpty() && QFileInfo(request.directory).isDir()) return request.directory;
    if (settings) {
        const QString last = settings->lastFolder(request.title);
        if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    }
    return QDir::currentPath();
}

void rememberDialogFolder(const FileDialogRequest& request, const QString& chosen, Settings* settings)
{
    if (settings && !chosen.isEmpty()) settings->setLastFolder(request.title, QFileInfo(chosen).absolutePath());
}

QString dialogDefaultSuffix(const FileDialogRequest& request, const QString& selectedFilter)
{
    // Qt writes "All Files *.* (*)": a filter of every file adds nothing to a typed name.
    if (selectedFilter.endsWith(QStringLiteral("(*)"))) return {};
    return request.defaultSuffix;
}

namespace {

void prepare(QFileDialog& dialog, const FileDialogRequest& request, const Settings* settings)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(qtFilter(request.filter));
    dialog.setDirectory(dialogStartFolder(request, settings));
}

} // namespace

QString QtFileDialogs::openFile(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, request, m_settings);
    // An existing file is picked: nothing is added to its name, whatever the filter.
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    rememberDialogFolder(request, dialog.selectedFiles().first(), m_settings);
    return dialog.selectedFiles().first();
}

QStringList QtFileDialogs::openFiles(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, request, m_settings);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted) return {};
    if (!dialog.selectedFiles().isEmpty()) rememberDialogFolder(request, dialog.selectedFiles().first(), m_settings);
    return dialog.selectedFiles();
}

QString QtFileDialogs::saveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent);
    prepare(dialog, request, m_settings);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setDefaultSuffix(dialogDefaultSuffix(request, dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& filter) {
        dialog.setDefaultSuffix(dialogDefaultSuffix(request, filter));
    });
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    rememberDialogFolder(request, dialog.selectedFiles().first(), m_settings);
    return dialog.selectedFiles().first();
}

} // namespace kvr::gui
