#include "tools/measurementimport.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include <sys/stat.h>

#include "config/configfile.h"
#include "dsp/frequencygrid.h"
#include "util/numtext.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

constexpr float kBelowRangeDb = -140.0f;
constexpr double kReferenceLimitDb = 140.0;
constexpr double kDegreesToRadians = std::numbers::pi / 180.0;

// A computed value as the single-precision arrays keep it; anything that is no finite single
// (only possible for files whose frequencies are not in order) takes the fallback.
float toStored(double value, float fallback)
{
    constexpr double kLargestSingle = 3.0e38;
    return std::isfinite(value) && std::fabs(value) < kLargestSingle ? static_cast<float>(value) : fallback;
}

std::string unableToOpen(const std::string& name, int output)
{
    return texts::kImportUnableToOpen + name + texts::kImportUnableToOpenMiddle + std::to_string(output) +
           texts::kImportUnableToOpenEnd;
}

std::string infoLine(int output, const std::string& name, const FileImport& file)
{
    std::string line = texts::kImportInfoOutput + std::to_string(output);
    if (file.outcome != FileImport::Outcome::Imported) return line + texts::kImportInfoNone;
    line += texts::kImportInfoColon + fileNameOf(name) + texts::kImportInfoComma + std::to_string(file.points) +
            texts::kImportInfoPoints + formatGeneral(file.firstHz) + texts::kImportInfoTo + formatGeneral(file.lastHz) +
            texts::kImportInfoHz;
    if (file.response.impedance) line += texts::kImportInfoOhms;
    if (file.groupDelay) line += texts::kImportInfoGroupDelay;
    return line;
}

} // namespace

MeasuredResponse resampleMeasurement(const MeasuredPoints& points, float referenceDb)
{
    MeasuredResponse out;
    out.present = true;
    out.impedance = points.impedance;
    const std::vector<double>& freq = points.frequencyHz;
    const size_t n = freq.size();
    if (n < 2) return out; // the readers refuse such files
    const double reference = points.impedance ? 0.0 : static_cast<double>(referenceDb);
    const float outside = points.impedance ? 0.0f : kBelowRangeDb;
    const double phaseScale = points.phaseInDegrees ? kDegreesToRadians : 1.0;
    const FrequencyGrid& grid = frequencyGrid();
    size_t j = 0;
    // Every grid point, the last one included.
    for (size_t i = 0; i < static_cast<size_t>(kGridPoints); ++i) {
        const double f = grid.frequencyHz[i];
        while (j < n - 2 && f > freq[j] && f >= freq[j + 1])
            ++j;
        if (f > freq[n - 1] || f < freq[0]) {
            out.level[i] = outside;
            out.phaseRad[i] = 0.0f;
            continue;
        }
        // Neighbouring points never share a frequency (the readers drop the second one).
        const double t = (f - freq[j]) / (freq[j + 1] - freq[j]);
        const double level = points.level[j] + t * (points.level[j + 1] - points.level[j]) - reference;
        const double phase = points.phase[j] + t * (points.phase[j + 1] - points.phase[j]);
        out.level[i] = toStored(level, outside);
        out.phaseRad[i] = toStored(phase * phaseScale, 0.0f);
    }
    return out;
}

FileImport importMeasurementFile(const std::string& path, MeasurementKind kind, float referenceDb)
{
    FileImport result;
    // Only regular files: a device or a pipe named in a configuration file could be read forever.
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        result.message = texts::kUnableToOpen + path + ": " + std::strerror(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.message = texts::kUnableToOpen + path + texts::kImportNotRegular;
        return result;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        result.message = texts::kUnableToOpen + path + ": " + std::strerror(errno);
        return result;
    }
    Result<MeasuredPoints> points = [&] {
        LineReader lines(file);
        return readMeasurement(lines, kind, path);
    }();
    std::fclose(file);
    if (!points) {
        result.outcome = points.message() == texts::kImportNotEnoughMemory ? FileImport::Outcome::OutOfMemory
                                                                           : FileImport::Outcome::Refused;
        result.message = points.message();
        return result;
    }
    result.outcome = FileImport::Outcome::Imported;
    result.response = resampleMeasurement(*points, referenceDb);
    result.points = points->frequencyHz.size();
    result.firstHz = points->frequencyHz.front();
    result.lastHz = points->frequencyHz.back();
    result.groupDelay = points->groupDelay;
    return result;
}

ImportOutcome importMeasurements(MeasurementImportSettings& settings, MissingFile missing)
{
    ImportOutcome outcome;
    settings.responses = {};
    const auto kind = static_cast<MeasurementKind>(settings.fileKind);
    bool anyName = false;
    for (const std::string& name : settings.fileNames)
        anyName = anyName || !name.empty();
    if (!measurementKindReadable(kind)) {
        if (anyName) outcome.notices.push_back(infoBox(texts::kImportUnderConstruction));
        return outcome;
    }
    for (int o = 1; o <= kOutputCount; ++o) {
        std::string& name = settings.fileNames[static_cast<size_t>(o - 1)];
        if (name.empty()) {
            outcome.info.push_back(infoLine(o, name, FileImport{}));
            continue;
        }
        const FileImport file = importMeasurementFile(name, kind, settings.dBspl);
        // Before a missing file's name may be emptied.
        outcome.info.push_back(infoLine(o, name, file));
        switch (file.outcome) {
        case FileImport::Outcome::Imported:
            settings.responses[static_cast<size_t>(o - 1)] = file.response;
            break;
        case FileImport::Outcome::Unopenable:
            outcome.notices.push_back(errorBox(unableToOpen(name, o)));
            if (missing == MissingFile::EmptyName) name.clear();
            break;
        case FileImport::Outcome::Refused:
            outcome.notices.push_back(errorBox(file.message));
            break;
        case FileImport::Outcome::OutOfMemory:
            // The whole import stops here.
            outcome.notices.push_back(errorBox(file.message));
            return outcome;
        }
    }
    return outcome;
}

std::vector<std::string> chooseMeasurementKind(Configuration& config, int item)
{
    if (item < 0 || item >= kMeasurementKinds) return {};
    const auto kind = static_cast<MeasurementKind>(item);
    if (!measurementKindReadable(kind)) {
        config.measurement.fileKind = static_cast<int32_t>(MeasurementKind::Clio);
        return {texts::kImportUnderConstruction};
    }
    config.measurement.fileKind = item;
    return {};
}

std::vector<std::string> setMeasurementFileName(Configuration& config, int output, const std::string& name)
{
    if (output < 1 || output > kOutputCount) return {};
    // A path is kept byte for byte, never converted.
    config.measurement.fileNames[static_cast<size_t>(output - 1)] = name.substr(0, kMeasurementNameCapacity);
    if (name.size() > kMeasurementNameCapacity) return {texts::kImportNameTooLong};
    return {};
}

void setMeasurementReference(Configuration& config, double db)
{
    const double clamped = clampFinite(db, -kReferenceLimitDb, kReferenceLimitDb, kDefaultReferenceDbSpl);
    config.measurement.dBspl = static_cast<float>(static_cast<double>(roundHalfEven(clamped * 10.0)) / 10.0);
}

StoredMeasurementKind storedMeasurementKind(int32_t kind)
{
    if (kind >= kMeasurementFileKinds && kind < kMeasurementKinds)
        return {static_cast<int32_t>(MeasurementKind::Clio), kExtendedKindMarker, static_cast<uint8_t>(kind)};
    if (kind < 0 || kind >= kMeasurementFileKinds) return {};
    return {kind, 0, 0};
}

int32_t measurementKindFromStored(const StoredMeasurementKind& stored)
{
    // Padding of files from other writers may hold anything: the extended kind counts only
    // behind its marker, with the CLIO code it is written with.
    if (stored.marker == kExtendedKindMarker && stored.code == 0 && stored.extended >= kMeasurementFileKinds &&
        stored.extended < kMeasurementKinds)
        return stored.extended;
    return stored.code >= 0 && stored.code < kMeasurementFileKinds ? stored.code : 0;
}

} // namespace kvr::core
