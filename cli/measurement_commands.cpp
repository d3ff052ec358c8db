#include "measurement_commands.h"

#include <cstdio>
#include <map>

#include "args.h"
#include "dsp/frequencygrid.h"
#include "tools/measurementimport.h"
#include "util/numtext.h"

namespace kvr::cli {

using namespace kvr::core;

namespace {

int usage(const std::string& message)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", message.c_str());
    return kUsageError;
}

int measurementCommand(Args& args)
{
    static const std::map<std::string, MeasurementKind> kinds = {{"CLIO", MeasurementKind::Clio},
                                                                 {"MLSSA", MeasurementKind::Mlssa},
                                                                 {"WINAIR", MeasurementKind::WinAirr},
                                                                 {"SMAART", MeasurementKind::Smaart},
                                                                 {"CALSOD", MeasurementKind::Calsod},
                                                                 {"DAAS32", MeasurementKind::Daas32},
                                                                 {"LSL", MeasurementKind::LoudspeakerLab},
                                                                 {"FRD", MeasurementKind::Frd},
                                                                 {"ZMA", MeasurementKind::Zma},
                                                                 {"REW", MeasurementKind::Rew}};
    const auto kind = args.takeOption("--kind");
    const auto referenceText = args.takeOption("--reference");
    if (args.missingValue()) return usage("measurement: " + args.optionWithoutValue() + " needs a value");
    if (!kind || !kinds.count(*kind))
        return usage("measurement: --kind must be CLIO, MLSSA, WINAIR, SMAART, CALSOD, DAAS32, LSL, FRD, ZMA or REW");
    const auto reference = referenceText ? parseNumber(*referenceText) : std::optional<double>(kDefaultReferenceDbSpl);
    if (!reference || !(*reference >= -140.0 && *reference <= 140.0))
        return usage("measurement: --reference must be a level from -140 to 140 dB");
    if (auto unknown = args.unknownOption()) return usage("measurement: unknown option " + *unknown);
    if (args.positional().size() != 1) return usage("measurement: expects one measurement file");

    const std::string& path = args.positional()[0];
    const FileImport file = importMeasurementFile(path, kinds.at(*kind), static_cast<float>(*reference));
    if (file.outcome != FileImport::Outcome::Imported) {
        // The reader's own message, exactly.
        std::fprintf(stderr, "%s\n", file.message.c_str());
        return kFailure;
    }
    const FrequencyGrid& grid = frequencyGrid();
    for (size_t i = 0; i < static_cast<size_t>(kGridPoints); ++i)
        std::printf("%d %s %s\n", grid.frequencyHz[i], formatShortest(file.response.level[i]).c_str(),
                    formatShortest(file.response.phaseRad[i]).c_str());
    return 0;
}

} // namespace

void printMeasurementCommandsUsage()
{
    std::fprintf(stderr, "  measurement FILE --kind K [--reference DB]\n"
                         "                                     measured response on the grid: Hz, dB (ohms for ZMA),\n"
                         "                                     radians; K: CLIO MLSSA WINAIR SMAART CALSOD DAAS32 LSL\n"
                         "                                     FRD ZMA REW; reference level 96 dB by default\n");
}

int runMeasurementCommand(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv[0] != "measurement") return -1;
    Args args(std::vector<std::string>(argv.begin() + 1, argv.end()));
    return measurementCommand(args);
}

} // namespace kvr::cli
