// The input equaliser window offscreen, driven through its named controls and its plot.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <cmath>

#include "config/configfile.h"
#include "config/inputeqediting.h"
#include "editorhelpers.h"
#include "guifixture.h"
#include "windows/inputequalizerwindow.h"

namespace kvr::gui::test {
namespace {

using core::InputId;

class InputEq : public GuiTest {
protected:
    InputEqualizerWindow* w() { return windows->inputEqualizer(); }
    void open()
    {
        w()->show();
        ASSERT_TRUE(waitFor([&] { return w()->isVisible(); }));
        pump();
    }
    const core::Configuration& config() { return app->document().configuration(); }
    const core::TSOS& band(InputId bank, int n) { return config().input(bank).peq[size_t(n - 1)]; }
    NumberField* field(const char* name) { return find<NumberField>(w(), name); }
    ResponsePlot* plot() { return w()->plot(); }
    // Band 1 of PEQA as a peak: type, then gain through its field.
    void peak(double db)
    {
        find<QComboBox>(w(), "TipoFiltroCombo")->setCurrentIndex(1);
        typeInto(field("GainEdit"), QString::number(db));
    }
};

TEST_F(InputEq, BandSpinRaisesTheCountAndNeverLowersIt)
{
    open();
    find<QRadioButton>(w(), "ModPEQ2")->setChecked(true);
    EXPECT_EQ(w()->bank(), InputId::B);
    EXPECT_EQ(w()->plotModel().GraphTitle(), QStringLiteral("Input Equalization - PEQB"));
    auto* spin = find<QSpinBox>(w(), "SpinFiltro");
    spin->setValue(5);
    EXPECT_EQ(config().input(InputId::B).peqBandCount, 5);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("PEQB band count"));
    spin->setValue(1);
    EXPECT_EQ(config().input(InputId::B).peqBandCount, 5);
    EXPECT_EQ(config().input(InputId::A).peqBandCount, 2);
    EXPECT_EQ(app->document().history().size(), 1u);
}

TEST_F(InputEq, ShowingABandStoresNothingTheTrackBarStoresTenths)
{
    open();
    find<QComboBox>(w(), "TipoFiltroCombo")->setCurrentIndex(1); // a type with Q
    ASSERT_EQ(app->document().history().size(), 1u);
    auto* bar = find<QSlider>(w(), "QBar");
    auto* slider = find<QSlider>(w(), "QSlider");
    EXPECT_EQ(field("QEdit")->text(), QStringLiteral("0.7"));
    EXPECT_EQ(bar->value(), 7);
    EXPECT_EQ(slider->value(), 195);
    // Showing other bands and back, and passing through the Q field, store nothing.
    find<QSpinBox>(w(), "SpinFiltro")->setValue(2);
    find<QSpinBox>(w(), "SpinFiltro")->setValue(1);
    field("QEdit")->setFocus();
    field("FrecEdit")->setFocus();
    EXPECT_EQ(band(InputId::A, 1).Q, 0.707);
    EXPECT_EQ(app->document().history().size(), 1u);

    struct Row {
        QSlider* control;
        int value;
        double q;
        const char* text;
    };
    for (const Row& r : {Row{bar, 2, 0.3, "0.3"}, Row{bar, 14, 1.4, "1.4"}, Row{slider, 152, 5.0, "5.0"}}) {
        r.control->setValue(r.value);
        EXPECT_DOUBLE_EQ(band(InputId::A, 1).Q, r.q) << r.value;
        EXPECT_EQ(field("QEdit")->text(), QString::fromUtf8(r.text));
    }
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(slider->value(), 152);
}

TEST_F(InputEq, FieldsClampAndRoundThroughTheirText)
{
    open();
    peak(3);
    NumberField* freq = field("FrecEdit");
    struct Row {
        const char* typed;
        double stored;
        const char* shown;
    };
    for (const Row& r :
         {Row{"25000", 20000, "20000"}, Row{"10", 20, "20"}, Row{"1234.6", 1235, "1235"}, Row{"abc", 1235, "1235"}}) {
        typeInto(freq, QString::fromUtf8(r.typed));
        EXPECT_DOUBLE_EQ(band(InputId::A, 1).Frec, r.stored) << r.typed;
        EXPECT_EQ(freq->text(), QString::fromUtf8(r.shown));
    }
    key(freq, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Frec, 1236);
    find<SpinButtons>(w(), "FrecSpinB")->down()->click();
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Frec, 1235);
    typeInto(field("GainEdit"), QStringLiteral("-20"));
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Gain, -15);
    EXPECT_EQ(field("GainEdit")->text(), QStringLiteral("-15.0"));
    find<SpinButtons>(w(), "GainSpinB")->up()->click();
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Gain, -14.9);
}

TEST_F(InputEq, LowPassDisablesGainAndQAndItsDragMovesOnlyTheFrequency)
{
    open();
    peak(5);
    find<QComboBox>(w(), "TipoFiltroCombo")->setCurrentIndex(6);
    EXPECT_EQ(band(InputId::A, 1).Gain, 0.0);
    for (const char* name : {"GainEdit", "QEdit"})
        EXPECT_FALSE(field(name)->isEnabled()) << name;
    for (const char* name : {"GainSpinB", "QSpinB", "QBar", "QSlider", "GainL", "QL"})
        EXPECT_FALSE(find<QWidget>(w(), name)->isEnabled()) << name;
    EXPECT_TRUE(field("FrecEdit")->isEnabled());
    drag(plot(), Qt::LeftButton, {{1000, 0}, {1500, 4}, {2000, 6}});
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Frec, 2000);
    EXPECT_EQ(band(InputId::A, 1).Gain, 0.0);
}

TEST_F(InputEq, DragStartsNearTheMarkerAndIsOneUndoStep)
{
    open();
    peak(3);
    const size_t steps = app->document().history().size();
    const core::TSOS before = band(InputId::A, 1);
    // 3 dB below the marker, and a factor 10^0.08 above it: no drag.
    for (QPointF p : {QPointF(1000, 0), QPointF(1000 * std::pow(10.0, 0.08), 3)}) {
        drag(plot(), Qt::LeftButton, {p, {3000, -2}});
        EXPECT_FALSE(w()->dragging());
        EXPECT_EQ(band(InputId::A, 1), before);
    }
    // Shift with the left button leaves the marker alone.
    mouse(plot(), QEvent::MouseButtonPress, 1000, 3, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(w()->dragging());
    mouse(plot(), QEvent::MouseButtonRelease, 1000, 3, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);

    mouse(plot(), QEvent::MouseButtonPress, 1000 * std::pow(10.0, 0.06), 4.5, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(w()->dragging());
    EXPECT_TRUE(w()->statusText().startsWith(QStringLiteral("1148 Hz , 4.5"))) << qPrintable(w()->statusText());
    for (QPointF p : {QPointF(2000, 6), QPointF(3000, -2.04)})
        mouse(plot(), QEvent::MouseMove, p.x(), p.y(), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(w()->statusText(), QStringLiteral("3000 Hz , -2.04 dBs"));
    mouse(plot(), QEvent::MouseButtonRelease, 3000, -2.04, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(w()->dragging());
    EXPECT_TRUE(w()->statusText().isEmpty());
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Frec, 3000);
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Gain, -2.0);
    EXPECT_EQ(app->document().history().size(), steps + 1);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("PEQA band 1"));
    EXPECT_EQ(w()->plotModel().mark(1)->x1, 3000);
    // The curve is the bank's response after the drag.
    core::ChainResponse after;
    core::inputBankResponse(config(), InputId::A, after);
    EXPECT_EQ(w()->plotModel().findSeries(1)->points.back().y, static_cast<double>(after.magnitudeDb.back()));

    // Undo redraws the band, its marker and its curve.
    app->document().undo();
    EXPECT_EQ(band(InputId::A, 1), before);
    EXPECT_EQ(field("FrecEdit")->text(), QStringLiteral("1000"));
    EXPECT_EQ(w()->plotModel().mark(1)->x1, 1000);
    EXPECT_NEAR(*w()->plotModel().valueAt(1, 1000), 3.0, 0.01);
}

TEST_F(InputEq, HoverShowsTheNearestPointAndAHandOverTheMarker)
{
    open();
    peak(3);
    mouse(plot(), QEvent::MouseMove, 1000, 3, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(plot()->handCursor());
    const PlotNearest near = *w()->plotModel().nearest(1, 1000);
    EXPECT_EQ(w()->statusText(), QString::number(std::lround(near.x)) + QStringLiteral(" Hz , ") +
                                     QString::number(near.y, 'f', 2) + QStringLiteral(" dBs"));
    EXPECT_EQ(find<QLabel>(w(), "StatusBar")->text(), w()->plotModel().readout());
    mouse(plot(), QEvent::MouseMove, 1000, -10, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(plot()->handCursor());
    mouse(plot(), QEvent::MouseMove, 1000, 30, Qt::NoButton, Qt::NoButton); // above the axis
    EXPECT_TRUE(w()->statusText().isEmpty());
}

TEST_F(InputEq, PhaseViewIgnoresPressesAndStaysWithin180)
{
    open();
    peak(12);
    typeInto(field("QEdit"), QStringLiteral("20"));
    find<QSpinBox>(w(), "SpinFiltro")->setValue(2);
    find<QComboBox>(w(), "TipoFiltroCombo")->setCurrentIndex(11); // all-pass: its phase turns
    find<QRadioButton>(w(), "Phase")->setChecked(true);
    const PlotModel& model = w()->plotModel();
    EXPECT_EQ(model.yAxis().title, QStringLiteral("Phase"));
    EXPECT_EQ(model.yAxis().Min, -180);
    EXPECT_EQ(model.yAxis().Max, 180);
    for (int n = 1; n <= 3; ++n) {
        ASSERT_FALSE(model.findSeries(n)->points.empty());
        for (const PlotPoint& p : model.findSeries(n)->points) {
            EXPECT_GE(p.y, -180.0);
            EXPECT_LE(p.y, 180.0);
        }
    }
    const core::Configuration before = config();
    drag(plot(), Qt::LeftButton, {{1000, 0}, {2000, 50}});
    EXPECT_EQ(config(), before);
    find<QRadioButton>(w(), "Mag")->setChecked(true);
    EXPECT_EQ(model.yAxis().Max, 20);
}

TEST_F(InputEq, WheelOverTheMarkerStepsQInOneUndoStep)
{
    open();
    peak(3);
    const size_t steps = app->document().history().size();
    wheel(plot(), 1000, 3, 120);
    wheel(plot(), 1000, 3, 120);
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Q, 0.9);
    EXPECT_EQ(app->document().history().size(), steps + 1);
    wheel(plot(), 300, 3, 120); // away from the marker
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Q, 0.9);
    // The gesture ends when the wheel rests.
    pump(600);
    wheel(plot(), 1000, 3, -120);
    EXPECT_DOUBLE_EQ(band(InputId::A, 1).Q, 0.8);
    EXPECT_EQ(app->document().history().size(), steps + 2);
}

TEST_F(InputEq, AnalogBandsShowLHAndBOfTheirOwn)
{
    // Types 19 and 20 come only from files and memories.
    core::Configuration c;
    c.input(InputId::A).peq[0] = core::TSOS{1, 0, 0, 0, 0, 19, 2.0, 250.0, 50.0};
    c.input(InputId::A).peq[1] = core::TSOS{1, 0, 0, 0, 0, 20, 1.0, 500.0, 10.0};
    const QString file = path(QStringLiteral("analog.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), c));
    ASSERT_TRUE(app->document().openConfigurationFile(file));
    open();
    EXPECT_TRUE(field("FrecEdit")->isHidden());
    EXPECT_FALSE(field("LEdit")->isHidden());
    EXPECT_FALSE(w()->plotModel().ShowMarks());
    EXPECT_EQ(field("LEdit")->text(), QStringLiteral("2.50"));
    EXPECT_EQ(field("HEdit")->text(), QStringLiteral("0.5000"));
    EXPECT_EQ(field("BEdit")->text(), QStringLiteral("2.0"));
    find<QSpinBox>(w(), "SpinFiltro")->setValue(2);
    EXPECT_EQ(field("BEdit")->text(), QStringLiteral("1.0")); // band 2's own, not band 1's
    typeInto(field("LEdit"), QStringLiteral("4"));
    EXPECT_DOUBLE_EQ(band(InputId::A, 2).Frec, 400);
    EXPECT_DOUBLE_EQ(band(InputId::A, 2).Gain, 1.0);
    EXPECT_DOUBLE_EQ(band(InputId::A, 2).Q, 10.0);
    // No drag on them.
    const core::Configuration before = config();
    drag(plot(), Qt::LeftButton, {{400, 0}, {800, 0}});
    EXPECT_EQ(config(), before);
}

TEST_F(InputEq, SourcesViewsAndTheMainWindowsButtons)
{
    QWidget* main = windows->main();
    for (const char* name : {"PEQ1B", "PEQ2B", "PEQMB"})
        EXPECT_TRUE(find<QWidget>(main, name)->isEnabled()) << name;
    EXPECT_TRUE(find<QAction>(main, "MenuPeq")->isEnabled());
    find<QPushButton>(main, "PEQMB")->click();
    EXPECT_TRUE(w()->isVisible());
    EXPECT_EQ(w()->bank(), InputId::M);

    // Input A through PEQB: its button says so and opens PEQB.
    find<QRadioButton>(w(), "PEQAGroup2")->setChecked(true);
    EXPECT_EQ(config().input(InputId::A).peqSource, 2);
    EXPECT_EQ(find<QPushButton>(main, "PEQ1B")->text(), QStringLiteral("PEQB"));
    find<QPushButton>(main, "PEQ1B")->click();
    EXPECT_EQ(w()->bank(), InputId::B);

    find<QCheckBox>(w(), "VerPEQMCheck")->setChecked(false);
    EXPECT_FALSE(config().input(InputId::M).peqView);
    EXPECT_FALSE(w()->plotModel().findSeries(3)->visible);
    app->document().undo();
    EXPECT_TRUE(find<QCheckBox>(w(), "VerPEQMCheck")->isChecked());
    EXPECT_TRUE(w()->plotModel().findSeries(3)->visible);

    // New closes the editor.
    app->document().newConfiguration();
    EXPECT_FALSE(w()->isVisible());
}

} // namespace
} // namespace kvr::gui::test
