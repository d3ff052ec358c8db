#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <QMouseEvent>

#include "config/configfile.h"
#include "guifixture.h"
#include "widgets/linklabel.h"
#include "widgets/titlebar.h"
#include "windows/aboutwindow.h"
#include "windows/communicationwindow.h"
#include "windows/connectionwindow.h"
#include "windows/ethernetmoduleswindow.h"
#include "windows/librarymakerwindow.h"
#include "windows/mainwindow.h"
#include "windows/passwordwindow.h"
#include "windows/progresswindow.h"

namespace kvr::gui::test {
namespace {

using core::Button;

class Windows : public GuiTest {};

TEST_F(Windows, EveryWindowHasItsDrawnTitleBar)
{
    // In the order of creation.
    const QStringList names{"TDCPanelForm",     "TManual_Detect_Form", "TAcercadeForm",   "TW_Serial_Info_Form",
                            "TGainsForm",       "TDelayForm",          "TPEQNForm",       "TXOVERForm",
                            "TMemosForm",       "TDynamicform",        "TDelayFinoForm",  "TPEQXForm",
                            "TInputOutputForm", "TInfoSistemaForm",    "TPassWord_Form",  "TSpkForm",
                            "TDATAForm",        "TImpDataForm",        "TProgresionForm", "TMemoGrandeForm",
                            "TCopyOutputForm",  "TLoadAllMemForm",     "TEM100Form"};
    const QList<QWidget*> all = windows->all();
    ASSERT_EQ(all.size(), names.size());
    for (int i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->objectName(), names[i]); // created in this order
        EXPECT_TRUE(all[i]->windowFlags() & Qt::FramelessWindowHint) << qPrintable(names[i]);
        auto* framed = qobject_cast<FramedWindow*>(all[i]);
        ASSERT_NE(framed, nullptr);
        EXPECT_FALSE(framed->caption().isEmpty());
    }
    EXPECT_EQ(windows->about()->caption(), QStringLiteral("About KVR 610  V 4.7"));
    EXPECT_EQ(windows->comm()->caption(), QStringLiteral("KVR 610 Communications"));
    EXPECT_EQ(windows->progress()->caption(), QStringLiteral("Opening KVR 610  File"));
    EXPECT_EQ(windows->libraryMaker()->caption(), QStringLiteral("Library Maker"));
    EXPECT_EQ(windows->ethernet()->caption(), QStringLiteral("ETHERNET"));
}

TEST_F(Windows, DraggingTheTitleBarMovesTheWindow)
{
    auto* about = windows->about();
    about->move(100, 100);
    about->show();
    pump();
    const QPoint start = about->pos();
    QWidget* bar = about->titleBar();
    const QPointF local(40, 10);
    QMouseEvent press(QEvent::MouseButtonPress, local, bar->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    const QPointF moved = local + QPointF(30, 20);
    QMouseEvent move(QEvent::MouseMove, moved, bar->mapToGlobal(local) + QPointF(30, 20), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, moved, bar->mapToGlobal(local) + QPointF(30, 20), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    // Offscreen has no system move: the window follows the mouse.
    EXPECT_EQ(about->pos(), start + QPoint(30, 20));
}

TEST_F(Windows, AboutShowsVersionBuildAndLinks)
{
    auto* about = windows->about();
    EXPECT_EQ(find<QLabel>(about, "VersionL")->text(), QStringLiteral("KVR 610  V 4.7"));
    EXPECT_EQ(find<QLabel>(about, "BuildL")->text(), QStringLiteral("Build ") + QStringLiteral(KVR_VERSION_TEXT));
    auto* mail = find<LinkLabel>(about, "MailL");
    EXPECT_EQ(mail->url().scheme(), QStringLiteral("mailto"));
    auto* web = find<LinkLabel>(about, "WebL");
    EXPECT_TRUE(web->url().isValid());
}

TEST_F(Windows, PasswordNeedsSixKeysAndClears)
{
    auto* form = windows->password();
    form->show();
    auto* ok = find<QPushButton>(form, "OK_BitBtn");
    auto* edit = find<QLineEdit>(form, "Password_Edit");
    auto* active = find<QCheckBox>(form, "Active_CheckBox");
    EXPECT_EQ(active->text(), QStringLiteral("Password Active"));
    EXPECT_FALSE(ok->isEnabled());
    const char* keys[] = {"FARR_SpeedButton", "FABA_SpeedButton", "ENTER_SpeedButton",
                          "FABA_SpeedButton", "FARR_SpeedButton", "ENTER_SpeedButton"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(ok->isEnabled());
        find<QPushButton>(form, keys[i])->click();
        EXPECT_EQ(edit->text(), QString(i + 1, QLatin1Char('*')));
    }
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(form->keys(), (std::array<uint8_t, 6>{1, 2, 3, 2, 1, 3}));
    find<QPushButton>(form, "ENTER_SpeedButton")->click(); // a seventh press is ignored
    EXPECT_EQ(edit->text(), QStringLiteral("******"));
    active->setChecked(true);
    find<QPushButton>(form, "Clear_Button")->click();
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(active->isChecked());
    EXPECT_EQ(find<QPushButton>(form, "Clear_Button")->text(), QStringLiteral("Clear Password"));
}

TEST_F(Windows, ProgressWindowFollowsTheLoadStages)
{
    core::Configuration saved;
    const QString file = path(QStringLiteral("stages.kv4"));
    ASSERT_TRUE(core::saveConfigurationFile(file.toStdString(), saved));
    std::vector<std::pair<int, QString>> seen;
    auto* progress = windows->progress();
    QObject::connect(&app->document(), &DocumentController::loadProgress, progress, [&](const core::LoadProgress&) {
        seen.emplace_back(progress->bar()->value(), progress->status()->text());
        EXPECT_TRUE(progress->isVisible());
        EXPECT_TRUE(app->device().busy());
    });
    ASSERT_TRUE(app->document().openConfigurationFile(file));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(app->device().busy());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().first, 0);
    EXPECT_EQ(seen.back(), (std::pair<int, QString>{100, QStringLiteral("DONE")}));
    EXPECT_EQ(progress->text()->text(), QStringLiteral("Opening ") + file);
}

TEST_F(Windows, UsbWithoutADeviceSaysSoAndReturnsToOffline)
{
    auto* connection = windows->connection();
    connection->show();
    find<QRadioButton>(connection, "USBRB")->click();
    ASSERT_TRUE(waitFor([&] { return !presenter.shown.empty(); }));
    const std::string text = presenter.shown[0].text;
    EXPECT_EQ(text.rfind("Can't open the USB. Please verify that the USB port is correct and your KVR 610  unit is "
                         "switch on",
                         0),
              0u)
        << text;
    // No FTDI device is attached where the tests run.
    EXPECT_EQ(text.substr(text.size() - std::string(" - Device Not Found....").size()), " - Device Not Found....");
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Error);
    ASSERT_TRUE(waitFor([&] { return find<QRadioButton>(connection, "OfflineRB")->isChecked(); }));
    EXPECT_EQ(app->device().connectionCode(), ConnectionCode::Offline);
    EXPECT_FALSE(app->device().deviceControlsEnabled());
}

} // namespace
} // namespace kvr::gui::test
