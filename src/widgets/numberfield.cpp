#include "widgets/numberfield.h"

#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "util/numtext.h"

namespace kvr::gui {

NumberField::NumberField(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight);
}

std::optional<double> NumberField::number() const
{
    return core::parseNumber(text().toStdString());
}

void NumberField::showText(const QString& value)
{
    if (text() != value) setText(value);
    setModified(false);
}

void NumberField::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit committed();
        return;
    case Qt::Key_Up:
        emit stepped(+1);
        return;
    case Qt::Key_Down:
        emit stepped(-1);
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

void NumberField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // After the click that brought the focus has placed the cursor.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void NumberField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only a value the user typed is re-applied: passing through a field that shows a stored
    // value rounded (a Q of 0.707 as "0.7") must not store the rounded value.
    if (isModified()) emit committed();
}

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto make = [this, layout](Qt::ArrowType arrow, const char* name, int direction) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(18, 12);
        b->setStyleSheet(QStringLiteral("QToolButton { border: 1px solid #3a434d; background: #2e353e; padding: 0; }"
                                        "QToolButton:hover { border-color: #3cb4c8; }"
                                        "QToolButton:pressed { background: #2b6f7b; }"));
        connect(b, &QToolButton::clicked, this, [this, direction] { emit stepped(direction); });
        layout->addWidget(b);
        return b;
    };
    m_up = make(Qt::UpArrow, "Up", +1);
    m_down = make(Qt::DownArrow, "Down", -1);
}

} // namespace kvr::gui
