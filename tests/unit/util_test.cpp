#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <type_traits>
#include <variant>

#include "util/bytes.h"
#include "util/latin1.h"
#include "util/numtext.h"
#include "util/rounding.h"

using namespace kvr::core;

TEST(Rounding, HalfToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
}

TEST(Rounding, HostileValuesAreDefined)
{
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(roundHalfEven(INFINITY), INT64_MAX);
    EXPECT_EQ(roundHalfEven(-1e300), INT64_MIN);
    // A value far beyond 16 bits keeps its low 16 bits, as the record field holds them.
    EXPECT_EQ(low16(roundHalfEven(-156.22)), 0xFF64);
    EXPECT_EQ(low16(roundHalfEven(2e15)), static_cast<uint16_t>(2000000000000000LL & 0xFFFF));
}

TEST(NumberText, ShortestSinglePrecision)
{
    EXPECT_EQ(formatShortest(-5.85f), "-5.85");
    EXPECT_EQ(formatShortest(1000.0f), "1000");
    EXPECT_EQ(formatShortest(0.1f), "0.1");
    EXPECT_EQ(formatShortest(-0.0f), "0");
    EXPECT_EQ(formatShortest(13.85f), "13.85");
    EXPECT_EQ(formatShortest(1e-7f), "1e-07");
}

TEST(NumberText, GeneralAndFixed)
{
    EXPECT_EQ(formatGeneral(1000.0), "1000");
    EXPECT_EQ(formatGeneral(2.5), "2.5");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatGeneral(1e20), "1E20");
    EXPECT_EQ(formatGeneral(1.5e-7), "1.5E-7");
    EXPECT_EQ(formatFixed(2.8958, 2), "2.90");
    EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(formatFixed(-6.0, 1), "-6.0");
}

// Listings and the report write a number by what holds it. Texts worked out by hand: 1/3 in single
// precision is 0.3333333432674408..., shortest round trip 0.33333334; 13.85f widened to double is
// 13.850000381469727..., 15 significant digits 13.8500003814697 (so single values keep their type).
TEST(NumberText, ListingAndReportNumbersFollowTheirType)
{
    struct Row {
        std::variant<float, double, int> value;
        const char* text;
    };
    const Row rows[] = {
        {2.5f, "2.5"},
        {13.85f, "13.85"},
        {1.0f / 3.0f, "0.33333334"},
        {-0.0f, "0"},
        {2.5, "2.5"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {double(13.85f), "13.8500003814697"},
        {1e20, "1E20"},
        {48000, "48000"},
        {-1, "-1"},
        {0, "0"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(std::visit(
                      [](auto v) {
                          if constexpr (std::is_same_v<decltype(v), int>)
                              return formatInteger(v);
                          else
                              return formatNumber(v);
                      },
                      r.value),
                  r.text)
            << r.text;
}

TEST(NumberText, DecimalPointIgnoresLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(formatFixed(2.5, 2), formatFixed(2.5, 2).find(',') == std::string::npos ? "2.50" : "");
    EXPECT_EQ(parseNumber("2.5").value_or(0), 2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, Parsing)
{
    EXPECT_EQ(parseNumber(" 4.70 ").value(), 4.70);
    EXPECT_FALSE(parseNumber("4,70").has_value());
    EXPECT_FALSE(parseNumber("").has_value());
    EXPECT_FALSE(parseNumber("abc").has_value());
    EXPECT_EQ(parseInteger("047").value(), 47);
    EXPECT_FALSE(parseInteger("4x").has_value());
}

// A field given "nan" or "inf" holds no number: it must not store one.
TEST(NumberText, OnlyFiniteNumbersParse)
{
    struct Row {
        const char* text;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"nan", std::nullopt},   {"NaN", std::nullopt},
        {"-nan", std::nullopt},  {"nan(1)", std::nullopt},
        {"inf", std::nullopt},   {"+INF", std::nullopt},
        {"-inf", std::nullopt},  {"infinity", std::nullopt},
        {"1e400", std::nullopt}, {"-1e400", std::nullopt},
        {"1e308", 1e308},        {"-1.5e3", -1500.0},
        {" 20 ", 20.0},          {"+0.5", 0.5},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseNumber(row.text), row.value) << row.text;
}

TEST(Bytes, ReaderNeverReadsPastTheEnd)
{
    std::array<uint8_t, 3> data{0x01, 0x02, 0x03};
    ByteReader r(data);
    EXPECT_EQ(r.u16le(0), 0x0201);
    EXPECT_EQ(r.u16be(0), 0x0102);
    EXPECT_FALSE(r.overrun());
    EXPECT_EQ(r.u32le(1), 0x0302u);
    EXPECT_TRUE(r.overrun());
}

TEST(Bytes, ShortStringsClampTheirLength)
{
    std::array<uint8_t, 6> data{200, 'a', 'b', 'c', 'd', 'e'};
    ByteReader r(data);
    EXPECT_EQ(r.shortString(0, 4), "abcd");

    std::array<uint8_t, 6> out{};
    out.fill(0xEE);
    ByteWriter w(out);
    w.shortString(0, 4, "toolong");
    EXPECT_EQ(out[0], 4);
    EXPECT_EQ(out[4], 'l');
    w.shortString(0, 4, "ab");
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[5], 0xEE);
}

TEST(Bytes, AppenderStopsAtItsLimit)
{
    ByteAppender a(5);
    a.u32be(0x01020304);
    EXPECT_FALSE(a.overflow());
    a.u16be(0x0506);
    EXPECT_TRUE(a.overflow());
    EXPECT_EQ(a.size(), 5u);
    EXPECT_EQ(toHex(a.bytes()), "0102030405");
}

// UTF-8 sequences written out by hand from the code points: U+00D1 = C3 91, U+00F3 = C3 B3,
// U+00FF = C3 BF, U+20AC = E2 82 AC, U+1F600 = F0 9F 98 80, U+0100 = C4 80.
TEST(TextEncoding, Utf8ToStoredCharacters)
{
    struct Row {
        const char* what;
        std::string text;
        std::string stored;
    };
    const Row rows[] = {
        {"ASCII", "Out1", "Out1"},
        {"two-byte Latin-1 letters", "A\xC3\x91\xC3\x91\xC3\x91", "A\xD1\xD1\xD1"},
        {"last Latin-1 character", "\xC3\xBF", "\xFF"},
        {"first character beyond Latin-1", "\xC4\x80", "?"},
        {"euro sign", "5\xE2\x82\xAC", "5?"},
        {"four-byte character", "\xF0\x9F\x98\x80!", "?!"},
        {"lone Latin-1 byte", "Sal\xF3n", "Sal\xF3n"},
        {"truncated sequence", "\xE2\x82", "\xE2\x82"},
        {"overlong slash", "\xC0\xAF", "\xC0\xAF"},
        {"surrogate", "\xED\xA0\x80", "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xF4\x90\x80\x80"},
        {"stray continuation", "\x80x", "\x80x"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(utf8ToLatin1(row.text), row.stored) << row.what;
        EXPECT_EQ(storedLength(row.text), row.stored.size()) << row.what;
    }
}

TEST(TextEncoding, EveryStoredByteComesBackUnchanged)
{
    std::string all;
    for (int b = 0; b <= 0xFF; ++b)
        all.push_back(static_cast<char>(b));
    const std::string text = latin1ToUtf8(all);
    EXPECT_EQ(text.size(), 0x80u + 2 * 0x80u);
    EXPECT_EQ(text.substr(0x80 + (0xF3 - 0x80) * 2, 2), "\xC3\xB3") << "0xF3 is U+00F3";
    EXPECT_EQ(utf8ToLatin1(text), all);
    EXPECT_EQ(storedLength(text), 256u);
}

TEST(TextEncoding, ClampCountsStoredCharacters)
{
    struct Row {
        std::string text;
        size_t capacity;
        std::string kept;
    };
    const Row rows[] = {
        {"A\xC3\x91\xC3\x91\xC3\x91", 4, "A\xC3\x91\xC3\x91\xC3\x91"},
        {"A\xC3\x91\xC3\x91\xC3\x91\xC3\x91", 4, "A\xC3\x91\xC3\x91\xC3\x91"},
        {"\xC3\x91\xC3\x91", 1, "\xC3\x91"},
        {"\xE2\x82\xACuro", 1, "\xE2\x82\xAC"},
        {"Sal\xF3n", 4, "Sal\xF3"},
        {"abc", 0, ""},
        {"", 4, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(clampText(row.text, row.capacity), row.kept) << row.text << " / " << row.capacity;
}

TEST(Bytes, ShortTextsStoreLatin1)
{
    std::array<uint8_t, 6> out{};
    ByteWriter w(out);
    w.shortText(0, 4, "A\xC3\x91\xC3\x91\xC3\x91\xC3\x91");
    EXPECT_EQ(out, (std::array<uint8_t, 6>{4, 'A', 0xD1, 0xD1, 0xD1, 0}));
    w.shortText(0, 4, "\xE2\x82\xAC");
    EXPECT_EQ(out, (std::array<uint8_t, 6>{1, '?', 0, 0, 0, 0}));

    std::array<uint8_t, 6> data{4, 'S', 'a', 'l', 0xF3, 'n'};
    EXPECT_EQ(ByteReader(data).shortText(0, 5), "Sal\xC3\xB3");
}
