#include "widgets/trackscale.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "widgets/fader.h"
#include "widgets/theme.h"

namespace kvr::gui {

namespace {
// The scale's ends line up with the centre of a bound fader's cap at its ends.
constexpr int kEnd = Fader::kCapHeight / 2;
constexpr int kTickArea = 16;
} // namespace

TrackScale::TrackScale(QWidget* parent) : QAbstractSlider(parent), m_accent(theme::colour(theme::Role::Accent))
{
    setOrientation(Qt::Vertical);
    setFocusPolicy(Qt::StrongFocus);
    setTracking(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    // The wheel turned up moves the pointer up, to smaller positions.
    setInvertedControls(true);
}

void TrackScale::setTickInterval(int interval)
{
    m_tickInterval = std::max(0, interval);
    update();
}

void TrackScale::addLabel(int position, const QString& text)
{
    m_labels.push_back({position, text});
    updateGeometry();
    update();
}

QStringList TrackScale::labelTexts() const
{
    QStringList texts;
    for (const Label& l : m_labels)
        texts << l.text;
    return texts;
}

void TrackScale::setUpArrowStep(int delta)
{
    m_upStep = delta;
}

void TrackScale::setAccent(const QColor& accent)
{
    m_accent = accent;
    update();
}

int TrackScale::labelWidth() const
{
    const QFontMetrics fm(font());
    int w = 0;
    for (const Label& l : m_labels)
        w = std::max(w, fm.horizontalAdvance(l.text));
    return w;
}

QSize TrackScale::sizeHint() const
{
    return {labelWidth() + kTickArea + 14, 280};
}

QSize TrackScale::minimumSizeHint() const
{
    return {labelWidth() + kTickArea + 14, 120};
}

int TrackScale::yForValue(int v) const
{
    const int span = std::max(1, height() - 2 * kEnd);
    const int range = std::max(1, maximum() - minimum());
    return kEnd + static_cast<int>(std::lround(static_cast<double>(v - minimum()) / range * span));
}

int TrackScale::valueForY(int y) const
{
    const int span = std::max(1, height() - 2 * kEnd);
    const double fraction = std::clamp(static_cast<double>(y - kEnd) / span, 0.0, 1.0);
    return minimum() + static_cast<int>(std::lround(fraction * (maximum() - minimum())));
}

void TrackScale::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int lineX = width() - 10;
    const QColor dim = theme::colour(theme::Role::TextDim);
    const QColor line = hasFocus() ? m_accent : theme::colour(theme::Role::Wire);

    p.setPen(QPen(line, hasFocus() ? 2 : 1));
    p.drawLine(QPointF(lineX + 0.5, kEnd), QPointF(lineX + 0.5, height() - kEnd));
    p.setPen(QPen(theme::colour(theme::Role::Wire), 1));
    if (m_tickInterval > 0) {
        for (int v = minimum(); v <= maximum(); v += m_tickInterval) {
            const qreal y = yForValue(v) + 0.5;
            p.drawLine(QPointF(lineX - 6, y), QPointF(lineX, y));
        }
    }
    const QFontMetrics fm(font());
    for (const Label& l : m_labels) {
        const int y = yForValue(l.position);
        p.setPen(QPen(theme::colour(theme::Role::TextDim), 1));
        p.drawLine(QPointF(lineX - 10, y + 0.5), QPointF(lineX, y + 0.5));
        p.setPen(dim);
        const QRect text(0, y - fm.height() / 2, lineX - 13, fm.height());
        p.drawText(text, Qt::AlignRight | Qt::AlignVCenter, l.text);
    }
    // The pointer at the position.
    const qreal y = yForValue(sliderPosition()) + 0.5;
    QPolygonF pointer;
    pointer << QPointF(lineX - 1, y) << QPointF(lineX + 8, y - 5) << QPointF(lineX + 8, y + 5);
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? m_accent : dim);
    p.drawPolygon(pointer);
}

void TrackScale::keyPressEvent(QKeyEvent* event)
{
    const int up = m_upStep != 0 ? m_upStep : -singleStep();
    switch (event->key()) {
    case Qt::Key_Up:
        setValue(value() + up);
        break;
    case Qt::Key_Down:
        setValue(value() - up);
        break;
    case Qt::Key_PageUp:
        setValue(value() - pageStep());
        break;
    case Qt::Key_PageDown:
        setValue(value() + pageStep());
        break;
    case Qt::Key_Home:
        setValue(minimum());
        break;
    case Qt::Key_End:
        setValue(maximum());
        break;
    default:
        QAbstractSlider::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TrackScale::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setSliderDown(true);
    setSliderPosition(valueForY(static_cast<int>(event->position().y())));
    event->accept();
}

void TrackScale::mouseMoveEvent(QMouseEvent* event)
{
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderPosition(valueForY(static_cast<int>(event->position().y())));
    event->accept();
}

void TrackScale::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isSliderDown() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setSliderDown(false);
    event->accept();
}

} // namespace kvr::gui
