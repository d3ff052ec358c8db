// The output equaliser window offscreen, driven through its named controls and its plot. Expected
// levels and phases are worked out by hand beside each check.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/crossoveroperations.h"
#include "app/delayoperations.h"
#include "app/dynamicsoperations.h"
#include "app/equalizeroperations.h"
#include "app/leveloperations.h"
#include "app/routingoperations.h"
#include "app/viewoperations.h"
#include "config/configfile.h"
#include "dsp/frequencygrid.h"
#include "editorhelpers.h"
#include "guifixture.h"
#include "widgets/fader.h"
#include "widgets/trackscale.h"
#include "windows/copyoutputwindow.h"
#include "windows/crossoverwindow.h"
#include "windows/dynamicswindow.h"
#include "windows/inputequalizerwindow.h"
#include "windows/levelswindow.h"
#include "windows/measurementimportwindow.h"
#include "windows/outputdelaywindow.h"
#include "windows/outputequalizerwindow.h"

namespace kvr::gui::test {
namespace {

using core::ViewInfluence;

// 20 log10 2: two equal signals in phase.
const double kDoubleDb = 20.0 * std::log10(2.0);

class OutputEq : public GuiTest {
protected:
    OutputEqualizerWindow* w() { return windows->outputEqualizer(); }
    void open()
    {
        windows->showCentred(w());
        ASSERT_TRUE(waitFor([&] { return w()->isVisible(); }));
        pump();
    }
    const core::Configuration& config() { return app->document().configuration(); }
    const core::TSOS& band(int output, int n) { return config().output(output).peqx[size_t(n - 1)]; }
    NumberField* field(const char* name) { return find<NumberField>(w(), name); }
    ResponsePlot* plot() { return w()->plot(); }
    PlotModel& model() { return w()->plotModel(); }
    // The plotted value of a series at grid point k (the series holds one point per frequency;
    // the grid repeats some at its low end).
    double at(int series, size_t k) { return model().valueAt(series, hzOf(k)).value_or(NAN); }
    // The grid point nearest a frequency, and its frequency.
    static size_t point(double hz)
    {
        const auto& f = core::frequencyGrid().frequencyHz;
        size_t best = 0;
        for (size_t k = 0; k < f.size(); ++k)
            if (std::fabs(f[k] - hz) < std::fabs(f[best] - hz)) best = k;
        return best;
    }
    static double hzOf(size_t k) { return core::frequencyGrid().frequencyHz[k]; }
    void influences(std::initializer_list<ViewInfluence> on)
    {
        for (int i = 0; i < core::kViewInfluenceCount; ++i) {
            const auto which = static_cast<ViewInfluence>(i);
            app->document().views().setInfluence(which, std::find(on.begin(), on.end(), which) != on.end());
        }
    }
};

TEST_F(OutputEq, BlocksAndMenuOpenItOnTheirOutputAndCopyClosesTheEditors)
{
    QWidget* main = windows->main();
    EXPECT_TRUE(find<QAction>(main, "MenuPeqx")->isEnabled());
    EXPECT_TRUE(find<QAction>(main, "MenuDynamics")->isEnabled());
    find<QAbstractButton>(main, "PEQX3B")->click();
    ASSERT_TRUE(w()->isVisible());
    EXPECT_EQ(w()->currentOutput(), 3);
    EXPECT_TRUE(find<QRadioButton>(w(), "ModPEQX3")->isChecked());
    EXPECT_EQ(model().findSeries(3)->colour, plotcolour::kRed);
    EXPECT_EQ(model().findSeries(1)->colour, plotcolour::kAqua);
    EXPECT_EQ(model().GraphTitle(), QStringLiteral("Out3 Equalization"));
    find<QAction>(main, "MenuPeqx")->trigger(); // the menu keeps the output
    EXPECT_EQ(w()->currentOutput(), 3);

    find<QPushButton>(w(), "ImportB")->click();
    EXPECT_TRUE(windows->measurementImport()->isVisible());
    windows->measurementImport()->hide();

    for (QWidget* editor : std::initializer_list<QWidget*>{windows->crossover(), windows->inputEqualizer(),
                                                           windows->levels(), windows->dynamics()})
        windows->showCentred(editor);
    find<QAbstractButton>(main, "CopyOutsB")->click();
    for (QWidget* editor : std::initializer_list<QWidget*>{w(), windows->crossover(), windows->inputEqualizer(),
                                                           windows->levels(), windows->dynamics()})
        EXPECT_FALSE(editor->isVisible()) << qPrintable(editor->objectName());
    EXPECT_TRUE(windows->copyOutputs()->isVisible());
}

TEST_F(OutputEq, BandCountRisesNeverFallsAndTheTypeListEnablesItsFields)
{
    core::Configuration saved;
    saved.output(2).peqxCount = 2;
    saved.output(1).peqx[0].Tipo = 15; // a type the list does not offer
    saved.output(1).peqx[0].Gain = 5.0;
    saved.output(1).peqx[1].Tipo = 19;
    const QString file = path(QStringLiteral("bands.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), saved));
    ASSERT_TRUE(app->document().openConfigurationFile(file));
    open();
    EXPECT_EQ(find<QComboBox>(w(), "TipoFiltroCombo")->itemText(1), QStringLiteral("Parametric adap Q"));

    find<QRadioButton>(w(), "ModPEQX2")->setChecked(true);
    auto* spin = find<QSpinBox>(w(), "SpinFiltro");
    spin->setValue(4);
    EXPECT_EQ(config().output(2).peqxCount, 4);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("PEQX2 bands"));
    spin->setValue(1);
    EXPECT_EQ(config().output(2).peqxCount, 4);
    spin->setValue(3);
    app->document().undo(); // back to two bands: the band shown follows
    EXPECT_EQ(w()->band(), 2);
    EXPECT_EQ(spin->value(), 2);

    auto* type = find<QComboBox>(w(), "TipoFiltroCombo");
    struct Row {
        int type;
        bool gain, q;
    };
    for (const Row& r : {Row{0, false, false}, Row{1, true, true}, Row{3, true, false}, Row{7, false, false},
                         Row{8, true, true}, Row{9, false, true}, Row{11, false, true}}) {
        type->setCurrentIndex(r.type);
        EXPECT_EQ(band(2, 2).Tipo, r.type);
        EXPECT_EQ(field("GainEdit")->isEnabled(), r.gain) << r.type;
        EXPECT_EQ(find<QSlider>(w(), "QBar")->isEnabled(), r.q) << r.type;
        EXPECT_EQ(field("QEdit")->isEnabled(), r.q) << r.type;
        EXPECT_FALSE(field("LEdit")->isVisibleTo(w()));
    }
    // Output 1's band 1 holds type 15: gain shown as 0 and off, Q on; band 2 holds type 19.
    find<QRadioButton>(w(), "ModPEQX1")->setChecked(true);
    spin->setValue(1);
    EXPECT_EQ(type->currentIndex(), -1);
    EXPECT_EQ(field("GainEdit")->text(), QStringLiteral("0.0"));
    EXPECT_FALSE(field("GainEdit")->isEnabled());
    EXPECT_TRUE(field("QEdit")->isEnabled());
    spin->setValue(2);
    EXPECT_TRUE(field("LEdit")->isVisibleTo(w()));
    EXPECT_FALSE(field("FrecEdit")->isVisibleTo(w()));
    EXPECT_FALSE(model().ShowMarks());
}

TEST_F(OutputEq, LevelDelayAndPolarityAreWrittenThroughTheirOwnWindowsOperations)
{
    open();
    find<QRadioButton>(w(), "ModPEQX2")->setChecked(true);
    auto* gainTrack = find<TrackScale>(w(), "OutGainTrack");
    auto* gainDb = find<QLabel>(w(), "OutGaindBL");
    struct Level {
        int position;
        const char* text;
    };
    for (const Level& r : {Level{-400, "10.0"}, Level{100, "-40.0"}, Level{-240, "-6.0"}}) {
        gainTrack->setValue(r.position);
        EXPECT_EQ(config().output(2).levelPosition, r.position);
        EXPECT_EQ(gainDb->text(), QString::fromUtf8(r.text));
    }
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 2 level"));
    EXPECT_EQ(find<Fader>(w(), "OutGainSlider")->value(), -240 + 405);
    find<Fader>(w(), "OutGainSlider")->setValue(105); // position 105 - 405
    EXPECT_EQ(config().output(2).levelPosition, -300);
    EXPECT_EQ(find<QLabel>(windows->levels(), "Output2dBL")->text(), QStringLiteral("0.0"));

    auto* delayTrack = find<TrackScale>(w(), "OutDelayTrack");
    EXPECT_EQ(delayTrack->minimum(), -1500);
    EXPECT_EQ(delayTrack->maximum(), 0);
    delayTrack->setValue(-250); // 250 steps of 0.02 ms
    EXPECT_EQ(config().output(2).delayPosition, 250);
    EXPECT_EQ(config().output(2).delaySamples(), 240);
    EXPECT_EQ(find<QLabel>(w(), "msecL")->text(), QStringLiteral("5.00"));
    EXPECT_EQ(find<QLabel>(w(), "unitsL")->text(), QStringLiteral("msec."));
    EXPECT_EQ(find<Fader>(w(), "OutDelaySlider")->value(), 1511 - 250);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 2 delay"));
    find<Fader>(w(), "OutDelaySlider")->setValue(1511 - 1500);
    EXPECT_EQ(delayTrack->value(), -1500);
    EXPECT_EQ(find<QLabel>(w(), "msecL")->text(), QStringLiteral("30.00"));

    find<QCheckBox>(w(), "PolOutput")->setChecked(true);
    EXPECT_EQ(config().output(2).polarity, -1);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 2 polarity"));

    // The levels and delay windows' controls of another output bring it here while shown.
    windows->showCentred(windows->levels());
    find<QCheckBox>(windows->levels(), "PolOutput3")->setChecked(true);
    EXPECT_EQ(w()->currentOutput(), 3);
    EXPECT_TRUE(find<QCheckBox>(w(), "PolOutput")->isChecked());
    windows->showCentred(windows->outputDelay());
    find<TrackScale>(windows->outputDelay(), "Del4track")->setValue(100);
    EXPECT_EQ(w()->currentOutput(), 4);
    EXPECT_EQ(delayTrack->value(), -100);
}

TEST_F(OutputEq, InfluencesAddTheirTermsToTheOutputsCurve)
{
    open();
    const size_t k = point(1000);
    const int fc = static_cast<int>(hzOf(k));
    app->document().crossovers().setFamily(1, core::CrossoverSide::Low, 2); // L-Riley, order 4
    app->document().crossovers().setFrequency(1, core::CrossoverSide::Low, fc);
    influences({ViewInfluence::Peqx});
    EXPECT_NEAR(at(1, k), 0.0, 1e-9); // bypassed bands: flat
    find<QCheckBox>(w(), "VerXoverCheck")->setChecked(true);
    EXPECT_TRUE(config().view.xover);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output view XOVER"));
    EXPECT_NEAR(at(1, k), -kDoubleDb, 0.05); // a Linkwitz-Riley side is 6.02 dB down at its frequency
    find<QCheckBox>(w(), "VerXoverCheck")->setChecked(false);

    // GAIN: route A+B at 0 dB counts twice.
    find<QCheckBox>(w(), "VerGainCheck")->setChecked(true);
    app->document().levels().setInputLevelPosition(core::InputId::M, -300);
    app->document().routing().clickRoute(1); // A -> A+B
    EXPECT_NEAR(at(1, k), kDoubleDb, 1e-6);
    app->document().levels().setOutputLevelPosition(1, -240); // -6 dB
    EXPECT_NEAR(at(1, k), kDoubleDb - 6.0, 1e-6);

    // Polarity turns the phase by 180 degrees and leaves the level.
    const double level = at(1, k);
    w()->setView(PlotView::Phase);
    EXPECT_NEAR(at(1, k), 0.0, 1e-9);
    app->document().levels().setPolarity(1, true);
    EXPECT_NEAR(std::fabs(at(1, k)), 180.0, 1e-9);
    w()->setView(PlotView::Magnitude);
    EXPECT_NEAR(at(1, k), level, 1e-9);
    app->document().levels().setPolarity(1, false);

    // OUT DELAYS: 48 samples (1 ms) turn the phase by -360 f / 1000 degrees, wrapped.
    app->document().delays().setOutputDelayPosition(1, 50);
    w()->setView(PlotView::Phase);
    find<QCheckBox>(w(), "VerDelayCheck")->setChecked(true);
    for (double hz : {250.0, 1000.0, 3000.0}) {
        const size_t p = point(hz);
        const double expected = std::remainder(-360.0 * hzOf(p) / 1000.0, 360.0);
        EXPECT_NEAR(std::remainder(at(1, p) - expected, 360.0), 0.0, 1e-6) << hz;
    }
    // The group delay view shows the 1 ms flat.
    w()->setView(PlotView::Delay);
    EXPECT_NEAR(at(1, point(2000)), 1.0, 1e-6);
    EXPECT_EQ(model().yAxis().title, QStringLiteral("Delay ms"));
}

TEST_F(OutputEq, AddSumsTheShownOutputsAndNothingWhenNoneIsShown)
{
    open();
    influences({ViewInfluence::Peqx, ViewInfluence::Gain});
    find<QCheckBox>(w(), "VerPEQX3")->setChecked(false);
    find<QCheckBox>(w(), "VerPEQX4")->setChecked(false);
    find<QRadioButton>(w(), "Add")->setChecked(true);
    EXPECT_TRUE(w()->addView());
    const PlotSeries* sum = model().findSeries(OutputEqualizerWindow::kAddSeries);
    ASSERT_NE(sum, nullptr);
    EXPECT_TRUE(sum->visible);
    EXPECT_EQ(sum->colour, plotcolour::kYellow);
    EXPECT_EQ(model().drawOrder().back(), OutputEqualizerWindow::kAddSeries);
    const size_t k = point(500);
    EXPECT_NEAR(at(OutputEqualizerWindow::kAddSeries, k), kDoubleDb, 1e-9); // two identical outputs

    // With link 1-2, output 1's delay moves output 2's too: both totals are computed again,
    // so the sum stays two equal signals (half a period apart it would cancel at 500 Hz).
    app->document().delays().setOutputDelayLink(1, true);
    find<QCheckBox>(w(), "VerDelayCheck")->setChecked(true);
    find<QRadioButton>(w(), "ModPEQX1")->setChecked(true);
    find<TrackScale>(w(), "OutDelayTrack")->setValue(-50);
    EXPECT_EQ(config().output(2).delayPosition, 50);
    EXPECT_NEAR(at(OutputEqualizerWindow::kAddSeries, k), kDoubleDb, 1e-9);

    mouse(plot(), QEvent::MouseMove, 500, 0, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(w()->statusText().startsWith(QStringLiteral(" Add Response : "))) << qPrintable(w()->statusText());
    EXPECT_TRUE(w()->statusText().endsWith(QStringLiteral(" dBs "))) << qPrintable(w()->statusText());

    find<QCheckBox>(w(), "VerPEQX1")->setChecked(false);
    find<QCheckBox>(w(), "VerPEQX2")->setChecked(false);
    EXPECT_TRUE(model().findSeries(OutputEqualizerWindow::kAddSeries)->points.empty());
    find<QCheckBox>(w(), "VerPEQX2")->setChecked(true); // checking a view makes it current
    EXPECT_EQ(w()->currentOutput(), 2);
    find<QRadioButton>(w(), "Individual")->setChecked(true);
    EXPECT_FALSE(model().findSeries(OutputEqualizerWindow::kAddSeries)->visible);
}

TEST_F(OutputEq, MarkerDragIsOneStepAndSomeTypesKeepTheirGain)
{
    open();
    influences({ViewInfluence::Peqx});
    struct Row {
        int type;
        double gainAfter;
    };
    for (const Row& r : {Row{1, -3.0}, Row{9, 4.0}, Row{11, 4.0}}) {
        EqualizerOperations& eq = app->document().equalizers();
        eq.setOutputBandType(1, 1, 1);
        eq.setOutputBandFrequency(1, 1, 1000);
        eq.setOutputBandGain(1, 1, 4.0);
        eq.setOutputBandType(1, 1, r.type);
        app->document().endGesture();
        const size_t steps = app->document().history().size();
        drag(plot(), Qt::LeftButton, {{1050, 4.5}, {1500, 1.0}, {2000.4, -3.04}});
        EXPECT_DOUBLE_EQ(band(1, 1).Frec, 2000) << r.type;
        EXPECT_DOUBLE_EQ(band(1, 1).Gain, r.gainAfter) << r.type;
        EXPECT_EQ(app->document().history().size(), steps + 1) << r.type;
        EXPECT_EQ(app->document().undoName(), QStringLiteral("PEQX1 band 1"));
        EXPECT_FALSE(w()->dragging());
        EXPECT_TRUE(w()->statusText().isEmpty());
    }
    // Too far from the marker, with Shift, or in the phase view: no drag.
    const core::Configuration before = config();
    drag(plot(), Qt::LeftButton, {{3000, 4.0}, {5000, 0}}); // 0.18 decades away
    mouse(plot(), QEvent::MouseButtonPress, 2000, 4.0, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(w()->dragging());
    mouse(plot(), QEvent::MouseButtonRelease, 2000, 4.0, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    w()->setView(PlotView::Phase);
    drag(plot(), Qt::LeftButton, {{2000, 4.0}, {300, 0}});
    EXPECT_EQ(config(), before);
}

TEST_F(OutputEq, OnlyTheOutputsAChangeTouchesAreComputedAndOnlyWhileShown)
{
    open();
    struct Row {
        const char* what;
        std::function<void()> change;
        int computed;
    };
    DocumentController& doc = app->document();
    const Row rows[] = {
        {"band of output 2", [&] { doc.equalizers().setOutputBandGain(2, 1, 2.0); }, 1},
        {"crossover of output 3", [&] { doc.crossovers().setFamily(3, core::CrossoverSide::High, 1); }, 1},
        {"input A level", [&] { doc.levels().setInputLevelPosition(core::InputId::A, -280); }, 4},
        {"input bank", [&] { doc.equalizers().setInputBandType(core::InputId::B, 1, 1); }, 4},
        {"dynamics", [&] { doc.dynamics().setGainPosition(1, -4); }, 0},
    };
    for (const Row& r : rows) {
        const int before = w()->outputsComputed();
        r.change();
        EXPECT_EQ(w()->outputsComputed() - before, r.computed) << r.what;
    }
    w()->hide();
    const int hidden = w()->outputsComputed();
    doc.levels().setOutputLevelPosition(1, -320);
    EXPECT_EQ(w()->outputsComputed(), hidden);
    open(); // showing computes every output again
    EXPECT_EQ(w()->outputsComputed() - hidden, 4);
    // Output 1 at +2 dB after input A at -2 dB: the GAIN term is 0 dB, the bands are flat.
    EXPECT_NEAR(w()->state().total(1).levelDb[0], 0.0, 1e-6);
}

TEST_F(OutputEq, ConstQAndNewOpenCloseTheWindow)
{
    open();
    find<QRadioButton>(w(), "Q_const_RadioB")->setChecked(true);
    EXPECT_TRUE(config().constantQ);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Const Q"));
    find<QRadioButton>(w(), "ModPEQX4")->setChecked(true);
    app->document().newConfiguration();
    EXPECT_FALSE(w()->isVisible());
    EXPECT_EQ(w()->currentOutput(), 1);
}

TEST_F(OutputEq, ViewChoicesAreRememberedOutsideTheConfiguration)
{
    open();
    w()->setView(PlotView::Delay);
    find<QRadioButton>(w(), "Add")->setChecked(true);
    find<QSpinBox>(w(), "YMaxUpDown")->setValue(30);
    find<QSpinBox>(w(), "YMinUpDown")->setValue(-60);
    windows->inputEqualizer()->setView(PlotView::Phase);
    windows->crossover()->setView(PlotView::Phase);
    find<QSpinBox>(windows->crossover(), "YMinUpDown")->setValue(-90);
    EXPECT_FALSE(app->document().modified());
    EXPECT_EQ(config(), core::Configuration());

    windows.reset();
    windows = std::make_unique<WindowSet>(*app);
    EXPECT_EQ(w()->view(), PlotView::Delay);
    EXPECT_TRUE(w()->addView());
    EXPECT_TRUE(find<QRadioButton>(w(), "Add")->isChecked());
    EXPECT_EQ(find<QSpinBox>(w(), "YMaxUpDown")->value(), 30);
    EXPECT_EQ(find<QSpinBox>(w(), "YMinUpDown")->value(), -60);
    EXPECT_EQ(windows->inputEqualizer()->view(), PlotView::Phase);
    EXPECT_EQ(windows->inputEqualizer()->plotModel().yAxis().Min, -180);
    EXPECT_EQ(windows->crossover()->view(), PlotView::Phase);
    EXPECT_EQ(find<QSpinBox>(windows->crossover(), "YMinUpDown")->value(), -90);
    // A value the spin box cannot hold (an edited settings file) leaves the default.
    settings->setWindowValue(QStringLiteral("TPEQXForm"), QStringLiteral("YMaxUpDown"), 400);
    windows.reset();
    windows = std::make_unique<WindowSet>(*app);
    EXPECT_EQ(find<QSpinBox>(w(), "YMaxUpDown")->value(), 20);
}

TEST_F(OutputEq, AMemoryReadShowsMagnitudeOfEachOutputAndAFileKeepsTheView)
{
    const QString file = path(QStringLiteral("view.kv4"));
    ASSERT_TRUE(app->document().saveConfigurationFile(file));
    struct Row {
        const char* what;
        std::function<void()> replace;
        PlotView view;
        bool add;
    };
    const Row rows[] = {
        {"open", [&] { ASSERT_TRUE(app->document().openConfigurationFile(file)); }, PlotView::Delay, true},
        {"new", [&] { ASSERT_TRUE(app->document().newConfiguration()); }, PlotView::Delay, true},
        {"read",
         [&] {
             app->document().beginRead(2);
             app->document().finishRead(core::Configuration());
         },
         PlotView::Magnitude, false},
    };
    for (const Row& r : rows) {
        open();
        w()->setView(PlotView::Delay);
        find<QRadioButton>(w(), "Add")->setChecked(true);
        r.replace();
        EXPECT_EQ(w()->view(), r.view) << r.what;
        EXPECT_EQ(w()->addView(), r.add) << r.what;
        EXPECT_EQ(find<QRadioButton>(w(), "Individual")->isChecked(), !r.add) << r.what;
    }
}

} // namespace
} // namespace kvr::gui::test
