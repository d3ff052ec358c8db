#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>

#include "app/application.h"
#include "app/demoprocessor.h"
#include "app/modulefinder.h"
#include "app/qtfiledialogs.h"
#include "app/qtmessagepresenter.h"
#include "app/recoverykeeper.h"
#include "app/screenshots.h"
#include "app/settings.h"
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
    QCommandLineOption target(QStringLiteral("discovery-target"),
                              QStringLiteral("Send Ethernet module scans to ADDRESS (and UDP PORT) instead of this "
                                             "computer's directed broadcast; remembered for later runs."),
                              QStringLiteral("ADDRESS[:PORT]"));
    parser.addOption(demo);
    parser.addOption(screenshots);
    parser.addOption(target);
    parser.process(qapp);

    kvr::gui::theme::apply(qapp);

    if (parser.isSet(screenshots)) return kvr::gui::renderScreenshots(parser.value(screenshots));

    kvr::gui::QtMessagePresenter presenter;
    kvr::gui::QtFileDialogs dialogs;
    kvr::gui::Settings settings;
    dialogs.setSettings(&settings);
    kvr::gui::Application app(presenter, dialogs, settings);
    if (parser.isSet(target)) {
        const QString value = parser.value(target);
        const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
        const uint port = colon > 0 ? value.mid(colon + 1).toUInt() : 65535u;
        settings.setDiscoveryTarget(colon > 0 ? value.left(colon) : value,
                                    static_cast<quint16>(port > 0 && port <= 65535 ? port : 65535));
    }
    // The modules on this computer's network (the directed broadcast of its address), or where
    // the user aimed the scans once.
    kvr::gui::UdpModuleNetwork network;
    if (!settings.discoveryTarget().isEmpty() || settings.discoveryPort() != 65535)
        network.setTarget(settings.discoveryTarget(), settings.discoveryPort());
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
    // Before the main window asks for the connection: the work a crash interrupted.
    app.recovery().offerRestore();
    windows.main()->show();
    return qapp.exec();
}
