#include "util/bytes.h"

#include <algorithm>
#include <bit>

#include "util/latin1.h"

namespace kvr::core {

uint8_t ByteReader::u8(size_t offset) const
{
    if (offset >= m_data.size()) {
        m_overrun = true;
        return 0;
    }
    return m_data[offset];
}

uint16_t ByteReader::u16le(size_t o) const
{
    return static_cast<uint16_t>(u8(o) | (u8(o + 1) << 8));
}

uint16_t ByteReader::u16be(size_t o) const
{
    return static_cast<uint16_t>((u8(o) << 8) | u8(o + 1));
}

uint32_t ByteReader::u32le(size_t o) const
{
    return static_cast<uint32_t>(u8(o)) | (static_cast<uint32_t>(u8(o + 1)) << 8) |
           (static_cast<uint32_t>(u8(o + 2)) << 16) | (static_cast<uint32_t>(u8(o + 3)) << 24);
}

uint32_t ByteReader::u32be(size_t o) const
{
    return (static_cast<uint32_t>(u8(o)) << 24) | (static_cast<uint32_t>(u8(o + 1)) << 16) |
           (static_cast<uint32_t>(u8(o + 2)) << 8) | static_cast<uint32_t>(u8(o + 3));
}

float ByteReader::f32le(size_t o) const
{
    return std::bit_cast<float>(u32le(o));
}

double ByteReader::f64le(size_t o) const
{
    uint64_t v = static_cast<uint64_t>(u32le(o)) | (static_cast<uint64_t>(u32le(o + 4)) << 32);
    return std::bit_cast<double>(v);
}

std::string ByteReader::shortString(size_t offset, size_t capacity) const
{
    size_t n = std::min<size_t>(u8(offset), capacity);
    return chars(offset + 1, n);
}

std::string ByteReader::shortText(size_t offset, size_t capacity) const
{
    return latin1ToUtf8(shortString(offset, capacity));
}

std::string ByteReader::chars(size_t offset, size_t count) const
{
    std::string s;
    s.reserve(count);
    for (size_t i = 0; i < count; ++i)
        s.push_back(static_cast<char>(u8(offset + i)));
    return s;
}

void ByteWriter::u8(size_t offset, uint8_t v)
{
    if (offset >= m_data.size()) {
        m_overrun = true;
        return;
    }
    m_data[offset] = v;
}

void ByteWriter::u16le(size_t o, uint16_t v)
{
    u8(o, static_cast<uint8_t>(v));
    u8(o + 1, static_cast<uint8_t>(v >> 8));
}

void ByteWriter::u16be(size_t o, uint16_t v)
{
    u8(o, static_cast<uint8_t>(v >> 8));
    u8(o + 1, static_cast<uint8_t>(v));
}

void ByteWriter::u32le(size_t o, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        u8(o + i, static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::u32be(size_t o, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        u8(o + i, static_cast<uint8_t>(v >> (8 * (3 - i))));
}

void ByteWriter::f32le(size_t o, float v)
{
    u32le(o, std::bit_cast<uint32_t>(v));
}

void ByteWriter::f64le(size_t o, double v)
{
    uint64_t bits = std::bit_cast<uint64_t>(v);
    u32le(o, static_cast<uint32_t>(bits));
    u32le(o + 4, static_cast<uint32_t>(bits >> 32));
}

void ByteWriter::shortString(size_t offset, size_t capacity, std::string_view text)
{
    size_t n = std::min(text.size(), capacity);
    u8(offset, static_cast<uint8_t>(n));
    for (size_t i = 0; i < capacity; ++i)
        u8(offset + 1 + i, i < n ? static_cast<uint8_t>(text[i]) : 0);
}

void ByteWriter::shortText(size_t offset, size_t capacity, std::string_view text)
{
    shortString(offset, capacity, utf8ToLatin1(text));
}

void ByteAppender::u8(uint8_t v)
{
    if (m_bytes.size() >= m_limit) {
        m_overflow = true;
        return;
    }
    m_bytes.push_back(v);
}

void ByteAppender::u16be(uint16_t v)
{
    u8(static_cast<uint8_t>(v >> 8));
    u8(static_cast<uint8_t>(v));
}

void ByteAppender::u32be(uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        u8(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteAppender::append(std::span<const uint8_t> data)
{
    for (uint8_t b : data)
        u8(b);
}

std::string toHex(std::span<const uint8_t> data)
{
    static const char* digits = "0123456789abcdef";
    std::string s;
    s.reserve(data.size() * 2);
    for (uint8_t b : data) {
        s.push_back(digits[b >> 4]);
        s.push_back(digits[b & 15]);
    }
    return s;
}

} // namespace kvr::core
