#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <utility>
#include <vector>

#include "plot/plotmodel.h"
#include "plot/plotpainter.h"

namespace kvr::gui {

// A mouse event on the plot in data coordinates, with the buttons and keys held.
struct PlotMouseEvent {
    double x = 0.0; // data coordinates; extrapolated outside the area
    double y = 0.0;
    bool mapped = false; // false when an axis has inconsistent limits (x and y are then 0)
    QPointF pixel;
    Qt::MouseButton button = Qt::NoButton; // the button pressed or released (none on a move)
    Qt::MouseButtons buttons;              // buttons held after the event
    Qt::KeyboardModifiers modifiers;

    bool shift() const { return modifiers.testFlag(Qt::ShiftModifier); }
    // Shift and the left button and nothing else, counting the button of a press: the state in
    // which the editors leave a press or a move alone.
    bool exactlyShiftLeft() const
    {
        return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ShiftModifier &&
               (buttons | button) == Qt::LeftButton;
    }
};

// The response plot every editor draws into: a PlotModel painted by a PlotPainter. Two layers
// are cached at the screen's pixel ratio: the frame (grid, scales, titles), redrawn only when the
// axes, titles or size change, and the frame with every curve but the top one, redrawn when one
// of those curves changes. A repaint during a drag, which rewrites the top curve, draws that
// curve, the marks and the readout over the cached layer. The model's Plotting switch holds
// repaints.
class ResponsePlot : public QWidget {
    Q_OBJECT
public:
    explicit ResponsePlot(QWidget* parent = nullptr);

    PlotModel& model() { return m_model; }
    const PlotModel& model() const { return m_model; }

    // The whole plot into any painter (PNG export, printing).
    void paint(QPainter& p, const QRectF& rect) const;
    // The plot as an image of `logicalSize` at a device pixel ratio.
    QImage render(const QSize& logicalSize, qreal devicePixelRatio) const;

    // What a repaint of the widget draws, with the cached layers kept at `dpr`.
    void paintLayers(QPainter& p, qreal dpr);

    // The plot area within the widget, and its mapping, for the widget's present size.
    QRectF plotArea() const;
    PlotMapping mapping() const { return m_model.mapping(plotArea()); }

    // The editor shows a hand where a press would take hold of something.
    void setHandCursor(bool on);
    bool handCursor() const { return m_hand; }

    // Repaints done (paint events) so far.
    int paintCount() const { return m_paints; }

    QSize sizeHint() const override { return {700, 400}; }
    QSize minimumSizeHint() const override { return {360, 220}; }

signals:
    void mousePressed(const kvr::gui::PlotMouseEvent& event);
    void mouseMoved(const kvr::gui::PlotMouseEvent& event);
    void mouseReleased(const kvr::gui::PlotMouseEvent& event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyStyle();
    void onModelChanged(PlotChange change);
    const PlotLayout& currentLayout() const;
    PlotMouseEvent mouseEvent(const QMouseEvent& e, Qt::MouseButton button) const;

    PlotModel m_model;
    PlotPainter m_painter;
    mutable PlotLayout m_layout;
    mutable bool m_layoutValid = false;
    QPixmap m_frame;
    bool m_frameValid = false;
    unsigned m_frameGeneration = 0;
    // The frame with the curves below the top one, and what it was drawn from.
    QPixmap m_under;
    std::vector<std::pair<int, unsigned long long>> m_underKey;
    std::vector<std::pair<int, unsigned long long>> m_key; // scratch, reused
    unsigned m_underGeneration = ~0u;
    bool m_hand = false;
    int m_paints = 0;
};

} // namespace kvr::gui
