#include "widgets/linklabel.h"

#include <QMouseEvent>

namespace kvr::gui {

LinkLabel::LinkLabel(const QString& text, const QUrl& url, QWidget* parent) : QLabel(text, parent), m_url(url)
{
    setMouseTracking(true);
    setStyleSheet(QStringLiteral("color: #3cb4c8; text-decoration: underline;"));
}

bool LinkLabel::inside(const QPoint& pos) const
{
    return rect().adjusted(kInset, kInset, -kInset, -kInset).contains(pos);
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(inside(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QLabel::mouseMoveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && inside(event->position().toPoint())) emit activated(m_url);
    QLabel::mouseReleaseEvent(event);
}

} // namespace kvr::gui
