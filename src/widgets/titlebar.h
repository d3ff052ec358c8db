#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QToolButton;

namespace kvr::gui {

// The drawn title bar every window carries: caption, minimise and close icons. Dragging it moves
// the window through the window system (so it works on Wayland too); where the platform cannot
// do that (offscreen, some X11 setups) the window follows the mouse instead.
class TitleBar : public QWidget {
    Q_OBJECT
public:
    explicit TitleBar(QWidget* window, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const;
    QToolButton* minimiseButton() const { return m_minimise; }
    QToolButton* closeButton() const { return m_close; }
    bool dragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_window;
    QLabel* m_caption;
    QToolButton* m_minimise;
    QToolButton* m_close;
    bool m_dragging = false;
    QPoint m_offset;
};

} // namespace kvr::gui
