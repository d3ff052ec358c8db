#pragma once

#include <array>

#include "config/configuration.h"
#include "tools/outputview.h"
#include "widgets/bandpanel.h"
#include "windows/editorwindow.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class EqualizerOperations;
class Fader;
class GestureWatcher;
class TrackScale;
struct PlotMouseEvent;

// The output equaliser editor (TPEQXForm): each output's bank PEQX1..4 with its current band in
// fields and its marker dragged on the plot, the output's level, delay and polarity (written
// through the levels and delay operations), and the response of whole outputs: each output's
// total (its equaliser and the influences switched in) and the Add sum of the shown outputs, as
// magnitude, phase or group delay. A view of the document: every value shown is read back from
// the Configuration, and only the outputs a change touches are computed again.
class OutputEqualizerWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit OutputEqualizerWindow(DocumentController& document, QWidget* parent = nullptr);

    int currentOutput() const { return m_current; }
    int band() const { return m_bands[static_cast<size_t>(m_current - 1)]; }
    bool addView() const { return m_addView; }
    bool dragging() const { return m_dragging; }
    // Makes output n current (its radio button "ModPEQX" + n checked), on the band it was on.
    void selectOutput(int output);
    // Individual or Add, as the radio buttons choose.
    void setAddView(bool add);
    // Each output's kept total and the Add sum, as last computed.
    const core::OutputViewState& state() const { return m_state; }
    // Outputs computed since the window was created (a test sees what a change recomputes).
    int outputsComputed() const { return m_outputsComputed; }

    static constexpr int kAddSeries = 5;

signals:
    // "Import Data": the measured response import window opens.
    void importRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    using Field = BandPanel::Field;

    QWidget* buildOutputPanel();
    QWidget* buildBandPanel();
    QWidget* buildLevelPanel();
    QWidget* buildInfluencePanel();
    void buildFooter();
    EqualizerOperations& ops();
    const core::TSOS& section() const;

    void onChanged(const DocumentChange& change);
    void onReplaced();
    void onMemoryRead();
    void onViewChanged();
    // The outputs given (bit n-1 for output n) computed again and plotted, then the Add sum.
    void recompute(unsigned outputs);
    void refreshAll();
    void plotOutput(int output);
    void plotAdd();
    void curveOf(const core::ViewCurve& curve);
    void fillBand();
    void fillSelectors();
    void fillOutputControls();
    void recolour();
    void placeMarks();
    void setAxes();
    void fitDelayAxis();

    void onBandSpin(int band);
    void onType(int item);
    void setField(Field field, double value);
    void commitField(Field field);
    void stepField(Field field, int direction);
    void commitAnalog();
    void onQBar(int position);

    void onPress(const PlotMouseEvent& e);
    void onMove(const PlotMouseEvent& e);
    void onRelease(const PlotMouseEvent& e);

    DocumentController& m_document;
    GestureWatcher* m_gestures;
    int m_current = 1;
    std::array<int, core::kOutputCount> m_bands{1, 1, 1, 1};
    bool m_addView = false;
    bool m_filling = false;
    bool m_dragging = false;
    int m_outputsComputed = 0;
    int m_styledCurrent = 0; // the output whose button is styled red
    core::OutputViewState m_state;
    std::array<double, core::kGridPoints> m_curve{};

    std::array<QRadioButton*, core::kOutputCount> m_outputButtons{};
    std::array<QCheckBox*, core::kOutputCount> m_shownChecks{};
    std::array<QCheckBox*, core::kViewInfluenceCount> m_influences{};
    QRadioButton* m_individual = nullptr;
    QRadioButton* m_add = nullptr;
    QSpinBox* m_yMax = nullptr;
    QSpinBox* m_yMin = nullptr;
    QRadioButton* m_constQ = nullptr;
    QRadioButton* m_adaptQ = nullptr;

    BandPanel* m_panel = nullptr;

    TrackScale* m_gainTrack = nullptr;
    Fader* m_gainFader = nullptr;
    QLabel* m_gainDb = nullptr;
    TrackScale* m_delayTrack = nullptr;
    Fader* m_delayFader = nullptr;
    QLabel* m_delayMs = nullptr;
    QLabel* m_delayUnits = nullptr;
    QCheckBox* m_polarity = nullptr;
};

} // namespace kvr::gui
