#include "plot/plotmodel.h"

#include <cmath>

#include "util/texts.h"

namespace kvr::gui {

// ---- PlotAxis ------------------------------------------------------------------------------

bool PlotAxis::consistent() const
{
    if (!std::isfinite(Min) || !std::isfinite(Max) || !(Min < Max)) return false;
    return !LogScale || Min > 0.0;
}

QString PlotAxis::caption() const
{
    return consistent() ? title : QString::fromUtf8(core::texts::kPlotLimitsInconsistent);
}

// ---- PlotMapping ---------------------------------------------------------------------------

PlotMapping::PlotMapping(const PlotAxis& x, const PlotAxis& y, const QRectF& area)
    : m_area(area), m_logX(x.LogScale), m_logY(y.LogScale)
{
    m_valid = x.consistent() && y.consistent() && area.width() > 0 && area.height() > 0;
    if (!m_valid) return;
    const double x0 = m_logX ? std::log10(x.Min) : x.Min;
    const double x1 = m_logX ? std::log10(x.Max) : x.Max;
    const double y0 = m_logY ? std::log10(y.Min) : y.Min;
    const double y1 = m_logY ? std::log10(y.Max) : y.Max;
    m_x0 = x0;
    m_xScale = area.width() / (x1 - x0);
    m_y0 = y0;
    m_yScale = area.height() / (y1 - y0);
}

double PlotMapping::toPixelX(double x) const
{
    if (!m_valid) return NAN;
    const double t = m_logX ? std::log10(x) : x;
    return m_area.left() + (t - m_x0) * m_xScale;
}

double PlotMapping::toPixelY(double y) const
{
    if (!m_valid) return NAN;
    const double t = m_logY ? std::log10(y) : y;
    return m_area.bottom() - (t - m_y0) * m_yScale;
}

double PlotMapping::toDataX(double px) const
{
    if (!m_valid) return NAN;
    const double t = m_x0 + (px - m_area.left()) / m_xScale;
    return m_logX ? std::pow(10.0, t) : t;
}

double PlotMapping::toDataY(double py) const
{
    if (!m_valid) return NAN;
    const double t = m_y0 + (m_area.bottom() - py) / m_yScale;
    return m_logY ? std::pow(10.0, t) : t;
}

// ---- PlotModel -----------------------------------------------------------------------------

namespace {

QColor defaultColour(int number)
{
    static const QColor palette[] = {plotcolour::kLime, plotcolour::kYellow, plotcolour::kFuchsia, plotcolour::kAqua,
                                     plotcolour::kRed};
    return palette[(number - 1) % 5];
}

} // namespace

PlotModel::PlotModel()
{
    m_x.Min = 20.0;
    m_x.Max = 20000.0;
    m_x.LogScale = true;
    m_y.Min = -20.0;
    m_y.Max = 20.0;
}

void PlotModel::changed(PlotChange what)
{
    m_pending = m_pending | what;
    if (!m_plotting) return;
    const PlotChange c = m_pending;
    m_pending = PlotChange::None;
    ++m_repaintRequests;
    if (m_repaint) m_repaint(c);
}

void PlotModel::setPlotting(bool on)
{
    m_plotting = on;
    // Turning it on repaints once, whatever was held (or nothing was).
    if (on) changed(PlotChange::None);
}

void PlotModel::setGraphTitle(const QString& title)
{
    if (title == m_graphTitle) return;
    m_graphTitle = title;
    changed(PlotChange::Frame);
}

void PlotModel::setCrossAtZero(bool on)
{
    if (on == m_crossAtZero) return;
    m_crossAtZero = on;
    changed(PlotChange::Frame);
}

void PlotModel::setAxisTitle(PlotAxisId id, const QString& title)
{
    PlotAxis& a = axisRef(id);
    if (a.title == title) return;
    a.title = title;
    changed(PlotChange::Frame);
}

void PlotModel::setAxisMin(PlotAxisId id, double min)
{
    setAxisRange(id, min, axisRef(id).Max);
}

void PlotModel::setAxisMax(PlotAxisId id, double max)
{
    setAxisRange(id, axisRef(id).Min, max);
}

void PlotModel::setAxisRange(PlotAxisId id, double min, double max)
{
    PlotAxis& a = axisRef(id);
    if (a.Min == min && a.Max == max) return;
    a.Min = min;
    a.Max = max;
    changed(PlotChange::All); // the curves move with the scale
}

void PlotModel::setLogScale(PlotAxisId id, bool on)
{
    PlotAxis& a = axisRef(id);
    if (a.LogScale == on) return;
    a.LogScale = on;
    changed(PlotChange::All);
}

void PlotModel::setGridlines(PlotAxisId id, bool on)
{
    PlotAxis& a = axisRef(id);
    if (a.Gridlines == on) return;
    a.Gridlines = on;
    changed(PlotChange::Frame);
}

PlotSeries& PlotModel::seriesRef(int number)
{
    auto it = m_series.find(number);
    if (it != m_series.end()) return it->second;
    PlotSeries s;
    s.colour = defaultColour(number);
    m_order.push_back(number);
    return m_series.emplace(number, std::move(s)).first->second;
}

const PlotSeries& PlotModel::series(int number)
{
    static const PlotSeries none;
    if (number <= 0) return none;
    return seriesRef(number);
}

const PlotSeries* PlotModel::findSeries(int number) const
{
    auto it = m_series.find(number);
    return it == m_series.end() ? nullptr : &it->second;
}

void PlotModel::clearSeries(int number)
{
    if (number <= 0) return;
    PlotSeries& s = seriesRef(number);
    if (s.points.empty()) return;
    ++s.revision;
    s.points.clear(); // keeps the capacity for the rewrite that follows
    changed(PlotChange::Content);
}

void PlotModel::addPoint(int number, double x, double y)
{
    if (number <= 0 || std::isnan(x)) return;
    PlotSeries& series = seriesRef(number);
    ++series.revision;
    auto& points = series.points;
    if (points.empty() || points.back().x < x) {
        points.push_back({x, y});
    } else {
        auto it =
            std::lower_bound(points.begin(), points.end(), x, [](const PlotPoint& p, double v) { return p.x < v; });
        if (it != points.end() && it->x == x)
            it->y = y;
        else
            points.insert(it, {x, y});
    }
    changed(PlotChange::Content);
}

void PlotModel::normalise(std::vector<PlotPoint>& points)
{
    std::erase_if(points, [](const PlotPoint& p) { return std::isnan(p.x); });
    std::stable_sort(points.begin(), points.end(), [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; });
    // Of points at one x the later one stands, as a second addPoint there would leave it.
    size_t out = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (out > 0 && points[out - 1].x == points[i].x)
            points[out - 1].y = points[i].y;
        else
            points[out++] = points[i];
    }
    points.resize(out);
}

void PlotModel::setColour(int number, const QColor& colour)
{
    if (number <= 0) return;
    PlotSeries& s = seriesRef(number);
    if (s.colour == colour) return;
    s.colour = colour;
    ++s.revision;
    changed(PlotChange::Content);
}

void PlotModel::setLineStyle(int number, PlotLineStyle style)
{
    if (number <= 0) return;
    PlotSeries& s = seriesRef(number);
    if (s.style == style) return;
    s.style = style;
    ++s.revision;
    changed(PlotChange::Content);
}

void PlotModel::setSymbols(int number, bool on)
{
    if (number <= 0) return;
    PlotSeries& s = seriesRef(number);
    if (s.symbols == on) return;
    s.symbols = on;
    ++s.revision;
    changed(PlotChange::Content);
}

void PlotModel::setVisible(int number, bool on)
{
    if (number <= 0) return;
    PlotSeries& s = seriesRef(number);
    if (s.visible == on) return;
    s.visible = on;
    ++s.revision;
    changed(PlotChange::Content);
}

void PlotModel::bringToFront(int number)
{
    if (number <= 0) return;
    seriesRef(number);
    if (m_order.back() == number) return;
    std::erase(m_order, number);
    m_order.push_back(number);
    changed(PlotChange::Content);
}

std::optional<double> PlotModel::valueAt(int number, double x) const
{
    const PlotSeries* s = findSeries(number);
    if (!s || s->points.empty() || std::isnan(x)) return std::nullopt;
    const auto& pts = s->points;
    if (x < pts.front().x || x > pts.back().x) return std::nullopt;
    auto it = std::lower_bound(pts.begin(), pts.end(), x, [](const PlotPoint& p, double v) { return p.x < v; });
    if (it->x == x) return it->y;
    const PlotPoint& b = *it;
    const PlotPoint& a = *(it - 1);
    const bool log = m_x.LogScale && a.x > 0.0;
    const double t = log ? std::log(x / a.x) / std::log(b.x / a.x) : (x - a.x) / (b.x - a.x);
    return a.y + t * (b.y - a.y);
}

std::optional<PlotNearest> PlotModel::nearest(int number, double mouseX) const
{
    const PlotSeries* s = findSeries(number);
    if (!s || s->points.empty() || !m_x.contains(mouseX)) return std::nullopt;
    const auto& pts = s->points;
    auto it = std::lower_bound(pts.begin(), pts.end(), mouseX, [](const PlotPoint& p, double v) { return p.x < v; });
    if (it == pts.end()) {
        --it;
    } else if (it != pts.begin() && it->x != mouseX) {
        const auto before = it - 1;
        if (!(mouseX > (before->x + it->x) / 2.0)) it = before;
    }
    return PlotNearest{static_cast<int>(it - pts.begin()), it->x, it->y};
}

const PlotMark* PlotModel::mark(int number) const
{
    auto it = m_marks.find(number);
    return it == m_marks.end() ? nullptr : &it->second;
}

void PlotModel::setMark(int number, const PlotMark& mark)
{
    m_marks[number] = mark;
    changed(PlotChange::Content);
}

void PlotModel::removeMark(int number)
{
    if (m_marks.erase(number) != 0) changed(PlotChange::Content);
}

void PlotModel::setShowMarks(bool on)
{
    if (m_showMarks == on) return;
    m_showMarks = on;
    changed(PlotChange::Content);
}

void PlotModel::setReadout(const QString& text)
{
    if (m_readout == text) return;
    m_readout = text;
    changed(PlotChange::Content);
}

} // namespace kvr::gui
