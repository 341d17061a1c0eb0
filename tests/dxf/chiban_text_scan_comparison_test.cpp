// The lot-number text reader against a plain line-by-line reading of the
// same rules, on generated drawings full of the lines that trip them up.
#include <gtest/gtest.h>

#include <new>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_reader.h"
#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "base/trim.h"
#include "dxf/chiban_text_reader.h"
#include "dxf/dxf_escapes.h"
#include "dxf/mtext_cleaner.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::TempFolder;

// The reading one line at a time: every line tested against the literals in
// the reader's order, every code by the number rule itself.
class PlainChibanTextScan {
 public:
  PlainChibanTextScan(std::string textLayer, std::size_t capacity, ChibanTextRead& result)
      : textLayer_(std::move(textLayer)), capacity_(capacity), result_(result) {}

  bool Run(LineReader& reader) {
    std::string_view line;
    bool inEntities = false;
    while (reader.Next(line)) {
      if (inEntities && line == "ENDSEC") break;
      if (line == "ENTITIES") {
        inEntities = true;
        continue;
      }
      if (inEntities && line == "TEXT") {
        inText_ = true;
        continue;
      }
      if (inEntities && line == "MTEXT") {
        inText_ = true;
        isMText_ = true;
        continue;
      }
      if (!inText_) continue;
      const Awaited awaited = awaited_;
      awaited_ = Awaited::kNothing;
      if (awaited == Awaited::kLayer) {
        layer_ = TrimBlanks(line);
      } else if (awaited == Awaited::kString) {
        string_ = TrimBlanks(line);
      } else if (awaited == Awaited::kRecording) {
        Record();
      } else if (awaited == Awaited::kX) {
        x_ = NumberFromText(line);
      } else if (awaited == Awaited::kY) {
        y_ = NumberFromText(line);
      } else if (awaited == Awaited::kDirection) {
        // passed over
      } else if (line == "  0" && isMText_) {
        Record();
      } else if (line == "  1") {
        awaited_ = Awaited::kString;
      } else if (line == "AcDbText") {
        if (++acDbTextCount_ == 2) awaited_ = Awaited::kRecording;
      } else if (line == "MTEXTBEGIN") {
        awaited_ = Awaited::kRecording;
      } else {
        double code = 0;  // a line beyond the double range is no code
        try {
          code = NumberFromText(line);
        } catch (const RuntimeError&) {
        }
        if (code == 8) awaited_ = Awaited::kLayer;
        if (code == 10 || code == 11) awaited_ = Awaited::kX;
        if (code == 20 || code == 21) awaited_ = Awaited::kY;
        // An MTEXT's 11 and 21 are its direction.
        if (isMText_ && (code == 11 || code == 21)) awaited_ = Awaited::kDirection;
      }
      if (failed_) return false;
    }
    return true;
  }

 private:
  enum class Awaited { kNothing, kString, kLayer, kX, kY, kRecording, kDirection };

  void Record() {
    if (DecodeDxfText(layer_, TextEncoding::kCp932) == textLayer_) {
      if (result_.texts.size() == capacity_) {
        result_.messages.push_back(
            {"テキスト個数が、" + std::to_string(capacity_) + "を超えました。", "テキスト個数"});
        failed_ = true;
        return;
      }
      std::string text = DecodeText(string_, TextEncoding::kCp932);
      if (isMText_) text = CleanMText(text);
      result_.texts.push_back({DecodeDxfEscapes(text), x_, y_});
    }
    awaited_ = Awaited::kNothing;
    inText_ = false;
    isMText_ = false;
    acDbTextCount_ = 0;
  }

  std::string textLayer_;
  std::size_t capacity_;
  ChibanTextRead& result_;
  bool inText_ = false;
  bool isMText_ = false;
  bool failed_ = false;
  Awaited awaited_ = Awaited::kNothing;
  int acDbTextCount_ = 0;
  std::string layer_;
  std::string string_;
  double x_ = 0;
  double y_ = 0;
};

ChibanTextRead PlainRead(const std::string& path, const std::string& layer, std::size_t capacity) {
  ChibanTextRead result;
  try {
    LineReader reader(path);
    PlainChibanTextScan scan(layer, capacity, result);
    if (!scan.Run(reader)) result.failed = true;
  } catch (const RuntimeError& error) {
    result.trappedError = error.number();
    result.messages.push_back({TrapText(error), "PARQUILL"});
  }
  return result;
}

LayerSelection SelectingLot() {
  LayerSelection selection;
  selection.items = {"すべて", "筆界", "地番"};
  selection.selected = {false, false, true};
  selection.listIndex = 2;
  return selection;
}

// A drawing of text entities and other entities, line by line, where any
// value may be a keyword, a code may be written in any shape the number rule
// reads, and lines end in CR LF, CR or LF.
class DrawingMaker {
 public:
  explicit DrawingMaker(std::mt19937& random) : random_(random) {}

  std::string Make(std::size_t size) {
    bytes_.clear();
    if (Chance(10)) Text();  // before any section
    Line("  0");
    Line("SECTION");
    Line("  2");
    Line(Chance(20) ? "HEADER" : "ENTITIES");
    while (bytes_.size() < size) {
      const int kind = static_cast<int>(random_() % 10);
      if (kind < 4) {
        Text();
      } else if (kind < 6) {
        MText();
      } else if (kind < 8) {
        Polyline();
      } else if (kind == 8) {
        Line(Pick(kOddLines));
      } else {
        Line(Pick(kCodes));
        Line(Value());
      }
    }
    if (Chance(50)) {
      Line("  0");
      Line("ENDSEC");
      if (Chance(50)) Text();
      Line("  0");
      Line("EOF");
    }
    if (Chance(3) && !bytes_.empty()) bytes_.pop_back();  // the last end cut, or half of a CR LF
    return bytes_;
  }

 private:
  static constexpr const char* kCodes[] = {"  0",
                                           "  1",
                                           "  5",
                                           "  8",
                                           " 10",
                                           " 11",
                                           " 20",
                                           " 21",
                                           " 30",
                                           " 40",
                                           " 50",
                                           " 71",
                                           " 72",
                                           "100",
                                           "330",
                                           " 08",
                                           "8",
                                           "10",
                                           "11.0",
                                           "20",
                                           "21",
                                           " 1",
                                           "1",
                                           "+8",
                                           "8.0",
                                           "1e1",
                                           "2.1E1",
                                           " 1 0",
                                           "\t8",
                                           "0.8e1",
                                           "10.5",
                                           "7.99999999999999999999",
                                           "8.",
                                           "08.000",
                                           "-8",
                                           "10 ",
                                           "10A",
                                           "2E",
                                           "1E3",
                                           "11e",
                                           "21.00000000000000001",
                                           "1e999",
                                           "1e-999",
                                           ".8"};
  static constexpr const char* kOddLines[] = {
      "TEXT",  "MTEXT", "ENDSEC",     "ENTITIES",   "AcDbText", "MTEXTBEGIN",  "  0",     "  1",
      "TEXT ", " TEXT", "TEXTS",      "MTEX",       "ENDSE",    "AcDbTex",     "",        "E",
      "M",     "T",     "AcDbEntity", "LWPOLYLINE", "0",        "MTEXTBEGINS", "ENTITIE", "\t"};

  bool Chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
  template <std::size_t N>
  const char* Pick(const char* const (&items)[N]) {
    return items[random_() % N];
  }

  std::string Value() {
    switch (random_() % 8) {
      case 0:
        return Pick(kOddLines);
      case 1:
        return Pick(kCodes);
      case 2:
        return std::to_string(static_cast<int>(random_() % 200000) - 100000) + "." +
               std::to_string(random_() % 1000);
      default:
        return std::to_string(random_() % 300);
    }
  }

  std::string Layer() {
    switch (random_() % 4) {
      case 0:
        return EncodeText("筆界", TextEncoding::kCp932);
      case 1:
        return " " + EncodeText("地番", TextEncoding::kCp932) + " ";
      default:
        return EncodeText("地番", TextEncoding::kCp932);
    }
  }

  // A group pair, mostly as written, sometimes with an odd line put in or
  // the value taken out.
  void Pair(const std::string& code, const std::string& value) {
    if (Chance(3)) Line(Pick(kOddLines));
    Line(code);
    if (!Chance(2)) Line(Chance(4) ? std::string(Pick(kOddLines)) : value);
  }

  void Head(const char* type, const char* subclass) {
    Pair("  0", type);
    Pair("  5", Chance(50) ? "1E" + std::to_string(random_() % 10) : "3A");
    Pair("330", "1F");
    Pair("100", "AcDbEntity");
    Pair(Chance(90) ? "  8" : Pick(kCodes), Layer());
    Pair("100", subclass);
  }

  std::string Coordinate() {
    if (Chance(5)) return Pick(kCodes);
    return std::to_string(static_cast<int>(random_() % 2000000) - 1000000) + "." +
           std::to_string(random_() % 1000);
  }

  void Text() {
    Head("TEXT", "AcDbText");
    Pair(" 10", Coordinate());
    Pair(" 20", Coordinate());
    Pair(" 30", "0.0");
    Pair(" 40", Chance(10) ? "10" : "2.5");
    Pair("  1", Chance(10) ? Pick(kOddLines) : "12-" + std::to_string(random_() % 100));
    if (Chance(30)) {
      Pair(" 72", "1");
      Pair(" 11", Coordinate());
      Pair(" 21", Coordinate());
    }
    Pair("100", "AcDbText");
  }

  void MText() {
    Head("MTEXT", "AcDbMText");
    Pair(" 10", Coordinate());
    Pair(" 20", Coordinate());
    Pair(" 40", "2.5");
    Pair(" 71", "1");
    Pair("  1", "{\\H2.5;" + std::to_string(random_() % 100) + "}\\P3");
    if (Chance(20)) Line("MTEXTBEGIN");
  }

  void Polyline() {
    Head("LWPOLYLINE", "AcDbPolyline");
    const int count = static_cast<int>(random_() % 12);
    Pair(" 90", std::to_string(count));
    for (int k = 0; k < count; ++k) {
      Pair(" 10", Coordinate());
      Pair(" 20", Coordinate());
    }
  }

  void Line(const std::string& line) {
    static constexpr const char* kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
    bytes_ += line;
    bytes_ += mixedEnds_ ? Pick(kEnds) : "\r\n";
  }

 public:
  bool mixedEnds_ = true;

 private:
  std::mt19937& random_;
  std::string bytes_;
};

void ExpectSameReading(const std::string& path, std::size_t capacity, const std::string& what) {
  const ChibanTextRead read = ReadChibanTexts(path, SelectingLot(), TextEncoding::kCp932, capacity);
  const ChibanTextRead plain = PlainRead(path, "地番", capacity);
  EXPECT_EQ(read.texts, plain.texts) << what;
  EXPECT_EQ(read.messages, plain.messages) << what;
  EXPECT_EQ(read.trappedError, plain.trappedError) << what;
  EXPECT_EQ(read.failed, plain.failed) << what;
}

TEST(ChibanTextScanComparison, SameTextsAsTheLineByLineReadingOnGeneratedDrawings) {
  std::mt19937 random(5417);
  TempFolder folder;
  DrawingMaker maker(random);
  int withTexts = 0;
  for (int drawing = 0; drawing < 300; ++drawing) {
    maker.mixedEnds_ = drawing % 3 != 0;
    // Mostly small drawings; some larger than one read of the reader's buffer.
    const std::size_t size = drawing % 30 == 0 ? 600'000 : random() % 6000;
    const std::string path = folder.Write("d.dxf", maker.Make(size));
    const std::size_t capacity = drawing % 4 == 0 ? 3 : kChibanTextCapacity;
    ExpectSameReading(path, capacity, "drawing " + std::to_string(drawing));
    if (!PlainRead(path, "地番", capacity).texts.empty()) ++withTexts;
  }
  EXPECT_GT(withTexts, 100) << "the drawings should hold texts to compare";
}

TEST(ChibanTextScanComparison, SameTextsWhateverTheLineAtEveryReadEdge) {
  // A text entity placed so that each of its lines in turn is cut by the
  // edge of the reader's reads at 256 KiB, with each kind of line end.
  TempFolder folder;
  const std::string lot = EncodeText("地番", TextEncoding::kCp932);
  const std::vector<std::string> entity = {"  0", "TEXT",     "  8", lot,        " 10", "-12.5",
                                           " 20", "7",        "  1", "A-1",      "100", "AcDbText",
                                           "100", "AcDbText", "  0", "MTEXT",    "  8", lot,
                                           " 10", "3",        "  1", "{\\H1;B}", "  0", "ENDSEC"};
  for (const char* end : {"\r\n", "\r", "\n"}) {
    for (std::size_t shift = 0; shift < 120; shift += 1) {
      std::string bytes = std::string("ENTITIES") + end;
      const std::size_t edge = std::size_t{1} << 18;
      while (bytes.size() + 80 + shift < edge) bytes += std::string(" 10") + end;
      bytes += std::string(shift % 7, 'x') + end;
      for (const std::string& line : entity) bytes += line + end;
      const std::string path = folder.Write("edge.dxf", bytes);
      ExpectSameReading(path, kChibanTextCapacity, std::string("shift ") + std::to_string(shift));
    }
  }
}

}  // namespace
}  // namespace parquill
