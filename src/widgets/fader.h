#pragma once

#include <QAbstractSlider>
#include <QColor>

namespace kvr::gui {

// A vertical mixing-desk fader: a slot with a cap that a person drags, or moves with the wheel.
// It takes no focus of its own: the track it is bound to does (see TrackScale), and pressing the
// fader says so through sliderPressed().
class Fader : public QAbstractSlider {
    Q_OBJECT
public:
    explicit Fader(QWidget* parent = nullptr);

    // Where the largest value sits. Either way the wheel moves the cap the way it turns.
    void setMaximumAtTop(bool atTop);
    bool maximumAtTop() const { return m_maximumAtTop; }
    void setAccent(const QColor& accent);

    // Height of the cap; a bound scale leaves half of it free at both ends so the two line up.
    static constexpr int kCapHeight = 26;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Centre line of the cap for a value, and the value under a centre line.
    int yForValue(int value) const;
    int valueForY(int y) const;
    QRect capRect() const;

    bool m_maximumAtTop = false;
    QColor m_accent;
    int m_grabOffset = 0; // pointer minus cap centre while dragging
};

} // namespace kvr::gui
