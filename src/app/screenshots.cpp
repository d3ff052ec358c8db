#include "app/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "app/application.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "app/tdcpanelform.h"
#include "app/windowset.h"

namespace kvr::gui {

namespace {

// Screenshots never wait for a user.
class SilentPresenter final : public MessagePresenter {
public:
    core::Button show(const core::Message&) override { return core::Button::No; }
};

class NoDialogs final : public FileDialogs {
public:
    QString openFile(const FileDialogSpec&) override { return {}; }
    QStringList openFiles(const FileDialogSpec&) override { return {}; }
    QString saveFile(const FileDialogSpec&) override { return {}; }
};

bool save(QWidget* window, const QString& folder, const QString& name)
{
    window->show();
    QApplication::processEvents();
    const QPixmap shot = window->grab();
    window->hide();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!shot.save(path)) {
        std::fprintf(stderr, "kvr610: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int renderScreenshots(const QString& folder)
{
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "kvr610: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    SilentPresenter presenter;
    NoDialogs dialogs;
    Application app(presenter, dialogs);
    WindowSet windows(app);
    bool ok = true;
    app.chooseRoutingMode(7);
    ok &= save(windows.main(), folder, QStringLiteral("TDCPanelForm"));
    const QList<QWidget*> all = windows.all();
    for (QWidget* w : all.mid(1)) ok &= save(w, folder, w->objectName());
    return ok ? 0 : 1;
}

} // namespace kvr::gui
