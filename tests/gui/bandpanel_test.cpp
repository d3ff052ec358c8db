// The equalisers' band panel on its own: filling it reports nothing, the Q twin drives the bar,
// and a step starts from the shown value when the field reads no number.

#include <QComboBox>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "dsp/tsos.h"
#include "widgets/bandpanel.h"
#include "widgets/numberfield.h"

namespace kvr::gui::test {
namespace {

struct Reports {
    int count = 0;
    int lastPosition = 0;
};

void listen(BandPanel& panel, Reports& r)
{
    QObject::connect(&panel, &BandPanel::bandChosen, [&r] { ++r.count; });
    QObject::connect(&panel, &BandPanel::typeChosen, [&r] { ++r.count; });
    QObject::connect(&panel, &BandPanel::fieldCommitted, [&r] { ++r.count; });
    QObject::connect(&panel, &BandPanel::fieldStepped, [&r] { ++r.count; });
    QObject::connect(&panel, &BandPanel::analogCommitted, [&r] { ++r.count; });
    QObject::connect(&panel, &BandPanel::qBarMoved, [&r](int p) {
        ++r.count;
        r.lastPosition = p;
    });
}

TEST(BandPanel, FillingShowsTheBandAndReportsNothing)
{
    BandPanel panel;
    Reports reports;
    listen(panel, reports);
    core::TSOS s;
    s.Tipo = static_cast<uint8_t>(core::SectionType::Parametric);
    s.Frec = 250.0;
    s.Gain = 3.5;
    s.Q = 4.0;
    panel.showInputBand(3, s);
    EXPECT_EQ(panel.findChild<QSpinBox*>("SpinFiltro")->value(), 3);
    EXPECT_EQ(panel.findChild<QComboBox*>("TipoFiltroCombo")->currentIndex(), 1);
    EXPECT_EQ(panel.findChild<NumberField*>("FrecEdit")->text(), QStringLiteral("250"));
    EXPECT_EQ(panel.findChild<QSlider*>("QBar")->value(), 40);     // Q x 10
    EXPECT_EQ(panel.findChild<QSlider*>("QSlider")->value(), 162); // 202 - 40
    EXPECT_TRUE(panel.findChild<NumberField*>("LEdit")->isHidden());

    s.Tipo = static_cast<uint8_t>(core::SectionType::AnalogPlus);
    panel.showOutputBand(2, s);
    EXPECT_FALSE(panel.findChild<NumberField*>("LEdit")->isHidden());
    EXPECT_TRUE(panel.findChild<NumberField*>("FrecEdit")->isHidden());
    EXPECT_EQ(reports.count, 0);
}

TEST(BandPanel, TheTwinMovesTheBarWhichReportsOnce)
{
    BandPanel panel;
    Reports reports;
    listen(panel, reports);
    panel.findChild<QSlider*>("QSlider")->setValue(150);
    EXPECT_EQ(panel.findChild<QSlider*>("QBar")->value(), 52); // 202 - 150
    EXPECT_EQ(reports.count, 1);
    EXPECT_EQ(reports.lastPosition, 52);
}

TEST(BandPanel, AStepStartsFromTheFieldOrTheShownValue)
{
    BandPanel panel;
    struct Row {
        BandPanel::Field field;
        const char* text;
        int direction;
        double shown;
        double expected;
    };
    const Row rows[] = {
        {BandPanel::Field::Frequency, "1000", 1, 50.0, 1001.0},
        {BandPanel::Field::Gain, "-2.0", -1, 0.0, -2.1},
        {BandPanel::Field::Q, "abc", 1, 0.7, 0.8}, // no number: from the shown value
    };
    const char* names[] = {"FrecEdit", "GainEdit", "QEdit"};
    for (const Row& r : rows) {
        panel.findChild<NumberField*>(names[static_cast<int>(r.field)])->setText(QString::fromUtf8(r.text));
        EXPECT_NEAR(panel.steppedValue(r.field, r.direction, r.shown), r.expected, 1e-9) << r.text;
    }
}

} // namespace
} // namespace kvr::gui::test
