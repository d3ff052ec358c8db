#pragma once

#include <QAbstractSlider>
#include <QColor>
#include <QStringList>
#include <vector>

namespace kvr::gui {

// The track a fader is bound to, drawn as its scale: tick marks, labels and a pointer at the
// position, smallest value at the top. It takes the focus and steps with the arrow keys, page
// keys and the wheel; pressing or dragging on it moves the pointer there.
class TrackScale : public QAbstractSlider {
    Q_OBJECT
public:
    explicit TrackScale(QWidget* parent = nullptr);

    void setTickInterval(int interval);
    // A text beside the scale at a position ("0 dB", "100 m.").
    void addLabel(int position, const QString& text);
    // The texts beside the scale, top to bottom as added.
    QStringList labelTexts() const;
    // What the Up arrow adds to the position (the Down arrow subtracts it). By default the pointer
    // moves up one single step.
    void setUpArrowStep(int delta);
    void setAccent(const QColor& accent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int yForValue(int value) const;
    int valueForY(int y) const;
    int labelWidth() const;

    struct Label {
        int position;
        QString text;
    };
    std::vector<Label> m_labels;
    int m_tickInterval = 0;
    int m_upStep = 0; // 0: minus the single step
    QColor m_accent;
};

} // namespace kvr::gui
