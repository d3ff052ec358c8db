#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "config/configfile.h"
#include "guifixture.h"
#include "widgets/routebutton.h"
#include "widgets/titlebar.h"
#include "windows/connectionwindow.h"
#include "windows/mainwindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;
using core::RouteSource;

class MainWindow : public GuiTest {
protected:
    QWidget* main() { return windows->main(); }
    void chooseMode(int mode)
    {
        auto* combo = find<QComboBox>(main(), "ModoCombo");
        combo->setCurrentIndex(mode);
        emit combo->activated(mode); // what a user's choice delivers
    }
    void clickRoute(int n) { find<RouteButton>(main(), ("Route" + std::to_string(n) + "B").c_str())->click(); }
    std::array<RouteSource, 4> routes() const
    {
        std::array<RouteSource, 4> r{};
        for (int n = 1; n <= 4; ++n)
            r[size_t(n - 1)] = app->document().configuration().output(n).route;
        return r;
    }
    QString outputCaption(int n)
    {
        return find<QAbstractButton>(main(), ("Output" + std::to_string(n) + "B").c_str())->text();
    }
    void mouse(QWidget* w, QEvent::Type type)
    {
        QMouseEvent e(type, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(MainWindow, EditMenuNamesTheStepToUndoAndRedo)
{
    auto* undo = find<QAction>(main(), "MenuUndo");
    auto* redo = find<QAction>(main(), "MenuRedo");
    EXPECT_EQ(find<QMenu>(main(), "EditMenu")->title(), QStringLiteral("&Edit"));
    struct Row {
        std::function<void()> step;
        const char* undoText;
        const char* redoText;
    };
    const Row rows[] = {
        {[] {}, "Undo", "Redo"},
        {[&] {
             app->document().edit({QStringLiteral("Output 3 level"), DocumentChange::output(Region::Levels, 3), {}},
                                  [](core::Configuration& c) { c.setOutputLevelDb(3, -3.0); });
         },
         "Undo Output 3 level", "Redo"},
        {[&] { app->document().undo(); }, "Undo", "Redo Output 3 level"},
        {[&] { app->document().redo(); }, "Undo Output 3 level", "Redo"},
    };
    for (const Row& r : rows) {
        r.step();
        EXPECT_EQ(undo->text(), QString::fromLatin1(r.undoText));
        EXPECT_EQ(redo->text(), QString::fromLatin1(r.redoText));
    }
}

TEST_F(MainWindow, ConnectionChoicesSayWhatTheyAre)
{
    auto* connection = windows->connection();
    const char* details[] = {"Work on files without a processor", "KVR 610 on a USB port",
                             "KVR 610 behind an Ethernet module"};
    for (int i = 0; i < 3; ++i) {
        QStringList texts;
        for (QLabel* label :
             find<QWidget>(connection, ("ChoiceRow" + std::to_string(i)).c_str())->findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QString::fromLatin1(details[i]))) << i;
    }
}

TEST_F(MainWindow, StartsFreeRouteOfflineAndAsksForTheConnection)
{
    main()->show();
    auto* connection = windows->connection();
    ASSERT_TRUE(waitFor([&] { return connection->isVisible(); }));
    EXPECT_EQ(connection->caption(), QStringLiteral("Select COM Port"));
    EXPECT_EQ(find<QLabel>(connection, "HeadingL")->text(), QStringLiteral("Select Connection"));
    EXPECT_EQ(find<QRadioButton>(connection, "OfflineRB")->text(), QStringLiteral("Offline"));
    EXPECT_EQ(find<QRadioButton>(connection, "USBRB")->text(), QStringLiteral("USB"));
    EXPECT_EQ(find<QRadioButton>(connection, "EthernetRB")->text(), QStringLiteral("ETHERNET"));
    EXPECT_TRUE(find<QRadioButton>(connection, "OfflineRB")->isChecked());
    EXPECT_EQ(find<QComboBox>(main(), "ModoCombo")->currentText(), QStringLiteral("Free Route"));
    EXPECT_EQ(find<QLabel>(main(), "StatusL")->text(), QStringLiteral("No Connected"));
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System NoName"));

    // Closing the window without a choice brings it back; OK with Offline ends the question.
    connection->titleBar()->closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return connection->isVisible(); }));
    connection->okButton()->click();
    EXPECT_FALSE(connection->isVisible());
    EXPECT_EQ(find<QLabel>(main(), "StatusL")->text(), QStringLiteral("Status : Offline"));
    for (const char* name : {"WriteProgramB", "ReadProgramB", "ChangeConfigB", "ResetB", "UpdateSystemB",
                             "GetDSPSystemB", "GetDSPVersionB", "PasswordB", "KeyBoardB", "KeyBoardUnB"})
        EXPECT_FALSE(find<QToolButton>(main(), name)->isEnabled()) << name;
    EXPECT_FALSE(find<QSpinBox>(main(), "NProgramSpin")->isEnabled());
    EXPECT_FALSE(find<QAction>(main(), "MenuProgram")->isEnabled());
    EXPECT_TRUE(presenter.shown.empty());
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(find<QLabel>(main(), ("Mute" + std::to_string(n) + "L").c_str())->isVisibleTo(main()));
        EXPECT_FALSE(find<QLabel>(main(), ("Mute" + std::to_string(n)).c_str())->isVisibleTo(main()));
    }
}

TEST_F(MainWindow, ToolButtonsCarryTheirHints)
{
    const std::pair<const char*, const char*> hints[] = {{"NewB", "New File"},
                                                         {"OpenB", "Open File"},
                                                         {"SaveB", "Save to File"},
                                                         {"AcercadeButton", "About us"},
                                                         {"ReportB", "Generate Report"},
                                                         {"UpdateSystemB", "Update System"},
                                                         {"ResetB", "Reset Processor"},
                                                         {"GetDSPSystemB", "Get System"},
                                                         {"GetDSPVersionB", "Get Version"},
                                                         {"KeyBoardB", "LOCK Keyboard Entry"},
                                                         {"KeyBoardUnB", "UNLOCK Keyboard Entry"},
                                                         {"PasswordB", "Set Password"},
                                                         {"DetectSNVDB", "Connect"},
                                                         {"ReadProgramB", "Read Programs from Processor"},
                                                         {"WriteProgramB", "Store Configuration into Processor"},
                                                         {"ChangeConfigB", "Change Configuration"}};
    // A disabled control's hint is followed by why it is disabled: "Hint (reason)".
    auto hintOf = [](const QString& tip) { return tip.section(QStringLiteral(" ("), 0, 0); };
    for (auto [name, hint] : hints)
        EXPECT_EQ(hintOf(find<QToolButton>(main(), name)->toolTip()), QString::fromUtf8(hint));
    EXPECT_EQ(hintOf(find<QSpinBox>(main(), "NProgramSpin")->toolTip()),
              QStringLiteral("Select Memory to Load / Store"));
    EXPECT_EQ(find<QSpinBox>(main(), "NProgramSpin")->minimum(), 1);
    EXPECT_EQ(find<QSpinBox>(main(), "NProgramSpin")->maximum(), 18);
    EXPECT_EQ(find<QAction>(main(), "MenuInptuts")->text(), QStringLiteral("&Inptuts && Outputs"));
    EXPECT_EQ(find<QAction>(main(), "MenuAbout")->text(), QStringLiteral("&About SONAVELD"));
}

TEST_F(MainWindow, ModeSevenSetsRoutesAndCaptionsWithoutAsking)
{
    chooseMode(7);
    EXPECT_EQ(routes(), (std::array{RouteSource::A, RouteSource::B, RouteSource::AB, RouteSource::AB}));
    EXPECT_EQ(outputCaption(1), QStringLiteral("Hi A"));
    EXPECT_EQ(outputCaption(2), QStringLiteral("Hi B"));
    EXPECT_EQ(outputCaption(3), QStringLiteral("Su M"));
    EXPECT_EQ(outputCaption(4), QStringLiteral("Fu M"));
    EXPECT_EQ(find<RouteButton>(main(), "Route3B")->glyph(), 1);
    EXPECT_EQ(find<RouteButton>(main(), "Route2B")->glyph(), 2);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(MainWindow, RouteClickOutsideFreeModeAsksFirst)
{
    chooseMode(3);
    const auto before = routes();
    presenter.answers = {Button::No};
    clickRoute(2);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text,
              "WARNING!!! You are NOT in Free Mode Operation. Do you want to work in Free Mode?");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Warning);
    EXPECT_EQ(presenter.shown[0].buttons, Button::Yes | Button::No);
    EXPECT_EQ(routes(), before);
    EXPECT_EQ(app->document().configuration().routingMode, 3);

    presenter.answers = {Button::Yes};
    clickRoute(2);
    EXPECT_EQ(app->document().configuration().routingMode, 5);
    EXPECT_EQ(find<QComboBox>(main(), "ModoCombo")->currentText(), QStringLiteral("Free Route"));
    EXPECT_EQ(app->document().configuration().output(2).route, RouteSource::AB);
    EXPECT_EQ(app->document().configuration().output(1).route, RouteSource::A); // the others stay
}

TEST_F(MainWindow, FourClicksInFreeRouteCycleTheRoute)
{
    ASSERT_EQ(app->document().configuration().routingMode, 5);
    auto* button = find<RouteButton>(main(), "Route4B");
    const RouteSource expected[] = {RouteSource::AB, RouteSource::B, RouteSource::A, RouteSource::AB};
    for (RouteSource r : expected) {
        button->click();
        EXPECT_EQ(app->document().configuration().output(4).route, r);
        EXPECT_EQ(button->glyph(), static_cast<int>(r));
    }
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(MainWindow, NewCancelledOrWithACancelledSaveKeepsEverything)
{
    chooseMode(7);
    const core::Configuration before = app->document().configuration();
    presenter.answers = {Button::Cancel};
    find<QToolButton>(main(), "NewB")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "Do you want to save the present configuration?");
    EXPECT_EQ(presenter.shown[0].buttons, Button::Yes | Button::No | Button::Cancel);
    EXPECT_EQ(core::encodeConfigurationFile(app->document().configuration(), "x"),
              core::encodeConfigurationFile(before, "x"));

    // Yes, then the save dialog cancelled: nothing is discarded.
    presenter.answers = {Button::Yes};
    find<QToolButton>(main(), "NewB")->click();
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Save KVR 610 File"));
    EXPECT_EQ(outputCaption(1), QStringLiteral("Hi A"));
    EXPECT_EQ(app->document().configuration().routingMode, 7);

    // Yes, and a save that fails: nothing is discarded either.
    presenter.answers = {Button::Yes};
    dialogs.saveAnswers = {path(QStringLiteral("no-such-folder/x.kv4"))};
    find<QToolButton>(main(), "NewB")->click();
    EXPECT_EQ(presenter.shown.back().kind, core::MessageKind::Error);
    EXPECT_EQ(app->document().configuration().routingMode, 7);

    // No: the defaults, NoName.
    presenter.answers = {Button::No};
    find<QToolButton>(main(), "NewB")->click();
    EXPECT_EQ(app->document().configuration().routingMode, 5);
    EXPECT_EQ(outputCaption(1), QStringLiteral("Out1"));
    EXPECT_EQ(find<QLabel>(main(), "SistemaL")->text(), QStringLiteral("NoName"));
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System NoName"));
}

TEST_F(MainWindow, OpenSetsTheTitleOnlyWhenTheFileLoads)
{
    core::Configuration saved;
    saved.setRoutingMode(7);
    saved.setSystemName("Hall");
    const QString file = path(QStringLiteral("x.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), saved));

    dialogs.openAnswers = {file};
    find<QToolButton>(main(), "OpenB")->click();
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Open KVR 610 File"));
    EXPECT_EQ(dialogs.asked.back().filter, QStringLiteral("KVR 610 Files *.kv4|*.kv4|All Files *.*|*.*"));
    // An existing file is picked: nothing is appended to its name ("All Files" must open any file).
    EXPECT_TRUE(dialogs.asked.back().defaultSuffix.isEmpty());
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System x.kv4"));
    EXPECT_EQ(find<QLabel>(main(), "SistemaL")->text(), QStringLiteral("Hall"));
    EXPECT_EQ(outputCaption(4), QStringLiteral("Fu M"));
    EXPECT_TRUE(presenter.shown.empty());

    // A file of the wrong size: its message, and nothing changes.
    const QString bad = path(QStringLiteral("bad.kv4"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();
    dialogs.openAnswers = {bad};
    find<QToolButton>(main(), "OpenB")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, bad.toStdString() + " is not a KVR 610 File");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Error);
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System x.kv4"));
    EXPECT_EQ(find<QLabel>(main(), "SistemaL")->text(), QStringLiteral("Hall"));

    // The right size with a wrong magic: the same message, nothing changes.
    QByteArray bytes(3220, '\0');
    bytes[0] = 8;
    QFile g(bad);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(bytes);
    g.close();
    dialogs.openAnswers = {bad};
    find<QToolButton>(main(), "OpenB")->click();
    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[1].text, bad.toStdString() + " is not a KVR 610 File");
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System x.kv4"));
    EXPECT_EQ(outputCaption(4), QStringLiteral("Fu M"));
    presenter.shown.pop_back();

    // A cancelled dialog changes nothing and says nothing.
    find<QToolButton>(main(), "OpenB")->click();
    EXPECT_EQ(presenter.shown.size(), 1u);
}

TEST_F(MainWindow, SaveProposesTheSystemNameAndSetsTheTitle)
{
    chooseMode(6);
    const QString file = path(QStringLiteral("saved.kv4"));
    dialogs.saveAnswers = {file};
    find<QToolButton>(main(), "SaveB")->click();
    EXPECT_EQ(dialogs.asked.back().proposedName, QStringLiteral("NoName"));
    EXPECT_EQ(QFileInfo(file).size(), 3220);
    EXPECT_EQ(windows->main()->caption(), QStringLiteral("KVR - 610 Loudspeaker Management System saved.kv4"));
    auto loaded = core::loadConfigurationFile(file.toStdString());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->config.routingMode, 6);
}

TEST_F(MainWindow, CloseAsksAndStaysOpenUnlessAnsweredNo)
{
    main()->show();
    chooseMode(3); // unsaved changes
    presenter.shown.clear();
    presenter.answers = {Button::Cancel};
    main()->close();
    EXPECT_TRUE(main()->isVisible());
    ASSERT_FALSE(presenter.shown.empty());
    EXPECT_EQ(presenter.shown.back().kind, core::MessageKind::Confirmation);
    presenter.answers = {Button::Yes}; // save dialog cancelled
    main()->close();
    EXPECT_TRUE(main()->isVisible());
    presenter.answers = {Button::No};
    main()->close();
    EXPECT_FALSE(main()->isVisible());
}

TEST_F(MainWindow, OnlyUnsavedChangesAreOfferedForSaving)
{
    // Nothing changed since start: New, Open and close ask nothing.
    main()->show();
    find<QToolButton>(main(), "NewB")->click();
    find<QToolButton>(main(), "OpenB")->click(); // dialog cancelled
    EXPECT_TRUE(presenter.shown.empty());

    // A change asks, also before Open (which used to drop it silently); undoing it asks nothing.
    chooseMode(6);
    presenter.answers = {Button::Cancel};
    find<QToolButton>(main(), "OpenB")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "Do you want to save the present configuration?");
    EXPECT_EQ(dialogs.asked.size(), 1u); // the open dialog of the first Open only
    app->document().undo();
    presenter.shown.clear();
    find<QToolButton>(main(), "NewB")->click();
    EXPECT_TRUE(presenter.shown.empty());

    // Saved: nothing to ask until the next change.
    chooseMode(6);
    dialogs.saveAnswers = {path(QStringLiteral("six.kv4"))};
    find<QToolButton>(main(), "SaveB")->click();
    main()->close();
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_FALSE(main()->isVisible());
}

TEST_F(MainWindow, HiddenExtrasAppearAfterTheirClicks)
{
    auto* library = find<QToolButton>(main(), "LoadAllMemB");
    auto* name = find<QLabel>(main(), "SistemaL");
    for (int i = 0; i < 11; ++i)
        mouse(name, QEvent::MouseButtonPress);
    EXPECT_FALSE(library->isVisibleTo(main()));
    mouse(name, QEvent::MouseButtonPress);
    EXPECT_TRUE(library->isVisibleTo(main()));
    EXPECT_EQ(library->text(), QStringLiteral("Library Maker"));

    auto* blocked = find<QCheckBox>(main(), "MemBlock");
    auto* summing = find<QLabel>(main(), "ImagenSuma");
    for (int i = 0; i < 4; ++i)
        mouse(summing, QEvent::MouseButtonDblClick);
    EXPECT_FALSE(blocked->isVisibleTo(main()));
    mouse(summing, QEvent::MouseButtonDblClick);
    EXPECT_TRUE(blocked->isVisibleTo(main()));
    EXPECT_EQ(blocked->text(), QStringLiteral("Memory Blocked"));
    blocked->click();
    EXPECT_TRUE(app->device().memoryBlocked());

    auto* logo = find<QLabel>(main(), "SNVDImage");
    for (int i = 0; i < 49; ++i)
        mouse(logo, QEvent::MouseButtonPress);
    EXPECT_TRUE(presenter.shown.empty());
    mouse(logo, QEvent::MouseButtonPress);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "This Program has been programed.");
}

} // namespace
} // namespace kvr::gui::test
