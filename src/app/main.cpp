#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>

#include "app/application.h"
#include "app/demoprocessor.h"
#include "app/modulefinder.h"
#include "app/qtfiledialogs.h"
#include "app/qtmessagepresenter.h"
#include "app/screenshots.h"
#include "app/udpmodulenetwork.h"
#include "util/texts.h"
#include "widgets/theme.h"
#include "windows/mainwindow.h"
#include "windows/windowset.h"

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvr610"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(kvr::core::texts::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(KVR_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("KVR 610 loudspeaker management system"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption demo(QStringLiteral("demo"),
                            QStringLiteral("Start the virtual processor with one Ethernet module on loopback."));
    QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                   QStringLiteral("Render every window to PNG files in DIR and exit."),
                                   QStringLiteral("DIR"));
    parser.addOption(demo);
    parser.addOption(screenshots);
    parser.process(qapp);

    kvr::gui::theme::apply(qapp);

    if (parser.isSet(screenshots)) return kvr::gui::renderScreenshots(parser.value(screenshots));

    kvr::gui::QtMessagePresenter presenter;
    kvr::gui::QtFileDialogs dialogs;
    kvr::gui::Application app(presenter, dialogs);
    // The modules on this computer's network (the directed broadcast of its address).
    kvr::gui::UdpModuleNetwork network;
    app.modules().setNetwork(&network);

    std::unique_ptr<kvr::gui::DemoProcessor> processor;
    if (parser.isSet(demo)) {
        processor = std::make_unique<kvr::gui::DemoProcessor>(kvr::gui::DemoProcessor::defaultSimulatorPath());
        if (auto started = processor->start(); !started) {
            presenter.show(kvr::core::errorBox(started.message()));
            return 1;
        }
        processor->aimDiscovery(app);
    }

    kvr::gui::WindowSet windows(app);
    presenter.setParent(windows.main());
    dialogs.setParent(windows.main());
    QObject::connect(windows.main(), &kvr::gui::MainWindow::closed, &qapp, &QApplication::quit);
    windows.main()->show();
    return qapp.exec();
}
