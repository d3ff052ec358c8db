#include "widgets/routebutton.h"

#include <QPainter>
#include <QPainterPath>

#include "widgets/theme.h"
#include "util/texts.h"

namespace kvr::gui {

namespace {

QColor glyphColour(int glyph)
{
    switch (glyph) {
    case 1:
        return theme::colour(theme::Role::InputMix);
    case 2:
        return theme::colour(theme::Role::InputB);
    default:
        return theme::colour(theme::Role::InputA);
    }
}

void paintGlyph(QPainter& p, int glyph, const QRectF& r, bool hover, bool down)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = glyphColour(glyph);
    QColor fill = theme::colour(theme::Role::Block);
    if (hover) fill = theme::colour(theme::Role::BlockHover);
    if (down) fill = fill.lighter(125);
    p.setPen(QPen(c, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), r.height() / 2 - 1, r.height() / 2 - 1);
    // Signal arrow on the right: the route feeds the output chain.
    const qreal ax = r.right() - 11, ay = r.center().y();
    QPainterPath arrow;
    arrow.moveTo(ax - 3, ay - 4);
    arrow.lineTo(ax + 2, ay);
    arrow.lineTo(ax - 3, ay + 4);
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    // Source dot on the left, in the input's colour.
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(r.left() + 11, ay), 4, 4);
    QFont f = p.font();
    f.setBold(true);
    f.setPointSizeF(std::max(7.0, r.height() * 0.36));
    p.setFont(f);
    p.setPen(theme::colour(theme::Role::Text));
    p.drawText(r.adjusted(16, 0, -14, 0), Qt::AlignCenter,
               QString::fromUtf8(core::texts::kRouteGlyphs[std::clamp(glyph, 0, 2)]));
}

} // namespace

RouteButton::RouteButton(QWidget* parent) : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void RouteButton::setGlyph(int glyph)
{
    m_glyph = std::clamp(glyph, 0, 2);
    setAccessibleName(QString::fromUtf8(core::texts::kRouteGlyphs[m_glyph]));
    update();
}

QPixmap RouteButton::glyphPixmap(int glyph, const QSize& size, qreal dpr)
{
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintGlyph(p, glyph, QRectF(QPointF(0, 0), QSizeF(size)), false, false);
    return pm;
}

void RouteButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintGlyph(p, m_glyph, QRectF(rect()), underMouse(), isDown());
}

} // namespace kvr::gui
