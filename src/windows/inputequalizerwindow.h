#pragma once

#include <QTimer>
#include <array>

#include "config/routing.h"
#include "dsp/tsos.h"
#include "widgets/bandpanel.h"
#include "windows/editorwindow.h"

class QButtonGroup;
class QCheckBox;
class QRadioButton;
class QWheelEvent;

namespace kvr::gui {

class DocumentChange;
class DocumentController;
class EqualizerOperations;
class GestureWatcher;
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Field = BandPanel::Field;

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
    void setField(Field field, double value);
    void commitField(Field field);
    void stepField(Field field, int direction);
    void commitAnalog();
    void onQBar(int position);

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
    std::array<double, core::kGridPoints> m_curve{};

    std::array<QRadioButton*, 3> m_bankButtons{};
    std::array<QCheckBox*, 3> m_viewChecks{};
    std::array<QButtonGroup*, 3> m_sourceGroups{};
    BandPanel* m_panel = nullptr;
};

} // namespace kvr::gui
