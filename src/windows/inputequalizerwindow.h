#pragma once

#include <QTimer>
#include <array>

#include "config/routing.h"
#include "dsp/tsos.h"
#include "windows/editorwindow.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QWheelEvent;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class EqualizerOperations;
class GestureWatcher;
class NumberField;
class SpinButtons;
struct PlotMouseEvent;

// The input equaliser editor (TPEQNForm): the banks PEQA, PEQB and PEQM on one plot, the
// edited bank's current band in fields, its marker dragged on the plot, the banks' sources and
// view checks. A view of the document: every value shown is read back from the Configuration.
class InputEqualizerWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit InputEqualizerWindow(DocumentController& document, QWidget* parent = nullptr);

    core::InputId bank() const { return m_bank; }
    int band() const { return m_band; }
    bool dragging() const { return m_dragging; }
    // Makes a bank the edited one, on its band 1 (as its bank button does).
    void selectBank(core::InputId bank);
    // The plot series of a bank: 1 PEQA, 2 PEQB, 3 PEQM.
    static int seriesOf(core::InputId bank);

signals:
    // A response that feeds the outputs changed: the output view redraws.
    void outputResponseChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Field { Frequency, Gain, Q };

    void build();
    QWidget* buildBandPanel();
    QWidget* buildSourcePanel();
    EqualizerOperations& ops();
    const core::TSOS& section() const;

    void onChanged(const DocumentChange& change);
    void onReplaced();
    void onViewChanged();
    void fillBand();
    void fillSelectors();
    void plotBank(core::InputId bank);
    void placeMarks();
    void setAxes();

    void onBandSpin(int band);
    void onType(int item);
    void commitField(Field field);
    void stepField(Field field, int direction);
    void commitAnalog();
    void onQBar(int position);
    void onQSlider(int value);

    void onPress(const PlotMouseEvent& e);
    void onMove(const PlotMouseEvent& e);
    void onRelease(const PlotMouseEvent& e);
    bool wheel(QWheelEvent* event);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    core::InputId m_bank = core::InputId::A;
    int m_band = 1;
    bool m_filling = false;
    bool m_dragging = false;
    int m_wheelDelta = 0;
    QTimer m_wheelEnd;
    std::array<core::ChainResponse, 3> m_responses{};
    std::array<double, core::kGridPoints> m_curve{};

    std::array<QRadioButton*, 3> m_bankButtons{};
    std::array<QCheckBox*, 3> m_viewChecks{};
    std::array<QButtonGroup*, 3> m_sourceGroups{};
    QSpinBox* m_bandSpin = nullptr;
    QComboBox* m_type = nullptr;
    NumberField* m_frequency = nullptr;
    NumberField* m_gain = nullptr;
    NumberField* m_q = nullptr;
    SpinButtons* m_frequencySpin = nullptr;
    SpinButtons* m_gainSpin = nullptr;
    SpinButtons* m_qSpin = nullptr;
    QLabel* m_frequencyLabel = nullptr;
    QLabel* m_gainLabel = nullptr;
    QLabel* m_qLabel = nullptr;
    QSlider* m_qBar = nullptr;
    QSlider* m_qSlider = nullptr;
    NumberField* m_l = nullptr;
    NumberField* m_h = nullptr;
    NumberField* m_b = nullptr;
    QLabel* m_lLabel = nullptr;
    QLabel* m_hLabel = nullptr;
    QLabel* m_bLabel = nullptr;
};

} // namespace kvr::gui
