#include "sima/decimal_digit_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace parquill {
namespace {

// The digits as text, the first digit first.
std::string DigitText(std::uint64_t bytes) {
  std::string text;
  for (int i = 0; i < 8; ++i) text.push_back(static_cast<char>('0' + (bytes >> (8 * i) & 0xFF)));
  return text;
}

std::string EightDigitsOf(std::uint32_t number) {
  std::string text = std::to_string(number);
  return std::string(8 - text.size(), '0') + text;
}

TEST(EightDigitBytes, Table) {
  struct Case {
    std::uint32_t number;
    const char* digits;
  };
  const Case cases[] = {
      {0, "00000000"},        {1, "00000001"},     {9, "00000009"},        {10, "00000010"},
      {99, "00000099"},       {100, "00000100"},   {9999, "00009999"},     {10000, "00010000"},
      {15000, "00015000"},    {99999, "00099999"}, {12345678, "12345678"}, {90000009, "90000009"},
      {99999999, "99999999"},
  };
  for (const Case& c : cases) EXPECT_EQ(DigitText(EightDigitBytes(c.number)), c.digits);
}

// Every number a point number or the decimals of a coordinate can be, and a
// sample of the wider ones, against the library's decimal text.
TEST(EightDigitBytes, AgreesWithTheLibraryText) {
  for (std::uint32_t n = 0; n < 200000; ++n) {
    ASSERT_EQ(DigitText(EightDigitBytes(n)), EightDigitsOf(n)) << n;
  }
  std::mt19937 random(8);
  for (int i = 0; i < 200000; ++i) {
    const auto n = static_cast<std::uint32_t>(random() % 100000000);
    ASSERT_EQ(DigitText(EightDigitBytes(n)), EightDigitsOf(n)) << n;
  }
}

}  // namespace
}  // namespace parquill
