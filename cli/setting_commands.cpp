#include "setting_commands.h"

#include <cstdio>
#include <string>

#include "args.h"
#include "config/configfile.h"
#include "config/settingkeys.h"
#include "util/texts.h"

namespace kvr::cli {

using namespace kvr::core;

namespace {

int usage(const std::string& message)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", message.c_str());
    printSettingCommandsUsage();
    return kUsageError;
}

Result<LoadedConfiguration> load(const std::string& path)
{
    auto loaded = loadConfigurationFile(path);
    if (loaded)
        for (const Message& m : loaded->notices)
            std::fprintf(stderr, "%s\n", m.text.c_str());
    return loaded;
}

int get(const std::string& path, std::vector<std::string> keys)
{
    if (keys.empty()) keys = allSettingKeys();
    // Every key is checked before the file is read, so a mistyped key prints nothing.
    const Configuration probe;
    for (const std::string& key : keys) {
        Result<std::string> known = getSetting(probe, key);
        if (!known) {
            std::fprintf(stderr, "kvr610-cli: get: %s\n", known.message().c_str());
            return kUsageError;
        }
    }
    auto loaded = load(path);
    if (!loaded) return fail(loaded.message());
    for (const std::string& key : keys)
        std::printf("%s=%s\n", key.c_str(), getSetting(loaded->config, key).value().c_str());
    return 0;
}

int set(const std::string& in, const std::string& out, const std::vector<std::string>& assignments)
{
    auto loaded = load(in);
    if (!loaded) return fail(loaded.message());
    Configuration& config = loaded->config;
    // All or nothing: a refused assignment leaves the Configuration, and so the file, as it was.
    const SettingOutcome outcome = applySettings(config, assignments);
    if (!outcome.ok()) {
        std::fprintf(stderr, "kvr610-cli: set: %s\n", outcome.error->message.c_str());
        return kUsageError;
    }
    for (const std::string& notice : outcome.notices)
        std::fprintf(stderr, "%s\n", notice.c_str());
    const Status saved = saveConfigurationFile(out, config);
    return saved ? 0 : fail(saved.message());
}

} // namespace

void printSettingCommandsUsage()
{
    std::fprintf(stderr,
                 "  get FILE.kv4 [KEY...]              print KEY=VALUE as the editors show it (no KEY: every key)\n"
                 "  set IN.kv4 --out OUT.kv4 KEY=VALUE...\n"
                 "                                     apply each value in order as a person's edit of the control\n"
                 "                                     (steps, clamps, links, automatic times), then save; a refused\n"
                 "                                     assignment (unknown key, bad value, disabled control, lower\n"
                 "                                     band count, read-only key) exits 2 and writes nothing\n");
}

void printSettingKeys()
{
    std::fprintf(stderr, "keys of get and set (N output 1-4, X input A, B or AB, K band 1-6 or section 1-4):\n");
    for (const SettingKeyInfo& key : settingKeyTable())
        std::fprintf(stderr, "  %-44s %s%s\n", key.pattern.c_str(), key.readOnly ? "read-only: " : "",
                     key.values.c_str());
    std::fprintf(stderr, "  type codes:");
    for (int code = 0; code < 12; ++code)
        std::fprintf(stderr, "%s %d %s",
                     code == 0   ? ""
                     : code == 6 ? ",\n             "
                                 : ",",
                     code, texts::kSectionTypeCaptions[code]);
    std::fprintf(stderr, "\n");
}

int runSettingCommand(const std::vector<std::string>& argv)
{
    if (argv.empty() || (argv[0] != "get" && argv[0] != "set")) return -1;
    const std::string command = argv[0];
    Args args(std::vector<std::string>(argv.begin() + 1, argv.end()));
    std::optional<std::string> out;
    if (command == "set") out = args.takeOption("--out");
    if (args.missingValue()) return usage(command + ": " + args.optionWithoutValue() + " needs a value");
    if (auto unknown = args.unknownOption()) return usage(command + ": unknown option " + *unknown);
    const std::vector<std::string>& positional = args.positional();
    if (positional.empty()) return usage(command + ": expects a configuration file");
    const std::vector<std::string> rest(positional.begin() + 1, positional.end());
    if (command == "get") return get(positional[0], rest);
    if (!out) return usage("set: --out OUT.kv4 is required");
    if (rest.empty()) return usage("set: expects KEY=VALUE assignments");
    return set(positional[0], *out, rest);
}

} // namespace kvr::cli
