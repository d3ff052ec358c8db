#include "app/qtmessagepresenter.h"

#include <QApplication>
#include <QMessageBox>

#include "util/texts.h"

namespace kvr::gui {

core::Button QtMessagePresenter::show(const core::Message& message)
{
    if (message.beep) QApplication::beep();
    QMessageBox box(m_parent);
    switch (message.kind) {
    case core::MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case core::MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case core::MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case core::MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    box.setWindowTitle(QString::fromUtf8(core::texts::kApplicationTitle));
    box.setText(QString::fromStdString(message.text));
    struct Pair {
        core::Button button;
        QMessageBox::StandardButton standard;
    };
    const Pair pairs[] = {{core::Button::Yes, QMessageBox::Yes},
                          {core::Button::No, QMessageBox::No},
                          {core::Button::Ok, QMessageBox::Ok},
                          {core::Button::Cancel, QMessageBox::Cancel}};
    QMessageBox::StandardButtons buttons;
    for (const Pair& p : pairs)
        if (message.buttons & uint8_t(p.button)) buttons |= p.standard;
    if (!buttons) buttons = QMessageBox::Ok;
    box.setStandardButtons(buttons);
    const int pressed = box.exec();
    for (const Pair& p : pairs)
        if (pressed == p.standard) return p.button;
    return core::Button::None;
}

} // namespace kvr::gui
