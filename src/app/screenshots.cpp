#include "app/screenshots.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

#include "app/application.h"
#include "app/delayoperations.h"
#include "app/demoprocessor.h"
#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/dynamicsoperations.h"
#include "app/equalizeroperations.h"
#include "app/filedialogs.h"
#include "app/leveloperations.h"
#include "app/librarymaker.h"
#include "app/messagepresenter.h"
#include "app/modulefinder.h"
#include "app/nameoperations.h"
#include "app/settings.h"
#include "app/udpmodulenetwork.h"
#include "app/viewoperations.h"
#include "config/configfile.h"
#include "config/crossoverediting.h"
#include "config/editing.h"
#include "config/inputeqediting.h"
#include "io/modulediscovery.h"
#include "plot/responseplot.h"
#include "tools/measurementformats.h"
#include "util/texts.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/copyoutputwindow.h"
#include "windows/crossoverwindow.h"
#include "windows/devicedatawindow.h"
#include "windows/dynamicswindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/inputdelaywindow.h"
#include "windows/inputequalizerwindow.h"
#include "windows/levelswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/listingswindow.h"
#include "windows/mainwindow.h"
#include "windows/measurementimportwindow.h"
#include "windows/nameswindow.h"
#include "windows/outputdelaywindow.h"
#include "windows/outputequalizerwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"
#include "windows/reportwindow.h"
#include "windows/speakercalculatorwindow.h"
#include "windows/systeminformationwindow.h"
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

// The level, delay and naming windows over the loaded setup, with a few edits of their own.
void shootLevelsAndNames(Application& app, WindowSet& windows, Shooter& shooter)
{
    DocumentController& doc = app.document();
    doc.levels().setPolarity(2, true);
    doc.levels().setInputMute(core::InputId::B, true);
    doc.levels().setInputLevelPosition(core::InputId::M, -255);
    doc.delays().setInputDelayLinkAToB(true);
    doc.delays().setInputDelayPosition(core::InputId::A, 345);
    doc.delays().setInputDelayPosition(core::InputId::M, 120);
    doc.delays().setOutputDelayLink(1, true);
    doc.delays().setOutputDelayPosition(3, 36);
    core::SystemInfo info = doc.configuration().system;
    info.project = "Spring tour";
    info.installation = "Main Hall, north balcony";
    info.engineer = "R. Alvarez";
    info.comment = "Delays set by measurement";
    doc.names().applySystemInfo(info);

    const std::pair<QWidget*, const char*> shots[] = {
        {windows.levels(), "TGainsForm"},           {windows.inputDelay(), "TDelayForm"},
        {windows.outputDelay(), "TDelayFinoForm"},  {windows.names(), "TInputOutputForm"},
        {windows.systemInfo(), "TInfoSistemaForm"},
    };
    for (const auto& [window, name] : shots) {
        windows.showCentred(window); // sized as the program opens it
        shooter.shoot(window, QString::fromUtf8(name));
        window->hide();
    }
    CopyOutputWindow* copy = windows.copyOutputs();
    for (const char* box : {"XoverCheck", "PEQXCheck", "OutGainCheck"})
        copy->findChild<QCheckBox*>(QString::fromUtf8(box))->setChecked(true);
    copy->findChild<QSpinBox*>(QStringLiteral("CopiaSpin"))->setValue(2);
    windows.showCentred(copy);
    shooter.shoot(copy, QStringLiteral("TCopyOutputForm"));
    copy->hide();
}

// The editors' setup: equalised inputs and a four-way crossover with a custom side.
core::Configuration editorConfiguration()
{
    using core::CrossoverSide;
    using core::InputId;
    core::Configuration c = sampleConfiguration();
    struct Band {
        InputId bank;
        int band;
        int type;
        double hz, db, q;
    };
    const Band bands[] = {
        {InputId::A, 1, 3, 80, 4.0, 0.7},    {InputId::A, 2, 1, 250, -3.5, 1.4}, {InputId::A, 3, 1, 2500, 2.5, 2.0},
        {InputId::A, 4, 4, 8000, -2.0, 0.7}, {InputId::B, 1, 7, 40, 0, 0.7},     {InputId::B, 2, 1, 1000, -4.0, 3.0},
        {InputId::B, 3, 5, 6000, 3.0, 0.7},  {InputId::M, 1, 1, 120, 5.0, 0.7},  {InputId::M, 2, 6, 12000, 0, 0.7},
    };
    for (const Band& b : bands) {
        core::selectInputBand(c, b.bank, b.band);
        core::setInputBandType(c, b.bank, b.band, b.type);
        core::setInputBandFrequency(c, b.bank, b.band, b.hz);
        core::setInputBandGain(c, b.bank, b.band, b.db);
        core::setInputBandQ(c, b.bank, b.band, b.q);
    }
    struct Side {
        int output;
        CrossoverSide side;
        int family, order;
        double hz;
    };
    const Side sides[] = {
        {4, CrossoverSide::High, 0, 4, 20000}, {1, CrossoverSide::High, 2, 4, 120},
        {2, CrossoverSide::Low, 2, 4, 120},    {2, CrossoverSide::High, 2, 4, 1200},
        {3, CrossoverSide::Low, 2, 4, 1200},   {3, CrossoverSide::High, 3, 4, 6000},
        {4, CrossoverSide::Low, 3, 4, 6000},   {1, CrossoverSide::Low, 4, 3, 25},
    };
    for (const Side& s : sides) {
        core::setCrossoverFamily(c, s.output, s.side, s.family);
        core::setCrossoverOrder(c, s.output, s.side, s.order);
        core::setCrossoverFrequency(c, s.output, s.side, s.hz);
    }
    core::setCustomSectionFrequency(c, 1, CrossoverSide::Low, 1, 28);
    core::setCustomSectionFrequency(c, 1, CrossoverSide::Low, 2, 32);
    core::setCustomSectionQ(c, 1, CrossoverSide::Low, 2, 1.8);
    return c;
}

// The mouse over a point of the plot, so its readout shows.
void hover(ResponsePlot* plot, double hz, double level)
{
    const PlotMapping map = plot->mapping();
    const QPointF at(map.toPixelX(hz), map.toPixelY(level));
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
}

void shootEditors(Application& app, WindowSet& windows, Shooter& shooter, const QString& folder)
{
    const QString file = folder + QStringLiteral("/.editors.kv4");
    core::saveConfigurationFile(file.toStdString(), editorConfiguration());
    app.document().openConfigurationFile(file);
    QFile::remove(file);

    InputEqualizerWindow* eq = windows.inputEqualizer();
    eq->show();
    eq->selectBank(core::InputId::A);
    eq->findChild<QSpinBox*>(QStringLiteral("SpinFiltro"))->setValue(2);
    settle();
    hover(eq->plot(), 250, -3.5);
    shooter.shoot(eq, QStringLiteral("TPEQNForm"));
    eq->setView(PlotView::Phase);
    hover(eq->plot(), 1000, 40);
    shooter.shoot(eq, QStringLiteral("TPEQNForm-Phase"));
    eq->setView(PlotView::Magnitude);
    eq->hide();

    CrossoverWindow* xover = windows.crossover();
    xover->show();
    xover->selectOutput(2);
    settle();
    hover(xover->plot(), 1200, -3);
    shooter.shoot(xover, QStringLiteral("TXOVERForm"));
    xover->setView(PlotView::Phase);
    hover(xover->plot(), 500, 0);
    shooter.shoot(xover, QStringLiteral("TXOVERForm-Phase"));
    xover->setView(PlotView::Magnitude);
    xover->selectOutput(1);
    xover->showCustomPage();
    shooter.shoot(xover, QStringLiteral("TXOVERForm-Custom"));
    xover->showNormalPage();
    xover->hide();
}

// The output equaliser over the editors' setup: equalised ways, the crossovers and input
// equalisers switched into the view, a delay on the tweeter; each output alone and the sum, as
// magnitude, phase and group delay. Then the dynamics editor as limiter and as compressor, and
// the calculator with a small amplifier on a 4 ohm box.
void shootOutputEditors(Application& app, WindowSet& windows, Shooter& shooter)
{
    DocumentController& doc = app.document();
    EqualizerOperations& eq = doc.equalizers();
    struct Band {
        int output, band, type;
        double hz, db, q;
    };
    const Band bands[] = {
        {1, 1, 1, 55, 3.0, 1.4},   {1, 2, 1, 90, -2.5, 2.0},  {2, 1, 1, 420, -3.0, 1.2},
        {2, 2, 4, 900, -1.5, 0.7}, {3, 1, 1, 2500, 2.0, 2.5}, {4, 1, 2, 9000, 2.5, 0.7},
    };
    for (const Band& b : bands) {
        eq.setOutputBandType(b.output, b.band, b.type);
        eq.setOutputBandFrequency(b.output, b.band, b.hz);
        eq.setOutputBandGain(b.output, b.band, b.db);
        eq.setOutputBandQ(b.output, b.band, b.q);
    }
    doc.views().setInfluence(core::ViewInfluence::Xover, true);
    doc.views().setInfluence(core::ViewInfluence::Peq, true);
    doc.delays().setOutputDelayPosition(4, 9);

    OutputEqualizerWindow* out = windows.outputEqualizer();
    windows.showCentred(out);
    out->selectOutput(2);
    out->setView(PlotView::Magnitude);
    out->setAddView(false);
    settle();
    hover(out->plot(), 420, -3);
    shooter.shoot(out, QStringLiteral("TPEQXForm"));
    out->setView(PlotView::Phase);
    hover(out->plot(), 700, 0);
    shooter.shoot(out, QStringLiteral("TPEQXForm-Phase"));
    // The sum as the ways arrive, with their delays.
    doc.views().setInfluence(core::ViewInfluence::OutDelays, true);
    out->setAddView(true);
    hover(out->plot(), 1200, 0);
    shooter.shoot(out, QStringLiteral("TPEQXForm-Add-Phase"));
    out->setView(PlotView::Magnitude);
    hover(out->plot(), 1200, 0);
    shooter.shoot(out, QStringLiteral("TPEQXForm-Add"));
    out->setView(PlotView::Delay);
    hover(out->plot(), 1200, 1);
    shooter.shoot(out, QStringLiteral("TPEQXForm-Add-Delay"));
    out->setView(PlotView::Magnitude);
    out->setAddView(false);
    out->hide();

    DynamicsOperations& dyn = doc.dynamics();
    DynamicsWindow* dynamics = windows.dynamics();
    windows.showCentred(dynamics);
    dynamics->selectOutput(1);
    dyn.setThresholdPosition(1, -20); // 8.0 dBu
    dyn.setKneePosition(1, 12);
    dyn.setAutomaticTimes(1, true);
    settle();
    hover(dynamics->plot(), 10, 7);
    shooter.shoot(dynamics, QStringLiteral("TDynamicform"));
    dynamics->selectOutput(3);
    dyn.setCompressor(3, true);
    dyn.setThresholdPosition(3, -4); // 0.0 dBu
    dyn.setRatioPosition(3, 14);     // 4 : 1
    dyn.setGainPosition(3, -6);      // +3 dB
    dyn.setKneePosition(3, 16);
    dyn.setGateThresholdPosition(3, 60);
    dyn.setGateBypass(3, true);
    settle();
    hover(dynamics->plot(), 6, 4);
    shooter.shoot(dynamics, QStringLiteral("TDynamicform-Compressor"));

    SpeakerCalculatorWindow* speaker = windows.speakerCalculator();
    dyn.setImpedance(3, 2); // 4 ohms
    dyn.setBoxPower(3, 350);
    dyn.setAmplifierGain(3, 32);
    dyn.setAmplifierPower(3, 450);
    speaker->selectOutput(3);
    windows.showCentred(speaker);
    shooter.shoot(speaker, QStringLiteral("TSpkForm"));
    speaker->hide();
    dynamics->hide();
}

// The output view with the measured responses imported (outputs 1 to 3): SPEAKER switched in.
void shootMeasuredOutputView(Application& app, WindowSet& windows, Shooter& shooter)
{
    app.document().views().setInfluence(core::ViewInfluence::Speaker, true);
    OutputEqualizerWindow* out = windows.outputEqualizer();
    windows.showCentred(out);
    out->selectOutput(1);
    out->setView(PlotView::Magnitude);
    settle();
    hover(out->plot(), 100, 0);
    shooter.shoot(out, QStringLiteral("TPEQXForm-Speaker"));
    out->hide();
}

// A measured woofer as an FRD file: a 45 Hz second-order roll-off below, a gentle one above
// 2 kHz, a little ripple, the phase of that shape.
void writeSampleFrd(const QString& path, double sensitivityDb)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    QTextStream out(&file);
    out << "* Sample woofer, 1 m, 2.83 V\n* Freq(Hz) SPL(dB) Phase(degrees)\n";
    for (int k = 0; k <= 330; ++k) {
        const double f = 10.0 * std::pow(10.0, k / 100.0);
        const double low = std::pow(f / 45.0, 2.0);
        const double level = sensitivityDb + 10.0 * std::log10(low * low / (1.0 + low * low)) -
                             10.0 * std::log10(1.0 + std::pow(f / 2000.0, 4.0)) + 0.8 * std::sin(f / 150.0);
        const double phase = 180.0 - 2.0 * std::atan(f / 45.0) * 180.0 / 3.14159265358979 - f / 40.0;
        out << QString::number(f, 'f', 3) << '\t' << QString::number(level, 'f', 3) << '\t'
            << QString::number(std::remainder(phase, 360.0), 'f', 2) << '\n';
    }
}

// The measured response import, the report, the coefficient listings and the device data.
void shootMeasurementAndReports(Shooter& shooter, Application& app, WindowSet& windows, const QTemporaryDir& work)
{
    const QString woofer = work.filePath(QStringLiteral("woofer-0deg.frd"));
    const QString mid = work.filePath(QStringLiteral("mid-0deg.frd"));
    writeSampleFrd(woofer, 92.0);
    writeSampleFrd(mid, 89.5);
    ViewOperations& views = app.document().views();
    views.chooseMeasurementKind(static_cast<int>(core::MeasurementKind::Frd));
    views.setMeasurementFile(1, woofer);
    views.setMeasurementFile(2, woofer);
    views.setMeasurementFile(3, mid);
    views.setMeasurementReference(90.0);
    windows.measurementImport()->show();
    windows.measurementImport()->runImport();
    shooter.shoot(windows.measurementImport(), QStringLiteral("TImpDataForm"));
    windows.measurementImport()->hide();

    windows.report()->showReport();
    shooter.shoot(windows.report(), QStringLiteral("TMemoGrandeForm"));
    shooter.shoot(windows.listings(), QStringLiteral("TMemosForm"));
    shooter.shoot(windows.deviceData(), QStringLiteral("TDATAForm"));
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
    windows.libraryMaker()->hide();
    shootLevelsAndNames(app, windows, shooter);
    shootEditors(app, windows, shooter, folder);
    shootOutputEditors(app, windows, shooter);
    shootMeasurementAndReports(shooter, app, windows, work);
    shootMeasuredOutputView(app, windows, shooter);
    windows.main()->hide();
    return shooter.ok() ? 0 : 1;
}

} // namespace kvr::gui
