#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"
#include "tools/measurementformats.h"
#include "util/message.h"

// The measured response import: each output's file read, resampled onto the FrequencyGrid and
// kept in the Configuration beside the import settings, for the output view to show.

namespace kvr::core {

// The points resampled onto all 401 grid points: linear interpolation in frequency between the
// two measured points around each grid frequency, less the reference level (not for an
// impedance); −140 dB (0 ohms) and phase 0 below the first and above the last measured point.
// The phase is turned from degrees into radians where the format's phase is in degrees.
MeasuredResponse resampleMeasurement(const MeasuredPoints& points, float referenceDb);

// What importing one file gave.
struct FileImport {
    enum class Outcome { Imported, Unopenable, Refused, OutOfMemory };
    Outcome outcome = Outcome::Unopenable;
    // Refused, OutOfMemory: the text shown; Unopenable: the system's reason (the import window
    // shows its own text then).
    std::string message;
    MeasuredResponse response;
    size_t points = 0;
    double firstHz = 0;
    double lastHz = 0;
    bool groupDelay = false;
};
// Reads (in bounded memory; only regular files) and resamples one file.
FileImport importMeasurementFile(const std::string& path, MeasurementKind kind, float referenceDb);

// What to do with the name of a file that cannot be opened: the import window empties its field;
// a configuration being loaded keeps the name it stores, so saving it again does not drop it.
enum class MissingFile { EmptyName, KeepName };

struct ImportOutcome {
    std::vector<Message> notices;  // the boxes, in order
    std::vector<std::string> info; // one line per output, for the window's InfoMemo
};
// The import window's OK: every output's response cleared, then each named file read.
ImportOutcome importMeasurements(MeasurementImportSettings& settings, MissingFile missing);

// ---- The user's changes of the import window's controls ----
// A format list item; IMP and LAUD answer "Option Under Construction. Please Select Another" and
// the list returns to CLIO.
std::vector<std::string> chooseMeasurementKind(Configuration& config, int item);
// A file name for output n (1..4), kept to the 100 characters a configuration file stores (with
// a message when it had to be cut).
std::vector<std::string> setMeasurementFileName(Configuration& config, int output, const std::string& name);
// The reference level, clamped to −140..140 and held as its one-decimal field shows it.
void setMeasurementReference(Configuration& config, double db);

// The configuration file keeps codes 0..8; FRD, ZMA and REW are written as 0 (CLIO, so an older
// program refuses such a file with its usual message) with the real kind in a padding byte after
// a marker. These turn one into the other.
struct StoredMeasurementKind {
    int32_t code = 0;     // the int32 at offset 3212
    uint8_t marker = 0;   // byte 3209
    uint8_t extended = 0; // byte 3210
};
constexpr uint8_t kExtendedKindMarker = 0xE7;
StoredMeasurementKind storedMeasurementKind(int32_t kind);
int32_t measurementKindFromStored(const StoredMeasurementKind& stored);

} // namespace kvr::core
