#include "image/imagecompare.h"

#include <algorithm>

#include "image/deviceimage.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

ImagePart partAt(std::span<const uint8_t> sent, size_t offset)
{
    auto layout = LocateDeviceImage(sent);
    // An image this program did not build has no parts to name beyond its start.
    if (!layout) return ImagePart::Header;
    if (offset < layout->block1Offset) return ImagePart::Header;
    if (offset < layout->block1Offset + layout->block1Length) return ImagePart::DspBlock1;
    if (offset < layout->block2Offset + layout->block2Length) return ImagePart::DspBlock2;
    return ImagePart::Record;
}

} // namespace

std::optional<ImageDifference> firstImageDifference(std::span<const uint8_t> sent, std::span<const uint8_t> received)
{
    const size_t common = std::min(sent.size(), received.size());
    const auto mismatch = std::mismatch(sent.begin(), sent.begin() + std::ptrdiff_t(common), received.begin());
    size_t offset = static_cast<size_t>(mismatch.first - sent.begin());
    if (offset == common && sent.size() == received.size()) return std::nullopt;
    // Bytes beyond the end of the image sent belong with its last part.
    const size_t located = std::min(offset, sent.empty() ? size_t{0} : sent.size() - 1);
    return ImageDifference{partAt(sent, located), offset};
}

const char* imagePartName(ImagePart part)
{
    switch (part) {
    case ImagePart::Header:
        return texts::kImagePartHeader;
    case ImagePart::DspBlock1:
        return texts::kImagePartDsp1;
    case ImagePart::DspBlock2:
        return texts::kImagePartDsp2;
    case ImagePart::Record:
        return texts::kImagePartRecord;
    }
    return texts::kImagePartHeader;
}

std::string memoryStoredText(int memory, bool verified)
{
    return texts::kMemoryPrefix + std::to_string(memory) + (verified ? texts::kStoredVerified : texts::kStored);
}

std::string memoryReadText(int memory)
{
    return texts::kMemoryPrefix + std::to_string(memory) + texts::kMemoryRead;
}

std::string verifyMismatchText(int memory, const ImageDifference& difference)
{
    return texts::kMemoryPrefix + std::to_string(memory) + texts::kVerifyMismatchMiddle +
           imagePartName(difference.part) + texts::kVerifyMismatchByte + std::to_string(difference.offset) +
           texts::kVerifyMismatchEnd;
}

} // namespace kvr::core
