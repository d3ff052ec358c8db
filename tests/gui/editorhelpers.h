#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "plot/responseplot.h"
#include "widgets/numberfield.h"

// Driving the editors' controls the way a person does: typing into a field, keys, the plot's
// mouse at data coordinates.

namespace kvr::gui::test {

inline void key(QWidget* w, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Types a text into a field and presses Enter.
inline void typeInto(NumberField* field, const QString& text)
{
    field->setText(text);
    field->setModified(true);
    key(field, Qt::Key_Return);
}

inline QPointF at(ResponsePlot* plot, double x, double y)
{
    const PlotMapping map = plot->mapping();
    return {map.toPixelX(x), map.toPixelY(y)};
}

inline void mouse(ResponsePlot* plot, QEvent::Type type, double x, double y, Qt::MouseButton button,
                  Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    const QPointF p = at(plot, x, y);
    QMouseEvent e(type, p, plot->mapToGlobal(p), button, buttons, keys);
    QApplication::sendEvent(plot, &e);
}

// A press at (x0, y0), moves through the points with the button held, and the release.
inline void drag(ResponsePlot* plot, Qt::MouseButton button, std::initializer_list<QPointF> path)
{
    const QPointF* p = path.begin();
    mouse(plot, QEvent::MouseButtonPress, p->x(), p->y(), button, button);
    for (++p; p != path.end(); ++p)
        mouse(plot, QEvent::MouseMove, p->x(), p->y(), Qt::NoButton, button);
    const QPointF last = *(path.end() - 1);
    mouse(plot, QEvent::MouseButtonRelease, last.x(), last.y(), button, Qt::NoButton);
}

inline void wheel(ResponsePlot* plot, double x, double y, int delta)
{
    const QPointF p = at(plot, x, y);
    QWheelEvent e(p, plot->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(plot, &e);
}

} // namespace kvr::gui::test
