#include "tools/measurementformats.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <string_view>

#include "util/numtext.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

constexpr size_t kChunk = 65536;
// A usable number: finite and of a size no measurement has, so sums and products of a few of
// them stay finite.
constexpr double kLargestValue = 1e15;

int kindIndex(MeasurementKind kind)
{
    return static_cast<int>(kind);
}

} // namespace

bool measurementKindReadable(MeasurementKind kind)
{
    const int k = kindIndex(kind);
    return k >= 0 && k <= kindIndex(MeasurementKind::Rew) && kind != MeasurementKind::Imp &&
           kind != MeasurementKind::Laud;
}

bool measurementPhaseInDegrees(MeasurementKind kind)
{
    switch (kind) {
    case MeasurementKind::WinAirr:
    case MeasurementKind::Daas32:
    case MeasurementKind::LoudspeakerLab:
        return false;
    default:
        return true;
    }
}

const char* measurementDialogFilter(MeasurementKind kind)
{
    switch (kind) {
    case MeasurementKind::Daas32:
        return texts::kImportFilterDaas;
    case MeasurementKind::Frd:
        return texts::kImportFilterFrd;
    case MeasurementKind::Zma:
        return texts::kImportFilterZma;
    case MeasurementKind::Rew:
        return texts::kImportFilterRew;
    default:
        return texts::kImportFilter;
    }
}

std::string measurementNotValidMessage(const std::string& name, MeasurementKind kind)
{
    const int k = std::clamp(kindIndex(kind), 0, kindIndex(MeasurementKind::Rew));
    return name + texts::kImportNotValid + texts::kImportKindNames[k] + texts::kImportNotValidEnd;
}

// ---------------------------------------------------------------- lines

LineReader::LineReader(std::span<const uint8_t> bytes) : m_memory(bytes) {}

LineReader::LineReader(std::FILE* file) : m_file(file) {}

bool LineReader::refill()
{
    if (!m_file) return false;
    m_buffer.resize(kChunk);
    const size_t n = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (n == 0 && std::ferror(m_file)) m_failed = true;
    m_buffer.resize(n);
    m_position = 0;
    return n > 0;
}

int LineReader::get()
{
    if (m_tooLarge || m_failed) return -1;
    if (m_total >= kMeasurementMaxBytes) {
        m_tooLarge = true;
        return -1;
    }
    if (m_file) {
        if (m_position >= m_buffer.size() && !refill()) return -1;
        ++m_total;
        return m_buffer[m_position++];
    }
    if (m_position >= m_memory.size()) return -1;
    ++m_total;
    return m_memory[m_position++];
}

bool LineReader::next(std::string& line)
{
    line.clear();
    m_cut = false;
    int c = get();
    if (c == '\n' && m_skipLineFeed) c = get();
    m_skipLineFeed = false;
    if (c < 0) return false;
    while (c >= 0 && c != '\n' && c != '\r') {
        if (line.size() < kMeasurementMaxLineLength)
            line.push_back(static_cast<char>(c));
        else
            m_cut = true;
        c = get();
    }
    m_skipLineFeed = c == '\r';
    return true;
}

// ---------------------------------------------------------------- reading

namespace {

// Characters first..last (1-based, both included) of a line, as far as the line goes.
std::string_view field(std::string_view line, size_t first, size_t last)
{
    if (first > line.size()) return {};
    return line.substr(first - 1, last - first + 1);
}

std::optional<double> number(std::string_view text)
{
    auto v = parseNumber(text);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > kLargestValue) return std::nullopt;
    return v;
}

// Collects points, dropping a point at the frequency of the one before it, within the limits.
class PointCollector {
public:
    explicit PointCollector(MeasuredPoints& points) : m_points(points) {}
    // False when the file holds more points than the reader keeps.
    bool add(double f, double level, double phase)
    {
        if (!m_points.frequencyHz.empty() && m_points.frequencyHz.back() == f) return true;
        if (m_points.frequencyHz.size() >= kMeasurementMaxPoints) return false;
        m_points.frequencyHz.push_back(f);
        m_points.level.push_back(level);
        m_points.phase.push_back(phase);
        return true;
    }

private:
    MeasuredPoints& m_points;
};

// The column ranges of a fixed-column format.
struct FixedColumns {
    size_t frequencyFirst, frequencyLast;
    size_t levelFirst, levelLast;
    size_t phaseFirst, phaseLast;
};

struct FixedFormat {
    size_t headerLine;
    const char* header; // the exact line
    size_t firstDataLine;
    FixedColumns columns;
};

constexpr const char* kClioHeader = "    Freq\t      dB\t   Phase";
constexpr const char* kClioSecondHeaderStart = "Freq [Hz]";
constexpr FixedColumns kClioColumns{1, 8, 10, 17, 19, 26};
constexpr FixedColumns kClioSecondColumns{1, 9, 17, 24, 33, 39};
constexpr FixedFormat kMlssa{1, "      \"Hz\"  \"Mag (dB)\"       \"deg\"", 2, {1, 10, 12, 22, 24, 34}};
constexpr FixedFormat kWinAirr{0, " WinAIRR saved file", 4, {1, 10, 11, 22, 23, 34}};
constexpr FixedFormat kCalsod{0, "CALSOD", 8, {1, 9, 10, 17, 18, 25}};

constexpr const char* kSmaartHeader = "; Frequency (Hz)\tMagnitude (dB)\tPhase (degrees)";
constexpr size_t kSmaartHeaderFirstLine = 1;
constexpr size_t kSmaartHeaderLastLine = 39;
constexpr size_t kSmaartFirstDataLine = 18;
constexpr size_t kSmaartPhaseLength = 15;

enum class Read { Ok, Refused, TooMany };

Read readFixed(LineReader& lines, const FixedFormat& format, bool clio, PointCollector& points)
{
    std::string line;
    size_t index = 0;
    bool headerSeen = false;
    FixedColumns columns = format.columns;
    for (; lines.next(line); ++index) {
        if (index == format.headerLine) {
            if (clio && line != kClioHeader) {
                // The second CLIO layout: a header line starting with "Freq [Hz]".
                if (line.compare(0, 9, kClioSecondHeaderStart) != 0) return Read::Refused;
                columns = kClioSecondColumns;
            } else if (!clio && line != format.header) {
                return Read::Refused;
            }
            headerSeen = true;
        }
        if (index < format.firstDataLine || lines.cut()) continue;
        // A line that does not convert is skipped; it never ends the import.
        auto f = number(field(line, columns.frequencyFirst, columns.frequencyLast));
        auto m = number(field(line, columns.levelFirst, columns.levelLast));
        auto p = number(field(line, columns.phaseFirst, columns.phaseLast));
        if (!f || !m || !p) continue;
        if (!points.add(*f, *m, *p)) return Read::TooMany;
    }
    return headerSeen ? Read::Ok : Read::Refused;
}

Read readSmaart(LineReader& lines, PointCollector& points)
{
    std::string line;
    size_t index = 0;
    bool headerSeen = false;
    for (; lines.next(line); ++index) {
        if (index >= kSmaartHeaderFirstLine && index <= kSmaartHeaderLastLine && line == kSmaartHeader)
            headerSeen = true;
        if (index > kSmaartHeaderLastLine && !headerSeen) return Read::Refused;
        // Data lines begin with a digit; the others are the header block and are skipped.
        if (index < kSmaartFirstDataLine || lines.cut() || line.empty() || line[0] < '0' || line[0] > '9') continue;
        const std::string_view text(line);
        const size_t tab1 = text.find('\t');
        if (tab1 == std::string_view::npos) continue;
        const size_t tab2 = text.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) continue;
        // The phase is at most 15 characters after the second tab, up to a further column.
        std::string_view phase = text.substr(tab2 + 1, kSmaartPhaseLength);
        phase = phase.substr(0, phase.find('\t'));
        auto f = number(text.substr(0, tab1));
        auto m = number(text.substr(tab1 + 1, tab2 - tab1 - 1));
        auto p = number(phase);
        if (!f || !m || !p) continue;
        if (!points.add(*f, *m, *p)) return Read::TooMany;
    }
    return headerSeen ? Read::Ok : Read::Refused;
}

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == ';';
}

// Up to three fields separated by runs of spaces, tabs, commas or semicolons.
size_t splitFields(std::string_view line, std::string_view (&fields)[3])
{
    size_t count = 0;
    size_t i = 0;
    while (count < 3) {
        while (i < line.size() && isSeparator(line[i]))
            ++i;
        if (i >= line.size()) break;
        const size_t start = i;
        while (i < line.size() && !isSeparator(line[i]))
            ++i;
        fields[count++] = line.substr(start, i - start);
    }
    return count;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// FRD, ZMA and REW text: comment lines start with '*', ';' or '#', or are any other text that
// is not a line of numbers; fields are separated by spaces, tabs or commas; the phase column
// may be missing.
Read readText(LineReader& lines, bool requireRew, MeasuredPoints& result, PointCollector& points)
{
    std::string line;
    bool rewSeen = false;
    while (lines.next(line)) {
        std::string_view text(line);
        const size_t start = text.find_first_not_of(" \t");
        if (start == std::string_view::npos) continue;
        text.remove_prefix(start);
        if (text[0] == '*' || text[0] == ';' || text[0] == '#') {
            // "* Data: db(Response), Group Delay (sec)": the third column is no phase.
            const std::string comment = lower(text);
            if (comment.find("data:") != std::string::npos && comment.find("group delay") != std::string::npos)
                result.groupDelay = true;
            if (text.find("REW") != std::string_view::npos) rewSeen = true;
            continue;
        }
        if (lines.cut()) continue;
        std::string_view fields[3];
        const size_t count = splitFields(text, fields);
        if (count < 2) continue;
        auto f = number(fields[0]);
        auto m = number(fields[1]);
        if (!f || !m) continue;
        std::optional<double> p = count == 3 ? number(fields[2]) : std::nullopt;
        if (!points.add(*f, *m, p.value_or(0.0))) return Read::TooMany;
    }
    if (requireRew && !rewSeen) return Read::Refused;
    if (result.groupDelay) std::fill(result.phase.begin(), result.phase.end(), 0.0);
    return Read::Ok;
}

} // namespace

Result<MeasuredPoints> readMeasurement(LineReader& lines, MeasurementKind kind, const std::string& name)
{
    MeasuredPoints result;
    result.phaseInDegrees = measurementPhaseInDegrees(kind);
    result.impedance = kind == MeasurementKind::Zma;
    PointCollector points(result);
    Read read = Read::Refused;
    try {
        switch (kind) {
        case MeasurementKind::Clio:
            read = readFixed(lines, FixedFormat{0, kClioHeader, 1, kClioColumns}, true, points);
            break;
        case MeasurementKind::Mlssa:
            read = readFixed(lines, kMlssa, false, points);
            break;
        case MeasurementKind::WinAirr:
            read = readFixed(lines, kWinAirr, false, points);
            break;
        case MeasurementKind::Smaart:
            read = readSmaart(lines, points);
            break;
        case MeasurementKind::Calsod:
        case MeasurementKind::Daas32:
        case MeasurementKind::LoudspeakerLab:
            read = readFixed(lines, kCalsod, false, points);
            break;
        case MeasurementKind::Frd:
        case MeasurementKind::Zma:
        case MeasurementKind::Rew:
            read = readText(lines, kind == MeasurementKind::Rew, result, points);
            break;
        default:
            return Error{texts::kImportUnderConstruction};
        }
    } catch (const std::bad_alloc&) {
        return Error{texts::kImportNotEnoughMemory};
    }
    // Interpolation needs two points at different frequencies; a file cut off at the byte limit,
    // or one holding more points than are kept, is refused whole.
    if (read != Read::Ok || lines.tooLarge() || lines.failed() || result.frequencyHz.size() < 2)
        return Error{measurementNotValidMessage(name, kind)};
    return result;
}

Result<MeasuredPoints> parseMeasurement(std::span<const uint8_t> bytes, MeasurementKind kind, const std::string& name)
{
    LineReader lines(bytes);
    return readMeasurement(lines, kind, name);
}

} // namespace kvr::core
