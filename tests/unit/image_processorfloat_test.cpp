#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "image/processorfloat.h"

using namespace kvr::core;

namespace {

// The C3x word read as a 24-bit two's-complement mantissa with its hidden bit
// (01.f for positive, 10.f for negative) scaled by 2^(e-23).
double referenceDecode(uint32_t word)
{
    const int e =
        static_cast<int>(word >> 24) >= 128 ? static_cast<int>(word >> 24) - 256 : static_cast<int>(word >> 24);
    if (e == -128) return 0.0;
    const int64_t f = word & 0x7FFFFF;
    const int64_t mantissa = (word & 0x800000) ? f - (int64_t{1} << 24) : f + (int64_t{1} << 23);
    return static_cast<double>(mantissa) * std::pow(2.0, e - 23);
}

} // namespace

TEST(ProcessorFloat, KnownWords)
{
    EXPECT_EQ(ToProcessorFloat(1.0), 0x00000000u);
    EXPECT_EQ(ToProcessorFloat(0.0), 0x80000000u);
    EXPECT_EQ(ToProcessorFloat(-0.0), 0x80000000u);
    EXPECT_EQ(ToProcessorFloat(-1.0), 0xFF800000u);
    EXPECT_EQ(ToProcessorFloat(0.5), 0xFF000000u);
    EXPECT_EQ(ToProcessorFloat(-1.5), 0x00C00000u);
    EXPECT_EQ(ToProcessorFloat(2.0), 0x01000000u);
    EXPECT_EQ(ToProcessorFloat(-2.0), 0x00800000u);
    EXPECT_EQ(ToProcessorFloat(0.1), 0xFC4CCCCDu);
}

TEST(ProcessorFloat, NegativePowersOfTwoMoveTheExponentDown)
{
    for (int k = -100; k <= 100; ++k) {
        const double x = -std::ldexp(1.0, k);
        const uint32_t w = ToProcessorFloat(x);
        EXPECT_EQ(w & 0xFFFFFFu, 0x800000u) << k;
        EXPECT_EQ(static_cast<int8_t>(w >> 24), k - 1) << k;
        EXPECT_EQ(referenceDecode(w), x) << k; // exact
    }
}

TEST(ProcessorFloat, EverySingleComesBackExactly)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> mantissa(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(-120, 120);
    for (int i = 0; i < 20000; ++i) {
        const double sign = (rng() & 1) ? -1.0 : 1.0;
        const float x = static_cast<float>(sign * std::ldexp(mantissa(rng), exponent(rng)));
        const uint32_t w = ToProcessorFloat(x);
        // Single-precision values survive exactly: tolerance 0.
        EXPECT_EQ(referenceDecode(w), static_cast<double>(x)) << x;
        EXPECT_EQ(FromProcessorFloat(w), static_cast<double>(x)) << x;
    }
}

TEST(ProcessorFloat, DecodingAgreesWithTheReferenceForAnyWord)
{
    std::mt19937 rng(11);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t w = static_cast<uint32_t>(rng());
        EXPECT_EQ(FromProcessorFloat(w), referenceDecode(w)) << std::hex << w; // exact
    }
    EXPECT_EQ(FromProcessorFloat(0x80123456u), 0.0); // exponent -128 is zero whatever follows
}

TEST(ProcessorFloat, ValuesWithoutAWordStayFinite)
{
    const uint32_t maxWord = ToProcessorFloat(std::numeric_limits<float>::max());
    EXPECT_EQ(ToProcessorFloat(1e300), maxWord);
    EXPECT_EQ(ToProcessorFloat(std::numeric_limits<double>::infinity()), maxWord);
    EXPECT_EQ(ToProcessorFloat(-1e300), ToProcessorFloat(-std::numeric_limits<float>::max()));
    EXPECT_EQ(ToProcessorFloat(std::nan("")), 0x80000000u);
    EXPECT_EQ(FromProcessorFloat(maxWord), static_cast<double>(std::numeric_limits<float>::max()));
}
