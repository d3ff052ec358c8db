#include <QLabel>
#include <QLineEdit>

#include "config/configfile.h"
#include "config/settingkeys.h"
#include "guifixture.h"
#include "windows/crossoverwindow.h"
#include "windows/levelswindow.h"

namespace kvr::gui::test {
namespace {

using namespace kvr::core;

class SetThenOpen : public GuiTest {};

// A file written as `kvr610-cli set` writes it (the assignments applied, then saved), opened by
// the program.
TEST_F(SetThenOpen, ShowsTheSameValues)
{
    Configuration written;
    const SettingOutcome outcome = applySettings(written, {"system.name=Hall 2",
                                                           "output.3.gain_db=-2",
                                                           "output.3.polarity=inverted",
                                                           "output.2.delay_ms=7.33",
                                                           "input.A.delay_m=1.00",
                                                           "temperature_c=30",
                                                           "routing.mode=3",
                                                           "output.2.route=AB",
                                                           "input.B.peq.band.4.type=1",
                                                           "input.B.peq.band.4.freq=250",
                                                           "input.B.peq.band.4.gain=-3.5",
                                                           "output.1.peqx.band.2.type=2",
                                                           "output.1.peqx.band.2.gain=4",
                                                           "xover.link_34=on",
                                                           "output.3.xover.high.family=linkwitz-riley",
                                                           "output.3.xover.high.freq=2000",
                                                           "output.4.xover.low.family=linkwitz-riley",
                                                           "output.4.xover.high.family=custom",
                                                           "output.4.xover.high.order=3",
                                                           "output.4.xover.high.section.2.freq=9000",
                                                           "output.4.xover.high.section.2.q=0.9",
                                                           "output.1.dynamics.kind=compressor",
                                                           "output.1.dynamics.ratio=3.3",
                                                           "output.1.dynamics.threshold_dbu=8.3",
                                                           "output.4.xover.low.freq=120",
                                                           "output.4.dynamics.auto_times=on",
                                                           "output.2.dynamics.gate.hold_ms=70",
                                                           "output.2.speaker.impedance=4",
                                                           "output.2.speaker.balanced=off"});
    ASSERT_TRUE(outcome.ok()) << outcome.error->message;
    const QString file = path(QStringLiteral("hall.kv4"));
    ASSERT_TRUE(saveConfigurationFile(file.toStdString(), written).ok());

    ASSERT_TRUE(app->document().openConfigurationFile(file));
    const Configuration& opened = app->document().configuration();
    for (const std::string& key : allSettingKeys())
        EXPECT_EQ(getSetting(opened, key).value(), getSetting(written, key).value()) << key;

    // The windows show the same.
    auto label = [&](QWidget* root, const char* name) { return find<QLabel>(root, name)->text().toStdString(); };
    EXPECT_EQ(label(windows->main(), "SistemaL"), "Hall 2");
    EXPECT_EQ(label(windows->main(), "GainOut3L"), "-2.0 dB");
    EXPECT_EQ(label(windows->main(), "Delay2FL"), "7.33 ms");
    EXPECT_EQ(label(windows->main(), "DelayC1L"), "2.90 ms"); // 139 samples
    windows->levels()->show();
    EXPECT_EQ(label(windows->levels(), "Output3dBL"), "-2.0");
    windows->crossover()->show();
    // Output 3's high side carried output 4's low side along (link 3-4), which then moved to 120 Hz
    // and carried it back.
    EXPECT_EQ(find<QLineEdit>(windows->crossover(), "FrecEdit3H")->text().toStdString(), "120");
    EXPECT_EQ(find<QLineEdit>(windows->crossover(), "FrecEdit4L")->text().toStdString(), "120");
}

} // namespace
} // namespace kvr::gui::test
