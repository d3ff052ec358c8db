#include "windows/reportwindow.h"
#include "app/programtext.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>

#include "app/documentcontroller.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "config/configfile.h"
#include "tools/report.h"
#include "tools/reportoutput.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

// "DATE : " of the report: the system's short date and long time.
std::string reportDateTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return (locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
            locale.toString(now.time(), QLocale::LongFormat))
        .toStdString();
}

constexpr double kMemoPointSize = 9.0;
constexpr double kSmallestPrintPointSize = 5.0;

} // namespace

ReportWindow::ReportWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TMemoGrandeForm"), q(t::kReportCaption), parent), m_document(document),
      m_memo(new QPlainTextEdit(body())), m_save(new QPushButton(q(t::kReportSave), body())),
      m_print(new QPushButton(q(t::kReportPrint), body())), m_pdf(new QPushButton(q(t::kReportPdf), body()))
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);
    m_memo->setObjectName(QStringLiteral("MemoGrande"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(kMemoPointSize);
    m_memo->setFont(font);
    m_memo->setMinimumSize(720, 520);
    layout->addWidget(m_memo, 1);

    auto* buttons = new QHBoxLayout;
    m_save->setObjectName(QStringLiteral("SaveB"));
    m_save->setToolTip(q(t::kReportSaveHint));
    m_print->setObjectName(QStringLiteral("PrintB"));
    m_print->setToolTip(q(t::kReportPrintHint));
    m_pdf->setObjectName(QStringLiteral("PdfB"));
    m_pdf->setToolTip(q(t::kReportPdfHint));
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_print);
    buttons->addWidget(m_pdf);
    layout->addLayout(buttons);

    m_choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    connect(m_save, &QPushButton::clicked, this, &ReportWindow::save);
    connect(m_print, &QPushButton::clicked, this, &ReportWindow::print);
    connect(m_pdf, &QPushButton::clicked, this, &ReportWindow::exportPdf);
    adjustSize();
}

void ReportWindow::showReport()
{
    showLines(q(t::kReportCaption),
              core::automaticReport(m_document.configuration(), reportDateTime(), KVR_VERSION_TEXT));
}

void ReportWindow::showLines(const QString& caption, const std::vector<std::string>& lines)
{
    setCaption(caption);
    m_lines = lines;
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        text << QString::fromStdString(line);
    m_memo->setPlainText(text.join(QLatin1Char('\n')));
}

bool ReportWindow::save()
{
    FileDialogRequest request;
    request.title = q(t::kReportSaveTitle);
    request.filter = q(t::kReportFileFilter);
    request.defaultSuffix = q(t::kReportExtension);
    request.proposedName = QString::fromStdString(m_document.configuration().system.name);
    request.confirmOverwrite = true;
    const QString path = m_document.dialogs().saveFile(request);
    if (path.isEmpty()) return false;
    const std::string text = core::textWithCrLf(m_lines);
    const core::Status written = core::writeFileAtomically(
        path.toStdString(), std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    if (!written) m_document.presenter().show(core::errorBox(written.message()));
    return written.ok();
}

bool ReportWindow::paint(QPagedPaintDevice& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const std::vector<std::string> printed = core::printedReportLines(m_lines);
    QStringList lines;
    for (const std::string& line : printed)
        lines << QString::fromStdString(line);
    // The memo's font, smaller where the longest line would not fit the page.
    QFont font = m_memo->font();
    QFontMetricsF metrics(font, &printer);
    double widest = 1.0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest > printer.width()) {
        font.setPointSizeF(std::max(kSmallestPrintPointSize, font.pointSizeF() * printer.width() / widest));
        metrics = QFontMetricsF(font, &printer);
    }
    painter.setFont(font);
    const double step = metrics.lineSpacing();
    double y = 0.0;
    for (const QString& line : lines) {
        if (y > 0.0 && y + step > printer.height()) {
            printer.newPage();
            y = 0.0;
        }
        painter.drawText(QPointF(0.0, y + metrics.ascent()), line);
        y += step;
    }
    return painter.end();
}

bool ReportWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!m_choosePrinter(printer)) return false;
    if (paint(printer)) return true;
    m_document.presenter().show(core::errorBox(t::kReportPrintFailed));
    return false;
}

bool ReportWindow::exportPdf()
{
    FileDialogRequest request;
    request.title = q(t::kReportPdfTitle);
    request.filter = q(t::kReportPdfFileFilter);
    request.defaultSuffix = q(t::kReportPdfExtension);
    request.proposedName = QString::fromStdString(m_document.configuration().system.name);
    request.confirmOverwrite = true;
    const QString path = m_document.dialogs().saveFile(request);
    if (path.isEmpty()) return false;
    // Laid out as the printer would lay out the page, and written whole: a failed export leaves
    // the old file.
    const QPrinter page(QPrinter::HighResolution);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(page.pageLayout());
        writer.setResolution(page.resolution());
        if (!paint(writer)) {
            m_document.presenter().show(
                core::errorBox(t::kUnableToWrite + path.toStdString() + ": " + std::strerror(EIO)));
            return false;
        }
    }
    const QByteArray& pdf = buffer.data();
    const core::Status written = core::writeFileAtomically(
        path.toStdString(), std::span(reinterpret_cast<const uint8_t*>(pdf.constData()), size_t(pdf.size())));
    if (!written) m_document.presenter().show(core::errorBox(written.message()));
    return written.ok();
}

} // namespace kvr::gui
