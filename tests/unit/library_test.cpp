#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/configfile.h"
#include "config/library.h"
#include "image/deviceimage.h"
#include "image_fixtures.h"
#include "support/tempdir.h"

using namespace kvr::core;
using kvr::test::hexDiff;
using kvr::test::imageConfiguration;
using kvr::test::TempDir;

namespace {

// Configuration files named after their system names, in a fresh folder.
std::vector<std::string> writeFiles(const TempDir& dir, int count)
{
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        Configuration c = i % 2 ? Configuration() : imageConfiguration();
        c.setSystemName("File " + std::to_string(i));
        c.setOutputLevelDb(1, -0.5 * i);
        paths.push_back(dir.file("f" + std::to_string(i) + ".kv4"));
        EXPECT_TRUE(saveConfigurationFile(paths.back(), c).ok());
    }
    return paths;
}

// The image a file gives when opened on its own in a freshly started program.
Bytes imageOfFile(const std::string& path)
{
    auto loaded = loadConfigurationFile(path);
    EXPECT_TRUE(loaded.ok());
    auto image = BuildDeviceImage(loaded->config, false);
    EXPECT_TRUE(image.ok());
    return *image;
}

Bytes toBytes(std::span<const uint8_t> s)
{
    return Bytes(s.begin(), s.end());
}

// An image of length field M = L: header bytes, names, zeros.
Bytes syntheticImage(size_t length, uint8_t fill)
{
    Bytes image(length + 2, fill);
    image[0] = static_cast<uint8_t>(length >> 8);
    image[1] = static_cast<uint8_t>(length);
    return image;
}

} // namespace

TEST(LibraryBuild, ImagesComeFromTheListLastEntryFirst)
{
    TempDir dir;
    const auto paths = writeFiles(dir, 3);
    LibraryBuild build = buildLibrary(paths, false);
    ASSERT_FALSE(build.failure.has_value());
    EXPECT_TRUE(build.notices.empty());
    const MemoryLibrary& lib = build.library;
    ASSERT_EQ(lib.buffer().size(), 239617u);
    EXPECT_EQ(lib.buffer()[0], 3);
    ASSERT_EQ(lib.count(), 3);
    for (int k = 1; k <= 3; ++k) {
        const Bytes expected = imageOfFile(paths[static_cast<size_t>(3 - k)]);
        const Bytes got = toBytes(lib.image(k));
        EXPECT_TRUE(got == expected) << "memory " << k << "\n" << hexDiff(got, expected);
    }
    EXPECT_EQ(lib.memoryName(1), "File 3      ");
    EXPECT_EQ(lib.memoryName(3), "File 1      ");
    // Back to back from offset 1, zeros after the last.
    const size_t first = lib.image(1).size(), second = lib.image(2).size(), third = lib.image(3).size();
    EXPECT_EQ(lib.image(2).data(), lib.buffer().data() + 1 + first);
    const size_t end = 1 + first + second + third;
    for (size_t i = end; i < lib.buffer().size(); i += 997)
        EXPECT_EQ(lib.buffer()[i], 0) << i;
}

TEST(LibraryBuild, EachMemoryIsItsFileAloneWhateverTheOrder)
{
    TempDir dir;
    const auto paths = writeFiles(dir, 4);
    const std::vector<std::string> reversed(paths.rbegin(), paths.rend());
    LibraryBuild a = buildLibrary(paths, false);
    LibraryBuild b = buildLibrary(reversed, false);
    ASSERT_EQ(a.library.count(), 4);
    ASSERT_EQ(b.library.count(), 4);
    for (int k = 1; k <= 4; ++k) {
        const Bytes x = toBytes(a.library.image(k)), y = toBytes(b.library.image(5 - k));
        EXPECT_TRUE(x == y) << "memory " << k << "\n" << hexDiff(x, y);
    }
}

TEST(LibraryBuild, MoreThan38FilesUsesTheFirst38)
{
    TempDir dir;
    const auto paths = writeFiles(dir, 40);
    LibraryBuild build = buildLibrary(paths, false);
    ASSERT_FALSE(build.failure.has_value());
    ASSERT_EQ(build.notices.size(), 1u);
    EXPECT_EQ(build.notices[0].text,
              "You are selecting more than 38 memories. Only the first 38 memories will be read.");
    EXPECT_EQ(build.notices[0].kind, MessageKind::Warning);
    EXPECT_TRUE(build.notices[0].beep);
    EXPECT_EQ(build.library.buffer()[0], 38);
    EXPECT_EQ(build.library.memoryName(1), "File 38     ");
    EXPECT_EQ(build.library.memoryName(38), "File 1      ");
}

TEST(LibraryBuild, RejectedFileEndsTheBuildAndCountsOnlyCopiedImages)
{
    TempDir dir;
    auto paths = writeFiles(dir, 3);
    const std::string bad = dir.file("bad.kv4");
    std::ofstream(bad) << "not a configuration";
    paths[1] = bad;
    std::vector<LoadProgress> progress;
    LibraryBuild build = buildLibrary(paths, false, [&](const LoadProgress& p) { progress.push_back(p); });
    ASSERT_TRUE(build.failure.has_value());
    EXPECT_EQ(build.failure->text, bad + " is not a KVR 610 File");
    EXPECT_EQ(build.failure->kind, MessageKind::Error);
    // Entry 3 was read first and is the only image.
    EXPECT_EQ(build.library.buffer()[0], 1);
    EXPECT_EQ(build.library.count(), 1);
    EXPECT_EQ(build.library.memoryName(1), "File 3      ");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().text, "Opening " + paths[2]);
}

TEST(LibraryBuild, MeasurementFilesTheRecordsNameAreNotRead)
{
    TempDir dir;
    Configuration c;
    c.measurement.fileNames[0] = dir.file("missing.txt");
    const std::string path = dir.file("with-measurement.kv4");
    ASSERT_TRUE(saveConfigurationFile(path, c).ok());
    // Open reports the missing file; the build does not read it at all.
    auto opened = loadConfigurationFile(path);
    ASSERT_TRUE(opened.ok());
    ASSERT_FALSE(opened->notices.empty());
    LibraryBuild build = buildLibrary({path}, false);
    EXPECT_FALSE(build.failure.has_value());
    EXPECT_TRUE(build.notices.empty());
    ASSERT_EQ(build.library.count(), 1);
    EXPECT_TRUE(toBytes(build.library.image(1)) == imageOfFile(path));
}

TEST(LibraryBuild, EmptyListGivesAnEmptyLibrary)
{
    LibraryBuild build = buildLibrary({}, false);
    EXPECT_FALSE(build.failure.has_value());
    EXPECT_EQ(build.library.count(), 0);
    EXPECT_EQ(build.library.buffer()[0], 0);
    EXPECT_EQ(build.library.buffer().size(), 239617u);
}

TEST(LibraryBuffer, TwoImagesOfLength100)
{
    MemoryLibrary lib;
    ASSERT_TRUE(lib.append(syntheticImage(100, 0x11)).ok());
    ASSERT_TRUE(lib.append(syntheticImage(100, 0x22)).ok());
    const Bytes& b = lib.buffer();
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 100);
    EXPECT_EQ(b[102], 0x11);
    EXPECT_EQ(b[103], 0);
    EXPECT_EQ(b[104], 100);
    EXPECT_EQ(b[204], 0x22);
    EXPECT_EQ(b[205], 0); // the byte after the last image: nothing stale
    auto read = MemoryLibrary::fromBuffer(b, "x");
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read->count(), 2);
    EXPECT_EQ(read->image(2).data() - read->buffer().data(), 103);
    EXPECT_EQ(read->image(2).size(), 102u);
    EXPECT_EQ(read->memoryName(2), std::string(12, '\x22'));
}

// A send stores exactly the counted images, in memory order, length fields included; nothing of
// the zeroed rest of the buffer.
TEST(LibraryBuffer, MemoryNamesAreShownAsUtf8)
{
    Configuration c;
    c.setSystemName("Sal\xC3\xB3n \xE2\x82\xAC");
    auto image = BuildDeviceImage(c, false);
    ASSERT_TRUE(image.ok());
    MemoryLibrary lib;
    ASSERT_TRUE(lib.append(*image).ok());
    // Stored: S a l F3 n space ? and five spaces of padding.
    EXPECT_EQ(lib.buffer()[1 + kImageSystemName + 3], 0xF3);
    EXPECT_EQ(lib.memoryName(1), "Sal\xC3\xB3n ?     ");
}

TEST(LibraryBuffer, ImagesToSendAreTheCountedImagesInOrder)
{
    MemoryLibrary empty;
    EXPECT_TRUE(empty.imagesToSend().empty());

    MemoryLibrary lib;
    const Bytes first = syntheticImage(100, 0x11), second = syntheticImage(70, 0x22), third = syntheticImage(85, 0x33);
    for (const Bytes& image : {first, second, third})
        ASSERT_TRUE(lib.append(image).ok());
    auto read = MemoryLibrary::fromBuffer(lib.buffer(), "x");
    ASSERT_TRUE(read.ok());
    for (const MemoryLibrary* source : {&lib, &*read}) {
        const std::vector<Bytes> images = source->imagesToSend();
        ASSERT_EQ(images.size(), 3u);
        EXPECT_EQ(images[0], first);
        EXPECT_EQ(images[1], second);
        EXPECT_EQ(images[2], third);
    }
}

TEST(LibraryBuffer, AppendRefusesMalformedImages)
{
    MemoryLibrary lib;
    Bytes image = syntheticImage(100, 1);
    image.pop_back(); // shorter than its length field says
    EXPECT_FALSE(lib.append(image).ok());
    EXPECT_FALSE(lib.append(Bytes{}).ok());
    EXPECT_EQ(lib.count(), 0);
    EXPECT_EQ(lib.buffer()[0], 0);
}

TEST(LibraryFile, WriteThenReadGivesTheSameImages)
{
    TempDir dir;
    const auto paths = writeFiles(dir, 5);
    LibraryBuild build = buildLibrary(paths, true);
    ASSERT_FALSE(build.failure.has_value());
    const std::string file = dir.file("lib.kvl");
    ASSERT_TRUE(writeLibraryFile(file, build.library).ok());
    EXPECT_EQ(std::filesystem::file_size(file), 239617u);
    auto read = readLibraryFile(file);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_TRUE(read->buffer() == build.library.buffer());
    ASSERT_EQ(read->count(), 5);
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(toBytes(read->image(k)) == toBytes(build.library.image(k))) << k;
    // An empty library is a full-size file too.
    ASSERT_TRUE(writeLibraryFile(file, MemoryLibrary()).ok());
    EXPECT_EQ(std::filesystem::file_size(file), 239617u);
}

TEST(LibraryFile, WrongSizeIsRefused)
{
    TempDir dir;
    for (size_t size : {size_t(0), size_t(239616), size_t(239618)}) {
        const std::string file = dir.file("lib.kvl");
        std::ofstream(file, std::ios::binary) << std::string(size, '\0');
        auto read = readLibraryFile(file);
        ASSERT_FALSE(read.ok()) << size;
        EXPECT_EQ(read.message(), file + " is not a KVR 610 Library file: a library file holds exactly 239617 bytes.");
    }
    EXPECT_FALSE(readLibraryFile(dir.file("missing.kvl")).ok());
}

TEST(LibraryFile, ImagesOutsideTheBufferAreRefused)
{
    MemoryLibrary lib;
    ASSERT_TRUE(lib.append(syntheticImage(100, 1)).ok());
    Bytes b = lib.buffer();
    b[0] = 2; // claims a second image: a zero length field
    auto read = MemoryLibrary::fromBuffer(b, "lib.kvl");
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.message(), "lib.kvl is not a valid KVR 610 Library file: memory 2 does not fit inside the file.");
    // An image running past the end of the buffer.
    b = Bytes(239617, 0);
    b[0] = 1;
    b[1] = 0xFF;
    b[2] = 0xFF;
    Bytes tail = b;
    EXPECT_TRUE(MemoryLibrary::fromBuffer(b, "x").ok()); // 65537 bytes fit
    for (size_t p = 1, k = 0; k < 4; ++k, p += 65537) {
        tail[p] = 0xFF;
        tail[p + 1] = 0xFF;
    }
    tail[0] = 4; // the fourth 65537-byte image would end past 239617
    EXPECT_FALSE(MemoryLibrary::fromBuffer(tail, "x").ok());
    b[0] = 39;
    read = MemoryLibrary::fromBuffer(b, "lib.kvl");
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.message(), "lib.kvl is not a valid KVR 610 Library file: it claims more than 38 memories.");
}
