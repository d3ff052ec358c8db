#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <cstring>

#include "app/leveloperations.h"
#include "config/configfile.h"
#include "guifixture.h"
#include "tools/listings.h"
#include "widgets/clickablelabel.h"
#include "widgets/fader.h"
#include "widgets/trackscale.h"
#include "windows/copyoutputwindow.h"
#include "windows/inputdelaywindow.h"
#include "windows/levelswindow.h"
#include "windows/nameswindow.h"
#include "windows/outputdelaywindow.h"
#include "windows/systeminformationwindow.h"

namespace kvr::gui::test {
namespace {

class LevelsWindowTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        windows->levels()->show();
    }
    QWidget* levels() { return windows->levels(); }
    QWidget* main() { return windows->main(); }
    const core::Configuration& config() { return app->document().configuration(); }
    QString text(QWidget* root, const std::string& name) { return find<QLabel>(root, name.c_str())->text(); }
    QCheckBox* box(const std::string& name) { return find<QCheckBox>(levels(), name.c_str()); }
};

TEST_F(LevelsWindowTest, TrackShowsItsLevelHereAndOnTheMainWindow)
{
    struct Row {
        const char *track, *fader, *db, *mainLabel;
        int position;
        const char* text;
    };
    const Row rows[] = {
        {"Input1Track", "Input1Slider", "Input1dBL", "GainInput1L", -400, "10.0"},
        {"InputMTrack", "InputMSlider", "InputMdBL", "GainInputML", -240, "-6.0"},
        {"Output4Track", "Out4Slider", "Output4dBL", "GainOut4L", 100, "-40.0"},
    };
    for (const Row& r : rows) {
        find<TrackScale>(levels(), r.track)->setValue(r.position);
        EXPECT_EQ(text(levels(), r.db), QString::fromUtf8(r.text));
        EXPECT_EQ(text(main(), r.mainLabel), QString::fromUtf8(r.text) + QStringLiteral(" dB"));
        EXPECT_EQ(find<Fader>(levels(), r.fader)->value(), r.position + 405);
    }
    EXPECT_EQ(config().input(core::InputId::A).levelPosition, -400);
    EXPECT_NEAR(config().input(core::InputId::A).linearGain(), 3.1623, 5e-5);
    EXPECT_NEAR(config().output(4).linearGain(), 0.01, 1e-12);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 4 level"));
}

TEST_F(LevelsWindowTest, FaderEndsPutTheTrackAtItsEnds)
{
    const std::tuple<const char*, const char*, const char*, int, int, const char*> rows[] = {
        {"Out1Slider", "Output1Track", "Output1dBL", 0, -400, "10.0"},
        {"Input2Slider", "Input2Track", "Input2dBL", 506, 100, "-40.0"},
    };
    for (auto [fader, track, db, value, position, shown] : rows) {
        find<Fader>(levels(), fader)->setValue(value);
        EXPECT_EQ(find<TrackScale>(levels(), track)->value(), position) << fader;
        EXPECT_EQ(text(levels(), db), QString::fromUtf8(shown));
    }
}

TEST_F(LevelsWindowTest, DraggingAFaderIsOneUndoStep)
{
    auto* fader = find<Fader>(levels(), "Out3Slider");
    const size_t steps = app->document().history().size();
    auto send = [&](QEvent::Type type, int y, Qt::MouseButtons buttons) {
        const QPointF at(fader->width() / 2.0, y);
        QMouseEvent e(type, at, fader->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(fader, &e);
    };
    send(QEvent::MouseButtonPress, fader->height() / 2, Qt::LeftButton);
    for (int y : {40, 60, 80})
        send(QEvent::MouseMove, y, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 80, Qt::NoButton);
    EXPECT_NE(config().output(3).levelPosition, -300);
    EXPECT_EQ(app->document().history().size(), steps + 1);
    app->document().undo();
    EXPECT_EQ(config().output(3).levelPosition, -300);
    EXPECT_EQ(find<TrackScale>(levels(), "Output3Track")->value(), -300);
}

TEST_F(LevelsWindowTest, PolarityTakesEffectAtOnce)
{
    // Before, the sign waited for the next recomputation: the image, the listing and a copy of
    // "Output Gain" could carry the old one.
    box("PolOutput2")->setChecked(true);
    EXPECT_EQ(config().output(2).linearGain(), -1.0);
    EXPECT_EQ(text(main(), "GainOut2L"), QStringLiteral("0.0 dB"));
    const auto listing = core::coefficientListing(config(), core::ListingKind::Dsp1, {});
    const auto line =
        std::find_if(listing.begin(), listing.end(), [](const std::string& l) { return l.rfind("outgain2", 0) == 0; });
    ASSERT_NE(line, listing.end());
    EXPECT_NE(line->find(".float  -1"), std::string::npos) << *line;
    const QString file = path(QStringLiteral("inverted.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), config()));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    double stored = 0;
    std::memcpy(&stored, bytes.constData() + 2696 + 8, sizeof stored); // output 2's linear gain
    EXPECT_EQ(stored, -1.0);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Output 2 polarity"));
    box("PolOutput2")->setChecked(false);
    EXPECT_EQ(config().output(2).linearGain(), 1.0);
}

TEST_F(LevelsWindowTest, MuteOutsSetsAndClearsFourMarkers)
{
    app->document().levels().setOutputLevelPosition(2, -270);
    app->document().levels().setPolarity(2, true);
    const core::Configuration before = config();
    const size_t steps = app->document().history().size();
    auto marked = [&](int n) {
        const std::string k = std::to_string(n);
        return !find<QLabel>(main(), ("Mute" + k).c_str())->isHidden() &&
               !find<QLabel>(main(), ("Mute" + k + "L").c_str())->isHidden();
    };
    box("MuteAll")->setChecked(true);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(box("MuteOutput" + std::to_string(n))->isChecked()) << n;
        EXPECT_TRUE(marked(n)) << n;
    }
    box("MuteAll")->setChecked(false);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(box("MuteOutput" + std::to_string(n))->isChecked()) << n;
        EXPECT_FALSE(marked(n)) << n;
        EXPECT_EQ(config().output(n).linearGain(), before.output(n).linearGain()) << n;
    }
    EXPECT_LT(config().output(2).linearGain(), 0.0);
    EXPECT_EQ(app->document().history().size(), steps + 2);
    // One output unmuted by hand: "Mute Outs" no longer claims all four.
    box("MuteAll")->setChecked(true);
    box("MuteOutput3")->setChecked(false);
    EXPECT_FALSE(box("MuteAll")->isChecked());
    EXPECT_TRUE(config().output(4).mute);
}

TEST_F(LevelsWindowTest, NameLabelsOpenTheNamesWindow)
{
    EXPECT_EQ(find<QLabel>(levels(), "Output3NameL")->text(), QStringLiteral("Out3"));
    emit find<ClickableLabel>(levels(), "Output3NameL")->clicked();
    EXPECT_TRUE(windows->names()->isVisible());
    EXPECT_TRUE(windows->names()->isModal());
    find<QLineEdit>(windows->names(), "Output3Edit")->setText(QStringLiteral("Sub"));
    find<QPushButton>(windows->names(), "OKB")->click();
    EXPECT_EQ(find<QLabel>(levels(), "Output3NameL")->text(), QStringLiteral("Sub"));
}

TEST_F(LevelsWindowTest, EveryBlockAndMenuItemOpensItsWindow)
{
    levels()->hide();
    struct Row {
        const char* control;
        QDialog* window;
        bool modal;
    };
    const Row rows[] = {
        {"Gain1B", windows->levels(), false},
        {"GainABB", windows->levels(), false},
        {"Gainout3B", windows->levels(), false},
        {"MenuGains", windows->levels(), true},
        {"DelayC2B", windows->inputDelay(), true},
        {"MenuInputDelays", windows->inputDelay(), false},
        {"Delay4FB", windows->outputDelay(), true},
        {"MenuOutputDelays", windows->outputDelay(), false},
        {"Input1B", windows->names(), true},
        {"Output2B", windows->names(), true},
        {"MenuInputsOutputs", windows->names(), true},
        {"SistemaB", windows->systemInfo(), true},
        {"MenuSystemName", windows->systemInfo(), true},
        {"CopyOutsB", windows->copyOutputs(), true},
        {"MenuCopyOutputs", windows->copyOutputs(), true},
    };
    for (const Row& r : rows) {
        auto* action = main()->findChild<QAction*>(QString::fromUtf8(r.control));
        if (action) {
            EXPECT_TRUE(action->isEnabled()) << r.control;
            action->trigger();
        } else {
            auto* button = find<QAbstractButton>(main(), r.control);
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->isEnabled()) << r.control;
            button->click();
        }
        EXPECT_TRUE(r.window->isVisible()) << r.control;
        EXPECT_EQ(r.window->isModal(), r.modal) << r.control;
        r.window->hide();
    }
}

TEST_F(LevelsWindowTest, CopyClosesTheLevelsWindowFirst)
{
    ASSERT_TRUE(levels()->isVisible());
    find<QAbstractButton>(main(), "CopyOutsB")->click();
    EXPECT_FALSE(levels()->isVisible());
    EXPECT_TRUE(windows->copyOutputs()->isVisible());
}

} // namespace
} // namespace kvr::gui::test
