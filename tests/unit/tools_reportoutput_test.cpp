#include <gtest/gtest.h>

#include "tools/reportoutput.h"

using namespace kvr::core;

TEST(ReportOutput, TextFileEndsEveryLineWithCrLf)
{
    struct Row {
        std::vector<std::string> lines;
        std::string text;
    };
    const Row rows[] = {
        {{}, ""},
        {{""}, "\r\n"},
        {{"KVR 610  AUTOMATIC REPORT", "", "  ROUTE : A"}, "KVR 610  AUTOMATIC REPORT\r\n\r\n  ROUTE : A\r\n"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(textWithCrLf(r.lines), r.text);
}

TEST(ReportOutput, PrintedPageHasFourMarginLinesAndFiveSpacesBeforeEachLine)
{
    const std::vector<std::string> printed = printedReportLines({"A", "", " B"});
    const std::vector<std::string> expected = {"     ", "     ", "     ", "     ", "     A", "     ", "      B"};
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(printedReportLines({}).size(), 4u);
}
