#pragma once

#include <array>

#include "config/configuration.h"
#include "widgets/framedwindow.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class DynamicsOperations;
class GestureWatcher;
class ResponsePlot;
struct PlotMouseEvent;

// The dynamics editor (TDynamicform): per output, the limiter or compressor (threshold, ratio,
// gain, knee, attack, release, automatic times, bypass) and the noise gate (threshold, hold,
// close, bypass) on inverted vertical sliders, the static transfer curve with its reference
// line and readout, and the power information of the speaker and amplifier data. A view of the
// document: every value shown is read back from the Configuration.
class DynamicsWindow : public FramedWindow {
    Q_OBJECT
public:
    explicit DynamicsWindow(DocumentController& document, QWidget* parent = nullptr);

    int currentOutput() const { return m_current; }
    // The output button "Output" + n + "B": output n becomes current, its values pass through
    // the sliders (which may store them as the sliders hold them) and its curve is drawn.
    void selectOutput(int output);
    ResponsePlot* plot() const { return m_plot; }

    // The sliders, in the order of their values.
    enum class Slider { Threshold, Ratio, Gain, Knee, Attack, Release, Gate, Hold, Close };
    static constexpr int kSliders = 9;
    QSlider* slider(Slider which) const { return m_sliders[static_cast<size_t>(which)]; }

signals:
    // "Speaker Parameters": the calculator opens on output n.
    void speakerParametersRequested(int output);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildStagePanel();
    QWidget* buildGatePanel();
    QSlider* buildSlider(Slider which, const char* name, const char* valueName, int lo, int hi);
    DynamicsOperations& ops();
    const core::TDYNAMIC& dyn() const;

    void onChanged(const DocumentChange& change);
    void onReplaced();
    void onSlider(Slider which, int position);
    void fill();
    void fillCaptions();
    void plotCurve();
    void fillPower();
    void onMove(const PlotMouseEvent& e);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    int m_current = 1;
    bool m_filling = false;

    ResponsePlot* m_plot = nullptr;
    QLabel* m_status = nullptr;
    std::array<QPushButton*, core::kOutputCount> m_outputButtons{};
    std::array<QSlider*, kSliders> m_sliders{};
    std::array<QLabel*, kSliders> m_values{};
    QLabel* m_thresholdCaption = nullptr;
    QGroupBox* m_stagePanel = nullptr;
    QGroupBox* m_gatePanel = nullptr;
    QRadioButton* m_limiter = nullptr;
    QRadioButton* m_compressor = nullptr;
    QCheckBox* m_autoTime = nullptr;
    QPushButton* m_bypass = nullptr;
    QPushButton* m_gateBypass = nullptr;
    QCheckBox* m_viewPower = nullptr;
    QPlainTextEdit* m_power = nullptr;
};

} // namespace kvr::gui
