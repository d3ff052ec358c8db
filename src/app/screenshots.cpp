#include "app/screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <utility>

#include "app/application.h"
#include "app/demoprocessor.h"
#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/filedialogs.h"
#include "app/librarymaker.h"
#include "app/messagepresenter.h"
#include "app/modulefinder.h"
#include "app/settings.h"
#include "app/udpmodulenetwork.h"
#include "config/configfile.h"
#include "config/editing.h"
#include "io/modulediscovery.h"
#include "util/texts.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/mainwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"
#include "windows/windowset.h"

namespace kvr::gui {

namespace {

// Screenshots never wait for a user.
class SilentPresenter final : public MessagePresenter {
public:
    core::Button show(const core::Message& message) override
    {
        std::fprintf(stderr, "kvr610: box: %s\n", message.text.c_str());
        return core::Button::No;
    }
};

// Dialogs answered by the script below.
class PreparedDialogs final : public FileDialogs {
public:
    QString openFile(const FileDialogRequest&) override { return {}; }
    QStringList openFiles(const FileDialogRequest&) override { return std::exchange(files, {}); }
    QString saveFile(const FileDialogRequest&) override { return {}; }
    QStringList files;
};

bool waitUntil(const std::function<bool()>& condition, int limitMs)
{
    QEventLoop loop;
    QTimer poll;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    limit.start(limitMs);
    if (!condition()) loop.exec();
    return condition();
}

void settle(int ms = 30)
{
    waitUntil([] { return false; }, ms);
}

class Shooter {
public:
    explicit Shooter(QString folder) : m_folder(std::move(folder)) {}
    void shoot(QWidget* window, const QString& name)
    {
        const bool wasVisible = window->isVisible();
        window->show();
        settle();
        const QPixmap shot = window->grab();
        if (!wasVisible) window->hide();
        const QString path = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!shot.save(path)) {
            std::fprintf(stderr, "kvr610: cannot write %s\n", qPrintable(path));
            m_ok = false;
            return;
        }
        std::printf("%s\n", qPrintable(path));
    }
    bool ok() const { return m_ok; }

private:
    QString m_folder;
    bool m_ok = true;
};

// A setup that shows what the diagram can show: a mode with captions, levels, delays, crossovers
// and a muted output.
core::Configuration sampleConfiguration()
{
    core::Configuration c;
    c.setRoutingMode(7);
    c.setSystemName("Main Hall");
    c.setInputLevelDb(core::InputId::A, -2.5);
    c.setInputLevelDb(core::InputId::B, -2.5);
    const double levels[4] = {-3.0, -3.0, 0.0, -6.0};
    const double delays[4] = {1.20, 1.20, 0.0, 2.90};
    const double lows[4] = {0, 0, 120, 0};
    const double highs[4] = {120, 120, 0, 0};
    for (int n = 1; n <= 4; ++n) {
        c.setOutputLevelDb(n, levels[n - 1]);
        core::setOutputDelayMs(c, n, delays[n - 1]);
        if (lows[n - 1] > 0) {
            core::setCrossoverFamily(c, n, core::CrossoverSide::Low, 2);
            core::setCrossoverOrder(c, n, core::CrossoverSide::Low, 4);
            core::setCrossoverFrequency(c, n, core::CrossoverSide::Low, lows[n - 1]);
        }
        if (highs[n - 1] > 0) {
            core::setCrossoverFamily(c, n, core::CrossoverSide::High, 2);
            core::setCrossoverOrder(c, n, core::CrossoverSide::High, 4);
            core::setCrossoverFrequency(c, n, core::CrossoverSide::High, highs[n - 1]);
        }
    }
    c.setOutputMute(4, true);
    return c;
}

} // namespace

int renderScreenshots(const QString& folder)
{
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "kvr610: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir work;
    SilentPresenter presenter;
    PreparedDialogs dialogs;
    // The user's own settings and recovery copy stay untouched.
    Settings settings(work.filePath(QStringLiteral("settings.ini")), work.filePath(QStringLiteral("recovery")));
    Application app(presenter, dialogs, settings);
    WindowSet windows(app);
    Shooter shooter(folder);

    // Virtual processors behind two Ethernet modules on loopback, in their own program.
    DemoProcessor::Options options;
    options.modules = {QStringLiteral("STAGE-L,0.32.74.1.2.3"), QStringLiteral("FOH,0.32.74.1.2.4")};
    options.stateFolder = work.filePath(QStringLiteral("processor"));
    options.baud = 38400; // paced like the real wire, so the data phase can be caught
    DemoProcessor simulator(DemoProcessor::defaultSimulatorPath());
    const bool live = simulator.start(options).ok();
    if (!live) std::fprintf(stderr, "kvr610: the virtual processor did not start\n");
    UdpModuleNetwork finder;
    for (const QString& line : simulator.endpoints()) {
        const QStringList parts = line.split(QLatin1Char(' '));
        const QString endpoint = parts.last();
        const qsizetype colon = endpoint.lastIndexOf(QLatin1Char(':'));
        const auto port = static_cast<quint16>(endpoint.mid(colon + 1).toUInt());
        if (parts[0] == QStringLiteral("discovery")) finder.setTarget(endpoint.left(colon), port);
        if (parts[0] == QStringLiteral("module")) app.device().setEthernetPort(port);
    }
    finder.discovery().setScanWindowMs(300);
    app.modules().setNetwork(&finder);
    app.modules().setScanDurationMs(400);

    // The start: the main window and the connection window over it.
    const QString file = work.filePath(QStringLiteral("Main Hall.kv4"));
    core::saveConfigurationFile(file.toStdString(), sampleConfiguration());
    app.document().openConfigurationFile(file);
    windows.main()->show();
    waitUntil([&] { return windows.connection()->isVisible(); }, 1000);
    shooter.shoot(windows.connection(), QStringLiteral("TManual_Detect_Form"));

    // Ethernet chosen: the module window after a scan, a module chosen.
    windows.connection()->findChild<QRadioButton*>(QStringLiteral("EthernetRB"))->click();
    windows.connection()->okButton()->click();
    waitUntil([&] { return windows.ethernet()->isVisible() && !app.modules().scanning(); }, 3000);
    app.modules().selectModule(0);
    shooter.shoot(windows.ethernet(), QStringLiteral("TEM100Form"));

    // Connected, then storing into memory 3: the communication window in the data phase.
    windows.ethernet()->hide();
    app.device().setMemory(3);
    if (live) {
        app.modules().connectSelected();
        waitUntil([&] { return !app.device().busy(); }, 8000);
        QString status;
        QObject::connect(&app.device(), &DeviceController::commStatusChanged,
                         [&](const QString& text) { status = text; });
        app.device().storeConfiguration();
        waitUntil([&] { return status.startsWith(QString::fromUtf8(core::texts::kSendingData)); }, 5000);
        settle(220); // part of the data on its way
        shooter.shoot(windows.comm(), QStringLiteral("TW_Serial_Info_Form"));
        waitUntil([&] { return !app.device().busy(); }, 8000);
        windows.comm()->hide();
    }
    shooter.shoot(windows.main(), QStringLiteral("TDCPanelForm"));

    windows.about()->show();
    shooter.shoot(windows.about(), QStringLiteral("TAcercadeForm"));
    windows.about()->hide();

    windows.password()->show();
    for (const char* key : {"FARR_SpeedButton", "FABA_SpeedButton", "FABA_SpeedButton", "ENTER_SpeedButton"})
        windows.password()->findChild<QPushButton*>(QString::fromUtf8(key))->click();
    shooter.shoot(windows.password(), QStringLiteral("TPassWord_Form"));
    windows.password()->hide();

    windows.progress()->show();
    windows.progress()->setProgress(core::LoadProgress{std::string(core::texts::kOpeningFile) + file.toStdString(), 40,
                                                       core::texts::kLoadReadingPeqx});
    shooter.shoot(windows.progress(), QStringLiteral("TProgresionForm"));
    windows.progress()->hide();

    // A library of four setups.
    const char* names[4] = {"Main Hall", "Foyer", "Balcony", "Stage Mon"};
    for (const char* name : names) {
        core::Configuration c = sampleConfiguration();
        c.setSystemName(name);
        const QString path = work.filePath(QString::fromUtf8(name) + QStringLiteral(".kv4"));
        core::saveConfigurationFile(path.toStdString(), c);
        dialogs.files.prepend(path);
    }
    app.libraryMaker().loadFiles();
    shooter.shoot(windows.libraryMaker(), QStringLiteral("TLoadAllMemForm"));
    windows.main()->hide();
    return shooter.ok() ? 0 : 1;
}

} // namespace kvr::gui
