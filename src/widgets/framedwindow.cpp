#include "widgets/framedwindow.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "widgets/theme.h"
#include "widgets/titlebar.h"

namespace kvr::gui {

FramedWindow::FramedWindow(const QString& className, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_titleBar(new TitleBar(this, this)),
      m_body(new QWidget(this))
{
    setObjectName(className);
    m_body->setObjectName(QStringLiteral("Body"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_titleBar);
    layout->addWidget(m_body, 1);
    setCaption(caption);
}

void FramedWindow::setCaption(const QString& caption)
{
    m_titleBar->setCaption(caption);
    setWindowTitle(caption);
}

QString FramedWindow::caption() const
{
    return m_titleBar->caption();
}

void FramedWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), theme::colour(theme::Role::Window));
    p.setPen(theme::colour(theme::Role::Border));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FramedWindow::changeEvent(QEvent* event)
{
    // The caption follows the window title so that code setting either keeps both in step.
    if (event->type() == QEvent::WindowTitleChange && m_titleBar->caption() != windowTitle())
        m_titleBar->setCaption(windowTitle());
    QDialog::changeEvent(event);
}

} // namespace kvr::gui
