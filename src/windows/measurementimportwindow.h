#pragma once

#include <array>

#include "widgets/framedwindow.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class GestureWatcher;

// The import window ("Import Speaker Frequency Response"): a measurement file per output, the
// file format and the reference level; OK reads the files into the Configuration, where the
// output view finds them.
class MeasurementImportWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit MeasurementImportWindow(DocumentController& document, QWidget* parent = nullptr);

    // The buttons' actions.
    void browse(int output);
    void clear(int output);
    void runImport();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void fillNames();
    void onChanged(const DocumentChange& change);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    std::array<QLabel*, 4> m_outputLabels{};
    std::array<QLineEdit*, 4> m_edits{};
    std::array<QPushButton*, 4> m_browseButtons{};
    std::array<QPushButton*, 4> m_clearButtons{};
    QComboBox* m_kind;
    QDoubleSpinBox* m_reference;
    QPlainTextEdit* m_info;
    QPushButton* m_ok;
    bool m_filling = false;
};

} // namespace kvr::gui
