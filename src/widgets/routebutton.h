#pragma once

#include <QPushButton>

namespace kvr::gui {

// The route button of an output: shows which input channel feeds it with one of three drawn
// glyphs, 0 = A, 1 = A+B, 2 = B.
class RouteButton : public QPushButton {
    Q_OBJECT
public:
    explicit RouteButton(QWidget* parent = nullptr);
    void setGlyph(int glyph);
    int glyph() const { return m_glyph; }

    // The glyph image (also used by the diagram's legend).
    static QPixmap glyphPixmap(int glyph, const QSize& size, qreal dpr = 1.0);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_glyph = 0;
};

} // namespace kvr::gui
