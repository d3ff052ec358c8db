#pragma once

#include <array>

#include "widgets/framedwindow.h"

class QHBoxLayout;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace kvr::gui {

class PlotModel;
class ResponsePlot;
class Settings;

enum class PlotView { Magnitude = 0, Phase = 1, Delay = 2 };

// What every plotting editor has: the response plot, the view switch ("Mag", "Phase" and, where a
// window enables it, "Delay") below it, and a status line whose text the plot repeats. Windows
// put their own controls in the side panel and the footer.
class EditorWindow : public FramedWindow {
    Q_OBJECT
public:
    // `statusName` is the objectName of the window's status label.
    EditorWindow(const QString& className, const QString& caption, const QString& statusName,
                 QWidget* parent = nullptr);

    ResponsePlot* plot() const { return m_plot; }
    PlotModel& plotModel() const;

    PlotView view() const { return m_view; }
    // Checks the view's button; viewChanged follows when the view differs.
    void setView(PlotView view);
    // The "Delay" choice is hidden unless a window asks for it.
    void setDelayViewEnabled(bool on);
    QRadioButton* viewButton(PlotView view) const { return m_viewButtons[static_cast<size_t>(view)]; }

    // Choices no configuration file holds, kept between runs under the window's form name: the
    // view last chosen comes back now and every later choice is remembered; a spin box (a Y
    // range) likewise, under its objectName.
    void rememberView(Settings& settings);
    void rememberValue(Settings& settings, QSpinBox* spin);

    // The status line and the readout on the plot.
    void setStatusText(const QString& text);
    QString statusText() const;
    QLabel* statusLabel() const { return m_status; }

    // Right of the plot: the window's own controls (empty, no layout yet).
    QWidget* sidePanel() const { return m_side; }
    // Below the plot, after the view switch (and before the stretch that keeps the row left).
    void addFooterWidget(QWidget* widget);
    QHBoxLayout* footer() const { return m_footer; }
    // A Y range spin box (steps of 5 dB) with its dim caption in the footer; a change while the
    // magnitude is shown announces magnitudeRangeChanged.
    QSpinBox* addYRangeSpin(const char* caption, const char* name, int lo, int hi, int value);

signals:
    // The user or the program changed the view.
    void viewChanged(kvr::gui::PlotView view);
    void magnitudeRangeChanged();

private:
    void onViewButton(PlotView view);

    ResponsePlot* m_plot;
    std::array<QRadioButton*, 3> m_viewButtons{};
    QLabel* m_status;
    QWidget* m_side;
    QHBoxLayout* m_footer;
    PlotView m_view = PlotView::Magnitude;
    bool m_delayEnabled = false;
};

} // namespace kvr::gui
