#include "mif/buffered_point_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "mif/plain_point_line.h"

namespace parquill {
namespace {

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The line as a reader's buffer holds it: digits before it (the end of an
// earlier line), its end, then more digits.
struct BufferedLine {
  explicit BufferedLine(std::string_view line, std::string_view end = "\r\n") {
    bytes.assign(kPointLineReadableBefore, '7');
    bytes.append(line);
    bytes.append(end);
    bytes.append(2 * kPointLineReadableFrom, '8');
  }
  const char* text() const { return bytes.data() + kPointLineReadableBefore; }
  std::string bytes;
};

// What the general reading gives: ReadPlainPointLine; a line the buffered
// reading takes must read the same there.
void ExpectSameAsThePlainReading(std::string_view line, std::string_view end = "\r\n") {
  BufferedLine buffered(line, end);
  double x = 1;
  double y = 1;
  const int size = ReadBufferedPointLine(buffered.text(), x, y);
  if (size < 0) return;
  double plainX = 0;
  double plainY = 0;
  ASSERT_TRUE(ReadPlainPointLine(line, plainX, plainY)) << line;
  EXPECT_EQ(size, static_cast<int>(line.size())) << line;
  EXPECT_TRUE(SameDouble(x, plainX)) << line;
  EXPECT_TRUE(SameDouble(y, plainY)) << line;
}

TEST(ReadBufferedPointLine, TakesTheRegionBuildersShapeUpToItsLimits) {
  struct Case {
    std::string_view line;
    bool taken;
    double x;
    double y;
  };
  const Case cases[] = {
      {"-28410.25000 15730.50000", true, -28410.25, 15730.5},
      {"28410.25000 -15730.50000", true, 28410.25, -15730.5},
      {"0.00000 0.00000", true, 0, 0},  // 15 bytes, the shortest
      {"-0.00000 -0.00000", true, -0.0, -0.0},
      {"0.00001 -0.00001", true, 0.00001, -0.00001},
      {"123456789.12345 123456789.12345", true, 123456789.12345, 123456789.12345},  // 31 bytes
      {"-123456789.12345 12345678.12345", true, -123456789.12345, 12345678.12345},
      {"-99999999.99999 -123456789.5", false, 0, 0},       // one decimal
      {"-123456789.12345 -12345678.12345", false, 0, 0},   // 32 bytes: its end beyond the look
      {"-123456789.12345 -123456789.12345", false, 0, 0},  // 33 bytes
      {"1234567890.12345 1.00000", false, 0, 0},           // ten whole digits
      {"1.00000 1234567890.12345", false, 0, 0},
      {"12.1234 123456.12345", false, 0, 0},  // four decimals
      {"12.123456 12345.12345", false, 0, 0},
      {"1234.12345 12.1234", false, 0, 0},
      {"1234.12345 12.123456", false, 0, 0},
      {".12345 1234.12345", false, 0, 0},  // no whole digit
      {"-.12345 1234.12345", false, 0, 0},
      {"1234.12345 -.12345", false, 0, 0},
      {"1234.12345 .12345", false, 0, 0},
      {"+1234.12345 1234.12345", false, 0, 0},
      {"1234.12345  1234.12345", false, 0, 0},  // two blanks
      {"1234.12345 1234.12345 ", false, 0, 0},
      {" 1234.12345 1234.12345", false, 0, 0},
      {"1234.12345\t1234.12345", false, 0, 0},
      {"12-34.12345 1234.12345", false, 0, 0},
      {"1234.12345 12-4.12345", false, 0, 0},
      {"--234.12345 1234.12345", false, 0, 0},
      {"1234.12345 --34.12345", false, 0, 0},
      {"1234.12.45 1234.12345", false, 0, 0},
      {"1234,12345 1234.12345", false, 0, 0},
      {"1234.12345 1234,12345", false, 0, 0},
      {"12a4.12345 1234.12345", false, 0, 0},
      {"1234.12345 1234.1234\xB9", false, 0, 0},  // a byte above 0x7F
      {"1234.12345", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    BufferedLine buffered(c.line);
    double x = 0;
    double y = 0;
    const int size = ReadBufferedPointLine(buffered.text(), x, y);
#if defined(__SSE2__)
    EXPECT_EQ(size >= 0, c.taken) << c.line;
#endif
    if (size >= 0) {
      EXPECT_EQ(size, static_cast<int>(c.line.size())) << c.line;
      EXPECT_TRUE(SameDouble(x, c.x)) << c.line;
      EXPECT_TRUE(SameDouble(y, c.y)) << c.line;
    }
    ExpectSameAsThePlainReading(c.line);
  }
}

TEST(ReadBufferedPointLine, EndsAtTheFirstCrOrLf) {
  for (std::string_view end : {"\r\n", "\r", "\n", "\n\r", "\r\r"}) {
    BufferedLine buffered("-28410.25000 15730.50000", end);
    double x = 0;
    double y = 0;
    const int size = ReadBufferedPointLine(buffered.text(), x, y);
#if defined(__SSE2__)
    EXPECT_EQ(size, 24);
#endif
    if (size >= 0) {
      EXPECT_TRUE(SameDouble(x, -28410.25) && SameDouble(y, 15730.5));
    }
  }
  BufferedLine noEnd("-28410.25000 15730.50000", "");  // digits go on past 31 bytes
  double x = 0;
  double y = 0;
  EXPECT_EQ(ReadBufferedPointLine(noEnd.text(), x, y), -1);
}

// One value near the shape: mostly the plain shape with five decimals, whole
// digits from 0 to 10, sometimes other decimals or a stray character.
std::string RandomValue(std::mt19937_64& random) {
  std::string value;
  std::uniform_int_distribution<int> percent(0, 99);
  if (percent(random) < 45) value.push_back('-');
  const int whole = std::uniform_int_distribution<int>(0, 10)(random);
  const bool zeros = percent(random) < 10;
  for (int i = 0; i < whole; ++i) {
    value.push_back(zeros ? '0' : static_cast<char>('0' + random() % 10));
  }
  value.push_back('.');
  const int decimals = percent(random) < 85 ? 5 : std::uniform_int_distribution<int>(0, 7)(random);
  for (int i = 0; i < decimals; ++i) {
    value.push_back(zeros ? '0' : static_cast<char>('0' + random() % 10));
  }
  if (percent(random) < 2) {
    value[random() % value.size()] = "+e ./\t:"[random() % 7];
  }
  return value;
}

TEST(ReadBufferedPointLine, AgreesWithThePlainReadingOnRandomLines) {
  std::mt19937_64 random(20261208);
  int taken = 0;
  for (int i = 0; i < 300000; ++i) {
    std::string line =
        RandomValue(random) + (random() % 50 == 0 ? "  " : " ") + RandomValue(random);
    BufferedLine buffered(line, random() % 2 ? "\r\n" : "\n");
    double x = 0;
    double y = 0;
    const int size = ReadBufferedPointLine(buffered.text(), x, y);
    if (size < 0) continue;
    ++taken;
    double plainX = 0;
    double plainY = 0;
    ASSERT_TRUE(ReadPlainPointLine(line, plainX, plainY)) << line;
    ASSERT_EQ(size, static_cast<int>(line.size())) << line;
    ASSERT_TRUE(SameDouble(x, plainX)) << line;
    ASSERT_TRUE(SameDouble(y, plainY)) << line;
  }
#if defined(__SSE2__)
  EXPECT_GT(taken, 100000);
#endif
}

}  // namespace
}  // namespace parquill
