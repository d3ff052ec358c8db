#include "windows/gesturewatcher.h"

#include <QKeyEvent>
#include <QWidget>

#include "app/documentcontroller.h"

namespace kvr::gui {

GestureWatcher::GestureWatcher(DocumentController& document, QObject* parent) : QObject(parent), m_document(document) {}

void GestureWatcher::watch(QWidget* control)
{
    control->installEventFilter(this);
}

bool GestureWatcher::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::FocusOut:
        m_document.endGesture();
        break;
    case QEvent::KeyRelease:
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) m_document.endGesture();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kvr::gui
