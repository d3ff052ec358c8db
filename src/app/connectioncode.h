#pragma once

#include <cstdint>

namespace kvr::gui {

// Which link is in use; any value but Offline enables the device controls.
enum class ConnectionCode : uint8_t { Offline = 0, Usb = 1, Com1 = 2, Com2 = 3, Com3 = 4, Com4 = 5, Ethernet = 6 };

// The choices of the connection window.
enum class ConnectionChoice : uint8_t { Offline, Usb, Ethernet };

} // namespace kvr::gui
