#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program holds texts as UTF-8; files, libraries and the processor store one byte per
// character (Latin-1). These are the only conversions between the two.

namespace kvr::core {

// Each byte becomes the character of that code (U+0000..U+00FF).
std::string latin1ToUtf8(std::string_view bytes);

// Each character becomes one byte: characters above U+00FF store '?'. A byte that does not start
// a well-formed UTF-8 sequence is taken as the Latin-1 character of that code, so bytes read as
// Latin-1 always come back unchanged.
std::string utf8ToLatin1(std::string_view text);

// How many bytes the text takes once stored (its characters, counted as utf8ToLatin1 does).
size_t storedLength(std::string_view text);

// The text cut to at most `capacity` stored characters, never inside a UTF-8 sequence.
std::string clampText(std::string_view text, size_t capacity);

} // namespace kvr::core
