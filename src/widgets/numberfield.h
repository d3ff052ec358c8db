#pragma once

#include <QLineEdit>
#include <optional>

class QAbstractButton;

namespace kvr::gui {

// An editor's numeric field: it holds its value as text. Enter commits the text, the Up and
// Down keys step it, leaving the field commits an edit the user made, and entering it selects
// the whole text. The window decides what a commit or a step stores.
class NumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberField(QWidget* parent = nullptr);

    // The text as a number ("." as decimal separator); none when it does not read as one.
    std::optional<double> number() const;
    // Shows a value's text without marking it as the user's edit.
    void showText(const QString& text);

signals:
    void committed();
    // +1 for Up, -1 for Down.
    void stepped(int direction);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// The pair of arrow buttons beside a field; held down, they repeat.
class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(QWidget* parent = nullptr);
    QAbstractButton* up() const { return m_up; }
    QAbstractButton* down() const { return m_down; }

signals:
    void stepped(int direction);

private:
    QAbstractButton* m_up;
    QAbstractButton* m_down;
};

} // namespace kvr::gui
