#include "widgets/fader.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "widgets/theme.h"

namespace kvr::gui {

Fader::Fader(QWidget* parent) : QAbstractSlider(parent), m_accent(theme::colour(theme::Role::Accent))
{
    setOrientation(Qt::Vertical);
    setFocusPolicy(Qt::NoFocus);
    setTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setInvertedControls(true);
}

void Fader::setMaximumAtTop(bool atTop)
{
    m_maximumAtTop = atTop;
    // The wheel turned up moves the cap up: towards larger values only when they are at the top.
    setInvertedControls(!atTop);
    update();
}

void Fader::setAccent(const QColor& accent)
{
    m_accent = accent;
    update();
}

QSize Fader::sizeHint() const
{
    return {38, 280};
}

QSize Fader::minimumSizeHint() const
{
    return {38, 120};
}

int Fader::yForValue(int v) const
{
    const int span = std::max(1, height() - kCapHeight);
    const int range = std::max(1, maximum() - minimum());
    double fraction = static_cast<double>(v - minimum()) / range;
    if (m_maximumAtTop) fraction = 1.0 - fraction;
    return kCapHeight / 2 + static_cast<int>(std::lround(fraction * span));
}

int Fader::valueForY(int y) const
{
    const int span = std::max(1, height() - kCapHeight);
    double fraction = std::clamp(static_cast<double>(y - kCapHeight / 2) / span, 0.0, 1.0);
    if (m_maximumAtTop) fraction = 1.0 - fraction;
    return minimum() + static_cast<int>(std::lround(fraction * (maximum() - minimum())));
}

QRect Fader::capRect() const
{
    const int y = yForValue(sliderPosition());
    return {3, y - kCapHeight / 2, width() - 6, kCapHeight};
}

void Fader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int cx = width() / 2;
    // The slot.
    const QRectF slot(cx - 3, kCapHeight / 2 - 2, 6, height() - kCapHeight + 4);
    p.setPen(QPen(theme::colour(theme::Role::Border), 1));
    p.setBrush(QColor(0x12, 0x15, 0x19));
    p.drawRoundedRect(slot, 3, 3);

    // The cap: a ridged block with a line across its middle in the accent colour.
    const QRectF cap = QRectF(capRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient body(cap.topLeft(), cap.bottomLeft());
    const QColor face = isEnabled() ? QColor(0x5a, 0x65, 0x71) : QColor(0x3a, 0x41, 0x49);
    body.setColorAt(0.0, face.lighter(135));
    body.setColorAt(0.45, face);
    body.setColorAt(0.55, face.darker(120));
    body.setColorAt(1.0, face.darker(105));
    p.setPen(QPen(QColor(0x14, 0x17, 0x1b), 1));
    p.setBrush(body);
    p.drawRoundedRect(cap, 3, 3);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    for (int k = -2; k <= 2; ++k) {
        if (k == 0) continue;
        const qreal y = cap.center().y() + k * 4;
        p.drawLine(QPointF(cap.left() + 5, y), QPointF(cap.right() - 5, y));
    }
    p.setPen(QPen(isEnabled() ? m_accent : theme::colour(theme::Role::TextDim), 2));
    p.drawLine(QPointF(cap.left() + 3, cap.center().y()), QPointF(cap.right() - 3, cap.center().y()));
}

void Fader::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int y = static_cast<int>(event->position().y());
    const QRect cap = capRect();
    // Grabbing the cap keeps it under the pointer; pressing the slot brings the cap there.
    m_grabOffset = cap.contains(event->position().toPoint()) ? y - cap.center().y() : 0;
    setSliderDown(true);
    setSliderPosition(valueForY(y - m_grabOffset));
    event->accept();
}

void Fader::mouseMoveEvent(QMouseEvent* event)
{
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderPosition(valueForY(static_cast<int>(event->position().y()) - m_grabOffset));
    event->accept();
}

void Fader::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isSliderDown() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setSliderDown(false);
    event->accept();
}

} // namespace kvr::gui
