// The configuration file reader: any bytes are accepted or refused cleanly, and what is accepted
// writes back as a record of the current size.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "config/configfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kvr::core;
    auto loaded = decodeConfigurationFile(std::span<const uint8_t>(data, size), "fuzz.kv4");
    if (loaded.ok() && encodeConfigurationFile(loaded->config, "fuzz.kv4").size() != kConfigFileSize) std::abort();
    return 0;
}
