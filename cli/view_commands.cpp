#include "view_commands.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "args.h"
#include "config/configfile.h"
#include "config/dynamicsediting.h"
#include "tools/outputview.h"
#include "util/numtext.h"

namespace kvr::cli {

using namespace kvr::core;

namespace {

int usage(const std::string& message)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", message.c_str());
    printViewCommandsUsage();
    return kUsageError;
}

// The shortest text that reads back as the same double.
std::string exact(double value)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::optional<int> outputNumber(std::string_view text)
{
    auto n = parseInteger(text);
    if (!n || *n < 1 || *n > kOutputCount) return std::nullopt;
    return static_cast<int>(*n);
}

// "1,2,4": the outputs of the Add sum, each once; "" is the empty set.
std::optional<std::array<bool, kOutputCount>> outputSet(const std::string& text)
{
    std::array<bool, kOutputCount> set{};
    if (text.empty()) return set;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        auto n = outputNumber(std::string_view(text).substr(start, comma - start));
        if (!n) return std::nullopt;
        set[static_cast<size_t>(*n - 1)] = true;
        start = comma + 1;
    }
    return set;
}

Result<LoadedConfiguration> load(const std::string& path)
{
    auto loaded = loadConfigurationFile(path);
    if (loaded)
        for (const Message& m : loaded->notices)
            std::fprintf(stderr, "%s\n", m.text.c_str());
    return loaded;
}

void printCurve(const ViewCurve& curve, bool delay)
{
    const FrequencyGrid& grid = frequencyGrid();
    std::array<double, kGridPoints> ms{};
    if (delay) groupDelayMs(curve, ms);
    for (size_t i = 0; i < kGridPoints; ++i) {
        if (delay)
            std::printf("%d %s\n", grid.frequencyHz[i], exact(ms[i]).c_str());
        else
            std::printf("%d %s %s\n", grid.frequencyHz[i], exact(curve.levelDb[i]).c_str(),
                        exact(curve.phaseRad[i]).c_str());
    }
}

int outputView(Args& args)
{
    auto single = args.takeOption("--output");
    auto add = args.takeOption("--add");
    auto with = args.takeOption("--with");
    const bool delay = args.takeFlag("--delay");
    if (args.missingValue()) return usage("output-view: " + args.optionWithoutValue() + " lacks its value");
    if (single.has_value() == add.has_value()) return usage("output-view: give either --output N or --add LIST");
    std::optional<int> output;
    std::optional<std::array<bool, kOutputCount>> set;
    if (single) {
        output = outputNumber(*single);
        if (!output) return usage("output-view: --output must be 1, 2, 3 or 4");
    } else {
        set = outputSet(*add);
        if (!set) return usage("output-view: --add takes outputs 1 to 4 separated by commas");
    }
    // The window's influences at start: PEQX and GAIN.
    ViewFlags flags;
    if (with) {
        auto parsed = parseViewInfluences(*with);
        if (!parsed) return usage("output-view: --with takes none, or peq, xover, peqx, delay, gain, speaker");
        flags = *parsed;
    }
    if (auto unknown = args.unknownOption()) return usage("output-view: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("output-view: expects one configuration file");

    auto loaded = load(args.positional()[0]);
    if (!loaded) return fail(loaded.message());
    const Configuration& c = loaded->config;
    if (output) {
        printCurve(outputView(c, *output, flags), delay);
        return 0;
    }
    std::array<ViewCurve, kOutputCount> totals;
    std::array<const ViewCurve*, kOutputCount> shown{};
    size_t count = 0;
    for (int n = 1; n <= kOutputCount; ++n) {
        if (!(*set)[static_cast<size_t>(n - 1)]) continue;
        computeOutputView(c, n, flags, totals[static_cast<size_t>(n - 1)]);
        shown[count++] = &totals[static_cast<size_t>(n - 1)];
    }
    ViewCurve sum;
    if (!computeAddView(std::span<const ViewCurve* const>(shown.data(), count), sum))
        return fail("output-view: no output in the Add sum, nothing to show");
    printCurve(sum, delay);
    return 0;
}

int dynamics(Args& args)
{
    auto text = args.takeOption("--output");
    if (args.missingValue()) return usage("dynamics: " + args.optionWithoutValue() + " lacks its value");
    std::optional<int> output = text ? outputNumber(*text) : std::nullopt;
    if (!output) return usage("dynamics: --output must be 1, 2, 3 or 4");
    if (auto unknown = args.unknownOption()) return usage("dynamics: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("dynamics: expects one configuration file");

    auto loaded = load(args.positional()[0]);
    if (!loaded) return fail(loaded.message());
    const TDYNAMIC& d = loaded->config.output(*output).dynamics;
    for (const CurvePoint& p : dynamicsTransferCurve(d))
        std::printf("%s %s\n", exact(p.inputDbu).c_str(), exact(p.outputDbu).c_str());
    std::printf("KNEE_TOP %s\n", formatShortest(d.KneeTop).c_str());
    std::printf("KNEE_BOTTOM %s\n", formatShortest(d.KneeBottom).c_str());
    std::printf("OVER %s %s %s %s\n", formatShortest(d.OverC0).c_str(), formatShortest(d.OverC1).c_str(),
                formatShortest(d.OverC2).c_str(), formatShortest(d.OverC3).c_str());
    return 0;
}

} // namespace

void printViewCommandsUsage()
{
    std::fprintf(stderr,
                 "  output-view FILE.kv4 --output N [--with LIST] [--delay]\n"
                 "                                     individual view of output N: FREQ LEVEL_DB PHASE_RAD\n"
                 "  output-view FILE.kv4 --add 1,2,3,4 [--with LIST] [--delay]\n"
                 "                                     complex sum of the outputs' views\n"
                 "                                     LIST: none, or peq,xover,peqx,delay,gain,speaker\n"
                 "                                     (default peqx,gain); --delay prints FREQ GROUP_DELAY_MS\n"
                 "  dynamics FILE.kv4 --output N       transfer curve (INPUT_DBU OUTPUT_DBU), knees, cubic\n");
}

int runViewCommand(const std::vector<std::string>& argv)
{
    if (argv.empty()) return -1;
    const std::string command = argv[0];
    if (command != "output-view" && command != "dynamics") return -1;
    Args args(std::vector<std::string>(argv.begin() + 1, argv.end()));
    return command == "output-view" ? outputView(args) : dynamics(args);
}

} // namespace kvr::cli
