#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace kvr::gui {

// The colours the editors name, as the processor's users know them.
namespace plotcolour {
inline const QColor kLime{0x00, 0xff, 0x00};
inline const QColor kYellow{0xff, 0xff, 0x00};
inline const QColor kFuchsia{0xff, 0x00, 0xff};
inline const QColor kAqua{0x00, 0xff, 0xff};
inline const QColor kRed{0xff, 0x00, 0x00};
inline const QColor kWhite{0xff, 0xff, 0xff};
inline const QColor kBlack{0x00, 0x00, 0x00};
} // namespace plotcolour

struct PlotAxis {
    QString title;
    double Min = 0.0;
    double Max = 1.0;
    bool LogScale = false;
    bool Gridlines = true;

    // Limits a scale can be drawn with: Min below Max, both finite, and above zero on a
    // logarithmic scale.
    bool consistent() const;
    // The title, or the notice that the limits cannot be drawn.
    QString caption() const;
    bool contains(double v) const { return consistent() && v >= Min && v <= Max; }
};

enum class PlotAxisId { X, Y };
enum class PlotLineStyle { Solid, Dotted };

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

// One numbered curve: points in ascending x, at most one point per x.
struct PlotSeries {
    std::vector<PlotPoint> points;
    QColor colour;
    PlotLineStyle style = PlotLineStyle::Solid;
    bool symbols = false;
    bool visible = true;
    // Counts the changes of points and looks, so a view can tell whether its drawing is stale.
    unsigned long long revision = 0;
};

enum class PlotMarkKind : int {
    VerticalLine = 0,   // at x1, with caption
    HorizontalLine = 1, // at y1
    Square = 2,         // centred on (x1, y1), half-side = size in pixels, caption at its corner
    DottedLine = 3,     // from (x1, y1) to (x2, y2), with caption
};

struct PlotMark {
    QColor colour = plotcolour::kWhite;
    PlotMarkKind kind = PlotMarkKind::VerticalLine;
    QString caption;
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    double size = 3.0;
};

// The point of a series nearest the mouse, with its index in the series.
struct PlotNearest {
    int index = 0;
    double x = 0.0;
    double y = 0.0;
};

// Data coordinates <-> pixels for one plot area; logarithmic where the axis is.
class PlotMapping {
public:
    PlotMapping(const PlotAxis& x, const PlotAxis& y, const QRectF& area);

    // False when either axis has inconsistent limits or the area is empty: nothing maps.
    bool valid() const { return m_valid; }
    const QRectF& area() const { return m_area; }
    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double toDataX(double px) const;
    double toDataY(double py) const;

private:
    QRectF m_area;
    bool m_valid = false;
    bool m_logX = false;
    bool m_logY = false;
    double m_x0 = 0, m_xScale = 0; // pixel = left + (t(x) - x0) * scale
    double m_y0 = 0, m_yScale = 0;
};

// What a change touched: the static layer (axes, titles) or the curves and marks above it.
enum class PlotChange : unsigned { None = 0, Frame = 1, Content = 2, All = 3 };
inline PlotChange operator|(PlotChange a, PlotChange b)
{
    return PlotChange(unsigned(a) | unsigned(b));
}
inline bool any(PlotChange c, PlotChange bit)
{
    return (unsigned(c) & unsigned(bit)) != 0;
}

// The response plot's data: axes, numbered series and marks, titles, and the Plotting switch
// that holds repaints. Every change asks for one repaint through the callback unless Plotting
// is off; turning Plotting on asks for exactly one.
class PlotModel {
public:
    PlotModel();

    // ---- repaint control
    using RepaintRequest = std::function<void(PlotChange)>;
    void setRepaintRequest(RepaintRequest request) { m_repaint = std::move(request); }
    bool Plotting() const { return m_plotting; }
    void setPlotting(bool on);
    // Repaint requests issued so far (a test observes batching through it).
    int repaintRequests() const { return m_repaintRequests; }
    // Plotting off for a scope; the previous state comes back at its end (one repaint if on).
    class Hold {
    public:
        explicit Hold(PlotModel& model) : m_model(model), m_was(model.Plotting()) { model.setPlotting(false); }
        ~Hold() { m_model.setPlotting(m_was); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        PlotModel& m_model;
        bool m_was;
    };

    // ---- titles and axes
    const QString& GraphTitle() const { return m_graphTitle; }
    void setGraphTitle(const QString& title);
    bool CrossAtZero() const { return m_crossAtZero; }
    void setCrossAtZero(bool on);
    const PlotAxis& axis(PlotAxisId id) const { return id == PlotAxisId::X ? m_x : m_y; }
    const PlotAxis& xAxis() const { return m_x; }
    const PlotAxis& yAxis() const { return m_y; }
    void setAxisTitle(PlotAxisId id, const QString& title);
    void setAxisMin(PlotAxisId id, double min);
    void setAxisMax(PlotAxisId id, double max);
    void setAxisRange(PlotAxisId id, double min, double max);
    void setLogScale(PlotAxisId id, bool on);
    void setGridlines(PlotAxisId id, bool on);
    bool inRanges(double x, double y) const { return m_x.contains(x) && m_y.contains(y); }

    // ---- series (numbers from 1; asking for a new number creates it)
    bool hasSeries(int number) const { return m_series.count(number) != 0; }
    const PlotSeries& series(int number);
    // Series that exist, in drawing order (the last drawn on top).
    const std::vector<int>& drawOrder() const { return m_order; }
    const PlotSeries* findSeries(int number) const;
    void clearSeries(int number);
    // Adds a point in x order; a point at an x the series holds replaces that point's y.
    void addPoint(int number, double x, double y);
    // Rewrites the whole curve in one go, reusing its storage: the common case of the same
    // ascending x grid costs one pass. Unsorted input or repeated x are handled as addPoint
    // would (later y wins). Takes any two ranges of numbers (the grid's int frequencies, float
    // levels, doubles); extra values of the longer range are ignored.
    template <typename Xs, typename Ys> void setPoints(int number, const Xs& xs, const Ys& ys);
    void setColour(int number, const QColor& colour);
    void setLineStyle(int number, PlotLineStyle style);
    void setSymbols(int number, bool on);
    void setVisible(int number, bool on);
    // Draws the series last, above the others.
    void bringToFront(int number);
    // The curve's value at x as drawn: straight between neighbouring points (on the axis's own
    // scale); none outside the curve's x span or for an empty series.
    std::optional<double> valueAt(int number, double x) const;
    // The point nearest the mouse's x: the first point whose x is not below mouseX, or the one
    // before it when mouseX differs from that point's x and is not above the midpoint of the
    // two. Past the last point, the last point. None for an empty or missing series, or a
    // mouseX outside the X axis range.
    std::optional<PlotNearest> nearest(int number, double mouseX) const;

    // ---- marks
    const std::map<int, PlotMark>& marks() const { return m_marks; }
    const PlotMark* mark(int number) const;
    // Adds, or replaces the mark of that number.
    void setMark(int number, const PlotMark& mark);
    void removeMark(int number);
    bool ShowMarks() const { return m_showMarks; }
    void setShowMarks(bool on);

    // ---- the readout written on the plot (repeats the window's status text)
    const QString& readout() const { return m_readout; }
    void setReadout(const QString& text);

    // Mapping for a plot area of this model's axes.
    PlotMapping mapping(const QRectF& area) const { return PlotMapping(m_x, m_y, area); }

private:
    PlotAxis& axisRef(PlotAxisId id) { return id == PlotAxisId::X ? m_x : m_y; }
    PlotSeries& seriesRef(int number);
    void changed(PlotChange what);
    static void normalise(std::vector<PlotPoint>& points);

    RepaintRequest m_repaint;
    bool m_plotting = true;
    PlotChange m_pending = PlotChange::None;
    int m_repaintRequests = 0;

    QString m_graphTitle;
    bool m_crossAtZero = true;
    PlotAxis m_x;
    PlotAxis m_y;
    std::map<int, PlotSeries> m_series;
    std::vector<int> m_order;
    std::map<int, PlotMark> m_marks;
    bool m_showMarks = true;
    QString m_readout;
};

template <typename Xs, typename Ys> void PlotModel::setPoints(int number, const Xs& xs, const Ys& ys)
{
    if (number <= 0) return;
    PlotSeries& series = seriesRef(number);
    ++series.revision;
    auto& points = series.points;
    const size_t n = std::min<size_t>(std::size(xs), std::size(ys));
    points.resize(n); // keeps capacity: no allocation when the curve is rewritten
    bool ordered = true;
    auto xi = std::begin(xs);
    auto yi = std::begin(ys);
    for (size_t i = 0; i < n; ++i, ++xi, ++yi) {
        points[i].x = static_cast<double>(*xi);
        points[i].y = static_cast<double>(*yi);
        if (i > 0 && !(points[i - 1].x < points[i].x)) ordered = false;
    }
    if (n > 0 && std::isnan(points[0].x)) ordered = false;
    if (!ordered) normalise(points);
    changed(PlotChange::Content);
}

} // namespace kvr::gui
