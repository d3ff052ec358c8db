#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <csignal>

#include "app/qtfiledialogs.h"
#include "app/recoverykeeper.h"
#include "app/settings.h"
#include "config/configfile.h"
#include "devicefixture.h"
#include "windows/aboutwindow.h"
#include "windows/mainwindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;

// An edit a user could make: a new system name.
void rename(DocumentController& document, const char* name)
{
    document.edit({QStringLiteral("System name"), DocumentChange(Region::SystemInfo), {}},
                  [name](core::Configuration& c) { c.setSystemName(name); });
}

QString resultText(WindowSet& windows)
{
    return find<QLabel>(windows.main(), "ResultL")->text();
}

// ---- Verify after store, against the virtual processor ----

class Verify : public DeviceTest {
protected:
    bool store(int memory)
    {
        find<QSpinBox>(windows->main(), "NProgramSpin")->setValue(memory);
        find<QToolButton>(windows->main(), "WriteProgramB")->click();
        const bool done = waitFor([&] { return !app->device().busy(); }, 10000);
        pump(30); // boxes are shown from the event loop
        return done;
    }
    uint64_t reads() { return simulator->processor().counters().send[4].total(); }
};

TEST_F(Verify, AStoreIsReadBackAndReportedVerifiedWithoutTouchingTheDocument)
{
    rename(app->document(), "Hall 7");
    const core::Configuration before = app->document().configuration();
    const size_t steps = app->document().history().size();
    connectEthernet();
    presenter.shown.clear();
    ASSERT_TRUE(app->device().verifyAfterStore()); // on at first
    const uint64_t readsBefore = reads();

    ASSERT_TRUE(store(3));
    EXPECT_TRUE(presenter.shown.empty()) << presenter.shown.front().text;
    EXPECT_EQ(resultText(*windows), QStringLiteral("Memory 3 stored and verified"));
    EXPECT_FALSE(app->device().resultFailed());
    EXPECT_EQ(reads(), readsBefore + 1);
    // The read-back is no memory read: the Configuration and its history stay as they were.
    EXPECT_EQ(app->document().configuration(), before);
    EXPECT_EQ(app->document().history().size(), steps);
    EXPECT_TRUE(app->document().modified());
    EXPECT_EQ(app->document().documentName(), QStringLiteral("NoName"));

    // Switched off in the menu (and remembered): a plain store, nothing read.
    QAction* option = windows->main()->findChild<QAction*>(QStringLiteral("MenuVerifyAfterStore"));
    ASSERT_NE(option, nullptr);
    ASSERT_TRUE(option->isChecked());
    option->trigger();
    EXPECT_FALSE(settings->verifyAfterStore());
    presenter.answers = {Button::Yes}; // memory 3 is full now
    ASSERT_TRUE(store(3));
    EXPECT_EQ(resultText(*windows), QStringLiteral("Memory 3 stored"));
    EXPECT_EQ(reads(), readsBefore + 1);
}

TEST_F(Verify, ReadReportsItselfInTheStatusArea)
{
    connectEthernet();
    ASSERT_TRUE(store(4));
    find<QToolButton>(windows->main(), "ReadProgramB")->click();
    ASSERT_TRUE(waitFor([&] { return !app->device().busy(); }, 10000));
    pump(30);
    EXPECT_EQ(resultText(*windows), QStringLiteral("Memory 4 read"));
}

class CorruptingProcessor : public Verify {
protected:
    // The processor keeps every image with byte 30 (an output name in the header) changed.
    void adjust(sim::SimOptions& options) override { options.faults.corruptStoredByte = 30; }
};

TEST_F(CorruptingProcessor, AMismatchIsAFailureNamingThePart)
{
    connectEthernet();
    presenter.shown.clear();
    bool completed = true;
    bool failed = false;
    QObject::connect(&app->device(), &DeviceController::operationFinished, [&](bool c, bool f) {
        completed = c;
        failed = f;
    });
    ASSERT_TRUE(store(2));
    const QString expected = QStringLiteral("Memory 2 NOT verified: the header read back differs from the one sent "
                                            "(first at byte 30). Store it again.");
    EXPECT_FALSE(completed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(resultText(*windows), expected);
    EXPECT_TRUE(app->device().resultFailed());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(QString::fromStdString(presenter.shown[0].text), expected);
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Error);
    // The link itself worked: still connected.
    EXPECT_TRUE(app->device().statusConnected());
}

// ---- Files: dialogs, overwrite question, recent files ----

class Files : public GuiTest {
protected:
    QString saveSample(const QString& name, const char* systemName)
    {
        core::Configuration c;
        c.setSystemName(systemName);
        const QString file = path(name);
        EXPECT_TRUE(core::saveConfigurationFile(file.toStdString(), c));
        return file;
    }
};

TEST_F(Files, SaveDialogStartsWithTheFileAndAsksBeforeReplacingAnother)
{
    DocumentController& document = app->document();
    // Nothing opened yet: the system name in the folder used last.
    settings->setLastFolder(QStringLiteral("config"), folder.path());
    dialogs.saveAnswers = {QString()};
    EXPECT_FALSE(document.saveConfiguration());
    EXPECT_EQ(dialogs.asked.back().proposedName, QStringLiteral("NoName"));
    EXPECT_EQ(dialogs.asked.back().directory, folder.path());

    QDir().mkpath(path(QStringLiteral("sub")));
    const QString opened = saveSample(QStringLiteral("sub/hall.kv4"), "Hall");
    const QString other = saveSample(QStringLiteral("other.kv4"), "Other");
    ASSERT_TRUE(document.openConfigurationFile(opened));
    rename(document, "Hall B");

    // The file's own folder and name; saving over itself asks nothing.
    dialogs.saveAnswers = {opened};
    ASSERT_TRUE(document.saveConfiguration());
    EXPECT_EQ(dialogs.asked.back().directory, QFileInfo(opened).absolutePath());
    EXPECT_EQ(dialogs.asked.back().proposedName, QStringLiteral("hall.kv4"));
    EXPECT_TRUE(presenter.shown.empty());

    // Another existing file: asked; No keeps it, Yes replaces it.
    rename(document, "Hall C");
    const QByteArray otherBytes = [&] {
        QFile f(other);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    presenter.answers = {Button::No};
    dialogs.saveAnswers = {other};
    EXPECT_FALSE(document.saveConfiguration());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "The file " + QDir::toNativeSeparators(other).toStdString() +
                                           " already exists. Do you want to replace it?");
    EXPECT_EQ(presenter.shown[0].buttons, Button::Yes | Button::No);
    QFile check(other);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), otherBytes);
    check.close();
    EXPECT_TRUE(document.modified());

    presenter.answers = {Button::Yes};
    dialogs.saveAnswers = {other};
    ASSERT_TRUE(document.saveConfiguration());
    auto reloaded = core::loadConfigurationFile(other.toStdString());
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->config.system.name, "Hall C");
    EXPECT_EQ(document.filePath(), QFileInfo(other).absoluteFilePath());
}

TEST_F(Files, OpenDialogAddsNoExtensionAndStartsInTheFileFolder)
{
    const QString plain = saveSample(QStringLiteral("setup-without-extension"), "Plain");
    dialogs.openAnswers = {plain};
    ASSERT_TRUE(app->document().openConfiguration());
    EXPECT_TRUE(dialogs.asked.back().defaultSuffix.isEmpty());
    EXPECT_EQ(app->document().configuration().system.name, "Plain");
    dialogs.openAnswers = {QString()};
    app->document().openConfiguration();
    EXPECT_EQ(dialogs.asked.back().directory, folder.path());

    // A save dialog adds ".kv4" only while the configuration filter is chosen.
    FileDialogRequest save;
    save.defaultSuffix = QStringLiteral("kv4");
    struct Row {
        const char* filter;
        const char* suffix;
    };
    for (const Row& row : {Row{"KVR 610 Files *.kv4 (*.kv4)", "kv4"}, Row{"All Files *.* (*)", ""}})
        EXPECT_EQ(dialogDefaultSuffix(save, QString::fromUtf8(row.filter)), QString::fromUtf8(row.suffix))
            << row.filter;
}

TEST_F(Files, DialogsStartWhereTheyWereLeft)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save DSP Operating System");
    EXPECT_EQ(dialogStartFolder(request, settings.get()), QDir::currentPath());
    QDir().mkpath(path(QStringLiteral("os")));
    rememberDialogFolder(request, path(QStringLiteral("os/snvd047_r.asc")), settings.get());
    EXPECT_EQ(dialogStartFolder(request, settings.get()), path(QStringLiteral("os")));
    request.directory = folder.path(); // a folder the caller names comes first
    EXPECT_EQ(dialogStartFolder(request, settings.get()), folder.path());
    FileDialogRequest other;
    other.title = QStringLiteral("Open KVR 610 File");
    EXPECT_EQ(dialogStartFolder(other, settings.get()), QDir::currentPath());
}

TEST_F(Files, RecentFilesNewestFirstAtMostEightMissingOnesPruned)
{
    QStringList files;
    for (int i = 1; i <= 9; ++i)
        files << QFileInfo(saveSample(QStringLiteral("f%1.kv4").arg(i), "F")).absoluteFilePath();
    for (const QString& f : files)
        ASSERT_TRUE(app->document().openConfigurationFile(f));
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << files[i - 1];
    EXPECT_EQ(settings->recentFiles(), expected); // f1 fell off the end

    // Opening one again moves it to the top.
    ASSERT_TRUE(app->document().openConfigurationFile(files[4]));
    EXPECT_EQ(settings->recentFiles().first(), files[4]);
    EXPECT_EQ(settings->recentFiles().size(), 8);

    // The menu lists them in that order.
    QAction* first = windows->main()->findChild<QAction*>(QStringLiteral("MenuRecent1"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->data().toString(), files[4]);
    EXPECT_EQ(first->text(), QStringLiteral("&1 f5.kv4"));

    // A file gone from the disk: a message, and it leaves the list.
    const QString gone = files[8];
    ASSERT_TRUE(QFile::remove(gone));
    presenter.shown.clear();
    QAction* entry = nullptr;
    for (QAction* a : windows->main()->findChildren<QAction*>())
        if (a->data().toString() == gone) entry = a;
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "The file " + QDir::toNativeSeparators(gone).toStdString() +
                                           " no longer exists; it was taken off the list of recent files.");
    EXPECT_FALSE(settings->recentFiles().contains(gone));
    EXPECT_EQ(settings->recentFiles().size(), 7);
    EXPECT_EQ(app->document().filePath(), files[4]); // nothing else opened
}

// ---- Main window: shortcuts, disabled controls say why ----

TEST_F(GuiTest, MenusShowShortcutsAndDisabledControlsSayWhy)
{
    struct Row {
        const char* action;
        QKeySequence keys;
    };
    const Row rows[] = {{"MenuNew", QKeySequence(Qt::CTRL | Qt::Key_N)},
                        {"MenuOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
                        {"MenuSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
                        {"MenuExit", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    for (const Row& row : rows) {
        QAction* a = windows->main()->findChild<QAction*>(QString::fromUtf8(row.action));
        ASSERT_NE(a, nullptr) << row.action;
        EXPECT_EQ(a->shortcut(), row.keys) << row.action;
    }
    auto* store = find<QToolButton>(windows->main(), "WriteProgramB");
    ASSERT_FALSE(store->isEnabled());
    EXPECT_EQ(store->toolTip(), QStringLiteral("Store Configuration into Processor (Connect to a processor first)"));
    QAction* program = windows->main()->findChild<QAction*>(QStringLiteral("MenuProgram"));
    EXPECT_EQ(program->toolTip(), QStringLiteral("Program Sonaveld (Connect to a processor first)"));
}

// ---- Settings: window places, the connection offered ----

TEST_F(GuiTest, WindowsGoBackWhereTheUserLeftThem)
{
    AboutWindow* about = windows->about();
    windows->showCentred(about);
    about->move(123, 87);
    about->hide();
    // The next run.
    windows.reset();
    app.reset();
    app = std::make_unique<Application>(presenter, dialogs, *settings);
    windows = std::make_unique<WindowSet>(*app);
    windows->showCentred(windows->about());
    EXPECT_EQ(windows->about()->pos(), QPoint(123, 87));
    windows->about()->hide();
}

TEST_F(GuiTest, TheConnectionConfirmedLastIsOfferedFirst)
{
    settings->setConnectionChoice(ConnectionChoice::Ethernet);
    windows.reset();
    app.reset();
    app = std::make_unique<Application>(presenter, dialogs, *settings);
    windows = std::make_unique<WindowSet>(*app);
    windows->main()->show();
    ASSERT_TRUE(waitFor([&] { return windows->connection()->isVisible(); }));
    EXPECT_TRUE(find<QRadioButton>(windows->connection(), "EthernetRB")->isChecked());
    EXPECT_EQ(app->device().connectionCode(), ConnectionCode::Offline); // offered, not yet chosen
    windows->connection()->hide();
}

// ---- Recovery ----

TEST_F(GuiTest, RecoveryCopyWrittenAfterAChangeAndRemovedBySaveOrNormalEnd)
{
    RecoveryKeeper& keeper = app->recovery();
    ASSERT_TRUE(keeper.active());
    keeper.setDelayMs(30);
    rename(app->document(), "Unsaved");
    EXPECT_FALSE(QFile::exists(keeper.copyPath())); // a few moments later, not at once
    ASSERT_TRUE(waitFor([&] { return QFile::exists(keeper.copyPath()); }));
    auto copy = core::loadConfigurationFile(keeper.copyPath().toStdString());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->config.system.name, "Unsaved");

    // A second program at the same time keeps and offers nothing.
    RecoveryKeeper second(app->document(), *settings, presenter);
    EXPECT_FALSE(second.active());
    EXPECT_FALSE(second.offerRestore());

    // Saving removes it.
    ASSERT_TRUE(app->document().saveConfigurationFile(path(QStringLiteral("saved.kv4"))));
    EXPECT_FALSE(QFile::exists(keeper.copyPath()));

    // A normal end removes it too.
    rename(app->document(), "Again");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(keeper.copyPath()); }));
    presenter.answers = {Button::No};
    EXPECT_TRUE(app->requestClose());
    EXPECT_FALSE(QFile::exists(keeper.copyPath()));
}

// The program killed by a signal while it has unsaved work: the next start offers the copy.
TEST_F(GuiTest, AfterAKillTheNextStartOffersTheCopy)
{
    const QString crashed = path(QStringLiteral("crashed"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KVR_RECOVERY_TEST_DIR"), crashed);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=RecoveryChild.DISABLED_EditsAndWaitsToBeKilled")});
    ASSERT_TRUE(child.waitForStarted(5000));
    QByteArray out;
    while (!out.contains("COPY WRITTEN") && child.waitForReadyRead(20000))
        out += child.readAllStandardOutput();
    ASSERT_TRUE(out.contains("COPY WRITTEN")) << out.toStdString();
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(5000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

    Settings next(crashed + QStringLiteral("/settings.ini"), crashed);
    Application restarted(presenter, dialogs, next);
    ASSERT_TRUE(QFile::exists(restarted.recovery().copyPath()));
    presenter.answers = {Button::Yes};
    ASSERT_TRUE(restarted.recovery().offerRestore());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "The program did not end normally last time. Do you want to restore the "
                                       "configuration you were working on?");
    EXPECT_EQ(presenter.shown[0].buttons, Button::Yes | Button::No);
    EXPECT_EQ(restarted.document().configuration().system.name, "Killed");
    EXPECT_TRUE(restarted.document().modified()); // restored work is unsaved work
    EXPECT_EQ(restarted.document().documentName(), QStringLiteral("NoName"));
    restarted.document().undo(); // back to the start-up Configuration
    EXPECT_EQ(restarted.document().configuration().system.name, "NoName");

    // Declined: the copy goes and is not offered again.
    presenter.shown.clear();
    presenter.answers = {Button::No};
    restarted.document().redo();
    restarted.recovery().flush();
    EXPECT_TRUE(QFile::exists(restarted.recovery().copyPath()));
    EXPECT_TRUE(restarted.requestClose());
    EXPECT_FALSE(QFile::exists(restarted.recovery().copyPath()));
}

// Run only by the test above, in a process of its own.
TEST(RecoveryChild, DISABLED_EditsAndWaitsToBeKilled)
{
    const QString dir = qEnvironmentVariable("KVR_RECOVERY_TEST_DIR");
    ASSERT_FALSE(dir.isEmpty());
    ScriptedPresenter presenter;
    ScriptedDialogs dialogs;
    Settings settings(dir + QStringLiteral("/settings.ini"), dir);
    Application app(presenter, dialogs, settings);
    WindowSet windows(app);
    windows.main()->show();
    app.recovery().setDelayMs(20);
    rename(app.document(), "Killed");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(app.recovery().copyPath()); }));
    std::printf("COPY WRITTEN\n");
    std::fflush(stdout);
    waitFor([] { return false; }, 30000); // killed long before
}

} // namespace
} // namespace kvr::gui::test
