#pragma once

#include <array>

#include "config/editing.h"
#include "dsp/tsos.h"
#include "windows/editorwindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace kvr::gui {

class ClickableLabel;
class CrossoverOperations;
class DocumentChange;
class DocumentController;
class GestureWatcher;
class NumberField;
class SpinButtons;
struct PlotMouseEvent;

// The crossover editor (TXOVERForm): per output, the family, order and frequency of each side on
// the Normal page, the sections of a custom side on the Custom page, the four responses on one
// plot (the current output red and on top), the links, and the sides' frequencies dragged on the
// plot. A view of the document: every value shown is read back from the Configuration.
class CrossoverWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit CrossoverWindow(DocumentController& document, QWidget* parent = nullptr);

    int currentOutput() const { return m_current; }
    // Makes output n current: its label and curve red, the curve on top, the Custom page on it.
    void selectOutput(int output);
    bool dragging() const { return m_dragging; }
    void showNormalPage();
    void showCustomPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SideControls {
        QSpinBox* frequencySpin = nullptr; // FrecSpin: the hidden master value
        NumberField* frequency = nullptr;  // FrecEdit
        SpinButtons* frequencyButtons = nullptr;
        QSpinBox* order = nullptr;
        QComboBox* family = nullptr;
    };
    struct SectionControls {
        QLabel* label = nullptr;
        NumberField* frequency = nullptr;
        SpinButtons* frequencyButtons = nullptr;
        NumberField* q = nullptr;
        SpinButtons* qButtons = nullptr;
    };

    QWidget* buildNormalPage();
    QWidget* buildCustomPage();
    void buildFooter();
    CrossoverOperations& ops();
    void forOutput(QWidget* control, int output);

    void onChanged(const DocumentChange& change);
    void onReplaced();
    void onViewChanged();
    void replot(int output);
    void replotAll();
    void fillRow(int output);
    void fillLinks();
    void fillCustom();
    void recolour();
    void setAxes();

    void commitFrequency(int output, core::CrossoverSide side);
    void stepFrequency(int output, core::CrossoverSide side, int direction);
    void commitCustom(core::CrossoverSide side, int section, bool q);
    void stepCustom(core::CrossoverSide side, int section, bool q, double step);

    void onPress(const PlotMouseEvent& e);
    void onMove(const PlotMouseEvent& e);
    void onRelease(const PlotMouseEvent& e);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    int m_current = 1;
    bool m_filling = false;
    bool m_dragging = false;
    core::CrossoverSide m_dragSide = core::CrossoverSide::Low;
    core::Notices m_dragNotices;
    std::array<double, core::kGridPoints> m_curve{};

    QStackedWidget* m_pages = nullptr;
    std::array<QPushButton*, 2> m_pageButtons{};
    std::array<ClickableLabel*, core::kOutputCount> m_outputLabels{};
    std::array<std::array<SideControls, 2>, core::kOutputCount> m_sides{};
    std::array<QCheckBox*, 3> m_links{};
    QSpinBox* m_customOutput = nullptr;
    std::array<QSpinBox*, 2> m_customOrders{};
    std::array<std::array<SectionControls, 4>, 2> m_sections{};
    QSpinBox* m_yMax = nullptr;
    QSpinBox* m_yMin = nullptr;
};

} // namespace kvr::gui
