#include "dxf/dxf_line_source.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::TempFolder;

// An error a reading raises, as a negative number below -1.
template <typename Read>
int OrError(Read read) {
  try {
    return read();
  } catch (const RuntimeError& error) {
    return -100 - error.number();
  }
}

TEST(GroupCode, EachRuleOnTheShapesCodeLinesHave) {
  struct Case {
    const char* line;
    int whole;          // WholeGroupCode, or -100 - the error it raises
    bool usualNonZero;  // IsUsualNonZeroGroupCode
  };
  const Case cases[] = {
      {"  8", 8, true},
      {" 10", 10, true},
      {" 01", 1, true},
      {" 99", 99, true},
      {"  0", 0, false},
      {" 00", 0, false},
      {"0", 0, false},
      {"330", 330, false},
      {"AcDbEntity", 0, false},
      {"3A", 3, false},
      {"0.0", 0, false},
      {"2.5", kNoWholeCode, false},
      {"10.000", 10, false},
      {"8.", 8, false},
      {"1E3", 1000, false},
      {"2E", 2, false},
      {"1e999", kNoWholeCode, false},  // a handle beyond the double range
      {"10E400", kNoWholeCode, false},
      {"1e-999", 0, false},
      {"-8", kNoWholeCode, false},
      {" -1", kNoWholeCode, false},
      {"-0", 0, false},
      {" 1 0", 10, false},
      {" 1a", 1, false},
      {"\t8", 8, false},
      {"\t10", 10, false},
      {"0.8e1", 8, false},
      {"1.2.3", kNoWholeCode, false},
      {"7.99999999999999999999", 8, false},
      {"1000000000", kNoWholeCode, false},
      {"999999999", 999'999'999, false},
      {"", 0, false},
      {"   ", 0, false},
      {" 10 ", 10, false},
      {"  0 ", 0, false},
      {"8-1", 8, false},
      {"08", 8, false},
      {"1234567", 1234567, false},
      {"123456", 123456, false},
      {"x10", 0, false},
  };
  for (const Case& c : cases) {
    const std::string_view line = c.line;
    EXPECT_EQ(OrError([&] { return WholeGroupCode(line); }), c.whole) << '"' << line << '"';
    EXPECT_EQ(IsUsualNonZeroGroupCode(line), c.usualNonZero) << '"' << line << '"';
  }
}

// What one reading met: the lines it delivered with their numbers, and the
// error that ended it (0 for the end of the file).
struct Reading {
  std::vector<std::string> lines;
  std::vector<std::int64_t> numbers;
  int error = 0;
  std::string description;
  bool operator==(const Reading&) const = default;
};

enum class Way { kLineByLine, kPassing };

// Delivers `plain` lines one by one, then passes on to the next line that is
// one of the keywords (with SkipTo, or line by line), and so on.
Reading ReadWithSkips(const std::string& path, const std::vector<std::string_view>& keywords,
                      Way way, int plain) {
  Reading reading;
  try {
    DxfLineSource drawing(path);
    std::string_view line;
    auto isKeyword = [&](std::string_view l) {
      for (std::string_view keyword : keywords) {
        if (l == keyword) return true;
      }
      return false;
    };
    for (;;) {
      for (int i = 0; i < plain; ++i) {
        if (!drawing.Next(line)) return reading;
        reading.lines.emplace_back(line);
        reading.numbers.push_back(drawing.lineNumber());
      }
      bool found = false;
      if (way == Way::kPassing) {
        found = drawing.SkipTo(keywords, line);
      } else {
        while (!found && drawing.Next(line)) found = isKeyword(line);
      }
      if (!found) return reading;
      reading.lines.emplace_back(line);
      reading.numbers.push_back(drawing.lineNumber());
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
    reading.description = error.what();
  }
  return reading;
}

// The code lines where a pass over usual group pairs stops, with the value
// after each (with PassUsualGroupPairs, or pair by pair).
Reading WalkPairs(const std::string& path, Way way) {
  Reading reading;
  try {
    DxfLineSource drawing(path);
    std::string_view code;
    std::string_view value;
    for (;;) {
      bool found = false;
      if (way == Way::kPassing) {
        found = drawing.PassUsualGroupPairs(code);
      } else {
        while (!found && drawing.Next(code)) {
          found = !IsUsualNonZeroGroupCode(code);
          if (!found && !drawing.Next(value)) break;
        }
      }
      if (!found) return reading;
      reading.lines.emplace_back(code);
      reading.numbers.push_back(drawing.lineNumber());
      if (!drawing.Next(value)) return reading;
    }
  } catch (const RuntimeError& error) {
    reading.error = error.number();
    reading.description = error.what();
  }
  return reading;
}

// A drawing-like file of the given pieces, every kind of line end among them
// so that CR LF pairs meet the edges of the 64-byte blocks and of the reads;
// now and then a longer line, and maybe a last line without its end.
std::string RandomFile(std::mt19937& random, std::size_t size,
                       const std::vector<std::string>& pieces) {
  const char* ends[] = {"\r\n", "\r", "\n", "\r\n", "\r\n"};
  std::string bytes;
  while (bytes.size() < size) {
    bytes +=
        random() % 50 == 0 ? std::string(random() % 300, '7') : pieces[random() % pieces.size()];
    bytes += ends[random() % std::size(ends)];
  }
  if (random() % 2 == 0) bytes += pieces[random() % pieces.size()];
  return bytes;
}

TEST(DxfLineSource, PassesLinesAsTheLineByLineReadingDoesOnRandomFiles) {
  const std::vector<std::string> pieces = {"TEXT",      "MTEXT", "ENTITIES", "ENDSEC", "LWPOLYLINE",
                                           " TEXT",     "TEXT ", "TEX",      "TEXTS",  "MTEXTBEGIN",
                                           "ENDSE",     "  0",   "  8",      " 10",    " 20",
                                           " 00",       "0",     " 1a",      " 10 ",   "AcDbText",
                                           "-28410.25", "E",     "T",        "\tTEXT", ""};
  const std::vector<std::vector<std::string_view>> keywordSets = {
      {"TEXT", "MTEXT", "ENDSEC", "ENTITIES"}, {"ENTITIES"}, {"LWPOLYLINE", "ENDSEC"}, {"  0"}, {}};
  std::mt19937 random(2026);
  TempFolder folder;
  for (int file = 0; file < 30; ++file) {
    // Mostly small files; some larger than one read of the buffer.
    const std::size_t size = file % 10 == 0 ? 700'000 + random() % 100'000 : random() % 4000;
    const std::string path = folder.Write("f.dxf", RandomFile(random, size, pieces));
    SCOPED_TRACE(::testing::Message() << "file " << file);
    for (const auto& keywords : keywordSets) {
      for (int plain : {0, 1}) {
        EXPECT_EQ(ReadWithSkips(path, keywords, Way::kPassing, plain),
                  ReadWithSkips(path, keywords, Way::kLineByLine, plain));
      }
    }
    EXPECT_EQ(WalkPairs(path, Way::kPassing), WalkPairs(path, Way::kLineByLine));
  }
}

// Long runs of usual pairs, so that whole blocks are passed at once.
TEST(DxfLineSource, PassesGroupPairsAsPairByPairReadingDoesOnRandomFiles) {
  const std::vector<std::string> pieces = {" 10", " 20", " 42", "  8", "-28282.2994", "15630.5"};
  const std::vector<std::string> odd = {"  0", " 00", "0", " 10 ", "", "100", "AcDbPolyline"};
  std::mt19937 random(7);
  TempFolder folder;
  for (int file = 0; file < 30; ++file) {
    const std::size_t size = file % 10 == 0 ? 600'000 + random() % 100'000 : random() % 6000;
    std::string bytes = RandomFile(random, size, pieces);
    for (int k = random() % 20; k > 0; --k) {
      bytes.insert(random() % bytes.size(), odd[random() % odd.size()] + "\r\n");
    }
    const std::string path = folder.Write("pairs.dxf", bytes);
    SCOPED_TRACE(::testing::Message() << "file " << file);
    EXPECT_EQ(WalkPairs(path, Way::kPassing), WalkPairs(path, Way::kLineByLine));
  }
}

TEST(DxfLineSource, KeywordsAtEveryPlaceAroundBlockAndReadEdges) {
  TempFolder folder;
  const std::vector<std::string_view> keywords = {"ENDSEC", "TEXT"};
  for (const char* end : {"\r\n", "\r", "\n"}) {
    for (std::size_t pad = 0; pad < 70; pad += 3) {
      std::string bytes = std::string(pad, 'a') + end;
      while (bytes.size() < (std::size_t{1} << 16) - 40) bytes += std::string("  0") + end;
      for (int i = 0; i < 40; ++i) bytes += std::string(i % 2 ? "TEX" : "TEXT") + end;
      const std::string path = folder.Write("edge.dxf", bytes);
      EXPECT_EQ(ReadWithSkips(path, keywords, Way::kPassing, 0),
                ReadWithSkips(path, keywords, Way::kLineByLine, 0));
    }
  }
}

// The longest-line error is raised where the line-by-line reading raises it,
// with the same message, and a line of exactly the limit passes.
TEST(DxfLineSource, TheLongestLineRuleHoldsWhenPassing) {
  TempFolder folder;
  const std::string tooLong(LineReader::kLongestLine + 5, 'x');
  const std::string limit(LineReader::kLongestLine, 'y');
  const std::vector<std::string_view> keywords = {"TEXT"};
  std::string pairs;
  for (int i = 0; i < 1000; ++i) pairs += " 10\r\n1.5\r\n";
  for (const std::string& bytes : {"a\r\nb\nTEXT\r\n" + tooLong + "\r\nTEXT\r\n",
                                   limit + "\nTEXT\n" + std::string(5000, 'z') + "\rTEXT",
                                   pairs + " 20\r\n" + tooLong + "\r\n  0\r\n"}) {
    const std::string path = folder.Write("long.dxf", bytes);
    EXPECT_EQ(ReadWithSkips(path, keywords, Way::kPassing, 0),
              ReadWithSkips(path, keywords, Way::kLineByLine, 0));
    EXPECT_EQ(WalkPairs(path, Way::kPassing), WalkPairs(path, Way::kLineByLine));
  }
  EXPECT_EQ(ReadWithSkips(folder.File("long.dxf"), keywords, Way::kPassing, 0).error, kOutOfMemory);
}

}  // namespace
}  // namespace parquill
