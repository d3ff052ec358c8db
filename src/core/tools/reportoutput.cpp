#include "tools/reportoutput.h"

#include "util/texts.h"

namespace kvr::core {

namespace {
constexpr int kPrintedTopLines = 4;
} // namespace

std::string textWithCrLf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::vector<std::string> printedReportLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> printed(kPrintedTopLines, texts::kReportMargin);
    for (const std::string& line : lines)
        printed.push_back(texts::kReportMargin + line);
    return printed;
}

} // namespace kvr::core
