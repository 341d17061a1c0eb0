#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"
#include "base/line_reader.h"
#include "base/runtime_error.h"

namespace parquill {
namespace {

using testing::TempFolder;

// What one reading met: the lines it delivered with their numbers, and the
// error that ended it (0 for the end of the file).
struct Reading {
  std::vector<std::string> lines;
  std::vector<std::int64_t> numbers;
  int error = 0;
  std::string description;
  bool operator==(const Reading&) const = default;
};

bool IsOneOf(std::string_view line, const std::vector<std::string_view>& literals) {
  for (std::string_view literal : literals) {
    if (line == literal) return true;
  }
  return false;
}

// Alternates between `plain` lines read one by one and a skip to the next
// literal, either with SkipToAnyOf or with Next() and a comparison.
Reading ReadWithSkips(const std::string& path, const std::vector<std::string_view>& literals,
                      bool useSkip, int plain) {
  Reading reading;
  try {
    LineReader reader(path);
    std::string_view line;
    for (;;) {
      for (int i = 0; i < plain; ++i) {
        if (!reader.Next(line)) return reading;
        reading.lines.emplace_back(line);
        reading.numbers.push_back(reader.lineNumber());
      }
      bool found = false;
      if (useSkip) {
        found = reader.SkipToAnyOf(literals, line);
      } else {
        while (reader.Next(line)) {
          if (IsOneOf(line, literals)) {
            found = true;
            break;
          }
        }
      }
      if (!found) return reading;
      reading.lines.emplace_back(line);
      reading.numbers.push_back(reader.lineNumber());
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
    reading.description = error.what();
  }
  return reading;
}

// Lines near the literals: the literals themselves, with blanks around them,
// cut short or made longer, other cases; runs of empty lines; every kind of
// line end, so that CR LF pairs meet the edges of the 64-byte blocks and of
// the reads.
std::string RandomDrawingLike(std::mt19937& random, std::size_t size) {
  const char* pieces[] = {"TEXT",      "MTEXT",     "ENTITIES", "ENDSEC", "LWPOLYLINE",
                          " TEXT",     "TEXT ",     "TEX",      "TEXTS",  "MTEXTBEGIN",
                          "text",      "ENDSE",     "LWPOLY",   "  0",    "  8",
                          "AcDbText",  "-28410.25", "地番",     "E",      "T",
                          "ENTITIESX", "LINE",      "M",        "\tTEXT", ""};
  const char* ends[] = {"\r\n", "\r", "\n", "\r\n", "\r\n"};
  std::string bytes;
  while (bytes.size() < size) {
    if (random() % 50 == 0) {
      bytes.append(random() % 300, 'x');  // a longer line
    } else {
      bytes += pieces[random() % std::size(pieces)];
    }
    bytes += ends[random() % std::size(ends)];
  }
  if (random() % 2 == 0) bytes += pieces[random() % 5];  // the last line without its end
  return bytes;
}

TEST(LineSkip, StopsWhereLineByLineReadingStopsOnRandomFiles) {
  const std::vector<std::vector<std::string_view>> literalSets = {
      {"TEXT", "MTEXT", "ENDSEC"},
      {"ENTITIES"},
      {"LWPOLYLINE", "ENDSEC"},
      {"T", "E", "M", "L", "A"},  // more first bytes than the skip sorts by
      {"  0"},
      {},
  };
  std::mt19937 random(2026);
  TempFolder folder;
  for (int file = 0; file < 60; ++file) {
    // Mostly small files; some larger than one read of the buffer.
    const std::size_t size = file % 10 == 0 ? 700'000 + random() % 100'000 : random() % 4000;
    const std::string path = folder.Write("f.dxf", RandomDrawingLike(random, size));
    for (const auto& literals : literalSets) {
      for (int plain : {0, 1, 3}) {
        SCOPED_TRACE(::testing::Message() << "file " << file << ", plain " << plain);
        EXPECT_EQ(ReadWithSkips(path, literals, true, plain),
                  ReadWithSkips(path, literals, false, plain));
      }
    }
  }
}

TEST(LineSkip, FindsLiteralsAtEveryPlaceAroundBlockAndReadEdges) {
  // The literal at every offset of a long run of short lines, with each end.
  TempFolder folder;
  const std::vector<std::string_view> literals = {"ENDSEC", "TEXT"};
  for (const char* end : {"\r\n", "\r", "\n"}) {
    for (std::size_t pad = 0; pad < 70; ++pad) {
      std::string bytes = std::string(pad, 'a') + end;
      while (bytes.size() < (std::size_t{1} << 18) - 40) bytes += std::string("  0") + end;
      for (int i = 0; i < 40; ++i) bytes += std::string(i % 2 ? "TEX" : "TEXT") + end;
      const std::string path = folder.Write("edge.dxf", bytes);
      EXPECT_EQ(ReadWithSkips(path, literals, true, 0), ReadWithSkips(path, literals, false, 0));
    }
  }
}

TEST(LineSkip, ALineLongerThanTheLimitRaisesTheSameErrorWhenSkipped) {
  TempFolder folder;
  const std::string bytes =
      "a\r\nb\nTEXT\r\n" + std::string(LineReader::kLongestLine + 5, 'x') + "\r\nTEXT\r\n";
  const std::string path = folder.Write("long.dxf", bytes);
  const std::vector<std::string_view> literals = {"TEXT"};
  const Reading skipped = ReadWithSkips(path, literals, true, 0);
  EXPECT_EQ(skipped.error, kOutOfMemory);
  EXPECT_EQ(skipped, ReadWithSkips(path, literals, false, 0));
}

TEST(LineSkip, ALineOfExactlyTheLimitIsPassed) {
  TempFolder folder;
  const std::string bytes =
      std::string(LineReader::kLongestLine, 'y') + "\nTEXT\n" + std::string(5000, 'z') + "\rTEXT";
  const std::string path = folder.Write("limit.dxf", bytes);
  const std::vector<std::string_view> literals = {"TEXT"};
  const Reading skipped = ReadWithSkips(path, literals, true, 0);
  EXPECT_EQ(skipped.lines, (std::vector<std::string>{"TEXT", "TEXT"}));
  EXPECT_EQ(skipped.numbers, (std::vector<std::int64_t>{2, 4}));
  EXPECT_EQ(skipped, ReadWithSkips(path, literals, false, 0));
}

// The code lines a group pair walk stops at, read pair by pair with Next(),
// or with NextUnusualGroupCode.
Reading WalkPairs(const std::string& path, bool useSkip) {
  Reading reading;
  try {
    LineReader reader(path);
    std::string_view code;
    for (;;) {
      bool found = false;
      if (useSkip) {
        found = reader.NextUnusualGroupCode(code);
      } else {
        while (reader.Next(code)) {
          if (!IsUsualNonZeroGroupCode(code)) {
            found = true;
            break;
          }
          std::string_view value;
          if (!reader.Next(value)) break;
        }
      }
      if (!found) return reading;
      reading.lines.emplace_back(code);
      reading.numbers.push_back(reader.lineNumber());
      std::string_view value;
      if (!reader.Next(value)) return reading;  // the unusual code's value
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
    reading.description = error.what();
  }
  return reading;
}

TEST(LineSkip, UsualGroupCodes) {
  for (const char* usual : {" 10", " 20", "  8", " 42", " 99", "  1", " 01"}) {
    EXPECT_TRUE(IsUsualNonZeroGroupCode(usual)) << usual;
  }
  for (const char* other :
       {"  0", " 00", "0", " 0", "10", "100", " 10 ", "\t10", " 1a", "x10", "", "  0 ", " -1"}) {
    EXPECT_FALSE(IsUsualNonZeroGroupCode(other)) << other;
  }
}

TEST(LineSkip, GroupPairWalkStopsWherePairByPairReadingStops) {
  const char* codes[] = {" 10", " 20", " 10", " 20", " 42",  "  8", "  0", " 00",
                         "0",   " 0",  "10",  " 1a", " 10 ", "",    " 70", "100"};
  const char* values[] = {"-28282.2994",  "15630.5", "  0", "0",  " 10", "  8", "",
                          "AcDbPolyline", "  00",    "1.0", " 20"};
  const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r", "\n"};
  std::mt19937 random(7);
  TempFolder folder;
  for (int file = 0; file < 80; ++file) {
    const std::size_t size = file % 10 == 0 ? 600'000 + random() % 100'000 : random() % 6000;
    // Mostly usual codes, so that long runs of pairs are passed; an odd line
    // now and then shifts which lines are codes.
    const int unusualShare = 2 + static_cast<int>(random() % 200);
    std::string bytes;
    while (bytes.size() < size) {
      const bool unusual = static_cast<int>(random() % unusualShare) == 0;
      bytes += unusual ? codes[6 + random() % (std::size(codes) - 6)] : codes[random() % 6];
      bytes += ends[random() % std::size(ends)];
      if (random() % 500 == 0) continue;  // a code without its value
      bytes += random() % 40 == 0 ? std::string(random() % 300, '7')
                                  : values[random() % std::size(values)];
      bytes += ends[random() % std::size(ends)];
    }
    if (random() % 2 == 0) bytes += codes[random() % std::size(codes)];
    const std::string path = folder.Write("pairs.dxf", bytes);
    SCOPED_TRACE(::testing::Message() << "file " << file);
    EXPECT_EQ(WalkPairs(path, true), WalkPairs(path, false));
  }
}

TEST(LineSkip, AnOverLongValuePassedInAGroupPairWalkRaisesTheSameError) {
  TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += " 10\r\n1.5\r\n";
  bytes += " 20\r\n" + std::string(LineReader::kLongestLine + 1, '5') + "\r\n  0\r\n";
  const std::string path = folder.Write("long.dxf", bytes);
  const Reading walked = WalkPairs(path, true);
  EXPECT_EQ(walked.error, kOutOfMemory);
  EXPECT_EQ(walked, WalkPairs(path, false));
}

}  // namespace
}  // namespace parquill
