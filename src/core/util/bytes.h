#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::core {

using Bytes = std::vector<uint8_t>;

// Bounds-checked reads from a byte span. Reads past the end give zeros and set `overrun`,
// so a short or hostile input can never be read out of bounds.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : m_data(data) {}

    size_t size() const { return m_data.size(); }
    bool overrun() const { return m_overrun; }
    bool has(size_t offset, size_t count) const { return offset <= m_data.size() && count <= m_data.size() - offset; }

    uint8_t u8(size_t offset) const;
    int8_t s8(size_t offset) const { return static_cast<int8_t>(u8(offset)); }
    uint16_t u16le(size_t offset) const;
    int16_t s16le(size_t offset) const { return static_cast<int16_t>(u16le(offset)); }
    uint16_t u16be(size_t offset) const;
    uint32_t u32le(size_t offset) const;
    uint32_t u32be(size_t offset) const;
    int32_t s32le(size_t offset) const { return static_cast<int32_t>(u32le(offset)); }
    float f32le(size_t offset) const;
    double f64le(size_t offset) const;
    // A length-prefixed short string of the given capacity (capacity + 1 bytes); a length byte
    // above the capacity is clamped to it.
    std::string shortString(size_t offset, size_t capacity) const;
    // `count` raw bytes as text.
    std::string chars(size_t offset, size_t count) const;
    // A short string of stored (Latin-1) characters, as UTF-8 text.
    std::string shortText(size_t offset, size_t capacity) const;

private:
    std::span<const uint8_t> m_data;
    mutable bool m_overrun = false;
};

// Writes into a fixed-size buffer at given offsets; writes past the end are dropped and flagged.
class ByteWriter {
public:
    explicit ByteWriter(std::span<uint8_t> data) : m_data(data) {}

    bool overrun() const { return m_overrun; }

    void u8(size_t offset, uint8_t v);
    void u16le(size_t offset, uint16_t v);
    void u16be(size_t offset, uint16_t v);
    void u32le(size_t offset, uint32_t v);
    void u32be(size_t offset, uint32_t v);
    void s32le(size_t offset, int32_t v) { u32le(offset, static_cast<uint32_t>(v)); }
    void f32le(size_t offset, float v);
    void f64le(size_t offset, double v);
    // Length byte, then the text cut to `capacity`, then zeros up to the capacity.
    void shortString(size_t offset, size_t capacity, std::string_view text);
    // UTF-8 text stored as a short string of Latin-1 characters.
    void shortText(size_t offset, size_t capacity, std::string_view text);

private:
    std::span<uint8_t> m_data;
    bool m_overrun = false;
};

// Appends big-endian words to a growing buffer with a hard limit (the DSP blocks are 2048 bytes).
class ByteAppender {
public:
    explicit ByteAppender(size_t limit) : m_limit(limit) { m_bytes.reserve(limit); }

    bool overflow() const { return m_overflow; }
    const Bytes& bytes() const { return m_bytes; }
    size_t size() const { return m_bytes.size(); }

    void u8(uint8_t v);
    void u16be(uint16_t v);
    void u32be(uint32_t v);
    void append(std::span<const uint8_t> data);

private:
    Bytes m_bytes;
    size_t m_limit;
    bool m_overflow = false;
};

// Hex dump helpers for diagnostics and the CLI.
std::string toHex(std::span<const uint8_t> data);

} // namespace kvr::core
