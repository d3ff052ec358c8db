#include <gtest/gtest.h>

#include "config/configuration.h"
#include "image/deviceimage.h"
#include "image/imagecompare.h"

namespace kvr::core {
namespace {

// Part boundaries read straight from the bytes as the image layout gives them: M at 0, the
// names end at 48, L1 + 2 at 49 (big-endian), block 1 from 51, L2 + 2 after it, block 2, then
// 0, 0x02 0x8C and the record.
struct Bounds {
    size_t block1 = 0, block2Field = 0, block2 = 0, afterBlocks = 0, size = 0;
};

Bounds boundsOf(const Bytes& image)
{
    Bounds b;
    const size_t l1 = ((size_t(image[49]) << 8) | image[50]) - 2;
    b.block1 = 51;
    b.block2Field = 51 + l1;
    const size_t l2 = ((size_t(image[b.block2Field]) << 8) | image[b.block2Field + 1]) - 2;
    b.block2 = b.block2Field + 2;
    b.afterBlocks = b.block2 + l2;
    b.size = image.size();
    return b;
}

class ImageCompare : public ::testing::Test {
protected:
    void SetUp() override
    {
        Configuration c;
        c.setSystemName("Verify");
        auto built = BuildDeviceImage(c, false);
        ASSERT_TRUE(built);
        image = *built;
        bounds = boundsOf(image);
        ASSERT_EQ(bounds.size, bounds.afterBlocks + 1 + 2 + 650 + 4); // the layout's fixed tail
    }
    Bytes image;
    Bounds bounds;
};

TEST_F(ImageCompare, EqualImagesHaveNoDifference)
{
    EXPECT_FALSE(firstImageDifference(image, image).has_value());
    EXPECT_FALSE(firstImageDifference(Bytes{}, Bytes{}).has_value());
}

TEST_F(ImageCompare, AChangedByteIsNamedByThePartItLiesIn)
{
    struct Row {
        const char* where;
        size_t offset;
        ImagePart part;
    };
    const Row rows[] = {
        {"first byte (M)", 0, ImagePart::Header},
        {"system name", 13, ImagePart::Header},
        {"block 1 length", 50, ImagePart::Header},
        {"block 1 first", bounds.block1, ImagePart::DspBlock1},
        {"block 1 last", bounds.block2Field - 1, ImagePart::DspBlock1},
        {"block 2 length", bounds.block2Field, ImagePart::DspBlock2},
        {"block 2 last", bounds.afterBlocks - 1, ImagePart::DspBlock2},
        {"zero after blocks", bounds.afterBlocks, ImagePart::Record},
        {"record marker", bounds.afterBlocks + 3, ImagePart::Record},
        {"last byte", bounds.size - 1, ImagePart::Record},
    };
    for (const Row& row : rows) {
        Bytes received = image;
        received[row.offset] ^= 0x01;
        auto difference = firstImageDifference(image, received);
        ASSERT_TRUE(difference.has_value()) << row.where;
        EXPECT_EQ(difference->part, row.part) << row.where;
        EXPECT_EQ(difference->offset, row.offset) << row.where;
    }
}

TEST_F(ImageCompare, ShorterOrLongerReadBackDiffersWhereTheShorterEnds)
{
    struct Row {
        const char* what;
        size_t receivedSize;
        size_t offset;
        ImagePart part;
    };
    const Row rows[] = {
        {"nothing read", 0, 0, ImagePart::Header},
        {"cut inside block 2", bounds.block2 + 3, bounds.block2 + 3, ImagePart::DspBlock2},
        {"last byte missing", bounds.size - 1, bounds.size - 1, ImagePart::Record},
        {"one byte extra", bounds.size + 1, bounds.size, ImagePart::Record},
    };
    for (const Row& row : rows) {
        Bytes received = image;
        received.resize(row.receivedSize, 0x00);
        auto difference = firstImageDifference(image, received);
        ASSERT_TRUE(difference.has_value()) << row.what;
        EXPECT_EQ(difference->offset, row.offset) << row.what;
        EXPECT_EQ(difference->part, row.part) << row.what;
    }
}

TEST(ImageCompareTexts, StatusAndMismatchTexts)
{
    EXPECT_EQ(memoryStoredText(3, true), "Memory 3 stored and verified");
    EXPECT_EQ(memoryStoredText(18, false), "Memory 18 stored");
    EXPECT_EQ(memoryReadText(1), "Memory 1 read");
    EXPECT_EQ(verifyMismatchText(5, ImageDifference{ImagePart::DspBlock2, 1234}),
              "Memory 5 NOT verified: the DSP block 2 read back differs from the one sent (first at byte 1234). "
              "Store it again.");
    EXPECT_STREQ(imagePartName(ImagePart::Header), "header");
    EXPECT_STREQ(imagePartName(ImagePart::DspBlock1), "DSP block 1");
    EXPECT_STREQ(imagePartName(ImagePart::Record), "configuration record");
}

} // namespace
} // namespace kvr::core
