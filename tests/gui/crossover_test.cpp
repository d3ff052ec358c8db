// The crossover window offscreen, driven through its named controls and its plot.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

#include "app/crossoveroperations.h"
#include "config/configfile.h"
#include "config/crossoverediting.h"
#include "editorhelpers.h"
#include "guifixture.h"
#include "widgets/clickablelabel.h"
#include "windows/crossoverwindow.h"

namespace kvr::gui::test {
namespace {

using core::CrossoverSide;

class Xover : public GuiTest {
protected:
    CrossoverWindow* w() { return windows->crossover(); }
    void open()
    {
        w()->show();
        ASSERT_TRUE(waitFor([&] { return w()->isVisible(); }));
        pump();
    }
    const core::Configuration& config() { return app->document().configuration(); }
    const core::TXOVERPB& side(int n, CrossoverSide s) { return core::crossoverSide(config(), n, s); }
    NumberField* field(const QString& name) { return find<NumberField>(w(), name.toUtf8().constData()); }
    QComboBox* family(int n, const char* s)
    {
        return find<QComboBox>(w(), (QStringLiteral("TipoXCombo%1").arg(n) + QLatin1String(s)).toUtf8().constData());
    }
    ResponsePlot* plot() { return w()->plot(); }
};

TEST_F(Xover, FrequencyFieldsClampAndSidesNeverCross)
{
    open();
    struct Row {
        const char* field;
        const char* typed;
        CrossoverSide side;
        double stored;
    };
    const Row rows[] = {
        // Whole hertz, halves to even.
        {"FrecEdit1L", "1000.5", CrossoverSide::Low, 1000}, {"FrecEdit1L", "1001.5", CrossoverSide::Low, 1002},
        {"FrecEdit1L", "6000", CrossoverSide::Low, 5000}, // the high side is at 5000
        {"FrecEdit1L", "10", CrossoverSide::Low, 20},       {"FrecEdit1H", "25000", CrossoverSide::High, 20000},
        {"FrecEdit1H", "15", CrossoverSide::High, 20}, // meets the low side at 20
        {"FrecEdit1L", "abc", CrossoverSide::Low, 20},
    };
    for (const Row& r : rows) {
        typeInto(field(QString::fromUtf8(r.field)), QString::fromUtf8(r.typed));
        EXPECT_DOUBLE_EQ(side(1, r.side).Frec, r.stored) << r.field << " " << r.typed;
        EXPECT_EQ(field(QString::fromUtf8(r.field))->text(), QString::number(r.stored)) << r.typed;
    }
    key(field(QStringLiteral("FrecEdit1H")), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::High).Frec, 21);
    find<SpinButtons>(w(), "FrecSpinB1H")->up()->click();
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::High).Frec, 22);
    find<QSpinBox>(w(), "OrdenSpin1H")->setValue(7);
    EXPECT_EQ(side(1, CrossoverSide::High).Orden, 7);
}

TEST_F(Xover, EveryControlOfASideMakesItsOutputCurrent)
{
    open();
    struct Row {
        const char* spin;
        int output;
        CrossoverSide side;
        int hz;
    };
    for (const Row& r : {Row{"FrecSpin3L", 3, CrossoverSide::Low, 300}, Row{"FrecSpin2H", 2, CrossoverSide::High, 4000},
                         Row{"FrecSpin1L", 1, CrossoverSide::Low, 250}}) {
        find<QSpinBox>(w(), r.spin)->setValue(r.hz);
        EXPECT_EQ(w()->currentOutput(), r.output) << r.spin;
        EXPECT_DOUBLE_EQ(side(r.output, r.side).Frec, r.hz) << r.spin;
    }
}

TEST_F(Xover, DeferredMessagesAreShownOnceInTheOrderMet)
{
    app->document().crossovers().showDeferred({"B limit", "A limit", "B limit", "A limit", "C limit"});
    ASSERT_EQ(presenter.shown.size(), 3u);
    const char* expected[] = {"B limit", "A limit", "C limit"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(presenter.shown[i].text, expected[i]);
        EXPECT_EQ(presenter.shown[i].kind, core::MessageKind::Information);
    }
    app->document().crossovers().showDeferred({});
    EXPECT_EQ(presenter.shown.size(), 3u);
}

TEST_F(Xover, MainWindowLabelsFollowTheSides)
{
    open();
    auto* fc1 = find<QLabel>(windows->main(), "fc1Xover1L");
    EXPECT_EQ(fc1->text(), QStringLiteral("  -- "));
    family(1, "L")->setCurrentIndex(1);
    EXPECT_EQ(side(1, CrossoverSide::Low).Tipo, 2);
    EXPECT_EQ(fc1->text(), QStringLiteral("100"));
    family(1, "L")->setCurrentIndex(4);
    EXPECT_EQ(fc1->text(), QStringLiteral("   C "));
    family(1, "H")->setCurrentIndex(2);
    EXPECT_EQ(find<QLabel>(windows->main(), "fc2Xover1L")->text(), QStringLiteral("5000"));
    app->document().undo();
    EXPECT_EQ(find<QLabel>(windows->main(), "fc2Xover1L")->text(), QStringLiteral("  -- "));
    EXPECT_EQ(family(1, "H")->currentIndex(), 0);
}

TEST_F(Xover, CustomPageShowsTheSectionsOfTheOrder)
{
    open();
    family(2, "L")->setCurrentIndex(4); // "Custom" on output 2's low side
    EXPECT_EQ(w()->currentOutput(), 2);
    find<QPushButton>(w(), "CustomB")->click();
    EXPECT_EQ(find<QSpinBox>(w(), "XoverCSpin")->value(), 2);
    auto* lowOrder = find<QSpinBox>(w(), "LowOrderCSpin");
    EXPECT_TRUE(lowOrder->isEnabled());
    EXPECT_FALSE(find<QSpinBox>(w(), "HighOrderCSpin")->isEnabled());
    lowOrder->setValue(3);
    key(lowOrder, Qt::Key_Return); // Enter presses no page button
    EXPECT_EQ(find<QStackedWidget>(w(), "Pages")->currentIndex(), 1);
    EXPECT_EQ(side(2, CrossoverSide::Low).Orden, 3);
    EXPECT_EQ(find<QSpinBox>(w(), "OrdenSpin2L")->value(), 3);
    struct Row {
        const char* name;
        bool shown;
    };
    for (const Row& r : {Row{"frecl1Edit", true}, Row{"Ql1Edit", false}, Row{"frecl2Edit", true}, Row{"Ql2Edit", true},
                         Row{"frecl3Edit", false}, Row{"frech1Edit", false}})
        EXPECT_EQ(!find<QWidget>(w(), r.name)->isHidden(), r.shown) << r.name;
    EXPECT_TRUE(field(QStringLiteral("frecl2Edit"))->isEnabled());

    typeInto(field(QStringLiteral("frecl2Edit")), QStringLiteral("250"));
    EXPECT_DOUBLE_EQ(side(2, CrossoverSide::Low).Sections[1].Frec, 250);
    // Q: arrow keys step 0.1, the spin buttons 0.05.
    typeInto(field(QStringLiteral("Ql2Edit")), QStringLiteral("1"));
    key(field(QStringLiteral("Ql2Edit")), Qt::Key_Up);
    find<SpinButtons>(w(), "Ql2SpinB")->down()->click();
    EXPECT_DOUBLE_EQ(side(2, CrossoverSide::Low).Sections[1].Q, 1.05);
    EXPECT_EQ(field(QStringLiteral("Ql2Edit"))->text(), QStringLiteral("1.050"));

    // The high side shows Butterworth sections read-only.
    family(2, "H")->setCurrentIndex(1);
    find<QPushButton>(w(), "CustomB")->click();
    EXPECT_FALSE(find<QWidget>(w(), "frech1Edit")->isHidden());
    EXPECT_FALSE(field(QStringLiteral("frech1Edit"))->isEnabled());

    find<QPushButton>(w(), "HelpB")->click();
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().text,
              "WARNING!!! : CUSTOM CrossOver Alignment requires Engineering Knowledge. If you doubt, please go back "
              "to NORMAL CrossOver Mode");
    EXPECT_EQ(presenter.shown.back().kind, core::MessageKind::Warning);
}

TEST_F(Xover, LinkCheckBoxTiesANeighboursSides)
{
    open();
    auto* link = find<QCheckBox>(w(), "Link23");
    const core::Configuration before = config();
    link->setChecked(true);
    EXPECT_TRUE(config().links.crossover[1]);
    EXPECT_EQ(config().outputs, before.outputs); // checking moves nothing
    typeInto(field(QStringLiteral("FrecEdit3L")), QStringLiteral("800"));
    EXPECT_DOUBLE_EQ(side(3, CrossoverSide::Low).Frec, 800);
    EXPECT_DOUBLE_EQ(side(2, CrossoverSide::High).Frec, 800);
    EXPECT_EQ(field(QStringLiteral("FrecEdit2H"))->text(), QStringLiteral("800"));
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 3 crossover"));
    app->document().undo();
    EXPECT_DOUBLE_EQ(side(2, CrossoverSide::High).Frec, 5000);
    EXPECT_EQ(field(QStringLiteral("FrecEdit2H"))->text(), QStringLiteral("5000"));
}

TEST_F(Xover, RedrawingFromTheConfigurationRunsNoLink)
{
    // Linked sides that differ: the link checked after they were set.
    core::Configuration c;
    core::setCrossoverFamily(c, 1, CrossoverSide::High, 1);
    core::setCrossoverFrequency(c, 1, CrossoverSide::High, 2000);
    core::setCrossoverFamily(c, 2, CrossoverSide::Low, 1);
    core::setCrossoverFrequency(c, 2, CrossoverSide::Low, 500);
    const QString file = path(QStringLiteral("linked.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), c));
    ASSERT_TRUE(app->document().openConfigurationFile(file));
    open();
    find<QCheckBox>(w(), "Link12")->click();
    const core::Configuration linked = config();
    const size_t steps = app->document().history().size();
    find<QRadioButton>(w(), "Phase")->setChecked(true);
    find<QRadioButton>(w(), "Mag")->setChecked(true);
    find<ClickableLabel>(w(), "Xover2Label")->clicked();
    find<QPushButton>(w(), "CustomB")->click();
    find<QPushButton>(w(), "NormalB")->click();
    w()->hide();
    open();
    app->document().undo();
    app->document().redo();
    EXPECT_EQ(config(), linked);
    EXPECT_EQ(app->document().history().size(), steps);
    EXPECT_DOUBLE_EQ(side(2, CrossoverSide::Low).Frec, 500);
    // A person's change of a linked value carries it.
    typeInto(field(QStringLiteral("FrecEdit1H")), QStringLiteral("1800"));
    EXPECT_DOUBLE_EQ(side(2, CrossoverSide::Low).Frec, 1800);
}

TEST_F(Xover, DraggingASidesFrequencyIsOneUndoStep)
{
    open();
    family(1, "L")->setCurrentIndex(1);
    family(1, "H")->setCurrentIndex(2);
    const size_t steps = app->document().history().size();

    drag(plot(), Qt::LeftButton, {{1000, -3}, {2000, -3}}); // far from 100 Hz
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::Low).Frec, 100);
    drag(plot(), Qt::LeftButton, {{110, -3}, {200, -3}, {300.4, -10}});
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::Low).Frec, 300);
    EXPECT_EQ(app->document().history().size(), steps + 1);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 1 crossover"));
    EXPECT_EQ(field(QStringLiteral("FrecEdit1L"))->text(), QStringLiteral("300"));
    // The right button takes the high side.
    drag(plot(), Qt::RightButton, {{5000, -3}, {8000, -3}});
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::High).Frec, 8000);
    EXPECT_EQ(app->document().history().size(), steps + 2);

    // A Bessel low-pass dragged past its order's limit stops there, and says so once, after the drag.
    family(1, "H")->setCurrentIndex(3);
    find<QSpinBox>(w(), "OrdenSpin1H")->setValue(8);
    const size_t boxes = presenter.shown.size();
    drag(plot(), Qt::RightButton, {{8000, -3}, {12000, -3}, {15000, -3}});
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::High).Frec, 10900);
    ASSERT_EQ(presenter.shown.size(), boxes + 1);
    EXPECT_EQ(presenter.shown.back().text, "Cutoff Frequency of Bessel LowPass filter of order 8 is limited to 10900");
    for (int i = 0; i < 3; ++i)
        app->document().undo();

    const double atLowBefore = *w()->plotModel().valueAt(1, 300);
    app->document().undo();
    app->document().undo();
    EXPECT_DOUBLE_EQ(side(1, CrossoverSide::Low).Frec, 100);
    EXPECT_EQ(field(QStringLiteral("FrecEdit1L"))->text(), QStringLiteral("100"));
    EXPECT_NE(*w()->plotModel().valueAt(1, 300), atLowBefore); // the curve was redrawn
    core::ChainResponse kept;
    core::crossoverResponse(config(), 1, kept);
    // The grid's whole-hertz points repeat at its low end; its top point is the curve's last.
    EXPECT_EQ(w()->plotModel().findSeries(1)->points.back().y, static_cast<double>(kept.magnitudeDb.back()));
}

TEST_F(Xover, BlocksOpenOnTheirOutputAndTheViewSwitches)
{
    QWidget* main = windows->main();
    EXPECT_TRUE(find<QAction>(main, "MenuXover")->isEnabled());
    find<QPushButton>(main, "Xover3B")->click();
    ASSERT_TRUE(w()->isVisible());
    EXPECT_EQ(w()->currentOutput(), 3);
    EXPECT_TRUE(find<QLabel>(w(), "Xover3Label")->styleSheet().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(w()->plotModel().findSeries(3)->colour, plotcolour::kRed);
    EXPECT_EQ(w()->plotModel().findSeries(1)->colour, plotcolour::kAqua);
    EXPECT_EQ(w()->plotModel().drawOrder().back(), 3);

    find<QSpinBox>(w(), "YMaxUpDown")->setValue(20);
    find<QSpinBox>(w(), "YMinUpDown")->setValue(-60);
    EXPECT_EQ(w()->plotModel().yAxis().Max, 20);
    EXPECT_EQ(w()->plotModel().yAxis().Min, -60);
    family(3, "L")->setCurrentIndex(2);
    family(3, "H")->setCurrentIndex(3);
    find<QRadioButton>(w(), "Phase")->setChecked(true);
    EXPECT_EQ(w()->plotModel().yAxis().Min, -180);
    for (int n = 1; n <= 4; ++n)
        for (const PlotPoint& p : w()->plotModel().findSeries(n)->points) {
            EXPECT_GE(p.y, -180.0);
            EXPECT_LE(p.y, 180.0);
        }
    // Presses do nothing in the phase view.
    const core::Configuration before = config();
    drag(plot(), Qt::LeftButton, {{100, 0}, {300, 0}});
    EXPECT_EQ(config(), before);
}

} // namespace
} // namespace kvr::gui::test
