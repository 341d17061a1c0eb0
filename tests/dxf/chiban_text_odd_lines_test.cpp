// The lot-number text reader on the lines that trip a line-by-line reading
// up: codes in every shape the number rule reads, line ends of every kind,
// a text cut by the edge of the reader's reads, and texts mirrored or set
// askew in CAD. Every expectation is written out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dxf/chiban_text_reader.h"
#include "support/layer_choice.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill::chiban_odd_lines {

using testing::Lines;
using testing::operator+;
using testing::Selecting;
using testing::Sjis;
using testing::TempFolder;
using Texts = std::vector<ChibanText>;

const std::string kLot = Sjis("地番");

ChibanTextRead Read(const std::string& bytes) {
  TempFolder folder;
  return ReadChibanTexts(folder.Write("d.dxf", bytes), Selecting({2}), TextEncoding::kCp932);
}

std::string Ended(const Lines& lines, const std::vector<std::string>& ends) {
  std::string bytes;
  for (std::size_t k = 0; k < lines.size(); ++k) bytes += lines[k] + ends[k % ends.size()];
  return bytes;
}

// A TEXT whose layer, X and Y code lines are written as given.
Lines Text(const std::string& layerCode, const std::string& xCode, const std::string& yCode) {
  return {"  0", "TEXT", "100", "AcDbEntity", layerCode, kLot,         "100", "AcDbText",
          xCode, "4",    yCode, "5",          "  1",     "A",          "100", "AcDbText",
          "  0", "TEXT", "100", "AcDbEntity", "  8",     Sjis("注記"), "100", "AcDbText",
          "  1", "X",    "100", "AcDbText",   "100",     "AcDbText"};
}

TEST(ChibanTextOddLines, CodeLinesKnownByTheirNumber) {
  struct Case {
    const char* layerCode;
    const char* xCode;
    const char* yCode;
    Texts texts;  // the first text, then one of another layer (its layer line is "  8")
  };
  const Texts taken = {{"A", 4, 5}};
  const Case cases[] = {
      {"  8", " 10", " 20", taken},
      {"8", "10", "20", taken},
      {" 08", "10.0", "2.0E1", taken},
      {"+8", "1e1", "20 ", taken},
      {"8.", " 1 0", "\t20", taken},
      {"08.000", "10A", "21", taken},
      {"0.8e1", "11", "21.00000000000000001", taken},
      // 7.99999999999999999999 is 8 once read as a double.
      {"7.99999999999999999999", "11.0", "2.1E1", taken},
      // No code 8: the layer stays empty and the text is not the lot layer's.
      {"-8", " 10", " 20", {}},
      {".8", " 10", " 20", {}},
      {"1e999", " 10", " 20", {}},  // beyond the double range: no code at all
      {"1e-999", " 10", " 20", {}},
      {"2E", " 10", " 20", {}},
      // No X code: X stays 0; 11 is the X of the alignment point: the Y value
      // becomes X and Y stays 0.
      {"  8", "1E3", " 20", {{"A", 0, 5}}},
      {"  8", " 10", "11e", {{"A", 5, 0}}},
  };
  for (const Case& c : cases) {
    const ChibanTextRead read =
        Read(Ended(testing::Entities(Text(c.layerCode, c.xCode, c.yCode)), {"\r\n"}));
    EXPECT_EQ(read.texts, c.texts) << c.layerCode << " " << c.xCode << " " << c.yCode;
    EXPECT_EQ(read.trappedError, 0) << c.layerCode;
  }
}

// An MTEXT whose string comes before the next lines; the TEXT after it
// holds values that read as codes.
const Lines kTwoTexts =
    Lines{"ENTITIES"} + Lines{"  0", "MTEXT", "  8",          kLot,   " 10",      "3",   " 20",
                              "7",   "  1",   "{\\H1;B}\\P2", "  0",  "TEXT",     "  8", kLot,
                              " 10", "-12.5", " 20",          "7.25", " 40",      "10",  "  1",
                              "A-1", "100",   "AcDbText",     "100",  "AcDbText", "  0", "ENDSEC"};
// By hand: the MTEXT ends at the "  0" before the TEXT; the TEXT's height 10
// makes "  1" its X (read as 1) and "A-1" is never its string, so it keeps
// the MTEXT's string as written (a TEXT's is not cleaned) and the Y 7.25.
const Texts kTwoTextsRead = {{"B 2", 3, 7}, {"{\\H1;B}\\P2", 1, 7.25}};

TEST(ChibanTextOddLines, EveryKindOfLineEnd) {
  const std::vector<std::string> ends[] = {
      {"\r\n"}, {"\n"}, {"\r"}, {"\r\n", "\r", "\n"}, {"\n", "\r\n"}, {"\r", "\r", "\r\n"}};
  for (const auto& end : ends) {
    EXPECT_EQ(Read(Ended(kTwoTexts, end)).texts, kTwoTextsRead) << end.size() << end[0].size();
  }
}

TEST(ChibanTextOddLines, EveryLineCutByTheEdgeOfARead) {
  // The reads are 256 KiB long: each line of the texts in turn, and each
  // line end, is cut by the edge.
  TempFolder folder;
  for (const char* end : {"\r\n", "\r", "\n"}) {
    const std::string texts = Ended(kTwoTexts, {end});
    std::string bytes;
    for (std::size_t shift = 0; shift < texts.size() + 2; shift += 1) {
      const std::size_t edge = std::size_t{1} << 18;
      bytes.assign(edge - shift - 1, ' ');
      bytes += end;
      const ChibanTextRead read = ReadChibanTexts(folder.Write("edge.dxf", bytes + texts),
                                                  Selecting({2}), TextEncoding::kCp932);
      EXPECT_EQ(read.texts, kTwoTextsRead) << "shift " << shift << " end " << end[0];
    }
  }
}

// A TEXT as an R2000 writer puts it, with the groups `more` before its
// second AcDbText line.
Lines FullText(const std::string& string, const std::string& x, const Lines& more,
               const std::string& handle = "2F") {
  return Lines{"  0",      "TEXT", "  5", handle, "100", "AcDbEntity", "  8", kLot,  "100",
               "AcDbText", " 10",  x,     " 20",  "5",   " 40",        "1",   "  1", string} +
         more + Lines{"100", "AcDbText"};
}

TEST(ChibanTextOddLines, TextsMirroredOrAskew) {
  const Lines down = {"210", "0.0", "220", "0.0", "230", "-1.0"};
  const struct {
    const char* what;
    Lines entities;
    Texts texts;
    std::size_t askew;
  } cases[] = {
      {"mirrored: X the other way", FullText("1", "-4", down), {{"1", 4, 5}}, 0},
      {"mirrored at 0", FullText("1", "0", down), {{"1", 0, 5}}, 0},
      {"(0, 0, 1) as written",
       FullText("1", "-4", {"210", "0", "220", "0", "230", "1"}),
       {{"1", -4, 5}},
       0},
      {"askew: left out and counted",
       FullText("1", "4", {"210", "0.6", "220", "0", "230", "0.8"}) + FullText("2", "6", {}),
       {{"2", 6, 5}},
       1},
      {"a handle reading 230 is no extrusion", FullText("1", "4", {}, "230"), {{"1", 4, 5}}, 0},
      {"only the code's own three characters",
       FullText("1", "4", {" 230", "-1"}),
       {{"1", 4, 5}},
       0},
      {"the next text is up again",
       FullText("1", "-4", down) + FullText("2", "-4", {}),
       {{"1", 4, 5}, {"2", -4, 5}},
       0},
      {"an MTEXT's point is the world's already",
       Lines{"  0", "MTEXT", "100", "AcDbEntity", "  8", kLot, "100", "AcDbMText", " 10", "-4",
             " 20", "5", "  1", "M"} +
           down,
       {{"M", -4, 5}},
       0},
  };
  for (const auto& c : cases) {
    const ChibanTextRead read = Read(Ended(testing::Entities(c.entities), {"\r\n"}));
    EXPECT_EQ(read.texts, c.texts) << c.what;
    EXPECT_EQ(read.askewTexts, c.askew) << c.what;
    if (!read.texts.empty() && read.texts[0].x == 0) {
      EXPECT_FALSE(std::signbit(read.texts[0].x)) << c.what;  // written 0, not -0
    }
  }
}

}  // namespace parquill::chiban_odd_lines
