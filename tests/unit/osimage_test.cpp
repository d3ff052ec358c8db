#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "image/osimage.h"
#include "support/tempdir.h"

using namespace kvr::core;
using kvr::test::TempDir;

namespace {

std::span<const uint8_t> asBytes(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

Bytes randomBytes(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (uint8_t& x : b)
        x = static_cast<uint8_t>(rng());
    return b;
}

// Two hexadecimal digits per byte written by hand, upper or lower case.
std::string hexLine(const Bytes& bytes, bool upper)
{
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, upper ? "%02X" : "%02x", bytes[i]);
        if (i > 0) line += ' ';
        line += buf;
    }
    return line;
}

} // namespace

TEST(OsFile, ThreeFullLinesAndATenByteLineWithoutLineEnd)
{
    const Bytes data = randomBytes(58, 1);
    std::string text;
    for (int line = 0; line < 3; ++line)
        text += hexLine(Bytes(data.begin() + 16 * line, data.begin() + 16 * line + 16), line == 1) + "\r\n";
    text += hexLine(Bytes(data.begin() + 48, data.end()), false); // 29 characters
    ASSERT_EQ(text.size(), 3u * 49 + 29);
    auto os = decodeOsFile(asBytes(text), "/dsp/kvr0047.asc");
    ASSERT_TRUE(os.ok()) << os.message();
    EXPECT_EQ(os->byteCount, 58u);
    EXPECT_EQ(os->version, 47);
    ASSERT_EQ(os->image.size(), 61u);
    EXPECT_EQ(os->image[0], 0);
    EXPECT_EQ(os->image[1], 61);
    EXPECT_EQ(os->image[2], 47);
    EXPECT_TRUE(Bytes(os->image.begin() + 3, os->image.end()) == data);
}

TEST(OsFile, WrittenTextLayout)
{
    const Bytes data = {0x00, 0x1f, 0xA0, 0xff, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0xab, 0xcd};
    const std::string text = osFileText(data);
    EXPECT_EQ(text, "00 1f a0 ff 01 02 03 04 05 06 07 08 09 0a 0b 0c\r\nab cd ");
    // A multiple of 16 bytes ends with the line end of its last full line.
    EXPECT_EQ(osFileText(Bytes(16, 0xEE)), "ee ee ee ee ee ee ee ee ee ee ee ee ee ee ee ee\r\n");
    EXPECT_EQ(osFileText(Bytes(16, 0)).size(), 49u);
    EXPECT_EQ(osFileText(Bytes{}), "");
}

TEST(OsFile, WrittenTextReadsBackToTheSameBytes)
{
    for (size_t n :
         {size_t(1), size_t(15), size_t(16), size_t(17), size_t(58), size_t(1000), size_t(6143), size_t(6144)}) {
        const Bytes data = randomBytes(n, static_cast<unsigned>(n));
        auto os = decodeOsFile(asBytes(osFileText(data)), "snvd047_r.asc");
        ASSERT_TRUE(os.ok()) << n << ": " << os.message();
        EXPECT_EQ(os->byteCount, n);
        EXPECT_EQ(os->image.size(), n + 3);
        EXPECT_EQ(size_t{os->image[0]} << 8 | os->image[1], n + 3);
        EXPECT_TRUE(Bytes(os->image.begin() + 3, os->image.end()) == data) << n;
    }
}

TEST(OsFile, ProposedFileName)
{
    EXPECT_EQ(proposedOsFileName(47), "snvd047_r");
    EXPECT_EQ(proposedOsFileName(99), "snvd099_r");
    EXPECT_EQ(proposedOsFileName(100), "snvd100_r");
    EXPECT_EQ(proposedOsFileName(5), "snvd05_r");
}

TEST(OsFile, ReceivedSystemIsCheckedAgainstItsLength)
{
    Bytes received = {0x00, 0x06, 47, 0xAA, 0xBB, 0xCC, 0xDD};
    auto os = receivedOs(received);
    ASSERT_TRUE(os.ok());
    EXPECT_EQ(os->version, 47);
    EXPECT_TRUE(Bytes(os->bytes.begin(), os->bytes.end()) == (Bytes{0xAA, 0xBB, 0xCC}));
    received[1] = 0x08; // more than was received
    EXPECT_EQ(receivedOs(received).message(), "The DSP Operating System received is incomplete.");
    EXPECT_FALSE(receivedOs(Bytes{0, 2}).ok());
    EXPECT_FALSE(receivedOs(Bytes{0, 2, 47}).ok());
}

TEST(OsFile, Refusals)
{
    const std::string good = osFileText(randomBytes(40, 3));
    // More than the image buffer holds.
    auto big = decodeOsFile(asBytes(osFileText(Bytes(6145, 1))), "snvd047_r.asc");
    ASSERT_FALSE(big.ok());
    EXPECT_EQ(big.message(), "snvd047_r.asc holds more than 6144 bytes: it is not a DSP Operating System file.");
    // A character that is no hexadecimal digit at a byte position.
    std::string bad = good;
    bad[3 * 5 + 1] = 'g';
    auto digit = decodeOsFile(asBytes(bad), "snvd047_r.asc");
    ASSERT_FALSE(digit.ok());
    EXPECT_EQ(digit.message(),
              "snvd047_r.asc is not a DSP Operating System file: line 1 has no hexadecimal number at byte 6.");
    // A line too short for its bytes: never read past its end.
    bad = good;
    bad.replace(49, 47, "01 02\r\n" + std::string(40, ' '));
    auto shortLine = decodeOsFile(asBytes(bad), "snvd047_r.asc");
    ASSERT_FALSE(shortLine.ok());
    EXPECT_EQ(shortLine.message(),
              "snvd047_r.asc is not a DSP Operating System file: line 2 is too short for its bytes.");
    // A name without a version in its 5th to 7th characters.
    for (const char* name : {"snvdabc_r.asc", "snvd04", "a/b/kvr.asc", "snvd4_7.asc"}) {
        auto os = decodeOsFile(asBytes(good), name);
        ASSERT_FALSE(os.ok()) << name;
        EXPECT_NE(os.message().find("the 5th to 7th characters of the file name"), std::string::npos) << name;
    }
    EXPECT_FALSE(decodeOsFile(asBytes(good), "snvd300_r.asc").ok());
    EXPECT_EQ(decodeOsFile(asBytes(std::string()), "snvd047.asc").message(),
              "snvd047.asc holds no DSP Operating System data.");
}

TEST(OsFile, ReadFromDisk)
{
    TempDir dir;
    const Bytes data = randomBytes(100, 9);
    const std::string path = dir.file("snvd047_r.asc");
    std::ofstream(path, std::ios::binary) << osFileText(data);
    auto os = readOsFile(path);
    ASSERT_TRUE(os.ok()) << os.message();
    EXPECT_EQ(os->version, 47);
    EXPECT_TRUE(Bytes(os->image.begin() + 3, os->image.end()) == data);
    EXPECT_FALSE(readOsFile(dir.file("snvd047_x.asc")).ok());
}

TEST(OsFile, ReceivedSystemSavedAndReadBack)
{
    TempDir dir;
    Bytes received = {0, 0, 47};
    const Bytes system = randomBytes(300, 5);
    received.insert(received.end(), system.begin(), system.end());
    received[0] = static_cast<uint8_t>(received.size() >> 8);
    received[1] = static_cast<uint8_t>(received.size());
    received.resize(received.size() + 50, 0xEE); // the rest of the receive buffer is not saved
    const std::string path = dir.file(proposedOsFileName(received[2]) + ".asc");
    ASSERT_TRUE(saveOsFile(path, received).ok());
    auto os = readOsFile(path);
    ASSERT_TRUE(os.ok()) << os.message();
    EXPECT_EQ(os->version, 47);
    EXPECT_TRUE(Bytes(os->image.begin() + 3, os->image.end()) == system);
    received[0] = 0xFF;
    EXPECT_FALSE(saveOsFile(path, received).ok());
}
