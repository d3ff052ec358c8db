#include "util/latin1.h"

#include <cstdint>

namespace kvr::core {

namespace {

struct Character {
    uint32_t code = 0;
    size_t length = 1;
};

bool continuation(uint8_t b)
{
    return (b & 0xC0) == 0x80;
}

// The character starting at `at`. Anything other than a well-formed, shortest-form sequence of
// a valid code point is one character: its first byte.
Character characterAt(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[at + i]); };
    const uint8_t lead = byte(0);
    const size_t left = text.size() - at;
    Character single{lead, 1};
    if (lead < 0x80) return single;

    size_t length = 0;
    uint32_t code = 0;
    uint8_t low = 0x80; // allowed range of the second byte (shortest form, no surrogates, <= U+10FFFF)
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return single;
    }
    if (left < length || byte(1) < low || byte(1) > high) return single;
    for (size_t i = 1; i < length; ++i) {
        if (!continuation(byte(i))) return single;
        code = code << 6 | (byte(i) & 0x3Fu);
    }
    return {code, length};
}

} // namespace

std::string latin1ToUtf8(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (b < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | b >> 6));
            text.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return text;
}

std::string utf8ToLatin1(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const Character ch = characterAt(text, at);
        bytes.push_back(ch.code <= 0xFF ? static_cast<char>(ch.code) : '?');
        at += ch.length;
    }
    return bytes;
}

size_t storedLength(std::string_view text)
{
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++count)
        at += characterAt(text, at).length;
    return count;
}

std::string clampText(std::string_view text, size_t capacity)
{
    size_t at = 0;
    for (size_t count = 0; count < capacity && at < text.size(); ++count)
        at += characterAt(text, at).length;
    return std::string(text.substr(0, at));
}

} // namespace kvr::core
