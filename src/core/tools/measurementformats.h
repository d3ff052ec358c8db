#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "util/result.h"

// Readers of the text files that loudspeaker measurement programs export: frequency, magnitude
// and phase per line, behind each program's header.

namespace kvr::core {

// The format list of the import window; 0..8 are the codes a configuration file stores.
enum class MeasurementKind : int32_t {
    Clio = 0,
    Mlssa = 1,
    WinAirr = 2,
    Smaart = 3,
    Imp = 4,  // offered, never built: "Option Under Construction"
    Laud = 5, // likewise
    Calsod = 6,
    Daas32 = 7,
    LoudspeakerLab = 8,
    // What installers export today; kept beside the stored code (see the configuration file).
    Frd = 9,
    Zma = 10, // impedance in ohms
    Rew = 11, // REW's "Export measurement as text"
};

// Limits that keep any file, of any size or content, in bounded memory and time.
constexpr size_t kMeasurementMaxBytes = size_t(128) << 20;
constexpr size_t kMeasurementMaxLineLength = 4096;
constexpr size_t kMeasurementMaxPoints = size_t(1) << 20;

// Whether a list item has a reader (IMP and LAUD have none).
bool measurementKindReadable(MeasurementKind kind);
// Formats whose phase column is in degrees and is turned into radians on import.
bool measurementPhaseInDegrees(MeasurementKind kind);
// The filter of the file dialog for a format ("Caption|pattern|...").
const char* measurementDialogFilter(MeasurementKind kind);
// name + " is not a valid " + the format's name + " exported data file."
std::string measurementNotValidMessage(const std::string& name, MeasurementKind kind);

// Text one line at a time, from memory or from a file, never holding more than one line: ends of
// lines are LF, CR LF or CR; a line longer than kMeasurementMaxLineLength keeps its beginning
// and is marked cut; reading stops after kMeasurementMaxBytes.
class LineReader {
public:
    explicit LineReader(std::span<const uint8_t> bytes);
    explicit LineReader(std::FILE* file); // not owned
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its end; false when there is none.
    bool next(std::string& line);
    bool cut() const { return m_cut; }
    // Stopped at the byte limit, or a read failed.
    bool tooLarge() const { return m_tooLarge; }
    bool failed() const { return m_failed; }

private:
    int get(); // next byte, or -1
    bool refill();

    std::span<const uint8_t> m_memory;
    std::FILE* m_file = nullptr;
    std::vector<uint8_t> m_buffer;
    size_t m_position = 0;
    size_t m_total = 0;
    bool m_cut = false;
    bool m_tooLarge = false;
    bool m_failed = false;
    bool m_skipLineFeed = false; // the last line ended with CR: a following LF belongs to it
};

// The points of one file in file order (equal neighbouring frequencies already dropped).
struct MeasuredPoints {
    std::vector<double> frequencyHz;
    std::vector<double> level; // dB, or ohms for an impedance
    std::vector<double> phase; // as the file gives it
    bool phaseInDegrees = false;
    bool impedance = false;
    bool groupDelay = false; // the third column was group delay: the phase is 0
};

// Reads a file of the given format. A refused file gives the format's not-valid message; one
// that memory cannot hold gives "Not enough memory. ...". `name` is the name the user gave.
Result<MeasuredPoints> readMeasurement(LineReader& lines, MeasurementKind kind, const std::string& name);
Result<MeasuredPoints> parseMeasurement(std::span<const uint8_t> bytes, MeasurementKind kind, const std::string& name);

} // namespace kvr::core
