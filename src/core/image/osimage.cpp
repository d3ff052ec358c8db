#include "image/osimage.h"

#include <string_view>
#include <vector>

#include "config/configfile.h"
#include "util/rounding.h"
#include "util/texts.h"

namespace kvr::core {

namespace {

// Lines as a text list reads them: CR LF, LF or CR end a line; a final line end opens no line.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

int hexDigit(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
}

} // namespace

Result<OsImage> decodeOsFile(std::span<const uint8_t> bytes, const std::string& fileName)
{
    const std::string name = fileNameOf(fileName);
    if (bytes.size() > kOsMaxFileSize) return Error{name + texts::kOsTooLarge};

    // The version first: a file whose name gives none is not sent whatever it holds.
    if (name.size() < 7) return Error{name + texts::kOsBadName};
    int version = 0;
    for (size_t i = 4; i < 7; ++i) {
        const int digit = name[i] - '0';
        if (digit < 0 || digit > 9) return Error{name + texts::kOsBadName};
        version = version * 10 + digit;
    }
    if (version > 255) return Error{name + texts::kOsBadVersion};

    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::vector<std::string_view> lines = splitLines(text);
    const int64_t size = static_cast<int64_t>(bytes.size());
    const int64_t rest = size % static_cast<int64_t>(kOsFullLineLength);
    const int64_t lineCount = static_cast<int64_t>(lines.size());
    const int64_t count =
        rest == 0 ? 16 * lineCount : 16 * (lineCount - 1) + roundHalfEven(static_cast<double>(rest) / 3.0);
    if (count <= 0) return Error{name + texts::kOsNoData};
    if (count > static_cast<int64_t>(kOsMaxBytes)) return Error{name + texts::kOsTooLarge};

    OsImage os;
    os.byteCount = static_cast<size_t>(count);
    os.version = static_cast<uint8_t>(version);
    os.image.reserve(kOsImageHead + os.byteCount);
    const size_t total = os.byteCount + kOsImageHead;
    os.image.push_back(static_cast<uint8_t>(total >> 8));
    os.image.push_back(static_cast<uint8_t>(total));
    os.image.push_back(os.version);
    for (size_t j = 0; j < os.byteCount; ++j) {
        const size_t lineIndex = j / kOsBytesPerLine;
        const size_t column = 3 * (j % kOsBytesPerLine);
        if (lineIndex >= lines.size()) return Error{name + texts::kOsMissingLine};
        const std::string_view line = lines[lineIndex];
        const std::string lineText = std::to_string(lineIndex + 1);
        if (column + 1 >= line.size())
            return Error{name + texts::kOsShortLine + lineText + texts::kOsShortLineMiddle + "."};
        const int high = hexDigit(line[column]);
        const int low = hexDigit(line[column + 1]);
        if (high < 0 || low < 0)
            return Error{name + texts::kOsBadDigit + lineText + texts::kOsBadDigitMiddle +
                         std::to_string(j % kOsBytesPerLine + 1) + "."};
        os.image.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return os;
}

Result<OsImage> readOsFile(const std::string& path)
{
    auto bytes = readWholeFile(path, kOsMaxFileSize + 1);
    if (!bytes) return Error{bytes.message()};
    return decodeOsFile(*bytes, path);
}

std::string osFileText(std::span<const uint8_t> osBytes)
{
    static const char* digits = "0123456789abcdef";
    std::string text;
    text.reserve(osBytes.size() * 3 + osBytes.size() / 8 + 2);
    const size_t fullLines = osBytes.size() / kOsBytesPerLine;
    size_t j = 0;
    for (size_t line = 0; line < fullLines; ++line) {
        for (size_t i = 0; i < kOsBytesPerLine; ++i, ++j) {
            if (i > 0) text.push_back(' ');
            text.push_back(digits[osBytes[j] >> 4]);
            text.push_back(digits[osBytes[j] & 15]);
        }
        text += "\r\n";
    }
    for (; j < osBytes.size(); ++j) {
        text.push_back(digits[osBytes[j] >> 4]);
        text.push_back(digits[osBytes[j] & 15]);
        text.push_back(' ');
    }
    return text;
}

Result<ReceivedOs> receivedOs(std::span<const uint8_t> received)
{
    if (received.size() < kOsImageHead) return Error{texts::kOsReceivedIncomplete};
    const size_t length = size_t{received[0]} << 8 | received[1];
    if (length < kOsImageHead || length > received.size()) return Error{texts::kOsReceivedIncomplete};
    return ReceivedOs{received[2], received.subspan(kOsImageHead, length - kOsImageHead)};
}

Status saveOsFile(const std::string& path, std::span<const uint8_t> received)
{
    auto os = receivedOs(received);
    if (!os) return os.error();
    const std::string text = osFileText(os->bytes);
    return writeFileAtomically(path,
                               std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string proposedOsFileName(uint8_t version)
{
    return std::string(texts::kOsFileNameStart) + (version < 100 ? "0" : "") + std::to_string(version) +
           texts::kOsFileNameEnd;
}

} // namespace kvr::core
