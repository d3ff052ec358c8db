#include "widgets/titlebar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

#include "widgets/theme.h"

namespace kvr::gui {

TitleBar::TitleBar(QWidget* window, QWidget* parent)
    : QWidget(parent), m_window(window), m_caption(new QLabel(this)), m_minimise(new QToolButton(this)),
      m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("TitleBar"));
    setFixedHeight(30);
    m_caption->setObjectName(QStringLiteral("TitleCaption"));
    m_minimise->setObjectName(QStringLiteral("TitleMinimise"));
    m_close->setObjectName(QStringLiteral("TitleClose"));
    m_minimise->setIcon(theme::titleIcon(theme::TitleIcon::Minimise));
    m_close->setIcon(theme::titleIcon(theme::TitleIcon::Close));
    for (QToolButton* b : {m_minimise, m_close}) {
        b->setAutoRaise(true);
        b->setFixedSize(28, 24);
        b->setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_minimise);
    layout->addWidget(m_close);
    connect(m_minimise, &QToolButton::clicked, this, [this] { m_window->showMinimized(); });
    connect(m_close, &QToolButton::clicked, this, [this] { m_window->close(); });
}

void TitleBar::setCaption(const QString& caption)
{
    m_caption->setText(caption);
}

QString TitleBar::caption() const
{
    return m_caption->text();
}

void TitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    QWindow* handle = m_window->windowHandle();
    if (handle && handle->startSystemMove()) {
        event->accept();
        return;
    }
    m_dragging = true;
    m_offset = event->globalPosition().toPoint() - m_window->frameGeometry().topLeft();
    event->accept();
}

void TitleBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) return QWidget::mouseMoveEvent(event);
    m_window->move(event->globalPosition().toPoint() - m_offset);
    event->accept();
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void TitleBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, theme::colour(theme::Role::TitleTop));
    g.setColorAt(1, theme::colour(theme::Role::TitleBottom));
    p.fillRect(rect(), g);
    p.setPen(theme::colour(theme::Role::Accent));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

} // namespace kvr::gui
