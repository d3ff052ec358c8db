#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "comm/deviceoperation.h"
#include "util/bytes.h"
#include "util/result.h"

namespace kvr::core {

// The processor's operations, each a DeviceOperation to be driven by the caller. Memory numbers
// are those of the main window's memory selector (1 to 18). Outcome data: the version byte for
// the version reads, the received bytes for a memory read and an operating-system read.

// Command 0 and its 3 s pause; a failure takes the program offline with the link's message.
std::unique_ptr<DeviceOperation> makeDetect(LinkInfo link);
// Command 2 then a receive exchange; data = {version}.
std::unique_ptr<DeviceOperation> makeQuietVersionRead(LinkInfo link);
// The same, then the "KVR 610  DSP Version : " box.
std::unique_ptr<DeviceOperation> makeVersionRead(LinkInfo link);
// Version check, command 3 with the image, 250 ms pause, then command 7 for the same memory.
// `osImage` answers the file question when the user accepts an update; empty: ask for it.
// `verify`: a stored image is then read back (command 4) and compared with the one sent; a
// difference fails the store (Outcome::verifyMismatch) without touching the connection.
std::unique_ptr<DeviceOperation> makeStore(LinkInfo link, int memory, Bytes image, Bytes osImage = {},
                                           bool verify = false);
// Command 4, 0x6F, receive exchange; data = the image as received.
std::unique_ptr<DeviceOperation> makeMemoryRead(LinkInfo link, int memory);
// Command 7 and the 2 s wait.
std::unique_ptr<DeviceOperation> makeMemoryChange(LinkInfo link, int memory);
// Command 10 and a receive exchange; data = the bytes received, their inner length checked.
std::unique_ptr<DeviceOperation> makeOsRead(LinkInfo link);
// Command 1 with a DSP operating system image; empty image: ask for the file.
std::unique_ptr<DeviceOperation> makeOsUpload(LinkInfo link, Bytes image = {}, bool withWarning = true);
// Command 5: lock (0xFF) or unlock (0x00) after the question; the menu's lock asks twice.
std::unique_ptr<DeviceOperation> makeKeyboard(LinkInfo link, bool lock, bool fromMenu = false);
// Command 6 with the 7-byte password block.
std::unique_ptr<DeviceOperation> makePassword(LinkInfo link, Bytes block);
// Command 8.
std::unique_ptr<DeviceOperation> makeReset(LinkInfo link);
// The library maker's send: images of memories 1..C (C <= 18), full memories overwritten
// without asking, protected ones skipped, then command 7 for memory 1. `connected` false asks
// for the connection window first.
std::unique_ptr<DeviceOperation> makeLibrarySend(LinkInfo link, std::vector<Bytes> images, bool connected = true,
                                                 Bytes osImage = {});

// The version as the user reads it: the value divided by ten, shortest form ("4.7", "4").
std::string dspVersionText(uint8_t version);
// The password block: the six keys (1, 2 or 3) in order, then 0xFF when active or 0x00.
Result<Bytes> passwordBlock(std::span<const uint8_t> keys, bool active);

} // namespace kvr::core
