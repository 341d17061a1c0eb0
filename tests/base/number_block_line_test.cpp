#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "support/random_numbers.h"
#include "base/number_block_reader.h"
#include "base/number_text.h"

namespace parquill {
namespace {

#if defined(__SSE2__)

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A value line as it lies in a reader's buffer: its end, the next lines, and
// readable bytes after them.
std::string InBuffer(const std::string& line, const std::string& after) {
  return line + after + std::string(64, '\0');
}

// What a value line read from the buffer must give: its length and the
// value NumberFromPaddedText gives for it, or -1 for a line the block's way
// does not take.
void ExpectSameAsPaddedText(const std::string& line, const std::string& after, bool taken) {
  const std::string memory = InBuffer(line, after);
  double value = 12345;
  const int size = ReadNumberBlockLine(memory.data(), value);
  if (!taken) {
    EXPECT_EQ(size, -1) << '"' << line << '"';
    return;
  }
  ASSERT_EQ(size, static_cast<int>(line.size())) << '"' << line << '"';
  const double expected = NumberFromPaddedText(std::string_view(memory.data(), line.size()));
  EXPECT_TRUE(SameBits(value, expected)) << '"' << line << "\" read as " << value;
}

// The usual values are taken up to their end, whichever it is; anything
// else is left to the full reading.
TEST(NumberBlockLine, TakesTheUsualValueLinesOnly) {
  const std::pair<const char*, bool> cases[] = {
      {"-28425.25", true},
      {"15730.5", true},
      {"0", true},
      {"-0", true},
      {"-0.00000", true},
      {"+5", true},
      {".5", true},
      {"5.", true},
      {"123456789012345", true},
      {"123456789.12345", true},
      {"-123456789.12345", true},
      {"-99999999.999999", true},
      {"1234567890123456", false},   // 16 digits
      {"1234567890.12345", false},   // the end lies beyond the block
      {"-1234567890.12345", false},  // the same after the sign
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
      {"AcDbPolyline", false},
  };
  for (const char* after : {"\r\n 20\r\n", "\r 20\r", "\n 20\n"}) {
    for (auto [line, taken] : cases) ExpectSameAsPaddedText(line, after, taken);
  }
}

// Random values of every digit count and point position, with every line
// end and what may follow it: the same bits as NumberFromPaddedText, and
// taken exactly when the block holds the line and its end.
TEST(NumberBlockLine, RandomValuesAsThePaddedTextReading) {
  const char* afters[] = {"\r\n 20\r\n",          "\r 20\r", "\n 20\n",
                          "\r\n1234567890123456", "\n.5",    "\r-"};
  std::mt19937_64 random(37);
  for (int i = 0; i < 500'000; ++i) {
    const std::string line = testing::RandomNumberText(random, 17);
    const std::size_t signs = line[0] == '-' || line[0] == '+' ? 1 : 0;
    const std::size_t points = line.find('.') == std::string::npos ? 0 : 1;
    const std::size_t count = line.size() - signs - points;
    const bool taken = count >= 1 && count <= 15 && line.size() - signs < kNumberBlockBytes;
    ExpectSameAsPaddedText(line, afters[random() % std::size(afters)], taken);
    if (::testing::Test::HasFailure()) break;
  }
}

#endif

}  // namespace
}  // namespace parquill
