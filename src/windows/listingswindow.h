#pragma once

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "app/listingfiles.h"
#include "tools/listings.h"
#include "widgets/framedwindow.h"

class QPlainTextEdit;
class QTimer;

namespace kvr::gui {

class DocumentChange;
class DocumentController;

// The coefficient listings: the designed coefficients and each DSP's control values in the DSP
// assembler's syntax, one memo each. With the main window's "Save" box on, every refresh also
// writes them as files into the listings data folder.
class ListingsWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit ListingsWindow(DocumentController& document, QWidget* parent = nullptr);

    static constexpr int kMemos = 8;
    // The memos in order and the listing each holds.
    static const std::array<core::ListingKind, kMemos> kKinds;
    static const std::array<const char*, kMemos> kMemoNames;

    // The main window's "Save" box.
    void setSaveToFiles(bool save);
    bool saveToFiles() const { return m_save; }
    // Where the files go: "listings" in the program's data folder unless set.
    void setDataFolder(const QString& folder) { m_folder = folder; }
    QString dataFolder() const { return m_folder; }
    static QString defaultDataFolder();

    // Builds the listings from the Configuration now (and writes them when saving).
    void refresh();

signals:
    // A memo was double-clicked: open it in the large window under its name.
    void memoOpened(const QString& name, const std::vector<std::string>& lines);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onChanged(const DocumentChange& change);
    void writeFiles();

    DocumentController& m_document;
    std::array<QPlainTextEdit*, kMemos> m_memos{};
    std::array<std::vector<std::string>, kMemos> m_lines;
    QTimer* m_refreshTimer;
    QString m_folder;
    ListingFileWriter m_files;
    bool m_save = false;
};

} // namespace kvr::gui
