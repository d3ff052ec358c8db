#pragma once

#include <QColor>
#include <QPushButton>

namespace kvr::gui {

// A block of the diagram: a rounded tile with its function written small at the top; the
// button's text (a channel name) or a value label laid over it fills the rest.
class BlockButton : public QPushButton {
    Q_OBJECT
public:
    BlockButton(const QString& function, QWidget* parent = nullptr);
    void setAccent(const QColor& accent);
    // A small drawing for blocks that show no value.
    enum class Glyph { None, Equaliser, Dynamics };
    void setGlyph(Glyph glyph);
    QString function() const { return m_function; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_function;
    QColor m_accent;
    bool m_hover = false;
    Glyph m_glyph = Glyph::None;
};

} // namespace kvr::gui
