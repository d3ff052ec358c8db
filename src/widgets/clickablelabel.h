#pragma once

#include <QLabel>

namespace kvr::gui {

// A label that reports clicks and double-clicks (the hidden extras of the main window).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace kvr::gui
