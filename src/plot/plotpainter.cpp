#include "plot/plotpainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace kvr::gui {

PlotStyle PlotStyle::standard(const QFont& base)
{
    PlotStyle s;
    s.labelFont = base;
    s.labelFont.setPointSizeF(std::max(7.0, base.pointSizeF() - 1.0));
    s.titleFont = base;
    s.titleFont.setBold(true);
    s.background = QColor(0x15, 0x19, 0x1e);
    s.area = QColor(0x07, 0x09, 0x0c);
    s.border = QColor(0x4a, 0x55, 0x61);
    s.gridMajor = QColor(0x3b, 0x45, 0x50);
    s.gridMid = QColor(0x26, 0x2d, 0x35);
    s.gridMinor = QColor(0x19, 0x1e, 0x24);
    s.zeroLine = QColor(0x64, 0x71, 0x7e);
    s.label = QColor(0xa4, 0xae, 0xb9);
    s.title = QColor(0xdc, 0xe2, 0xe8);
    s.readoutBack = QColor(0x15, 0x19, 0x1e, 0xd8);
    return s;
}

namespace {

constexpr double kPad = 6.0;      // outer padding
constexpr double kLabelGap = 5.0; // scale labels to the area

// Lines of one device-pixel multiple land on whole device pixels, so they stay crisp at any
// device pixel ratio.
struct PixelGrid {
    double dpr = 1.0;
    double devicePixels(double logicalWidth) const { return std::max(1.0, std::round(logicalWidth * dpr)); }
    // The line width as drawn: whole device pixels.
    double width(double logicalWidth = 1.0) const { return devicePixels(logicalWidth) / dpr; }
    // Where a line of that width is centred so that both its edges fall on pixel boundaries.
    double at(double v, double logicalWidth = 1.0) const
    {
        const double d = v * dpr;
        const double snapped = (int(devicePixels(logicalWidth)) % 2 == 1) ? std::floor(d) + 0.5 : std::round(d);
        return snapped / dpr;
    }
};

double relativeLuminance(const QColor& c)
{
    auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}

// An editor's colour as drawn: a colour that would vanish on the dark area (black marks) is
// lifted until it reads, keeping its hue.
QColor readable(const QColor& c, const QColor& background)
{
    const double a = relativeLuminance(c), b = relativeLuminance(background);
    const double contrast = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    if (contrast >= 3.0) return c;
    const float hue = c.hslHueF() < 0 ? 0.0f : c.hslHueF();
    return QColor::fromHslF(hue, c.hslSaturationF(), 0.62f, c.alphaF());
}

struct StepCandidate {
    double step;
    bool angular; // 15, 30, 45, 90: only for scales whose ends they land on
};

std::vector<StepCandidate> linearStepCandidates(double span)
{
    std::vector<StepCandidate> steps;
    const double top = std::pow(10.0, std::ceil(std::log10(span)) + 1);
    for (double d = top / 1e6; d <= top; d *= 10)
        for (double m : {1.0, 2.0, 2.5, 5.0})
            steps.push_back({m * d, false});
    for (double s : {15.0, 30.0, 45.0, 90.0})
        steps.push_back({s, true});
    std::sort(steps.begin(), steps.end(), [](auto a, auto b) { return a.step < b.step; });
    return steps;
}

bool landsOn(double v, double step)
{
    const double k = v / step;
    return std::abs(k - std::round(k)) < 1e-9 * std::max(1.0, std::abs(k));
}

double roundToStep(double v, double step)
{
    const double r = std::round(v / step) * step;
    return std::abs(r) < step * 1e-9 ? 0.0 : r;
}

} // namespace

QString plotTickLabel(double value, bool log, double step)
{
    if (log) {
        if (value >= 1000.0) return QString::number(value / 1000.0, 'g', 4) + QLatin1Char('k');
        return QString::number(value, 'g', 4);
    }
    int decimals = 0;
    for (double s = step; decimals < 6 && !landsOn(s, 1.0); s *= 10)
        ++decimals;
    const QString text = QString::number(value, 'f', decimals);
    return text == QString(QLatin1Char('-') + QString::number(0.0, 'f', decimals)) ? text.mid(1) : text;
}

std::vector<PlotTick> plotTicks(const PlotAxis& axis, double lengthPx, double minGapPx)
{
    std::vector<PlotTick> ticks;
    if (!axis.consistent() || lengthPx <= 0) return ticks;
    if (axis.LogScale) {
        const double l0 = std::log10(axis.Min), l1 = std::log10(axis.Max);
        const double perDecade = lengthPx / (l1 - l0);
        const int firstDecade = int(std::floor(l0)), lastDecade = int(std::floor(l1));
        for (int d = firstDecade; d <= lastDecade && ticks.size() < 400; ++d) {
            const double decade = std::pow(10.0, d);
            for (int m = 1; m <= 9; ++m) {
                // Too many decades for the width: keep the decade lines only.
                if (m > 1 && perDecade < 40) break;
                const double v = m * decade;
                if (v < axis.Min * (1 - 1e-12) || v > axis.Max * (1 + 1e-12)) continue;
                PlotTick t;
                t.value = v;
                t.pixel = (std::log10(v) - l0) * perDecade;
                t.level = m == 1 ? 0 : (m == 2 || m == 5) ? 1 : 2;
                if (t.level < 2) t.label = plotTickLabel(v, true, 0);
                ticks.push_back(t);
            }
        }
        return ticks;
    }
    const double span = axis.Max - axis.Min;
    const auto candidates = linearStepCandidates(span);
    auto fits = [&](double step) { return step / span * lengthPx >= minGapPx && span / step <= 200; };
    auto onEnds = [&](double step) { return landsOn(axis.Min, step) && landsOn(axis.Max, step); };
    // The finest plain step that leaves room for the labels...
    double plain = 0;
    for (const StepCandidate& c : candidates)
        if (!c.angular && fits(c.step)) {
            plain = c.step;
            break;
        }
    if (plain == 0) plain = candidates.back().step;
    // ...unless a step not much coarser lands on both ends, which labels the ends too.
    double chosen = plain;
    for (const StepCandidate& c : candidates)
        if (fits(c.step) && c.step <= plain * 2.5 && onEnds(c.step)) {
            chosen = c.step;
            break;
        }
    const double first = std::ceil(axis.Min / chosen - 1e-9) * chosen;
    for (int i = 0; i <= 200; ++i) {
        const double v = roundToStep(first + i * chosen, chosen);
        if (v > axis.Max + chosen * 1e-9) break;
        PlotTick t;
        t.value = v;
        t.pixel = (v - axis.Min) / span * lengthPx;
        t.level = 0;
        t.label = plotTickLabel(v, false, chosen);
        ticks.push_back(t);
    }
    return ticks;
}

PlotPainter::PlotPainter(PlotStyle style) : m_style(std::move(style)) {}

PlotLayout PlotPainter::layout(const PlotModel& model, const QRectF& rect) const
{
    PlotLayout l;
    l.rect = rect;
    const QFontMetricsF label(m_style.labelFont);
    const QFontMetricsF title(m_style.titleFont);

    const double top = rect.top() + kPad + (model.GraphTitle().isEmpty() ? label.height() * 0.5 : title.height() + 4);
    // An axis without a title gives its title's room to the area.
    const double xTitle = model.xAxis().caption().isEmpty() ? 0.0 : title.height() + 2;
    const double yTitle = model.yAxis().caption().isEmpty() ? 0.0 : title.height() + 4;
    const double bottom = rect.bottom() - kPad - xTitle - label.height() - kLabelGap;
    const double height = bottom - top;

    const PlotAxis& x = model.xAxis();
    const PlotAxis& y = model.yAxis();
    l.yTicks = plotTicks(y, height, label.height() * 2.0);
    // The label column keeps its width for the common scales, so switching views does not
    // shift the area.
    double labelWidth = label.horizontalAdvance(QStringLiteral("-180"));
    for (const PlotTick& t : l.yTicks)
        labelWidth = std::max(labelWidth, label.horizontalAdvance(t.label));
    const double left = rect.left() + kPad + yTitle + labelWidth + kLabelGap;
    const double right = rect.right() - kPad - label.horizontalAdvance(QStringLiteral("20k")) / 2;
    l.area = QRectF(QPointF(std::round(left), std::round(top)), QPointF(std::round(right), std::round(bottom)));
    if (l.area.width() < 10 || l.area.height() < 10) return l;

    const double xGap = label.horizontalAdvance(QStringLiteral("-00.00")) + 12;
    l.xTicks = plotTicks(x, l.area.width(), xGap);
    for (PlotTick& t : l.xTicks)
        t.pixel = l.area.left() + t.pixel;
    for (PlotTick& t : l.yTicks)
        t.pixel = l.area.bottom() - t.pixel * l.area.height() / height;

    // Labels that would touch a neighbour give way: decades keep theirs, 2 and 5 fill between.
    for (int level = 0; level <= 1; ++level) {
        std::vector<std::pair<double, double>> taken;
        for (const PlotTick& t : l.xTicks)
            if (!t.label.isEmpty() && t.level < level) {
                const double w = label.horizontalAdvance(t.label);
                taken.push_back({t.pixel - w / 2, t.pixel + w / 2});
            }
        for (PlotTick& t : l.xTicks) {
            if (t.label.isEmpty() || t.level != level) continue;
            const double w = label.horizontalAdvance(t.label);
            const double a = t.pixel - w / 2 - 8, b = t.pixel + w / 2 + 8;
            const bool clash =
                std::any_of(taken.begin(), taken.end(), [&](auto r) { return a < r.second && b > r.first; });
            if (clash)
                t.label.clear();
            else
                taken.push_back({t.pixel - w / 2, t.pixel + w / 2});
        }
    }
    l.valid = x.consistent() && y.consistent();
    return l;
}

void PlotPainter::paintFrame(QPainter& p, const PlotModel& model, const PlotLayout& l) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(l.rect, m_style.background);
    if (l.area.width() < 10 || l.area.height() < 10) {
        p.restore();
        return;
    }
    const PixelGrid px{p.device() ? p.device()->devicePixelRatioF() : 1.0};
    const QRectF area = l.area;
    p.fillRect(area, m_style.area);

    const double lw = px.width();
    auto gridPen = [&](int level) {
        const QColor& c = level == 0 ? m_style.gridMajor : level == 1 ? m_style.gridMid : m_style.gridMinor;
        return QPen(c, lw, Qt::SolidLine, Qt::FlatCap);
    };
    const PlotAxis& x = model.xAxis();
    const PlotAxis& y = model.yAxis();
    // Finer lines first, so decades are drawn over them.
    for (int level = 2; level >= 0; --level) {
        p.setPen(gridPen(level));
        if (x.Gridlines)
            for (const PlotTick& t : l.xTicks)
                if (t.level == level) {
                    const double v = px.at(t.pixel);
                    p.drawLine(QPointF(v, area.top()), QPointF(v, area.bottom()));
                }
        if (y.Gridlines)
            for (const PlotTick& t : l.yTicks)
                if (t.level == level) {
                    const double v = px.at(t.pixel);
                    p.drawLine(QPointF(area.left(), v), QPointF(area.right(), v));
                }
    }
    if (model.CrossAtZero() && l.valid) {
        const PlotMapping map = model.mapping(area);
        p.setPen(QPen(m_style.zeroLine, lw, Qt::SolidLine, Qt::FlatCap));
        if (!y.LogScale && y.Min < 0 && y.Max > 0) {
            const double v = px.at(map.toPixelY(0));
            p.drawLine(QPointF(area.left(), v), QPointF(area.right(), v));
        }
        if (!x.LogScale && x.Min < 0 && x.Max > 0) {
            const double v = px.at(map.toPixelX(0));
            p.drawLine(QPointF(v, area.top()), QPointF(v, area.bottom()));
        }
    }
    p.setPen(QPen(m_style.border, lw, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(
        QRectF(QPointF(px.at(area.left()), px.at(area.top())), QPointF(px.at(area.right()), px.at(area.bottom()))));

    // Scale labels.
    p.setFont(m_style.labelFont);
    p.setPen(m_style.label);
    const QFontMetricsF fm(m_style.labelFont);
    for (const PlotTick& t : l.xTicks) {
        if (t.label.isEmpty()) continue;
        const double w = fm.horizontalAdvance(t.label);
        double left = t.pixel - w / 2;
        left = std::clamp(left, l.rect.left() + 1, l.rect.right() - w - 1);
        p.drawText(QPointF(left, area.bottom() + kLabelGap + fm.ascent()), t.label);
    }
    for (const PlotTick& t : l.yTicks) {
        if (t.label.isEmpty()) continue;
        const double w = fm.horizontalAdvance(t.label);
        const double base = std::clamp(t.pixel + fm.ascent() / 2 - 1, l.rect.top() + fm.ascent(), l.rect.bottom() - 1);
        p.drawText(QPointF(area.left() - kLabelGap - w, base), t.label);
    }

    // Titles: the graph's above the area, X below its labels, Y turned along the left edge.
    const QFontMetricsF tm(m_style.titleFont);
    p.setFont(m_style.titleFont);
    p.setPen(m_style.title);
    if (!model.GraphTitle().isEmpty())
        p.drawText(QRectF(area.left(), l.rect.top() + kPad - 2, area.width(), tm.height() + 2),
                   Qt::AlignHCenter | Qt::AlignTop, model.GraphTitle());
    const QString xTitle = x.caption();
    const QString yTitle = y.caption();
    p.setPen(x.consistent() ? m_style.title : plotcolour::kRed);
    p.drawText(QRectF(area.left(), l.rect.bottom() - kPad - tm.height(), area.width(), tm.height()),
               Qt::AlignHCenter | Qt::AlignBottom, xTitle);
    p.save();
    p.setPen(y.consistent() ? m_style.title : plotcolour::kRed);
    p.translate(l.rect.left() + kPad, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, 0, area.height(), tm.height()), Qt::AlignHCenter | Qt::AlignTop, yTitle);
    p.restore();
    p.restore();
}

void PlotPainter::paintCurves(QPainter& p, const PlotModel& model, const PlotLayout& l,
                              std::span<const int> numbers) const
{
    if (!l.valid || numbers.empty()) return;
    const PlotMapping map = model.mapping(l.area);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setClipRect(l.area.adjusted(0.5, 0.5, -0.5, -0.5));
    for (int number : numbers) {
        const PlotSeries* s = model.findSeries(number);
        if (s && s->visible && !s->points.empty()) paintSeries(p, *s, map);
    }
    p.restore();
}

void PlotPainter::paintOverlay(QPainter& p, const PlotModel& model, const PlotLayout& l) const
{
    if (l.valid && model.ShowMarks() && !model.marks().empty()) {
        const PlotMapping map = model.mapping(l.area);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipRect(l.area.adjusted(0.5, 0.5, -0.5, -0.5));
        for (const auto& [number, mark] : model.marks())
            paintMark(p, mark, map);
        p.restore();
    }
    if (!model.readout().isEmpty() && l.area.width() > 0) paintReadout(p, model.readout(), l.area);
}

void PlotPainter::paintContent(QPainter& p, const PlotModel& model, const PlotLayout& l) const
{
    paintCurves(p, model, l, model.drawOrder());
    paintOverlay(p, model, l);
}

void PlotPainter::paint(QPainter& p, const PlotModel& model, const QRectF& rect) const
{
    const PlotLayout l = layout(model, rect);
    paintFrame(p, model, l);
    paintContent(p, model, l);
}

void PlotPainter::paintSeries(QPainter& p, const PlotSeries& s, const PlotMapping& map) const
{
    // Drawn as separate segments with square caps: the raster engine draws those on its fast
    // thick-line path (a polyline of that width goes through the general stroker, several times
    // slower); the caps overlap where segments meet, so bends stay closed.
    QPen pen(readable(s.colour, m_style.area), m_style.curveWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    if (s.style == PlotLineStyle::Dotted) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({1.0, 2.0});
    }
    // Far outside the area a point only sets the slope of the line leaving it; keep the numbers
    // small for the rasteriser.
    const QRectF a = map.area();
    const double lo = a.top() - 4 * a.height(), hi = a.bottom() + 4 * a.height();
    m_points.clear();
    m_segments.clear();
    m_points.reserve(s.points.size());
    m_segments.reserve(s.points.size());
    bool joined = false; // the previous point exists (no gap before this one)
    for (const PlotPoint& pt : s.points) {
        const double x = map.toPixelX(pt.x);
        const double y = map.toPixelY(pt.y);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            joined = false; // a gap in the curve
            continue;
        }
        const QPointF q(x, std::clamp(y, lo, hi));
        if (joined) m_segments.emplace_back(m_points.back(), q);
        m_points.push_back(q);
        joined = true;
    }
    if (s.symbols) {
        m_rects.clear();
        for (const QPointF& q : m_points)
            m_rects.emplace_back(q.x() - 2, q.y() - 2, 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(pen.color());
        p.drawRects(m_rects.data(), int(m_rects.size()));
        p.setBrush(Qt::NoBrush);
    }
    p.setPen(pen);
    if (!m_segments.empty()) p.drawLines(m_segments.data(), int(m_segments.size()));
}

void PlotPainter::paintMark(QPainter& p, const PlotMark& m, const PlotMapping& map) const
{
    const QColor c = readable(m.colour, m_style.area);
    const PixelGrid px{p.device() ? p.device()->devicePixelRatioF() : 1.0};
    const double lw = m_style.markWidth;
    QPen pen(c, px.width(lw), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const QRectF a = map.area();
    const QFontMetricsF fm(m_style.labelFont);
    p.setFont(m_style.labelFont);
    p.setBrush(Qt::NoBrush);
    auto caption = [&](QPointF at) {
        if (m.caption.isEmpty()) return;
        const double w = fm.horizontalAdvance(m.caption);
        // Kept inside the area so the clip does not cut it.
        at.setX(std::clamp(at.x(), a.left() + 2, a.right() - w - 2));
        at.setY(std::clamp(at.y(), a.top() + fm.ascent() + 1, a.bottom() - fm.descent() - 1));
        p.setPen(c);
        p.drawText(at, m.caption);
    };
    // Lines along an axis sit on whole pixels, so they stay crisp.
    switch (m.kind) {
    case PlotMarkKind::VerticalLine: {
        const double x = map.toPixelX(m.x1);
        if (!std::isfinite(x)) return;
        p.setPen(pen);
        p.drawLine(QPointF(px.at(x, lw), a.top()), QPointF(px.at(x, lw), a.bottom()));
        caption(QPointF(x + 4, a.top() + fm.ascent() + 2));
        break;
    }
    case PlotMarkKind::HorizontalLine: {
        const double y = map.toPixelY(m.y1);
        if (!std::isfinite(y)) return;
        p.setPen(pen);
        p.drawLine(QPointF(a.left(), px.at(y, lw)), QPointF(a.right(), px.at(y, lw)));
        break;
    }
    case PlotMarkKind::Square: {
        const QPointF centre(map.toPixelX(m.x1), map.toPixelY(m.y1));
        if (!std::isfinite(centre.x()) || !std::isfinite(centre.y())) return;
        const double h = std::max(1.0, m.size);
        const double sw = 1.5;
        pen.setWidthF(px.width(sw));
        p.setPen(pen);
        p.drawRect(QRectF(QPointF(px.at(centre.x() - h, sw), px.at(centre.y() - h, sw)),
                          QPointF(px.at(centre.x() + h, sw), px.at(centre.y() + h, sw))));
        caption(QPointF(centre.x() + h + 3, centre.y() - h - 3));
        break;
    }
    case PlotMarkKind::DottedLine: {
        QPointF a1(map.toPixelX(m.x1), map.toPixelY(m.y1));
        QPointF a2(map.toPixelX(m.x2), map.toPixelY(m.y2));
        if (!std::isfinite(a1.x() + a1.y() + a2.x() + a2.y())) return;
        if (a1.x() == a2.x()) a1.rx() = a2.rx() = px.at(a1.x(), lw);
        if (a1.y() == a2.y()) a1.ry() = a2.ry() = px.at(a1.y(), lw);
        pen.setDashPattern({1.5, 3.0});
        p.setPen(pen);
        p.drawLine(a1, a2);
        const QPointF upper = a1.y() <= a2.y() ? a1 : a2;
        caption(QPointF(upper.x() + 4, upper.y() + fm.ascent() + 2));
        break;
    }
    }
}

void PlotPainter::paintReadout(QPainter& p, const QString& text, const QRectF& area) const
{
    const QFontMetricsF fm(m_style.labelFont);
    const double w = fm.horizontalAdvance(text) + 12, h = fm.height() + 6;
    const QRectF box(area.right() - w - 6, area.top() + 6, w, h);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(m_style.border, 1.0));
    p.setBrush(m_style.readoutBack);
    p.drawRoundedRect(box, 3, 3);
    p.setFont(m_style.labelFont);
    p.setPen(m_style.title);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

} // namespace kvr::gui
