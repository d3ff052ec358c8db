#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "config/configfile.h"
#include "config/library.h"
#include "image/deviceimage.h"
#include "image/osimage.h"
#include "tools/measurementformats.h"

using namespace kvr::core;

// Inputs that once broke a reader, or were made to reach its refusals, replayed as the fuzz
// targets read them. Files named "refused-*" must be refused; every file must be handled cleanly.

namespace {

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Accepted (true) or refused with a message (false).
bool readAs(const std::string& reader, const Bytes& bytes)
{
    if (reader == "config_file") {
        auto r = decodeConfigurationFile(bytes, "x.kv4");
        EXPECT_TRUE(r.ok() || !r.message().empty());
        return r.ok();
    }
    if (reader == "device_image") {
        auto r = DecodeDeviceImage(bytes, 1);
        EXPECT_TRUE(r.ok() || !r.message().empty());
        return r.ok();
    }
    if (reader == "library") {
        Bytes buffer(kLibrarySize, 0);
        std::copy_n(bytes.begin(), std::min(bytes.size(), kLibrarySize), buffer.begin());
        auto r = MemoryLibrary::fromBuffer(buffer, "x.kvl");
        EXPECT_TRUE(r.ok() || !r.message().empty());
        if (r.ok())
            for (int k = 1; k <= r->count(); ++k)
                (void)DecodeDeviceImage(r->image(k), k);
        return r.ok();
    }
    if (reader == "measurement") {
        // Accepted when any format reads it.
        bool any = false;
        for (int k = 0; k <= static_cast<int>(MeasurementKind::Rew); ++k) {
            auto r = parseMeasurement(bytes, static_cast<MeasurementKind>(k), "x.txt");
            EXPECT_TRUE(r.ok() || !r.message().empty());
            any = any || r.ok();
        }
        return any;
    }
    auto r = decodeOsFile(bytes, "snvd047_r.asc");
    EXPECT_TRUE(r.ok() || !r.message().empty());
    return r.ok();
}

} // namespace

TEST(ReaderRegressions, StoredInputsAreHandledCleanly)
{
    const std::filesystem::path root = std::filesystem::path(KVR_TEST_DATA_DIR) / "fuzz";
    int files = 0;
    for (const char* reader : {"config_file", "device_image", "library", "os_file", "measurement"}) {
        if (!std::filesystem::exists(root / reader)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(root / reader)) {
            const std::string name = entry.path().filename().string();
            const bool accepted = readAs(reader, readFile(entry.path()));
            if (name.rfind("refused-", 0) == 0) {
                EXPECT_FALSE(accepted) << reader << "/" << name;
            }
            ++files;
        }
    }
    EXPECT_GE(files, 11);
}
