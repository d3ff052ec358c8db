#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "widgets/framedwindow.h"

class QPlainTextEdit;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;

namespace kvr::gui {

class DocumentController;

// The large text window: the automatic report ("AUTOMATIC REPORT"), or a coefficient listing
// opened from the listings window. Its lines can be saved as text, printed or exported as PDF.
class ReportWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit ReportWindow(DocumentController& document, QWidget* parent = nullptr);

    // Rebuilds the report from the Configuration (the caller shows the window).
    void showReport();
    // Any text under a caption (a listing, with the memo's name).
    void showLines(const QString& caption, const std::vector<std::string>& lines);
    const std::vector<std::string>& lines() const { return m_lines; }

    // The printer dialog: true when the user chose a printer (tests answer it themselves).
    using PrinterChooser = std::function<bool(QPrinter&)>;
    void setPrinterChooser(PrinterChooser chooser) { m_choosePrinter = std::move(chooser); }

    // The buttons' actions.
    bool save();
    bool print();
    bool exportPdf();

private:
    bool paint(QPagedPaintDevice& printer);

    DocumentController& m_document;
    QPlainTextEdit* m_memo;
    QPushButton* m_save;
    QPushButton* m_print;
    QPushButton* m_pdf;
    std::vector<std::string> m_lines;
    PrinterChooser m_choosePrinter;
};

} // namespace kvr::gui
