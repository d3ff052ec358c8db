#include "widgets/theme.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>
#include <cmath>
#include <functional>

namespace kvr::gui::theme {

QColor colour(Role role)
{
    switch (role) {
    case Role::Window:
        return QColor(0x1d, 0x21, 0x26);
    case Role::Panel:
        return QColor(0x24, 0x29, 0x30);
    case Role::Block:
        return QColor(0x2e, 0x35, 0x3e);
    case Role::BlockHover:
        return QColor(0x38, 0x42, 0x4d);
    case Role::BlockBorder:
        return QColor(0x46, 0x51, 0x5d);
    case Role::Border:
        return QColor(0x3a, 0x43, 0x4d);
    case Role::Text:
        return QColor(0xdc, 0xe2, 0xe8);
    case Role::TextDim:
        return QColor(0x8d, 0x98, 0xa4);
    case Role::Accent:
        return QColor(0x3c, 0xb4, 0xc8);
    case Role::TitleTop:
        return QColor(0x2b, 0x32, 0x3a);
    case Role::TitleBottom:
        return QColor(0x22, 0x28, 0x2f);
    case Role::Wire:
        return QColor(0x5b, 0x68, 0x75);
    case Role::InputA:
        return QColor(0x4f, 0xa3, 0xe0);
    case Role::InputB:
        return QColor(0xe0, 0xa2, 0x4f);
    case Role::InputMix:
        return QColor(0x9c, 0x86, 0xe0);
    case Role::Mute:
        return QColor(0xe0, 0x4f, 0x4f);
    }
    return {};
}

QColor statusColour(bool connected)
{
    return QColor(connected ? kGreen : kMaroon);
}

namespace {

QPixmap canvas(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

QPen pen(const QColor& c, qreal w = 1.8)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Icons are drawn on a 32-unit grid, scaled to the pixmap.
QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            QPixmap pm = canvas(size);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / 32.0, size / 32.0);
            if (mode == QIcon::Disabled) p.setOpacity(0.32);
            draw(p);
            p.end();
            icon.addPixmap(pm, mode);
        }
    }
    return icon;
}

void document(QPainter& p, const QColor& c)
{
    QPainterPath path;
    path.moveTo(8, 4);
    path.lineTo(19, 4);
    path.lineTo(25, 10);
    path.lineTo(25, 28);
    path.lineTo(8, 28);
    path.closeSubpath();
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.drawLine(QPointF(19, 4), QPointF(19, 10));
    p.drawLine(QPointF(19, 10), QPointF(25, 10));
}

void processorBox(QPainter& p, const QColor& c)
{
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4, 9, 24, 14), 2.5, 2.5);
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(9 + i * 4.5, 19), QPointF(9 + i * 4.5, 19));
    p.setPen(pen(c, 2.4));
    for (int i = 0; i < 4; ++i)
        p.drawPoint(QPointF(9 + i * 4.5, 16));
}

void arrow(QPainter& p, const QColor& c, QPointF from, QPointF to)
{
    p.setPen(pen(c, 2.2));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    p.drawLine(to, to - u * 5 + n * 4);
    p.drawLine(to, to - u * 5 - n * 4);
}

void padlock(QPainter& p, const QColor& c, bool open)
{
    p.setPen(pen(c));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 14, 16, 13), 2, 2);
    QPainterPath shackle;
    shackle.moveTo(11, 14);
    shackle.lineTo(11, 10);
    shackle.arcTo(QRectF(11, 4, 10, 10), 180, -180);
    shackle.lineTo(21, open ? 8 : 14);
    if (open) shackle.translate(5, -1);
    p.drawPath(shackle);
    p.drawLine(QPointF(16, 19), QPointF(16, 22));
}

} // namespace

QIcon titleIcon(TitleIcon icon)
{
    const QColor c = colour(Role::Text);
    if (icon == TitleIcon::Minimise)
        return drawn([c](QPainter& p) {
            p.setPen(pen(c, 2.2));
            p.drawLine(QPointF(10, 21), QPointF(22, 21));
        });
    return drawn([c](QPainter& p) {
        p.setPen(pen(c, 2.2));
        p.drawLine(QPointF(10, 10), QPointF(22, 22));
        p.drawLine(QPointF(22, 10), QPointF(10, 22));
    });
}

QIcon toolIcon(ToolIcon icon)
{
    const QColor c = colour(Role::Text);
    const QColor a = colour(Role::Accent);
    switch (icon) {
    case ToolIcon::New:
        return drawn([=](QPainter& p) {
            document(p, c);
            p.setPen(pen(a, 2.2));
            p.drawLine(QPointF(16.5, 14), QPointF(16.5, 23));
            p.drawLine(QPointF(12, 18.5), QPointF(21, 18.5));
        });
    case ToolIcon::Open:
        return drawn([=](QPainter& p) {
            QPainterPath folder;
            folder.moveTo(4, 9);
            folder.lineTo(12, 9);
            folder.lineTo(14, 12);
            folder.lineTo(27, 12);
            folder.lineTo(27, 26);
            folder.lineTo(4, 26);
            folder.closeSubpath();
            p.setPen(pen(c));
            p.drawPath(folder);
            p.setPen(pen(a, 2));
            p.drawLine(QPointF(4, 17), QPointF(27, 17));
        });
    case ToolIcon::Save:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c));
            p.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
            p.drawRect(QRectF(10, 5, 12, 7));
            p.setPen(pen(a, 2));
            p.drawRect(QRectF(9, 17, 14, 10));
        });
    case ToolIcon::About:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c));
            p.drawEllipse(QRectF(5, 5, 22, 22));
            p.setPen(pen(a, 2.6));
            p.drawLine(QPointF(16, 14.5), QPointF(16, 22));
            p.drawPoint(QPointF(16, 10));
        });
    case ToolIcon::Report:
        return drawn([=](QPainter& p) {
            document(p, c);
            p.setPen(pen(a, 1.6));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(11.5, 14 + i * 3.5), QPointF(21.5, 14 + i * 3.5));
        });
    case ToolIcon::UpdateSystem:
        return drawn([=](QPainter& p) {
            processorBox(p, c);
            arrow(p, a, QPointF(16, 30), QPointF(16, 2));
        });
    case ToolIcon::Reset:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c, 2));
            p.drawArc(QRectF(6, 6, 20, 20), 120 * 16, 300 * 16);
            p.setPen(pen(a, 2.4));
            p.drawLine(QPointF(16, 3), QPointF(16, 14));
        });
    case ToolIcon::GetSystem:
        return drawn([=](QPainter& p) {
            processorBox(p, c);
            arrow(p, a, QPointF(16, 2), QPointF(16, 30));
        });
    case ToolIcon::GetVersion:
        return drawn([=](QPainter& p) {
            processorBox(p, c);
            p.setPen(pen(a, 2));
            p.drawText(QRectF(4, 22, 24, 10), Qt::AlignCenter, QStringLiteral("v"));
            p.drawLine(QPointF(10, 28), QPointF(22, 28));
        });
    case ToolIcon::Lock:
        return drawn([=](QPainter& p) { padlock(p, c, false); });
    case ToolIcon::Unlock:
        return drawn([=](QPainter& p) { padlock(p, a, true); });
    case ToolIcon::Password:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c));
            p.drawRoundedRect(QRectF(3, 10, 26, 12), 3, 3);
            p.setPen(pen(a, 3.2));
            for (int i = 0; i < 4; ++i)
                p.drawPoint(QPointF(8.5 + i * 5, 16));
        });
    case ToolIcon::Connect:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c, 2));
            p.drawLine(QPointF(4, 16), QPointF(10, 16));
            p.drawLine(QPointF(22, 16), QPointF(28, 16));
            p.drawRoundedRect(QRectF(10, 10, 6, 12), 1.5, 1.5);
            p.setPen(pen(a, 2));
            p.drawRoundedRect(QRectF(17, 10, 5, 12), 1.5, 1.5);
            p.drawLine(QPointF(13, 12), QPointF(13, 20));
        });
    case ToolIcon::Read:
        return drawn([=](QPainter& p) {
            processorBox(p, c);
            arrow(p, a, QPointF(26, 16), QPointF(6, 16));
        });
    case ToolIcon::Write:
        return drawn([=](QPainter& p) {
            processorBox(p, c);
            arrow(p, a, QPointF(6, 16), QPointF(26, 16));
        });
    case ToolIcon::Change:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c));
            p.drawRoundedRect(QRectF(4, 6, 16, 12), 2, 2);
            p.drawRoundedRect(QRectF(12, 14, 16, 12), 2, 2);
            arrow(p, a, QPointF(8, 24), QPointF(8, 29));
        });
    case ToolIcon::Ethernet:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c));
            p.drawRoundedRect(QRectF(6, 6, 20, 16), 2, 2);
            p.drawRect(QRectF(12, 22, 8, 5));
            p.setPen(pen(a, 1.6));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(10 + i * 4, 10), QPointF(10 + i * 4, 16));
        });
    case ToolIcon::Library:
        return drawn([=](QPainter& p) {
            p.setPen(pen(c));
            for (int i = 0; i < 3; ++i)
                p.drawRoundedRect(QRectF(5 + i * 8, 6, 6, 21), 1, 1);
            p.setPen(pen(a, 2));
            p.drawLine(QPointF(4, 28), QPointF(28, 28));
        });
    }
    return {};
}

void apply(QApplication& app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette pal;
    pal.setColor(QPalette::Window, colour(Role::Window));
    pal.setColor(QPalette::WindowText, colour(Role::Text));
    pal.setColor(QPalette::Base, QColor(0x16, 0x19, 0x1d));
    pal.setColor(QPalette::AlternateBase, colour(Role::Panel));
    pal.setColor(QPalette::Text, colour(Role::Text));
    pal.setColor(QPalette::Button, colour(Role::Block));
    pal.setColor(QPalette::ButtonText, colour(Role::Text));
    pal.setColor(QPalette::Highlight, colour(Role::Accent));
    pal.setColor(QPalette::HighlightedText, QColor(0x10, 0x14, 0x18));
    pal.setColor(QPalette::ToolTipBase, colour(Role::Panel));
    pal.setColor(QPalette::ToolTipText, colour(Role::Text));
    pal.setColor(QPalette::PlaceholderText, colour(Role::TextDim));
    pal.setColor(QPalette::Link, colour(Role::Accent));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, r, QColor(0x66, 0x70, 0x7a));
    app.setPalette(pal);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5);
    app.setFont(font);

    app.setStyleSheet(QStringLiteral(R"(
QToolTip { color: #dce2e8; background: #2b323a; border: 1px solid #3cb4c8; padding: 3px; }
#TitleBar QLabel#TitleCaption { color: #dce2e8; font-weight: bold; letter-spacing: 0.5px; }
#TitleBar QToolButton { border: none; border-radius: 3px; }
#TitleBar QToolButton:hover { background: #3a434d; }
#TitleBar QToolButton#TitleClose:hover { background: #b03a3a; }
QMenuBar { background: #22282f; color: #dce2e8; border-bottom: 1px solid #3a434d; }
QMenuBar::item { padding: 4px 10px; background: transparent; }
QMenuBar::item:selected { background: #38424d; }
QMenu { background: #262c33; color: #dce2e8; border: 1px solid #3a434d; }
QMenu::item { padding: 5px 24px 5px 20px; }
QMenu::item:selected { background: #3cb4c8; color: #10141a; }
QMenu::item:disabled { color: #5d6772; }
QMenu::separator { height: 1px; background: #3a434d; margin: 4px 8px; }
QToolBar { background: #22282f; border: none; border-bottom: 1px solid #3a434d; spacing: 2px; padding: 3px; }
QToolBar QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 3px; }
QToolBar QToolButton:hover { background: #38424d; border-color: #46515d; }
QToolBar QToolButton:pressed { background: #2b6f7b; }
QToolBar::separator { width: 1px; background: #3a434d; margin: 4px 5px; }
QPushButton { background: #2e353e; color: #dce2e8; border: 1px solid #46515d; border-radius: 4px; padding: 5px 14px; }
QPushButton:hover { background: #38424d; border-color: #3cb4c8; }
QPushButton:pressed { background: #2b6f7b; }
QPushButton:disabled { color: #5d6772; border-color: #353d46; background: #262c33; }
QPushButton:default { border-color: #3cb4c8; }
QGroupBox { border: 1px solid #3a434d; border-radius: 5px; margin-top: 12px; padding: 8px 8px 6px 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: #8fd3de; }
QLineEdit, QComboBox, QListWidget {
  background: #16191d; color: #dce2e8; border: 1px solid #3a434d; border-radius: 3px; padding: 3px 5px;
  selection-background-color: #3cb4c8; selection-color: #10141a; }
QLineEdit:focus, QComboBox:focus, QListWidget:focus { border-color: #3cb4c8; }
QLineEdit:disabled, QComboBox:disabled { color: #5d6772; background: #1d2126; }
QComboBox QAbstractItemView { background: #1d2126; border: 1px solid #3a434d; selection-background-color: #3cb4c8; }
QProgressBar { background: #16191d; border: 1px solid #3a434d; border-radius: 3px; text-align: center; color: #dce2e8; height: 16px; }
QProgressBar::chunk { background: qlineargradient(x1:0,y1:0,x2:1,y2:0, stop:0 #2b8fa1, stop:1 #3cb4c8); border-radius: 2px; }
QCheckBox, QRadioButton { color: #dce2e8; spacing: 8px; }
QLabel[role="heading"] { font-size: 12pt; font-weight: bold; color: #dce2e8; }
QLabel[role="dim"] { color: #8d98a4; }
QLabel[role="readout"] { background: #12151a; border: 1px solid #3a434d; border-radius: 3px; padding: 2px 6px; font-weight: bold; color: #dce2e8; }
QLabel[role="readout"]:disabled { color: #5d6772; }
QLabel[role="status"] { color: #ffffff; border-radius: 4px; padding: 3px 10px; font-weight: bold; }
)"));
}

} // namespace kvr::gui::theme
