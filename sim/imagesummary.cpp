#include "sim/imagesummary.h"

#include "util/bytes.h"

namespace kvr::sim {

namespace {

std::string field(const core::ByteReader& reader, size_t offset, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        uint8_t c = reader.u8(offset + i);
        text.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
    }
    return "'" + text + "'";
}

std::string routeName(uint8_t code)
{
    switch (code) {
    case 0:
        return "A";
    case 1:
        return "M";
    case 2:
        return "B";
    default:
        return "?" + std::to_string(code);
    }
}

} // namespace

std::string describeImage(std::span<const uint8_t> image)
{
    constexpr size_t kHeader = 49;
    if (image.size() < kHeader) return "short image of " + std::to_string(image.size()) + " bytes";
    core::ByteReader reader(image);
    const size_t m = reader.u16be(0);
    std::string text = "M=" + std::to_string(m);
    if (m + 2 != image.size()) text += " (image has " + std::to_string(image.size()) + " bytes, not M+2)";
    text += " routes ";
    for (size_t i = 0; i < 4; ++i)
        text += (i ? "," : "") + routeName(reader.u8(4 + i));
    text += reader.u8(8) == 0xFF ? " blocked" : " unblocked";
    text += " system " + field(reader, 13, 12);
    text += " inputs " + field(reader, 25, 4) + " " + field(reader, 29, 4);
    text += " outputs";
    for (size_t i = 0; i < 4; ++i)
        text += " " + field(reader, 33 + 4 * i, 4);
    return text;
}

} // namespace kvr::sim
