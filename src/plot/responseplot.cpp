#include "plot/responseplot.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kvr::gui {

ResponsePlot::ResponsePlot(QWidget* parent) : QWidget(parent), m_painter(PlotStyle::standard(font()))
{
    applyStyle();
    setObjectName(QStringLiteral("Plot"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::PreventContextMenu); // the right button may drag
    m_model.setRepaintRequest([this](PlotChange change) { onModelChanged(change); });
}

void ResponsePlot::applyStyle()
{
    // Around the area the plot takes the window's colour, so it sits in the window unframed.
    PlotStyle style = PlotStyle::standard(font());
    style.background = palette().color(QPalette::Window);
    m_painter.setStyle(style);
}

void ResponsePlot::onModelChanged(PlotChange change)
{
    if (any(change, PlotChange::Frame)) {
        m_layoutValid = false;
        m_frameValid = false;
    }
    update();
}

const PlotLayout& ResponsePlot::currentLayout() const
{
    if (!m_layoutValid) {
        m_layout = m_painter.layout(m_model, QRectF(rect()));
        m_layoutValid = true;
    }
    return m_layout;
}

QRectF ResponsePlot::plotArea() const
{
    return currentLayout().area;
}

void ResponsePlot::paint(QPainter& p, const QRectF& rect) const
{
    m_painter.paint(p, m_model, rect);
}

QImage ResponsePlot::render(const QSize& logicalSize, qreal devicePixelRatio) const
{
    QImage image(logicalSize * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&image);
    paint(p, QRectF(QPointF(0, 0), QSizeF(logicalSize)));
    return image;
}

void ResponsePlot::setHandCursor(bool on)
{
    if (on == m_hand) return;
    m_hand = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void ResponsePlot::paintEvent(QPaintEvent*)
{
    ++m_paints;
    QPainter p(this);
    paintLayers(p, devicePixelRatioF());
}

void ResponsePlot::paintLayers(QPainter& p, qreal dpr)
{
    if (width() <= 0 || height() <= 0) return;
    const PlotLayout& l = currentLayout();
    if (!m_frameValid || m_frame.devicePixelRatioF() != dpr || m_frame.size() != size() * dpr) {
        m_frame = QPixmap(size() * dpr);
        m_frame.setDevicePixelRatio(dpr);
        QPainter fp(&m_frame);
        m_painter.paintFrame(fp, m_model, l);
        m_frameValid = true;
        ++m_frameGeneration;
    }
    const std::vector<int>& order = m_model.drawOrder();
    const std::span<const int> below(order.data(), order.empty() ? 0 : order.size() - 1);
    m_key.clear();
    for (int n : below)
        if (const PlotSeries* s = m_model.findSeries(n)) m_key.emplace_back(n, s->revision);
    if (m_underGeneration != m_frameGeneration || m_key != m_underKey) {
        m_under = m_frame.copy();
        m_under.setDevicePixelRatio(dpr);
        QPainter up(&m_under);
        m_painter.paintCurves(up, m_model, l, below);
        m_underKey = m_key;
        m_underGeneration = m_frameGeneration;
    }
    p.drawPixmap(0, 0, m_under);
    if (!order.empty()) m_painter.paintCurves(p, m_model, l, std::span<const int>(&order.back(), 1));
    m_painter.paintOverlay(p, m_model, l);
}

void ResponsePlot::resizeEvent(QResizeEvent* event)
{
    m_layoutValid = false;
    m_frameValid = false;
    QWidget::resizeEvent(event);
}

void ResponsePlot::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        applyStyle();
        m_layoutValid = false;
        m_frameValid = false;
        update();
    }
    QWidget::changeEvent(event);
}

PlotMouseEvent ResponsePlot::mouseEvent(const QMouseEvent& e, Qt::MouseButton button) const
{
    PlotMouseEvent m;
    m.pixel = e.position();
    m.button = button;
    m.buttons = e.buttons();
    m.modifiers = e.modifiers();
    const PlotMapping map = mapping();
    m.mapped = map.valid();
    if (m.mapped) {
        m.x = map.toDataX(m.pixel.x());
        m.y = map.toDataY(m.pixel.y());
    }
    return m;
}

void ResponsePlot::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(mouseEvent(*event, event->button()));
}

void ResponsePlot::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(mouseEvent(*event, Qt::NoButton));
}

void ResponsePlot::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(mouseEvent(*event, event->button()));
}

} // namespace kvr::gui
