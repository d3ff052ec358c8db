#include "widgets/blockbutton.h"

#include <QPainter>
#include <QPainterPath>

#include "widgets/theme.h"

namespace kvr::gui {

BlockButton::BlockButton(const QString& function, QWidget* parent)
    : QPushButton(parent), m_function(function), m_accent(theme::colour(theme::Role::Accent))
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void BlockButton::setAccent(const QColor& accent)
{
    m_accent = accent;
    update();
}

void BlockButton::setGlyph(Glyph glyph)
{
    m_glyph = glyph;
    update();
}

void BlockButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void BlockButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}

void BlockButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool live = isEnabled();
    QColor fill = theme::colour(m_hover && live ? theme::Role::BlockHover : theme::Role::Block);
    if (isDown()) fill = fill.lighter(125);
    p.setPen(QPen(theme::colour(theme::Role::BlockBorder), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 5, 5);
    // Accent strip on the left edge.
    p.setPen(Qt::NoPen);
    p.setBrush(m_accent);
    p.drawRoundedRect(QRectF(r.left() + 1, r.top() + 5, 3, r.height() - 10), 1.5, 1.5);
    if (m_hover && live) {
        p.setPen(QPen(m_accent, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 5, 5);
    }
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.72);
    small.setBold(true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 0.8);
    p.setFont(small);
    p.setPen(theme::colour(theme::Role::TextDim));
    p.drawText(r.adjusted(8, 3, -4, 0), Qt::AlignLeft | Qt::AlignTop, m_function);
    if (m_glyph != Glyph::None) {
        const QRectF g = r.adjusted(14, 18, -8, -7);
        QPainterPath path;
        if (m_glyph == Glyph::Equaliser) {
            // A bell and a dip on a flat line.
            path.moveTo(g.left(), g.center().y());
            path.cubicTo(g.left() + g.width() * 0.22, g.center().y(), g.left() + g.width() * 0.22, g.top(),
                         g.left() + g.width() * 0.33, g.top());
            path.cubicTo(g.left() + g.width() * 0.44, g.top(), g.left() + g.width() * 0.44, g.center().y(),
                         g.left() + g.width() * 0.6, g.center().y());
            path.cubicTo(g.left() + g.width() * 0.7, g.center().y(), g.left() + g.width() * 0.72, g.bottom() - 3,
                         g.left() + g.width() * 0.8, g.bottom() - 3);
            path.cubicTo(g.left() + g.width() * 0.88, g.bottom() - 3, g.left() + g.width() * 0.9, g.center().y(),
                         g.right(), g.center().y());
        } else {
            // A compressor's transfer curve: unity, then the knee.
            path.moveTo(g.left(), g.bottom());
            path.lineTo(g.left() + g.width() * 0.55, g.top() + g.height() * 0.25);
            path.quadTo(g.left() + g.width() * 0.65, g.top() + g.height() * 0.1, g.right(),
                        g.top() + g.height() * 0.05);
        }
        p.setPen(QPen(m_accent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    if (!text().isEmpty()) {
        QFont big = font();
        big.setBold(true);
        big.setPointSizeF(font().pointSizeF() * 1.05);
        p.setFont(big);
        p.setPen(theme::colour(theme::Role::Text));
        p.drawText(r.adjusted(8, 12, -4, -2), Qt::AlignCenter, text());
    }
}

} // namespace kvr::gui
