#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/viewoperations.h"
#include "guifixture.h"
#include "image/deviceimage.h"
#include "image/generatext.h"
#include "tools/listings.h"
#include "tools/measurementformats.h"
#include "tools/reportoutput.h"
#include "windows/devicedatawindow.h"
#include "windows/listingswindow.h"
#include "windows/mainwindow.h"
#include "windows/measurementimportwindow.h"
#include "windows/reportwindow.h"

namespace kvr::gui::test {
namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeText(const QString& path, const char* text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QStringList memoLines(QWidget* root, const char* name)
{
    return find<QPlainTextEdit>(root, name)->toPlainText().split(QLatin1Char('\n'));
}

QStringList toQt(const std::vector<std::string>& lines)
{
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

class MeasurementAndReports : public GuiTest {
protected:
    const core::Configuration& config() { return app->document().configuration(); }
    // An edit another window would make.
    template <typename F> void change(Region region, F&& f)
    {
        app->document().edit({QStringLiteral("test"), DocumentChange(region), {}}, std::forward<F>(f));
    }
};

TEST_F(MeasurementAndReports, ImportWindowReadsTheFilesAsOneStep)
{
    auto* window = windows->measurementImport();
    change(Region::Names, [](core::Configuration& c) { c.setOutputName(2, "Bass"); }); // shown beside the field
    window->show();
    EXPECT_EQ(window->caption(), QStringLiteral("Import Speaker Frequency Response"));
    EXPECT_EQ(find<QLabel>(window, "Out2L")->text(), QStringLiteral("Bass"));
    EXPECT_EQ(find<QDoubleSpinBox>(window, "dBsplEdit")->value(), 96.0);
    auto* kinds = find<QComboBox>(window, "TipoFileGroup");
    ASSERT_EQ(kinds->count(), 12);
    EXPECT_EQ(kinds->itemText(8), QStringLiteral("LoudSpeaker Lab"));
    EXPECT_EQ(kinds->itemText(9), QStringLiteral("FRD"));

    const QString frd = path(QStringLiteral("woofer.frd"));
    writeText(frd, "* woofer\n100\t96\t0\n1000\t86\t-90\n");
    kinds->activated(9);
    kinds->setCurrentIndex(9);
    dialogs.openAnswers = {frd};
    find<QPushButton>(window, "data2B")->click();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Select File with Frequency Response"));
    EXPECT_EQ(find<QLineEdit>(window, "Edit2")->text(), frd);
    find<QLineEdit>(window, "Edit3")->setText(path(QStringLiteral("gone.frd")));
    const size_t steps = app->document().history().size();

    find<QPushButton>(window, "OKB")->click();
    const core::MeasuredResponse& r = config().measurement.responses[1];
    EXPECT_TRUE(r.present);
    EXPECT_EQ(r.level[0], -140.0f);                   // 20 Hz is below the file
    EXPECT_EQ(config().measurement.fileNames[2], ""); // the window empties a missing file's field
    ASSERT_EQ(presenter.texts().size(), 1u);
    EXPECT_EQ(presenter.texts()[0], "Unable to Open " + path(QStringLiteral("gone.frd")).toStdString() +
                                        " Measure File for Output 3. Look for the correct file to use the Measures.");
    EXPECT_EQ(memoLines(window, "InfoMemo")[1], QStringLiteral("Output 2: woofer.frd, 2 points, 100 Hz to 1000 Hz"));
    EXPECT_EQ(app->document().undoName(), QStringLiteral("Import measurements"));
    EXPECT_EQ(app->document().history().size(), steps + 2); // the typed name, then the import

    app->document().undo();
    EXPECT_FALSE(config().measurement.responses[1].present);
    find<QPushButton>(window, "Clear2B")->click();
    EXPECT_TRUE(find<QLineEdit>(window, "Edit2")->text().isEmpty());
    EXPECT_TRUE(config().measurement.fileNames[1].empty());

    // IMP answers with its message and the list returns to CLIO; the dialog filters by format.
    kinds->setCurrentIndex(4);
    kinds->activated(4);
    EXPECT_EQ(kinds->currentIndex(), 0);
    EXPECT_EQ(presenter.texts().back(), "Option Under Construction. Please Select Another");
    kinds->setCurrentIndex(7);
    kinds->activated(7);
    find<QPushButton>(window, "data1B")->click();
    EXPECT_EQ(dialogs.asked.back().filter, QStringLiteral("CALSOD DAAS32 Exported data *.spl|*.spl|all *.*|*.*"));
    find<QDoubleSpinBox>(window, "dBsplEdit")->setValue(90.5);
    EXPECT_EQ(config().measurement.dBspl, 90.5f);
}

TEST_F(MeasurementAndReports, ReportOpensFromTheMainWindowAndSavesWithCrLf)
{
    auto* report = windows->report();
    auto* button = find<QToolButton>(windows->main(), "ReportB");
    auto* item = find<QAction>(windows->main(), "MenuReport");
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(item->isEnabled());
    change(Region::SystemInfo, [](core::Configuration& c) { c.setSystemName("Hall 2"); });
    bool shownModally = false;
    QTimer::singleShot(0, report, [&] {
        shownModally = report->isVisible() && report->isModal();
        report->reject();
    });
    button->click();
    EXPECT_TRUE(shownModally);
    EXPECT_EQ(report->caption(), QStringLiteral("AUTOMATIC REPORT"));
    const std::vector<std::string>& lines = report->lines();
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(lines[0], "KVR 610  AUTOMATIC REPORT");
    EXPECT_EQ(memoLines(report, "MemoGrande").size(), static_cast<qsizetype>(lines.size()));
    EXPECT_EQ(find<QPushButton>(report, "SaveB")->toolTip(), QStringLiteral("REPORT SAVE"));
    EXPECT_EQ(find<QPushButton>(report, "PrintB")->toolTip(), QStringLiteral("REPORT PRINT"));

    const QString file = path(QStringLiteral("report.txt"));
    dialogs.saveAnswers = {file};
    find<QPushButton>(report, "SaveB")->click();
    const FileDialogRequest& asked = dialogs.asked.back();
    EXPECT_EQ(asked.title, QStringLiteral("Save Automatic REPORT"));
    EXPECT_EQ(asked.filter, QStringLiteral("*.txt text files|*.txt|*.* all files|*.*"));
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(asked.proposedName, QStringLiteral("Hall 2"));
    EXPECT_TRUE(asked.confirmOverwrite);
    // Read back: the report's lines, each ended by CR LF.
    EXPECT_EQ(readAll(file).toStdString(), core::textWithCrLf(lines));

    // A folder that takes no file: the system's message, the report stays.
    dialogs.saveAnswers = {path(QStringLiteral("no/such/folder/report.txt"))};
    EXPECT_FALSE(report->save());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].kind, core::MessageKind::Error);
    EXPECT_NE(presenter.shown[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(report->lines(), lines);
}

TEST_F(MeasurementAndReports, ReportPrintsAndExportsPdf)
{
    auto* report = windows->report();
    report->showReport();
    // The printer dialog answered with a PDF printer: the page is what a printer would get.
    const QString printed = path(QStringLiteral("printed.pdf"));
    report->setPrinterChooser([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    });
    EXPECT_TRUE(report->print());
    EXPECT_TRUE(readAll(printed).startsWith("%PDF"));
    report->setPrinterChooser([](QPrinter&) { return false; }); // cancelled
    EXPECT_FALSE(report->print());

    const QString pdf = path(QStringLiteral("report.pdf"));
    dialogs.saveAnswers = {pdf};
    find<QPushButton>(report, "PdfB")->click();
    EXPECT_EQ(dialogs.asked.back().defaultSuffix, QStringLiteral("pdf"));
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(presenter.shown.empty());
    dialogs.saveAnswers = {path(QStringLiteral("missing/report.pdf"))};
    EXPECT_FALSE(report->exportPdf());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].text, "Unable to write " + path(QStringLiteral("missing/report.pdf")).toStdString() +
                                           ": No such file or directory");
}

TEST_F(MeasurementAndReports, ListingsShowSaveAndOpenInTheLargeWindow)
{
    auto* menu = find<QAction>(windows->main(), "MenuListings");
    ASSERT_TRUE(menu->isEnabled());
    menu->trigger();
    auto* listings = windows->listings();
    ASSERT_TRUE(listings->isVisible());
    const core::ListingInputs inputs{"DATE", config().system.name, false};
    for (size_t i = 0; i < ListingsWindow::kMemos; ++i) {
        QStringList expected = toQt(core::coefficientListing(config(), ListingsWindow::kKinds[i], inputs));
        QStringList shown = memoLines(listings, ListingsWindow::kMemoNames[i]);
        ASSERT_EQ(shown.size(), expected.size()) << i;
        // The date line follows the clock.
        const qsizetype dateLine = expected.indexOf(QStringLiteral("; DATE"));
        ASSERT_GT(dateLine, 0);
        shown.removeAt(dateLine);
        expected.removeAt(dateLine);
        EXPECT_EQ(shown.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString())
            << ListingsWindow::kMemoNames[i];
    }

    // A double-click opens the memo in the large window under its name.
    QWidget* viewport = find<QPlainTextEdit>(listings, "Xover2Memo")->viewport();
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &click);
    EXPECT_TRUE(windows->report()->isVisible());
    EXPECT_EQ(windows->report()->caption(), QStringLiteral("Xover2Memo"));
    EXPECT_EQ(toQt(windows->report()->lines()), memoLines(listings, "Xover2Memo"));

    // The main window's "Save" box writes the eight files.
    listings->setDataFolder(path(QStringLiteral("data/listings")));
    find<QCheckBox>(windows->main(), "SaveCheck")->setChecked(true);
    const char* files[] = {"peq1.coe",   "peq2.coe",   "dsp1data.asm", "dsp2data.asm",
                           "xover1.coe", "xover2.coe", "xover3.coe",   "xover4.coe"};
    for (size_t i = 0; i < ListingsWindow::kMemos; ++i) {
        const QByteArray text = readAll(path(QStringLiteral("data/listings/")) + QString::fromUtf8(files[i]));
        EXPECT_EQ(QString::fromUtf8(text).split(QStringLiteral("\r\n")).mid(0, 2),
                  memoLines(listings, ListingsWindow::kMemoNames[i]).mid(0, 2))
            << files[i];
    }
    // Later edits reach the files too.
    change(Region::Levels, [](core::Configuration& c) { c.setOutputLevelDb(1, -6.0); });
    ASSERT_TRUE(waitFor([&] {
        return readAll(path(QStringLiteral("data/listings/dsp1data.asm"))).contains("outgain1       .float  0.50118");
    }));
}

TEST_F(MeasurementAndReports, DeviceDataShowsBothBlocksInHex)
{
    auto* menu = find<QAction>(windows->main(), "MenuDeviceData");
    ASSERT_TRUE(menu->isEnabled());
    change(Region::Levels, [](core::Configuration& c) { c.setOutputLevelDb(3, -3.0); });
    menu->trigger();
    auto* data = windows->deviceData();
    ASSERT_TRUE(data->isVisible());
    auto image = core::BuildDeviceImage(config(), false);
    ASSERT_TRUE(image.ok());
    auto text = core::generaText(*image);
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(memoLines(data, "DATAMemo1"), toQt(text->block1));
    EXPECT_EQ(memoLines(data, "DATAMemo2"), toQt(text->block2));
    EXPECT_EQ(memoLines(data, "LineasMemo"), toQt(text->numbered));
    EXPECT_EQ(memoLines(data, "LineasMemo")[0], memoLines(data, "DATAMemo1")[0] + QStringLiteral(" : 1"));
}

} // namespace
} // namespace kvr::gui::test
