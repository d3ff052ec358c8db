#pragma once

#include "config/configuration.h"
#include "widgets/framedwindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabBar;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class DynamicsOperations;
class GestureWatcher;
class PowerSpinBox;
class SpinButtons;

// The speaker and amplifier calculator (TSpkForm): per output, the loudspeaker's impedance and
// power and the amplifier's gain and power, with the power check of the output's dynamics. The
// data are part of the output's dynamics stage in the Configuration.
class SpeakerCalculatorWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit SpeakerCalculatorWindow(DocumentController& document, QWidget* parent = nullptr);

    int currentOutput() const { return m_current; }
    // The tab of output n: its values in the controls and its power check.
    void selectOutput(int output);
    // The help button: the caution text with a beep.
    void showCaution();

signals:
    // A tab was chosen: the dynamics editor shows the same output.
    void outputSelected(int output);

protected:
    void showEvent(QShowEvent* event) override;

private:
    DynamicsOperations& ops();
    void onChanged(const DocumentChange& change);
    void fill();

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    int m_current = 1;
    bool m_filling = false;

    QTabBar* m_tabs = nullptr;
    SpinButtons* m_tabButtons = nullptr;
    QComboBox* m_impedance = nullptr;
    PowerSpinBox* m_boxPower = nullptr;
    QSpinBox* m_ampGain = nullptr;
    QLabel* m_ampGainDb = nullptr;
    PowerSpinBox* m_ampPower = nullptr;
    QCheckBox* m_balanced = nullptr;
    QComboBox* m_speakers = nullptr;
    QPlainTextEdit* m_result = nullptr;
};

} // namespace kvr::gui
