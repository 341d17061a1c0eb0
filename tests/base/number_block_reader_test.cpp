#include "base/number_block_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "support/random_numbers.h"
#include "base/number_text.h"

namespace parquill {
namespace {

// The text laid in memory as a LineReader lays a line: followed by a line end,
// the next lines, and readable bytes.
struct PaddedText {
  explicit PaddedText(const std::string& text, const std::string& after = "\r\n 10\r\n")
      : memory(text + after + std::string(kReadableAfterText, '7')), size(text.size()) {}
  std::string_view View() const { return {memory.data(), size}; }
  std::string memory;
  std::size_t size;
};

// The value the character-by-character reading gives: strtod on the text,
// which for these shapes is the same.
bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(NumberFromPaddedText, UsualShapesAtTheirLimits) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"-28425.25", -28425.25},
      {"15730.5", 15730.5},
      {"-28410.123", -28410.123},
      {"0", 0},
      {"-0", -0.0},
      {"+5", 5},
      {".5", 0.5},
      {"5.", 5},
      {"-.5", -0.5},
      {"+.25", 0.25},
      {"007.50", 7.5},
      {"000000000000001", 1},
      {"123456789012345", 123456789012345.0},
      {"-12345678901234.5", -12345678901234.5},
      {"0.00000000000001", 1e-14},
      {".000000000000001", 1e-15},
      {"99999999.9999999", 99999999.9999999},
      {"-0.00000", -0.0},
      {"1", 1},
      {"9", 9},
      // Other shapes: read the full way.
      {"1234567890123456", 1234567890123456.0},
      {"12345678901234567", 12345678901234567.0},
      {"-1234567890123456.5", -1234567890123456.5},
      {"1.2.3", 1.2},
      {"1e3", 1000},
      {" 12.5", 12.5},
      {"12.5 ", 12.5},
      {"1 2", 12},
      {"", 0},
      {"-", 0},
      {"+", 0},
      {".", 0},
      {"-.", 0},
      {"--5", 0},
      {"5-", 5},
      {"1,5", 1},
  };
  for (const Case& c : cases) {
    const PaddedText padded(c.text);
    const double read = NumberFromPaddedText(padded.View());
    EXPECT_TRUE(SameBits(read, c.expected)) << '"' << c.text << "\" read as " << read;
    EXPECT_TRUE(SameBits(read, NumberFromText(c.text))) << '"' << c.text << '"';
  }
}

#if defined(__SSE2__)
// The block takes exactly the usual shape, and nothing else.
TEST(NumberBlock, TakesOnlySignDigitsAndOnePoint) {
  const std::pair<const char*, bool> cases[] = {
      {"-28425.25", true},
      {"+5", true},
      {".5", true},
      {"5.", true},
      {"123456789012345", true},
      {"1234567890.12345", true},
      {"-1234567890.12345", true},
      {"1234567890123456", false},
      {"1234567890.123456", false},
      {"", false},
      {"-", false},
      {".", false},
      {"+.", false},
      {"1..2", false},
      {" 1", false},
      {"1 ", false},
      {"1e5", false},
      {"--1", false},
      {"1-", false},
      {"\t1", false},
  };
  for (auto [text, taken] : cases) {
    const PaddedText padded(text, "123.45");
    double value = 0;
    EXPECT_EQ(ReadNumberBlock(padded.memory.data(), padded.size, value), taken) << text;
  }
}
#endif

// Random numbers of the usual shape, every digit count and point position,
// followed by whatever a drawing may hold: bit for bit the value strtod gives.
TEST(NumberFromPaddedText, RandomUsualNumbersMatchStrtodBitForBit) {
  const char* afters[] = {"", "9", "1234567890123456", ".5", "\r\n 20\r\n", "-"};
  std::mt19937_64 random(31);
  for (int i = 0; i < 1'000'000; ++i) {
    const std::string text = testing::RandomNumberText(random, 16);
    const PaddedText padded(text, afters[random() % std::size(afters)]);
    const double read = NumberFromPaddedText(padded.View());
    const double expected = NumberFromText(text);
    ASSERT_TRUE(SameBits(read, expected)) << '"' << text << '"';
    const bool hasDigit = text.find_first_of("0123456789") != std::string::npos;
    if (hasDigit) {
      ASSERT_TRUE(SameBits(read, std::strtod(text.c_str(), nullptr))) << '"' << text << '"';
    }
  }
}

}  // namespace
}  // namespace parquill
