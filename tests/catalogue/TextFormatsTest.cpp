#include <gtest/gtest.h>

#include "audio/Rounding.h"
#include "catalogue/TextFormats.h"
#include "catalogue/TextCase.h"

namespace tonvault::catalogue {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(audio::RoundHalfEven(2.5), 2);
  EXPECT_EQ(audio::RoundHalfEven(3.5), 4);
  EXPECT_EQ(audio::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(audio::RoundHalfEven(-3.5), -4);
  EXPECT_EQ(audio::RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(audio::RoundHalfEven(0.49), 0);
  EXPECT_EQ(audio::Truncate(-2.9), -2);
  EXPECT_EQ(audio::RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(FormatLength, ShowsHoursMinutesSecondsAndWrapsAtOneDay) {
  EXPECT_EQ(FormatLength(0), "00:00:00");
  EXPECT_EQ(FormatLength(59.9994), "00:00:59") << "fraction dropped after rounding to the millisecond";
  EXPECT_EQ(FormatLength(59.9996), "00:01:00") << "rounds to the millisecond first";
  EXPECT_EQ(FormatLength(3 * 3600 + 25 * 60 + 7), "03:25:07");
  EXPECT_EQ(FormatLength(25 * 3600), "01:00:00");
  EXPECT_EQ(FormatLength(-5), "00:00:00");
}

TEST(NumberFormats, ThousandsDotsAndDecimalComma) {
  EXPECT_EQ(FormatThousands(0), "0");
  EXPECT_EQ(FormatThousands(999), "999");
  EXPECT_EQ(FormatThousands(1000), "1.000");
  EXPECT_EQ(FormatThousands(1234567), "1.234.567");
  EXPECT_EQ(FormatThousands(-1234), "-1.234");
  EXPECT_EQ(FormatThousands(std::numeric_limits<std::int64_t>::min()), "-9.223.372.036.854.775.808");
  EXPECT_EQ(FormatFixed(66.666, 1), "66,7");
  EXPECT_EQ(FormatFixed(33.333, 1), "33,3");
  EXPECT_EQ(FormatFixed(5.0, 2), "5,00");
  EXPECT_EQ(FormatFixed(0.25, 1), "0,2") << "half to even";
  EXPECT_EQ(FormatFixed(-1.5, 0), "-2");
}

TEST(TextCase, OnlyAsciiLettersChange) {
  EXPECT_EQ(AsciiLower("ABBA Ärger"), "abba Ärger");
  EXPECT_EQ(AsciiUpper("abba ärger"), "ABBA äRGER");
}

}  // namespace
}  // namespace tonvault::catalogue
