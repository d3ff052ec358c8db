#pragma once

#include <cstdint>
#include <string>

namespace kvr::core {

// A modal message as the program shows it: its kind, its buttons and its exact text. Core code
// produces these; the windows (or the command-line tool, or a test) present and answer them.
enum class MessageKind : uint8_t { Error, Warning, Information, Confirmation };

enum class Button : uint8_t { None = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };
using Buttons = uint8_t; // mask of Button values

constexpr Buttons operator|(Button a, Button b) { return static_cast<Buttons>(uint8_t(a) | uint8_t(b)); }
constexpr Buttons operator|(Buttons a, Button b) { return static_cast<Buttons>(a | uint8_t(b)); }

struct Message {
    MessageKind kind = MessageKind::Information;
    Buttons buttons = static_cast<Buttons>(Button::Ok);
    std::string text;
    bool beep = false; // the system beep before the box
};

inline Message errorBox(std::string text) { return {MessageKind::Error, uint8_t(Button::Ok), std::move(text), false}; }
inline Message warningBox(std::string text) { return {MessageKind::Warning, uint8_t(Button::Ok), std::move(text), false}; }
inline Message infoBox(std::string text) { return {MessageKind::Information, uint8_t(Button::Ok), std::move(text), false}; }

} // namespace kvr::core
