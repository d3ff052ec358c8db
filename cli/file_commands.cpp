#include "file_commands.h"

#include <cstdio>
#include <string>

#include "args.h"
#include "config/configfile.h"
#include "config/editing.h"
#include "dsp/tsos.h"
#include "json_output.h"
#include "util/numtext.h"
#include "util/texts.h"

namespace kvr::cli {

using namespace kvr::core;

namespace {

Result<LoadedConfiguration> load(const std::string& path)
{
    auto loaded = loadConfigurationFile(path);
    if (loaded)
        for (const Message& m : loaded->notices)
            std::fprintf(stderr, "%s\n", m.text.c_str());
    return loaded;
}

std::string sectionTypeName(uint8_t tipo)
{
    if (tipo < 12) return texts::kSectionTypeCaptions[tipo];
    return "type " + std::to_string(tipo);
}

std::string yesNo(bool b)
{
    return b ? "yes" : "no";
}

void printBand(int k, const TSOS& s)
{
    std::printf("      band %d: %-18s %s Hz  %s dB  Q %s\n", k, sectionTypeName(s.Tipo).c_str(),
                formatGeneral(s.Frec).c_str(), formatGeneral(s.Gain).c_str(), formatGeneral(s.Q).c_str());
}

void printSide(const char* label, const TXOVERPB& side, CrossoverSide which)
{
    int family = crossoverFamilyFromCode(which, side.Tipo);
    std::printf("    %s: %s", label, texts::kCrossoverFamilies[family]);
    if (side.Tipo != 0) std::printf(", order %d, %s Hz", side.Orden, formatGeneral(side.Frec).c_str());
    std::printf(" (code %d, %d section%s)\n", side.Tipo, side.NumSections, side.NumSections == 1 ? "" : "s");
    if (side.Tipo == 0) return;
    for (int k = 0; k < side.NumSections; ++k) {
        const TSOS& s = side.Sections[static_cast<size_t>(k)];
        std::printf("      section %d: type %d, %s Hz, Q %s\n", k + 1, s.Tipo, formatGeneral(s.Frec).c_str(),
                    formatGeneral(s.Q).c_str());
    }
}

const char* kInputLabels[3] = {"A", "B", "A+B"};
const char* kBankNames[3] = {"PEQA", "PEQB", "PEQM"};

int info(const std::string& path, bool json)
{
    auto loaded = load(path);
    if (!loaded) return fail(loaded.message());
    const Configuration& c = loaded->config;
    if (json) {
        printJson(configurationJson(c));
        return 0;
    }
    std::printf("System name: %s\n", c.system.name.c_str());
    std::printf("Project: %s\nInstallation: %s\nEngineer: %s\nComment: %s\n", c.system.project.c_str(),
                c.system.installation.c_str(), c.system.engineer.c_str(), c.system.comment.c_str());
    std::printf("Routing mode: %d (%s)\n", c.routingMode, std::string(routingModeInfo(c.routingMode).item).c_str());
    std::printf("Temperature: %d C\n", c.temperatureC);
    std::printf("Inputs:\n");
    for (int i = 0; i < kInputCount; ++i) {
        const InputChannelSettings& in = c.inputs[static_cast<size_t>(i)];
        std::printf("  %s%s%s: level %s dB (linear %s), mute %s, delay %s ms (%d samples)\n", kInputLabels[i],
                    in.name.empty() ? "" : " \"", in.name.empty() ? "" : (in.name + "\"").c_str(),
                    formatFixed(in.levelDb(), 1).c_str(), formatShortest(in.linearGain()).c_str(),
                    yesNo(in.mute).c_str(), formatFixed(in.delayMs(), 2).c_str(), in.delaySamples);
        std::printf("    %s: %d band%s, bypass %s, route selects %s\n", kBankNames[i], in.peqBandCount,
                    in.peqBandCount == 1 ? "" : "s", yesNo(in.peqBypass != 0).c_str(),
                    kBankNames[static_cast<int>(bankForSelector(in.peqSource))]);
        for (int k = 0; k < in.peqBandCount; ++k)
            printBand(k + 1, in.peq[static_cast<size_t>(k)]);
    }
    std::printf("Outputs:\n");
    for (int n = 1; n <= kOutputCount; ++n) {
        const OutputChannelSettings& out = c.output(n);
        std::printf("  %d \"%s\": route %s, level %s dB%s, mute %s, delay %s ms (%d samples)\n", n, out.name.c_str(),
                    std::string(routeText(out.route)).c_str(), formatFixed(out.levelDb(), 1).c_str(),
                    out.inverted() ? ", polarity inverted" : "", yesNo(out.mute).c_str(),
                    formatFixed(out.delayMs(), 2).c_str(), out.delaySamples());
        std::printf("    PEQX: %d section%s\n", out.peqxCount, out.peqxCount == 1 ? "" : "s");
        for (int k = 0; k < out.peqxCount; ++k)
            printBand(k + 1, out.peqx[static_cast<size_t>(k)]);
        std::printf("    Crossover:\n");
        printSide("  low side (high-pass)", out.xover.LowSide, CrossoverSide::Low);
        printSide("  high side (low-pass)", out.xover.HighSide, CrossoverSide::High);
        const TDYNAMIC& d = out.dynamics;
        std::printf("    Dynamics: %s%s, %s %s dBu, ratio %s, gain %s dB, knee %s dB, attack %s ms, release %s ms%s\n",
                    d.CriKnee ? "compressor" : "limiter", d.BypassF ? " (bypassed)" : "",
                    d.CriKnee ? "threshold" : "limit", formatShortest(dbuFromStoredThreshold(d.Umbral)).c_str(),
                    formatShortest(d.Ratio).c_str(), formatShortest(d.GaindB).c_str(), formatShortest(d.Knee).c_str(),
                    formatShortest(d.TAttack).c_str(), formatShortest(d.TRelease).c_str(),
                    d.AuxFlag ? " (automatic)" : "");
        std::printf("    Gate%s: %s dBu, hold %s ms, close %s ms\n", d.GateBypassF ? " (bypassed)" : "",
                    formatShortest(dbuFromStoredThreshold(d.GateLevel)).c_str(), formatShortest(d.TAttackGate).c_str(),
                    formatShortest(d.TReleaseGate).c_str());
        std::printf("    Speaker %s ohm %s W, amplifier %s W, gain %s, %s input\n", formatShortest(d.Impedance).c_str(),
                    formatShortest(d.BoxPower).c_str(), formatShortest(d.AmpPower).c_str(),
                    formatShortest(d.AmpGain).c_str(), d.Balanced ? "balanced" : "unbalanced");
    }
    std::printf("Links: input delays A-B %s, all %s; output delays 1-2 %s, 2-3 %s, 3-4 %s; crossovers 1-2 %s, "
                "2-3 %s, 3-4 %s\n",
                yesNo(c.links.inputDelayAB).c_str(), yesNo(c.links.inputDelayAll).c_str(),
                yesNo(c.links.outputDelay[0]).c_str(), yesNo(c.links.outputDelay[1]).c_str(),
                yesNo(c.links.outputDelay[2]).c_str(), yesNo(c.links.crossover[0]).c_str(),
                yesNo(c.links.crossover[1]).c_str(), yesNo(c.links.crossover[2]).c_str());
    return 0;
}

void printResponse(const std::vector<const TSOS*>& chain)
{
    ChainResponse response;
    AddChainResponse(chain, response);
    const FrequencyGrid& grid = frequencyGrid();
    for (int k = 0; k < kGridPoints; ++k) {
        std::printf("%d %s %s\n", grid.frequencyHz[static_cast<size_t>(k)],
                    formatGeneral(response.magnitudeDb[static_cast<size_t>(k)], 9).c_str(),
                    formatGeneral(response.phaseRad[static_cast<size_t>(k)], 9).c_str());
    }
}

std::optional<int> outputNumber(Args& args)
{
    auto text = args.takeOption("--output");
    if (!text) return std::nullopt;
    auto n = parseInteger(*text);
    if (!n || *n < 1 || *n > kOutputCount) return std::nullopt;
    return static_cast<int>(*n);
}

// Open and save again: how an older file becomes a current one. The header names OUT as given.
int resave(const std::string& in, const std::string& out)
{
    auto loaded = load(in);
    if (!loaded) return fail(loaded.message());
    Status saved = saveConfigurationFile(out, loaded->config);
    return saved ? 0 : fail(saved.message());
}

int usage(const std::string& message)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", message.c_str());
    printFileCommandsUsage();
    return kUsageError;
}

} // namespace

void printFileCommandsUsage()
{
    std::fprintf(stderr, "  new OUT.kv4                        write the start-up configuration\n"
                         "  resave IN.kv4 OUT.kv4              open and save again (older files become 4.70)\n"
                         "  info FILE.kv4 [--json]             summary of a configuration file\n"
                         "  response FILE.kv4 --output N       crossover response of output N (401 lines)\n"
                         "  peq FILE.kv4 --bank A|B|M          input equaliser response\n"
                         "  peqx FILE.kv4 --output N           output equaliser response\n");
}

int runFileCommand(const std::vector<std::string>& argv)
{
    if (argv.empty()) return -1;
    const std::string command = argv[0];
    if (command != "info" && command != "response" && command != "peq" && command != "peqx" && command != "new" &&
        command != "resave")
        return -1;
    Args args(std::vector<std::string>(argv.begin() + 1, argv.end()));

    std::optional<int> output;
    std::optional<std::string> bank;
    const bool json = command == "info" && args.takeFlag("--json");
    if (command == "response" || command == "peqx") {
        output = outputNumber(args);
        if (!output) return usage(command + ": --output must be 1, 2, 3 or 4");
    }
    if (command == "peq") {
        bank = args.takeOption("--bank");
        if (!bank || (*bank != "A" && *bank != "B" && *bank != "M")) return usage("peq: --bank must be A, B or M");
    }
    if (auto unknown = args.unknownOption()) return usage(command + ": unknown option " + *unknown);
    if (command == "resave") {
        if (args.positional().size() != 2) return usage("resave: expects IN.kv4 and OUT.kv4");
        return resave(args.positional()[0], args.positional()[1]);
    }
    if (args.positional().size() != 1) return usage(command + ": expects one configuration file");
    // Rejecting options before touching any file keeps a mistyped command harmless.
    const std::string path = args.positional()[0];
    if (command == "info") return info(path, json);
    if (command == "new") {
        Status saved = saveConfigurationFile(path, Configuration());
        return saved ? 0 : fail(saved.message());
    }

    auto loaded = load(path);
    if (!loaded) return fail(loaded.message());
    const Configuration& c = loaded->config;
    std::vector<const TSOS*> chain;
    if (command == "response") {
        chain = crossoverChain(c.output(*output).xover);
    } else if (command == "peq") {
        InputId id = *bank == "A" ? InputId::A : (*bank == "B" ? InputId::B : InputId::M);
        const InputChannelSettings& in = c.input(id);
        for (int k = 0; k < in.peqBandCount; ++k)
            chain.push_back(&in.peq[static_cast<size_t>(k)]);
    } else {
        const OutputChannelSettings& out = c.output(*output);
        for (int k = 0; k < out.peqxCount; ++k)
            chain.push_back(&out.peqx[static_cast<size_t>(k)]);
    }
    printResponse(chain);
    return 0;
}

} // namespace kvr::cli
