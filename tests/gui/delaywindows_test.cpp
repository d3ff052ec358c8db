#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "app/delayoperations.h"
#include "config/configfile.h"
#include "guifixture.h"
#include "widgets/fader.h"
#include "widgets/trackscale.h"
#include "windows/inputdelaywindow.h"
#include "windows/outputdelaywindow.h"

// Expected readouts and samples come from tests/unit/leveldelay_reference.py.

namespace kvr::gui::test {
namespace {

using core::InputId;

class DelayWindows : public GuiTest {
protected:
    const core::Configuration& config() { return app->document().configuration(); }
    QString text(QWidget* root, const char* name) { return find<QLabel>(root, name)->text(); }
    TrackScale* track(QWidget* root, const char* name) { return find<TrackScale>(root, name); }
    void key(QWidget* w, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }
    std::array<int, 3> inputTracks()
    {
        QWidget* w = windows->inputDelay();
        return {track(w, "DistATrack")->value(), track(w, "DistBTrack")->value(), track(w, "DistMTrack")->value()};
    }
};

TEST_F(DelayWindows, InputDistanceReadsEverywhere)
{
    QWidget* w = windows->inputDelay();
    w->show();
    track(w, "DistATrack")->setValue(100);
    EXPECT_EQ(text(w, "DistAL"), QStringLiteral("1.00"));
    EXPECT_EQ(text(w, "PiesAL"), QStringLiteral("3.28"));
    EXPECT_EQ(text(w, "msegAL"), QStringLiteral("2.89"));
    EXPECT_EQ(config().input(InputId::A).delaySamples, 139);
    EXPECT_EQ(text(windows->main(), "DelayC1L"), QStringLiteral("2.90 ms"));
    EXPECT_EQ(find<Fader>(w, "DistASlider")->value(), 10000);
    find<Fader>(w, "DistMSlider")->setValue(0); // the fader's far end: 100 m
    EXPECT_EQ(track(w, "DistMTrack")->value(), 10000);
    EXPECT_EQ(config().input(InputId::M).delaySamples, 13861);
    EXPECT_EQ(track(w, "DistMTrack")->labelTexts(), (QStringList{QStringLiteral("0 m."), QStringLiteral("100 m.")}));
}

TEST_F(DelayWindows, ArrowsStepDelayTracksByTwo)
{
    const std::pair<QWidget*, const char*> tracks[] = {{windows->inputDelay(), "DistBTrack"},
                                                       {windows->outputDelay(), "Del2Track"}};
    for (auto [window, name] : tracks) {
        window->show();
        key(track(window, name), Qt::Key_Up);
        EXPECT_EQ(track(window, name)->value(), 2) << name;
        key(track(window, name), Qt::Key_Up);
        key(track(window, name), Qt::Key_Down);
        EXPECT_EQ(track(window, name)->value(), 2) << name;
    }
    EXPECT_EQ(config().output(2).delayPosition, 2);
    EXPECT_EQ(config().input(InputId::B).delaySamples, core::inputDelaySamplesFromCm(2, 25));
}

TEST_F(DelayWindows, LinkAllAgainstLinkAToB)
{
    struct Row {
        bool aToB, all;
        std::array<int, 3> expected; // A, B, A+B after moving A+B to 500
    };
    QWidget* w = windows->inputDelay();
    w->show();
    for (const Row& r : {Row{false, true, {500, 500, 500}}, Row{true, false, {0, 0, 500}}}) {
        app->document().newConfiguration();
        w->show();
        find<QCheckBox>(w, "LinkABDelayCheck")->setChecked(r.aToB);
        find<QCheckBox>(w, "LinkAllDelayCheck")->setChecked(r.all);
        track(w, "DistMTrack")->setValue(500);
        EXPECT_EQ(inputTracks(), r.expected) << r.aToB << r.all;
    }
}

TEST_F(DelayWindows, TemperatureKeepsEachInputsOwnDelay)
{
    DelayOperations& delays = app->document().delays();
    delays.setInputDelayPosition(InputId::A, 1000);
    delays.setInputDelayPosition(InputId::B, 500);
    delays.setInputDelayLinkAToB(true);
    QWidget* w = windows->inputDelay();
    w->show();
    const core::Configuration before = config();
    const size_t steps = app->document().history().size();
    find<QSpinBox>(w, "TemperaturaSpin")->setValue(30);
    EXPECT_EQ(inputTracks(), (std::array<int, 3>{1008, 504, 0}));
    EXPECT_EQ(text(w, "DistAL"), QStringLiteral("10.08"));
    EXPECT_NEAR(config().input(InputId::A).delayMs(), 28.9, 0.05);
    EXPECT_EQ(config().input(InputId::B).delaySamples, 693);
    EXPECT_EQ(find<QSpinBox>(w, "TemperaturaFSpin")->value(), 86);
    EXPECT_EQ(app->document().history().size(), steps + 1);
    app->document().undo();
    EXPECT_EQ(config(), before);
    EXPECT_EQ(find<QSpinBox>(w, "TemperaturaSpin")->value(), 25);
    EXPECT_EQ(find<QSpinBox>(w, "TemperaturaFSpin")->value(), 77);
    // The °F spin: 77 -> 78 is 25.6 °C, so 26 °C, which shows 79 °F.
    find<QSpinBox>(w, "TemperaturaFSpin")->setValue(78);
    EXPECT_EQ(config().temperatureC, 26);
    EXPECT_EQ(find<QSpinBox>(w, "TemperaturaFSpin")->value(), 79);
}

TEST_F(DelayWindows, RefillingRunsNoLink)
{
    // Linked channels with different delays (the links were checked afterwards).
    DelayOperations& delays = app->document().delays();
    delays.setInputDelayPosition(InputId::A, 300);
    delays.setOutputDelayPosition(1, 100);
    delays.setInputDelayLinkAll(true);
    delays.setOutputDelayLink(1, true);
    const core::Configuration linked = config();
    const size_t steps = app->document().history().size();
    for (QWidget* w : {static_cast<QWidget*>(windows->inputDelay()), static_cast<QWidget*>(windows->outputDelay())}) {
        w->show();
        w->hide();
        w->show();
    }
    app->document().undo();
    app->document().redo();
    EXPECT_EQ(config(), linked);
    EXPECT_EQ(app->document().history().size(), steps);
    EXPECT_EQ(inputTracks(), (std::array<int, 3>{300, 0, 0}));
    EXPECT_EQ(track(windows->outputDelay(), "Del2Track")->value(), 0);
}

TEST_F(DelayWindows, OutputPositionReadsEverywhere)
{
    struct Row {
        const char *track, *ms, *cm, *fader, *mainLabel;
        int position, samples, faderValue;
        const char *shownMs, *shownCm, *shownMain;
    };
    const Row rows[] = {
        {"Del1track", "msegdel1", "Del1L", "Del1Slider", "Delay1FL", 1500, 1440, 11, "30.00", "1038.9", "30.00 ms"},
        {"Del4track", "msegdel4", "Del4L", "Del4Slider", "Delay4FL", 1, 1, 1510, "0.02", "0.7", "0.02 ms"},
    };
    QWidget* w = windows->outputDelay();
    w->show();
    for (const Row& r : rows) {
        track(w, r.track)->setValue(r.position);
        EXPECT_EQ(text(w, r.ms), QString::fromUtf8(r.shownMs));
        EXPECT_EQ(text(w, r.cm), QString::fromUtf8(r.shownCm));
        EXPECT_EQ(find<Fader>(w, r.fader)->value(), r.faderValue);
        EXPECT_EQ(text(windows->main(), r.mainLabel), QString::fromUtf8(r.shownMain));
    }
    EXPECT_EQ(config().output(1).delaySamples(), 1440);
    EXPECT_EQ(config().output(4).delaySamples(), 1);
    EXPECT_EQ(track(w, "Del3Track")->labelTexts(), (QStringList{QStringLiteral("0.0"), QStringLiteral("30msec")}));
}

TEST_F(DelayWindows, OutputLinksCarryAMoveInOneStep)
{
    QWidget* w = windows->outputDelay();
    w->show();
    find<QCheckBox>(w, "LinkOut12D")->setChecked(true);
    find<QCheckBox>(w, "LinkOut23D")->setChecked(true);
    EXPECT_EQ(find<QCheckBox>(w, "LinkOut34D")->toolTip(), QStringLiteral("Link Output Delay 3-4"));
    const size_t steps = app->document().history().size();
    std::vector<int> selected;
    QObject::connect(windows->outputDelay(), &OutputDelayWindow::outputSelected, [&](int n) { selected.push_back(n); });
    track(w, "Del1track")->setValue(250);
    std::array<int, 4> shown{};
    const char* names[4] = {"Del1track", "Del2Track", "Del3Track", "Del4track"};
    for (int n = 0; n < 4; ++n)
        shown[size_t(n)] = track(w, names[n])->value();
    EXPECT_EQ(shown, (std::array<int, 4>{250, 250, 250, 0}));
    EXPECT_EQ(app->document().history().size(), steps + 1);
    EXPECT_EQ(selected, std::vector<int>{1});
    app->document().undo();
    EXPECT_EQ(config().output(3).delayPosition, 0);
}

TEST_F(DelayWindows, OutputTemperatureOnlyChangesTheDistances)
{
    QWidget* w = windows->outputDelay();
    w->show();
    app->document().delays().setOutputDelayPosition(2, 250);
    app->document().delays().setOutputDelayLink(1, true);
    const core::Configuration before = config();
    const size_t steps = app->document().history().size();
    find<QSpinBox>(w, "TemperaturaSpin")->setValue(0);
    EXPECT_EQ(text(w, "Del2L"), QStringLiteral("165.7"));
    EXPECT_EQ(text(w, "PiesDel2L"), QStringLiteral("5.4"));
    EXPECT_EQ(find<QSpinBox>(w, "TemperaturaFSpin")->value(), 32);
    EXPECT_EQ(config(), before);
    EXPECT_EQ(app->document().history().size(), steps);
}

TEST_F(DelayWindows, StoredDelayBeyondTheLimitOpensAtTheLimit)
{
    const QString file = path(QStringLiteral("long.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), core::Configuration()));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const int32_t samples = 1441;
    f.seek(2640 + 4); // output 2's delay in samples
    f.write(reinterpret_cast<const char*>(&samples), sizeof samples);
    f.close();
    ASSERT_TRUE(app->document().openConfigurationFile(file));
    QWidget* w = windows->outputDelay();
    w->show();
    EXPECT_EQ(track(w, "Del2Track")->value(), 1500);
    EXPECT_EQ(config().output(2).delaySamples(), 1440);
    EXPECT_EQ(text(windows->main(), "Delay2FL"), QStringLiteral("30.00 ms"));
}

TEST_F(DelayWindows, OkConfirmsAndCloses)
{
    for (QDialog* w : {static_cast<QDialog*>(windows->inputDelay()), static_cast<QDialog*>(windows->outputDelay())}) {
        w->show();
        find<QPushButton>(w, "OKBoton")->click();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->result(), QDialog::Accepted);
    }
}

} // namespace
} // namespace kvr::gui::test
