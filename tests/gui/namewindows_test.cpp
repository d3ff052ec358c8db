#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/delayoperations.h"
#include "app/leveloperations.h"
#include "app/nameoperations.h"
#include "app/routingoperations.h"
#include "config/editing.h"
#include "guifixture.h"
#include "windows/copyoutputwindow.h"
#include "windows/mainwindow.h"
#include "windows/nameswindow.h"
#include "windows/systeminformationwindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;

class NameWindows : public GuiTest {
protected:
    const core::Configuration& config() { return app->document().configuration(); }
    QLineEdit* edit(QWidget* w, const char* name) { return find<QLineEdit>(w, name); }
    void ok(QWidget* w) { find<QPushButton>(w, "OKB")->click(); }
    QCheckBox* box(const char* name) { return find<QCheckBox>(windows->copyOutputs(), name); }
    void copy(int from, int to)
    {
        QWidget* w = windows->copyOutputs();
        find<QSpinBox>(w, "OrigenSpin")->setValue(from);
        find<QSpinBox>(w, "CopiaSpin")->setValue(to);
        ok(w);
    }
};

TEST_F(NameWindows, NamesWindowNamesTheTitleAndTheSystemWindowDoesNot)
{
    find<QAbstractButton>(windows->main(), "Output1B")->click();
    QWidget* names = windows->names();
    ASSERT_TRUE(names->isVisible());
    EXPECT_EQ(edit(names, "NombreDispositivo")->text(), QStringLiteral("NoName"));
    edit(names, "NombreDispositivo")->setText(QStringLiteral("Stage Left 12 and more"));
    edit(names, "Output1Edit")->setText(QStringLiteral("Woofer"));
    ok(names);
    EXPECT_EQ(config().system.name, "Stage Left 1"); // 12 characters
    EXPECT_EQ(config().output(1).name, "Woof");      // 4 characters
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System Stage Left 1"));
    EXPECT_EQ(find<QLabel>(windows->main(), "SistemaL")->text(), QStringLiteral("Stage Left 1"));
    EXPECT_EQ(find<QAbstractButton>(windows->main(), "Output1B")->text(), QStringLiteral("Woof"));

    QWidget* system = windows->systemInfo();
    find<QAbstractButton>(windows->main(), "SistemaB")->click();
    EXPECT_EQ(edit(system, "SistemaEdit")->text(), QStringLiteral("Stage Left 1"));
    edit(system, "SistemaEdit")->setText(QStringLiteral("Foyer"));
    edit(system, "ProyectEdit")->setText(QStringLiteral("Tour"));
    ok(system);
    EXPECT_EQ(config().system.name, "Foyer");
    EXPECT_EQ(config().system.project, "Tour");
    EXPECT_EQ(find<QLabel>(windows->main(), "SistemaL")->text(), QStringLiteral("Foyer"));
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System Stage Left 1"));
    find<QAbstractButton>(windows->main(), "Input1B")->click();
    EXPECT_EQ(edit(names, "NombreDispositivo")->text(), QStringLiteral("Foyer"));
    find<QPushButton>(names, "CancelB")->click();
    EXPECT_FALSE(names->isVisible());
    EXPECT_EQ(config().system.name, "Foyer");
}

TEST_F(NameWindows, LoadedCommentLongerThanTheFieldSurvivesOk)
{
    core::SystemInfo info = config().system;
    info.comment = std::string(90, 'c');
    app->document().names().applySystemInfo(info);
    find<QAbstractButton>(windows->main(), "SistemaB")->click();
    ok(windows->systemInfo());
    EXPECT_EQ(config().system.comment.size(), 90u);
}

TEST_F(NameWindows, CopyOneToThreeCopiesTheGainOnly)
{
    LevelOperations& levels = app->document().levels();
    levels.setOutputLevelPosition(1, -255); // -4.5 dB
    levels.setPolarity(1, true);
    levels.setOutputMute(1, true);
    app->document().routing().clickRoute(1);
    app->document().delays().setOutputDelayPosition(1, 100);
    const core::Configuration before = config();
    const size_t steps = app->document().history().size();
    find<QAbstractButton>(windows->main(), "CopyOutsB")->click();
    box("OutGainCheck")->setChecked(true);
    presenter.answers = {Button::Yes};
    copy(1, 3);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "Do you want to copy data from Output 1 to Output 3 ?");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Confirmation);
    EXPECT_EQ(presenter.shown[0].buttons, Button::Yes | Button::No);
    const core::OutputChannelSettings& out = config().output(3);
    EXPECT_DOUBLE_EQ(out.levelDb(), -4.5);
    EXPECT_TRUE(out.inverted());
    EXPECT_TRUE(out.mute);
    EXPECT_LT(out.linearGain(), 0.0);
    EXPECT_EQ(out.route, before.output(3).route);
    EXPECT_EQ(out.delayPosition, 0);
    EXPECT_EQ(out.xover, before.output(3).xover);
    EXPECT_EQ(app->document().history().size(), steps + 1);
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Copy output 1 to output 3"));
}

TEST_F(NameWindows, CopyAsksNothingForOneOutputAndNothingOnNo)
{
    const core::Configuration before = config();
    find<QAbstractButton>(windows->main(), "CopyOutsB")->click();
    box("CopyAll")->setChecked(true);
    copy(2, 2);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_FALSE(windows->copyOutputs()->isVisible());
    find<QAbstractButton>(windows->main(), "CopyOutsB")->click();
    presenter.answers = {Button::No};
    copy(2, 4);
    EXPECT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(config(), before);
}

TEST_F(NameWindows, UncheckingABlockUnchecksCopyAll)
{
    const char* blocks[] = {"RouteCheck",   "XoverCheck",   "PEQXCheck", "OutDelayCheck",
                            "OutGainCheck", "DynamicCheck", "NamesCheck"};
    box("CopyAll")->setChecked(true);
    for (const char* b : blocks)
        EXPECT_TRUE(box(b)->isChecked()) << b;
    box("PEQXCheck")->setChecked(false);
    EXPECT_FALSE(box("CopyAll")->isChecked());
    for (const char* b : blocks)
        EXPECT_EQ(box(b)->isChecked(), std::string(b) != "PEQXCheck") << b;
    EXPECT_EQ(box("DynamicCheck")->text(), QStringLiteral("Dynamics - Noise Gate"));
}

} // namespace
} // namespace kvr::gui::test
