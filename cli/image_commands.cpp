#include "image_commands.h"

#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <string>

#include "args.h"
#include "config/configfile.h"
#include "config/library.h"
#include "image/deviceimage.h"
#include "image/osimage.h"
#include "json_output.h"
#include "tools/listings.h"
#include "tools/powercheck.h"
#include "tools/report.h"
#include "util/bytes.h"
#include "util/numtext.h"

namespace kvr::cli {

using namespace kvr::core;

namespace {

int usage(const std::string& message)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", message.c_str());
    printImageCommandsUsage();
    return kUsageError;
}

void printLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
}

void printNotices(const std::vector<Message>& notices)
{
    for (const Message& m : notices)
        std::fprintf(stderr, "%s\n", m.text.c_str());
}

Result<Configuration> load(const std::string& path)
{
    auto loaded = loadConfigurationFile(path);
    if (!loaded) return loaded.error();
    printNotices(loaded->notices);
    return std::move(loaded->config);
}

std::string now()
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return buf;
}

int imageCommand(Args& args)
{
    const auto out = args.takeOption("--out");
    const bool blocked = args.takeFlag("--memory-blocked");
    if (args.missingValue()) return usage("image: --out needs a file name");
    if (auto unknown = args.unknownOption()) return usage("image: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("image: expects one configuration file");
    auto config = load(args.positional()[0]);
    if (!config) return fail(config.message());
    auto image = BuildDeviceImage(*config, blocked);
    if (!image) return fail(image.message());
    if (!out) {
        std::printf("%s\n", toHex(*image).c_str());
        return 0;
    }
    Status saved = writeFileAtomically(*out, *image);
    return saved ? 0 : fail(saved.message());
}

int decodeCommand(Args& args)
{
    const auto out = args.takeOption("--out");
    const auto memoryText = args.takeOption("--memory");
    if (args.missingValue() || !out) return usage("decode: --out FILE.kv4 is required");
    if (auto unknown = args.unknownOption()) return usage("decode: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("decode: expects one image file");
    int memory = 1;
    if (memoryText) {
        auto n = parseInteger(*memoryText);
        if (!n || *n < 1 || *n > 18) return usage("decode: --memory must be 1 to 18");
        memory = static_cast<int>(*n);
    }
    // An image is at most two full blocks and the record.
    auto bytes = readWholeFile(args.positional()[0], 2 * kDspBlockCapacity + kImageFixedBytes);
    if (!bytes) return fail(bytes.message());
    auto config = DecodeDeviceImage(*bytes, memory);
    if (!config) return fail(config.message());
    Status saved = saveConfigurationFile(*out, *config);
    return saved ? 0 : fail(saved.message());
}

int libraryCommand(Args& args)
{
    const bool blocked = args.takeFlag("--memory-blocked");
    const bool json = args.takeFlag("--json");
    if (auto unknown = args.unknownOption()) return usage("library: unknown option " + *unknown);
    const auto& pos = args.positional();
    if (pos.size() >= 2 && pos[0] == "build") {
        const std::vector<std::string> files(pos.begin() + 2, pos.end());
        LibraryBuild build = buildLibrary(files, blocked);
        printNotices(build.notices);
        if (build.failure) return fail(build.failure->text);
        Status saved = writeLibraryFile(pos[1], build.library);
        if (!saved) return fail(saved.message());
        std::printf("%d memories\n", build.library.count());
        return 0;
    }
    if (pos.size() == 2 && pos[0] == "list") {
        auto library = readLibraryFile(pos[1]);
        if (!library) return fail(library.message());
        if (json) {
            QJsonArray memories;
            for (int k = 1; k <= library->count(); ++k)
                memories.append(QJsonObject{{"memory", k}, {"name", jsonText(library->memoryName(k))}});
            printJson(QJsonObject{{"memories", memories}});
            return 0;
        }
        for (int k = 1; k <= library->count(); ++k)
            std::printf("%2d - %s\n", k, library->memoryName(k).c_str());
        return 0;
    }
    return usage("library: expects \"build OUT.kvl FILE.kv4...\" or \"list FILE.kvl\"");
}

int listingCommand(Args& args)
{
    static const std::map<std::string, ListingKind> kinds = {
        {"peq1", ListingKind::Peq1},     {"peq2", ListingKind::Peq2},     {"dsp1", ListingKind::Dsp1},
        {"dsp2", ListingKind::Dsp2},     {"xover1", ListingKind::Xover1}, {"xover2", ListingKind::Xover2},
        {"xover3", ListingKind::Xover3}, {"xover4", ListingKind::Xover4}, {"dynamics", ListingKind::Dynamics}};
    const auto kind = args.takeOption("--kind");
    const auto name = args.takeOption("--eq-name");
    const auto date = args.takeOption("--date");
    const bool switched = args.takeFlag("--peq2-lists-peqa");
    if (args.missingValue() || !kind || !kinds.count(*kind))
        return usage("listing: --kind must be peq1, peq2, dsp1, dsp2, xover1..xover4 or dynamics");
    if (auto unknown = args.unknownOption()) return usage("listing: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("listing: expects one configuration file");
    auto config = load(args.positional()[0]);
    if (!config) return fail(config.message());
    ListingInputs inputs{date.value_or(now()), name.value_or(config->system.name), switched};
    printLines(coefficientListing(*config, kinds.at(*kind), inputs));
    return 0;
}

int reportCommand(Args& args)
{
    const auto date = args.takeOption("--date");
    if (args.missingValue()) return usage("report: --date needs a text");
    if (auto unknown = args.unknownOption()) return usage("report: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("report: expects one configuration file");
    auto config = load(args.positional()[0]);
    if (!config) return fail(config.message());
    printLines(automaticReport(*config, date.value_or(now()), KVR_VERSION_TEXT));
    return 0;
}

int powerCommand(Args& args)
{
    const auto text = args.takeOption("--output");
    const auto n = text ? parseInteger(*text) : std::nullopt;
    if (!n || *n < 1 || *n > kOutputCount) return usage("power: --output must be 1, 2, 3 or 4");
    if (auto unknown = args.unknownOption()) return usage("power: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("power: expects one configuration file");
    auto config = load(args.positional()[0]);
    if (!config) return fail(config.message());
    printLines(powerMemoLines(config->output(static_cast<int>(*n)).dynamics));
    return 0;
}

int osImageCommand(Args& args)
{
    if (auto unknown = args.unknownOption()) return usage("os-image: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("os-image: expects one .asc file");
    auto os = readOsFile(args.positional()[0]);
    if (!os) return fail(os.message());
    std::printf("bytes: %zu\nversion: %d (%s)\nimage length: %zu\n", os->byteCount, os->version,
                formatGeneral(os->version / 10.0).c_str(), os->image.size());
    return 0;
}

} // namespace

void printImageCommandsUsage()
{
    std::fprintf(stderr,
                 "  image FILE.kv4 [--out IMAGE.bin] [--memory-blocked]\n"
                 "                                     device image (hex on stdout without --out)\n"
                 "  decode IMAGE.bin --out FILE.kv4 [--memory N]\n"
                 "                                     memory image back to a configuration file\n"
                 "  library build OUT.kvl FILE.kv4...  memory library from configuration files\n"
                 "  library list FILE.kvl [--json]     memories of a library\n"
                 "  listing FILE.kv4 --kind K [--eq-name NAME] [--date TEXT] [--peq2-lists-peqa]\n"
                 "                                     coefficient listing: peq1 peq2 dsp1 dsp2 xover1..4 dynamics\n"
                 "  report FILE.kv4 [--date TEXT]      automatic report\n"
                 "  power FILE.kv4 --output N          speaker and amplifier power check\n"
                 "  os-image FILE.asc                  DSP operating system file: byte count, version, image\n");
}

int runImageCommand(const std::vector<std::string>& argv)
{
    if (argv.empty()) return -1;
    const std::string command = argv[0];
    Args args(std::vector<std::string>(argv.begin() + 1, argv.end()));
    if (command == "image") return imageCommand(args);
    if (command == "decode") return decodeCommand(args);
    if (command == "library") return libraryCommand(args);
    if (command == "listing") return listingCommand(args);
    if (command == "report") return reportCommand(args);
    if (command == "power") return powerCommand(args);
    if (command == "os-image") return osImageCommand(args);
    return -1;
}

} // namespace kvr::cli
