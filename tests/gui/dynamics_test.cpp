// The dynamics editor and the speaker calculator offscreen, driven through their named controls.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <cmath>

#include "app/crossoveroperations.h"
#include "app/dynamicsoperations.h"
#include "editorhelpers.h"
#include "guifixture.h"
#include "windows/dynamicswindow.h"
#include "windows/speakercalculatorwindow.h"

namespace kvr::gui::test {
namespace {

class Dynamics : public GuiTest {
protected:
    DynamicsWindow* w() { return windows->dynamics(); }
    SpeakerCalculatorWindow* calc() { return windows->speakerCalculator(); }
    void open(int output)
    {
        find<QAbstractButton>(windows->main(), qPrintable(QStringLiteral("Dynamic%1B").arg(output)))->click();
        ASSERT_TRUE(waitFor([&] { return w()->isVisible(); }));
    }
    const core::TDYNAMIC& dyn(int output) { return app->document().configuration().output(output).dynamics; }
    QSlider* slider(const char* name) { return find<QSlider>(w(), name); }
    QString label(const char* name) { return find<QLabel>(w(), name)->text(); }
    QStringList memo(QWidget* window, const char* name)
    {
        return find<QPlainTextEdit>(window, name)->toPlainText().split(QLatin1Char('\n'));
    }
    // The first number of a result line ("1 - Maximum RMS output Power : 2430 Watts").
    static double number(const QString& line)
    {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(":\\s*([0-9.]+)")).match(line);
        return m.hasMatch() ? m.captured(1).toDouble() : NAN;
    }
};

TEST_F(Dynamics, BlocksSelectTheirOutputWithTitlesAndCaptions)
{
    open(3);
    EXPECT_EQ(w()->currentOutput(), 3);
    EXPECT_TRUE(find<QPushButton>(w(), "Output3B")->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(find<QPushButton>(w(), "Output2B")->text(), QStringLiteral("Out2"));
    EXPECT_EQ(w()->plot()->model().GraphTitle(), QStringLiteral("Dynamic Out3"));
    EXPECT_EQ(find<QGroupBox>(w(), "DynamicPanel")->title(), QStringLiteral("Dynamic Ouput 3"));
    EXPECT_EQ(find<QGroupBox>(w(), "GatePanel")->title(), QStringLiteral("Noise Gate Output 3"));
    // The editor's default threshold (-6) passes through its slider once: 8.0 dBu, stored -5.85.
    EXPECT_EQ(label("UmbralL"), QStringLiteral("8.0"));
    EXPECT_FLOAT_EQ(dyn(3).Umbral, -5.85f);
    EXPECT_EQ(label("UmbralCaptionL"), QStringLiteral("     Limit"));
    find<QAction>(windows->main(), "MenuDynamics")->trigger(); // the menu keeps the output
    EXPECT_EQ(w()->currentOutput(), 3);
}

TEST_F(Dynamics, SlidersStoreTheirPositionsValuesAndShowTheirLabels)
{
    open(1);
    find<QRadioButton>(w(), "CompressorRB")->setChecked(true);
    EXPECT_EQ(label("UmbralCaptionL"), QStringLiteral("Threshold"));
    struct Row {
        const char* slider;
        int position;
        const char* label;
        float core::TDYNAMIC::*field;
        float stored;
    };
    const Row rows[] = {
        {"UmbralSlider", -40, "18.0", &core::TDYNAMIC::Umbral, 18.0f - 13.85f},
        {"UmbralSlider", 36, "-20.0", &core::TDYNAMIC::Umbral, -20.0f - 13.85f},
        {"RatioSlider", 2, "10.0", &core::TDYNAMIC::Ratio, 10.0f},
        {"RatioSlider", 20, "1.0", &core::TDYNAMIC::Ratio, 1.0f},
        {"GainSlider", -20, "10.0", &core::TDYNAMIC::GaindB, 10.0f},
        {"GainSlider", 7, "-3.5", &core::TDYNAMIC::GaindB, -3.5f},
        {"KneeSlider", 0, "10.0", &core::TDYNAMIC::Knee, 10.0f},
        {"AttackSlider", 0, "0.1 ms", &core::TDYNAMIC::TAttack, 0.1f},
        {"ReleaseSlider", 38, "10000 ms", &core::TDYNAMIC::TRelease, 10000.0f},
        {"GateSlider", 30, "- 30 dBu", &core::TDYNAMIC::GateLevel, -30.0f - 13.85f},
        {"HoldSlider", 33, "10000ms", &core::TDYNAMIC::TAttackGate, 10000.0f},
        {"CloseSlider", 0, "10ms", &core::TDYNAMIC::TReleaseGate, 10.0f},
    };
    for (const Row& r : rows) {
        slider(r.slider)->setValue(r.position);
        EXPECT_FLOAT_EQ(dyn(1).*r.field, r.stored) << r.slider << " " << r.position;
        const QString valueName = QString::fromUtf8(r.slider).replace(QStringLiteral("Slider"), QStringLiteral("L"));
        EXPECT_EQ(label(qPrintable(valueName)), QString::fromUtf8(r.label)) << r.slider;
    }
    // The sliders are inverted views: the lowest position is at the top.
    EXPECT_TRUE(slider("UmbralSlider")->invertedAppearance());
    // A held slider is one step of the history.
    const size_t steps = app->document().history().size();
    for (int p : {10, 12, 14})
        slider("KneeSlider")->setValue(p);
    app->document().endGesture();
    EXPECT_EQ(app->document().history().size(), steps + 1);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 1 knee"));
}

TEST_F(Dynamics, EnableRulesOfKindAutomaticTimesAndBypasses)
{
    app->document().crossovers().setFamily(2, core::CrossoverSide::Low, 1); // a 100 Hz high-pass
    app->document().crossovers().setFrequency(2, core::CrossoverSide::Low, 100);
    open(2);
    EXPECT_TRUE(find<QRadioButton>(w(), "LimiterRB")->isChecked());
    EXPECT_FALSE(slider("RatioSlider")->isEnabled());
    find<QRadioButton>(w(), "CompressorRB")->setChecked(true);
    EXPECT_TRUE(slider("RatioSlider")->isEnabled());

    struct Row {
        int lowFamily;
        const char* attack;
        const char* release;
    };
    for (const Row& r : {Row{1, "12 ms", "150 ms"}, Row{0, "12 ms", "200 ms"}}) {
        find<QCheckBox>(w(), "AutoTime")->setChecked(false);
        app->document().crossovers().setFamily(2, core::CrossoverSide::Low, r.lowFamily);
        find<QCheckBox>(w(), "AutoTime")->setChecked(true);
        EXPECT_EQ(label("AttackL"), QString::fromUtf8(r.attack)) << r.lowFamily;
        EXPECT_EQ(label("ReleaseL"), QString::fromUtf8(r.release)) << r.lowFamily;
        EXPECT_FALSE(slider("AttackSlider")->isEnabled());
        EXPECT_FALSE(slider("ReleaseSlider")->isEnabled());
    }
    find<QCheckBox>(w(), "AutoTime")->setChecked(false);
    EXPECT_TRUE(slider("AttackSlider")->isEnabled());

    auto* bypass = find<QPushButton>(w(), "DynBypassBoton");
    EXPECT_EQ(bypass->text(), QStringLiteral("Dynamics ON"));
    bypass->click();
    EXPECT_EQ(dyn(2).BypassF, 1);
    EXPECT_FLOAT_EQ(dyn(2).KneeTop, 0.99f);
    EXPECT_FLOAT_EQ(dyn(2).KneeBottom, 0.707f);
    EXPECT_EQ(bypass->text(), QStringLiteral("Dynamics BYPASS"));
    for (const char* name :
         {"UmbralSlider", "RatioSlider", "GainSlider", "KneeSlider", "AttackSlider", "ReleaseSlider"})
        EXPECT_FALSE(slider(name)->isEnabled()) << name;
    EXPECT_FALSE(find<QRadioButton>(w(), "CompressorRB")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>(w(), "AutoTime")->isEnabled());
    for (const char* name : {"GateSlider", "HoldSlider", "CloseSlider"})
        EXPECT_TRUE(slider(name)->isEnabled()) << name; // the gate is left as it was
    find<QPushButton>(w(), "GateBypassBoton")->click();
    EXPECT_EQ(dyn(2).GateBypassF, 1);
    for (const char* name : {"GateSlider", "HoldSlider", "CloseSlider"})
        EXPECT_FALSE(slider(name)->isEnabled()) << name;
    bypass->click();
    EXPECT_TRUE(slider("RatioSlider")->isEnabled()); // the compressor's ratio comes back
    EXPECT_FALSE(slider("GateSlider")->isEnabled());
}

TEST_F(Dynamics, TransferCurveReferenceLineAndReadout)
{
    open(1);
    const PlotModel& model = w()->plot()->model();
    EXPECT_FALSE(model.CrossAtZero());
    EXPECT_EQ(model.xAxis().Min, -20.1);
    EXPECT_EQ(model.yAxis().Max, 20.0);
    const PlotSeries* reference = model.findSeries(2);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->style, PlotLineStyle::Dotted);
    ASSERT_EQ(reference->points.size(), 2u);
    EXPECT_EQ(reference->points.front().x, -60.0);
    EXPECT_EQ(reference->points.back().y, 20.0);

    // The limiter at 8.0 dBu with a 4 dB knee and no gain: flat at 8.0 dBu from 12.0 dBu (the
    // knee's end) to full scale, 13.85 dBu; the first point is (-40, gain - 40).
    const PlotSeries* curve = model.findSeries(1);
    ASSERT_EQ(curve->points.size(), 61u);
    EXPECT_EQ(curve->points.front().x, -40.0);
    EXPECT_EQ(curve->points.front().y, -40.0);
    EXPECT_NEAR(curve->points.back().x, 13.85, 1e-5);
    EXPECT_NEAR(curve->points.back().y, 8.0, 1e-5);
    slider("GainSlider")->setValue(-4); // +2 dB
    EXPECT_NEAR(model.findSeries(1)->points.back().y, 10.0, 1e-5);
    EXPECT_EQ(model.findSeries(1)->points.front().y, -38.0);

    // Below the knee the output is the input plus the gain.
    mouse(w()->plot(), QEvent::MouseMove, 0.0, 0.0, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(find<QLabel>(w(), "StatusBar")->text(), QStringLiteral("Input  0.0 dBu  :  Output  2.0 dBu"));
    EXPECT_EQ(model.readout(), QStringLiteral("Input  0.0 dBu  :  Output  2.0 dBu"));
    mouse(w()->plot(), QEvent::MouseMove, 25.0, 0.0, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(find<QLabel>(w(), "StatusBar")->text().isEmpty());
}

TEST_F(Dynamics, PowerBoxFollowsViewPowerAndTheCalculatorFollowsTheOutput)
{
    open(2);
    const QStringList lines = memo(w(), "PowerMemoDyn");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("1 - Maximum RMS output Power : "))) << qPrintable(lines[0]);
    find<QCheckBox>(w(), "ViewPower")->setChecked(false);
    EXPECT_TRUE(find<QPlainTextEdit>(w(), "PowerMemoDyn")->toPlainText().isEmpty());
    find<QCheckBox>(w(), "ViewPower")->setChecked(true);
    EXPECT_EQ(memo(w(), "PowerMemoDyn"), lines);

    find<QPushButton>(w(), "SpkAmpB")->click();
    ASSERT_TRUE(calc()->isVisible());
    EXPECT_TRUE(calc()->isModal());
    EXPECT_EQ(calc()->currentOutput(), 2);
    EXPECT_EQ(calc()->caption(), QStringLiteral("Output 2  Parameters"));
    EXPECT_EQ(memo(calc(), "PowerMemo"), lines);
    // A tab chosen there shows the same output in the dynamics editor.
    find<QTabBar>(calc(), "PowerTab")->setCurrentIndex(3);
    EXPECT_EQ(calc()->caption(), QStringLiteral("Output 4  Parameters"));
    EXPECT_EQ(w()->currentOutput(), 4);
}

TEST_F(Dynamics, CalculatorControlsStoreTheirValuesAndTheResultFollows)
{
    open(1);
    calc()->selectOutput(1);
    windows->showCentred(calc());
    find<QComboBox>(calc(), "Zload")->setCurrentIndex(2);
    EXPECT_FLOAT_EQ(dyn(1).Impedance, 4.0f);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 1 speaker impedance"));
    EXPECT_EQ(find<QLabel>(calc(), "dBlabel")->text(), QStringLiteral("32.3 dB")); // gain 41

    // The power spins step by 25 W below 1000 W and by 100 W from there (down from 1000 too).
    auto* box = find<QSpinBox>(calc(), "PowerMaxLoadSpin");
    struct Step {
        int from, steps, to;
    };
    for (const Step& s :
         {Step{975, 1, 1000}, Step{1000, 1, 1100}, Step{1000, -1, 900}, Step{3150, 2, 3200}, Step{50, -2, 25}}) {
        box->setValue(s.from);
        box->stepBy(s.steps);
        EXPECT_EQ(box->value(), s.to) << s.from;
        EXPECT_FLOAT_EQ(dyn(1).BoxPower, float(s.to));
    }

    // Unbalanced, the power is a quarter and the voltage half.
    const QStringList balanced = memo(calc(), "PowerMemo");
    find<QCheckBox>(calc(), "BalanceadoCheck")->setChecked(false);
    EXPECT_EQ(dyn(1).Balanced, 0);
    const QStringList unbalanced = memo(calc(), "PowerMemo");
    EXPECT_NEAR(number(unbalanced[0]), number(balanced[0]) / 4.0, 1.0); // whole watts
    EXPECT_NEAR(number(unbalanced[1]), number(balanced[1]) / 2.0, 0.01);
    EXPECT_EQ(memo(w(), "PowerMemoDyn"), unbalanced);

    find<QComboBox>(calc(), "NumberSpeakers")->setCurrentIndex(3);
    EXPECT_EQ(dyn(1).NumSpeakers, 3);
    presenter.shown.clear();
    find<QPushButton>(calc(), "HelpSpkBoton")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_TRUE(presenter.shown[0].beep);
    EXPECT_EQ(presenter.shown[0].text.rfind("CAUTION!!!! Be sure that the Manufacurer's data are real.", 0), 0u);
}

} // namespace
} // namespace kvr::gui::test
