#include "image/generatext.h"

#include "image/deviceimage.h"
#include "util/rounding.h"

namespace kvr::core {

std::vector<std::string> blockHexLines(std::span<const uint8_t> block)
{
    static const char* digits = "0123456789ABCDEF";
    const size_t lineCount = static_cast<size_t>(roundHalfEven(static_cast<double>(block.size()) / 4.0));
    std::vector<std::string> lines;
    lines.reserve(lineCount);
    for (size_t line = 0; line < lineCount; ++line) {
        std::string text;
        for (size_t i = 4 * line; i < 4 * line + 4 && i < block.size(); ++i) {
            if (!text.empty()) text.push_back(' ');
            text.push_back(digits[block[i] >> 4]);
            text.push_back(digits[block[i] & 15]);
        }
        lines.push_back(text);
    }
    return lines;
}

std::vector<std::string> numberedLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        out.push_back(lines[i] + " : " + std::to_string(i + 1));
    return out;
}

Result<GeneraText> generaText(std::span<const uint8_t> image)
{
    auto layout = LocateDeviceImage(image);
    if (!layout) return layout.error();
    GeneraText text;
    text.block1 = blockHexLines(image.subspan(layout->block1Offset, layout->block1Length));
    text.block2 = blockHexLines(image.subspan(layout->block2Offset, layout->block2Length));
    text.numbered = numberedLines(text.block1);
    return text;
}

} // namespace kvr::core
