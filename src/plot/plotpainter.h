#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <span>
#include <vector>

#include "plot/plotmodel.h"

class QPainter;

namespace kvr::gui {

// Colours, fonts and pen widths of the plot. Dark, so the editors' bright curve colours read.
struct PlotStyle {
    QFont labelFont;
    QFont titleFont;
    QColor background;
    QColor area;
    QColor border;
    QColor gridMajor; // decades, and every line of a linear scale
    QColor gridMid;   // 2 and 5 of each decade
    QColor gridMinor; // the other multiples
    QColor zeroLine;
    QColor label;
    QColor title;
    QColor readoutBack;
    qreal curveWidth = 1.75;
    qreal markWidth = 1.25;

    // The program's look, with label and title fonts derived from `base`.
    static PlotStyle standard(const QFont& base);
};

struct PlotTick {
    double value = 0.0;
    double pixel = 0.0;
    int level = 0; // 0 major, 1 mid (2 and 5 of a decade), 2 minor
    QString label; // empty: a line without a label
};

// Where everything goes for one rectangle: the plot area and the scale of each axis.
struct PlotLayout {
    QRectF rect;
    QRectF area;
    std::vector<PlotTick> xTicks;
    std::vector<PlotTick> yTicks;
    bool valid = false; // both axes consistent and room for an area
};

// Paints a PlotModel into any painter: the static frame (background, grid, scales, titles) and
// the content above it (curves, marks, readout). The widget caches the frame; PNG export and
// printing paint both in one go.
class PlotPainter {
public:
    explicit PlotPainter(PlotStyle style);

    const PlotStyle& style() const { return m_style; }
    void setStyle(const PlotStyle& style) { m_style = style; }

    PlotLayout layout(const PlotModel& model, const QRectF& rect) const;
    void paintFrame(QPainter& p, const PlotModel& model, const PlotLayout& layout) const;
    // Curves, then marks and the readout above them.
    void paintContent(QPainter& p, const PlotModel& model, const PlotLayout& layout) const;
    // The curves of the given series, in that order.
    void paintCurves(QPainter& p, const PlotModel& model, const PlotLayout& layout, std::span<const int> numbers) const;
    // Marks and the readout.
    void paintOverlay(QPainter& p, const PlotModel& model, const PlotLayout& layout) const;
    void paint(QPainter& p, const PlotModel& model, const QRectF& rect) const;

private:
    void paintSeries(QPainter& p, const PlotSeries& series, const PlotMapping& map) const;
    void paintMark(QPainter& p, const PlotMark& mark, const PlotMapping& map) const;
    void paintReadout(QPainter& p, const QString& text, const QRectF& area) const;

    PlotStyle m_style;
    // Mapped points, reused from paint to paint.
    mutable std::vector<QPointF> m_points;
    mutable std::vector<QLineF> m_segments;
    mutable std::vector<QRectF> m_rects;
};

// Tick values of one axis for a span of `lengthPx` pixels; labels at least `minGapPx` apart.
// Logarithmic scales: lines at every multiple of each decade, labels at 1, 2 and 5 where they
// fit ("20", "500", "1k", "20k"). Linear scales: a step of 1, 2, 2.5 or 5 times a power of ten
// (or 15, 30, 45, 90 for a scale whose ends are multiples of them), preferring steps that land
// on both ends.
std::vector<PlotTick> plotTicks(const PlotAxis& axis, double lengthPx, double minGapPx);
// "20", "1k", "2.5k", "0.5" for a logarithmic scale; fixed decimals of the step on a linear one.
QString plotTickLabel(double value, bool log, double step);

} // namespace kvr::gui
