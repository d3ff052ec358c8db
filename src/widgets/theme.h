#pragma once

#include <QColor>
#include <QIcon>

class QApplication;

// The program's look: one dark, calm palette, a style sheet and the drawn icons.
namespace kvr::gui::theme {

enum class Role {
    Window,
    Panel,
    Block,
    BlockHover,
    BlockBorder,
    Border,
    Text,
    TextDim,
    Accent,
    TitleTop,
    TitleBottom,
    Wire,
    InputA,
    InputB,
    InputMix,
    Mute,
};
QColor colour(Role role);

// The status labels: maroon while offline, green while connected.
QColor statusColour(bool connected);
inline constexpr QRgb kMaroon = 0x800000;
inline constexpr QRgb kGreen = 0x008000;

enum class TitleIcon { Minimise, Close };
QIcon titleIcon(TitleIcon icon);

enum class ToolIcon {
    New,
    Open,
    Save,
    About,
    Report,
    UpdateSystem,
    Reset,
    GetSystem,
    GetVersion,
    Lock,
    Unlock,
    Password,
    Connect,
    Read,
    Write,
    Change,
    Ethernet,
    Library,
};
QIcon toolIcon(ToolIcon icon);

// Fusion style, the palette and the style sheet; the same fonts on every platform.
void apply(QApplication& app);

} // namespace kvr::gui::theme
