#include "dxf/chiban_text_reader.h"

#include <gtest/gtest.h>

#include "support/layer_choice.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::Entities;
using testing::Joined;
using testing::Lines;
using testing::operator+;
using testing::operator+=;
using testing::Selecting;
using testing::Sjis;
using testing::TempFolder;

// A TEXT entity as an R2000 writer puts it; `afterString` stands between
// the string and the second AcDbText line.
Lines Text(const std::string& layer, const std::string& string, const std::string& x,
           const std::string& y, const Lines& afterString = {}, const std::string& height = "2.5") {
  return Lines{"  0", "TEXT", "  5", "36",       "330", "17",  "100", "AcDbEntity",
               "  8", layer,  "100", "AcDbText", " 10", x,     " 20", y,
               " 30", "0.0",  " 40", height,     "  1", string} +
         afterString + Lines{"100", "AcDbText"};
}

// An MTEXT entity; modern writers put no "MTEXTBEGIN" marker.
Lines MText(const std::string& layer, const std::string& string, const std::string& x,
            const std::string& y, bool withMarker = false) {
  Lines lines = {"  0", "MTEXT", "  5", "3A",        "330", "17", "100", "AcDbEntity",
                 "  8", layer,   "100", "AcDbMText", " 10", x,    " 20", y,
                 " 30", "0.0",   " 40", "2.5",       " 71", "1",  "  1", string};
  if (withMarker) lines.push_back("MTEXTBEGIN");
  return lines;
}

const std::string kLot = Sjis("地番");

ChibanTextRead Read(const std::string& drawing, const LayerSelection& selection = Selecting({2}),
                    std::size_t capacity = kChibanTextCapacity) {
  TempFolder folder;
  return ReadChibanTexts(folder.Write("lots.dxf", drawing), selection, TextEncoding::kCp932,
                         capacity);
}

using Texts = std::vector<ChibanText>;

TEST(ChibanTextReader, ScanRules) {
  struct Case {
    const char* what;
    Lines drawing;
    Texts texts;
  };
  const Case cases[] = {
      {"a TEXT at its insertion point",
       Entities(Text(kLot, "123-4", "1.5", "2.5")),
       {{"123-4", 1.5, 2.5}}},
      {"the alignment point wins",
       Entities(Text(kLot, "124", "1", "2", {" 72", "1", " 11", "7", " 21", "8"})),
       {{"124", 7, 8}}},
      {"texts of other layers are passed over",
       Entities(Text(Sjis("注記"), "X", "1", "2") + Text(kLot, "Y", "3", "4")),
       {{"Y", 3, 4}}},
      {"a text height of 10 is taken as a code",
       Entities(Text(kLot, "P", "1", "2") + Text(kLot, "Q", "5", "6", {}, "10")),
       {{"P", 1, 2}, {"P", 1, 6}}},
      {"the string code must be exactly two blanks and 1",
       Entities(Text(kLot, "P", "1", "2") + Lines{"  0", "TEXT", "  8", kLot, " 1", "Q", "1", "R",
                                                  "100", "AcDbText", "100", "AcDbText", "  0"}),
       {{"P", 1, 2}, {"P", 1, 2}}},
      {"TEXT strings are trimmed and kept as written",
       Entities(Text(kLot, "  a;b}\\Pc  ", "1", "2")),
       {{"a;b}\\Pc", 1, 2}}},
      {"a Japanese text", Entities(Text(kLot, Sjis("一丁目5-6"), "1", "2")), {{"一丁目5-6", 1, 2}}},
      {"MTEXT without the marker ends at the next entity",
       Entities(MText(kLot, "{\\H2.5;124}", "3", "4") + Text(kLot, "a;b", "5", "6")),
       {{"124", 3, 4}, {"a;b", 5, 6}}},
      {"MTEXT without the marker ends before ENDSEC",
       Entities(MText(kLot, "\\A1;12", "3", "4")),
       {{"12", 3, 4}}},
      {"MTEXT of another layer leaves no flag behind",
       Entities(MText(Sjis("注記"), "x", "3", "4") + Text(kLot, "a;b", "5", "6")),
       {{"a;b", 5, 6}}},
      {"MTEXT with the marker is recorded on the line after it",
       Entities(MText(kLot, "{\\C1;3-4}", "3", "4", true) + Text(kLot, "a;b", "5", "6")),
       {{"3-4", 3, 4}, {"a;b", 5, 6}}},
      {"an MTEXT's direction is no point",
       Entities(MText(kLot, "1201", "3", "4") + Lines{" 11", "0.8", " 21", "0.6"}),
       {{"1201", 3, 4}}},
      {"MTEXT paragraphs joined",
       Entities(MText(kLot, "{\\H2.5;12}\\P{\\C1;3-4}", "3", "4")),
       {{"12 3-4", 3, 4}}},
      {"a kanji whose second byte is a backslash inside MTEXT",
       Entities(MText(kLot, Sjis("\\A1;表Pソ"), "3", "4")),
       {{"表Pソ", 3, 4}}},
      {"a TEXT without AcDbText lines is never complete",
       Entities(Lines{"  0", "TEXT", "  8", kLot, " 10", "1", " 20", "2", "  1", "Z"}),
       {}},
      {"an entity still open at the end is not recorded",
       Lines{"ENTITIES"} + Lines{"  0", "TEXT", "  8", kLot, "100", "AcDbText", "  1", "Z"},
       {}},
      {"a string reading ENDSEC ends the scan",
       Entities(Text(kLot, "A", "1", "2") + Text(kLot, "ENDSEC", "3", "4") +
                Text(kLot, "C", "5", "6")),
       {{"A", 1, 2}}},
      {"a string reading TEXT is taken as the keyword; the string awaited takes the next line",
       Entities(Text(kLot, "A", "1", "2") + Text(kLot, "TEXT", "3", "4")),
       {{"A", 1, 2}, {"100", 3, 4}}},
      {"texts before ENTITIES are passed over",
       Lines{"  0", "SECTION", "  2", "BLOCKS"} + Text(kLot, "B", "9", "9") +
           Lines{"  0", "ENDSEC"} + Entities(Text(kLot, "A", "1", "2")),
       {{"A", 1, 2}}},
      {"texts after the ENTITIES section are passed over",
       Entities(Text(kLot, "A", "1", "2")) + Text(kLot, "B", "9", "9"),
       {{"A", 1, 2}}},
      {"a handle beyond the double range is no code line",
       Entities(Lines{"  0", "TEXT",  "  5", "10E400",   "100", "AcDbEntity", "  8", kLot,
                      "330", "1E309", "100", "AcDbText", " 10", "5.0",        " 20", "5.0",
                      " 40", "2.5",   "  1", "123-4",    "100", "AcDbText"}),
       {{"123-4", 5, 5}}},
      {"code lines known by their number",
       Entities(Lines{"  0", "TEXT", "8", kLot, "10.0", "4", "21", "5", "  1", "N", "AcDbText",
                      "AcDbText", "x"}),
       {{"N", 4, 5}}},
  };
  for (const Case& c : cases) {
    ChibanTextRead read = Read(Joined(c.drawing));
    EXPECT_FALSE(read.failed) << c.what;
    EXPECT_EQ(read.trappedError, 0) << c.what;
    EXPECT_TRUE(read.messages.empty()) << c.what;
    EXPECT_EQ(read.texts, c.texts) << c.what;
  }
}

TEST(ChibanTextReader, LayerMatching) {
  struct Case {
    const char* what;
    std::string layer;
    LayerSelection selection;
    bool taken;
  };
  const Case cases[] = {
      {"the selected layer", kLot, Selecting({2}), true},
      {"blanks around the entity's layer", " " + kLot + "  ", Selecting({2}), true},
      {"letter case differs", "lot", Selecting({1}, {"すべて", "LOT"}), false},
      {"a list item with blanks never matches", "LOT", Selecting({1}, {"すべて", "LOT "}), false},
  };
  for (const Case& c : cases) {
    ChibanTextRead read = Read(Joined(Entities(Text(c.layer, "1", "0", "0"))), c.selection);
    EXPECT_EQ(read.texts.size(), c.taken ? 1u : 0u) << c.what;
  }
}

TEST(ChibanTextReader, SelectionRefusedInOrder) {
  std::vector<std::string> many = {"すべて"};
  for (int k = 1; k <= 101; ++k) many.push_back("L" + std::to_string(k));
  std::vector<int> all101, two100;
  for (int k = 0; k <= 100; ++k) all101.push_back(k);
  for (int k = 1; k <= 100; ++k) two100.push_back(k);
  LayerSelection noCurrent = Selecting({2});
  noCurrent.listIndex = -1;

  struct Case {
    const char* what;
    LayerSelection selection;
    std::string path;
    Message refusal;
  };
  const Case cases[] = {
      {"no current item", noCurrent, "", {"リストが選択されていません。", "抽出レイア"}},
      {"101 selected",
       Selecting(all101, many),
       "",
       {"選択レイヤ数が、100を超えています。", "抽出レイア"}},
      {"100 selected",
       Selecting(two100, many),
       "",
       {"レイアが複数選択されています。", "レイア選択"}},
      {"none selected", Selecting({}), "", {"抽出テキストが選択されていません。", "レイア選択"}},
      {"only すべて", Selecting({0}), "", {"すべては選択できません。", "レイア選択"}},
      {"すべて and one layer",
       Selecting({0, 2}),
       "",
       {"レイアが複数選択されています。", "レイア選択"}},
      {"two layers", Selecting({1, 2}), "", {"レイアが複数選択されています。", "レイア選択"}},
      {"no drawing", Selecting({2}), "", {"入力ファイルが選択されていません。", "ファイル指定"}},
  };
  for (const Case& c : cases) {
    ChibanTextRead read = ReadChibanTexts(c.path, c.selection, TextEncoding::kCp932);
    EXPECT_TRUE(read.failed) << c.what;
    EXPECT_EQ(read.trappedError, 0) << c.what;
    EXPECT_EQ(read.messages, std::vector<Message>{c.refusal}) << c.what;
    EXPECT_TRUE(read.texts.empty()) << c.what;
  }
}

Lines ManyTexts(int count, const std::string& layer) {
  Lines lines;
  for (int k = 1; k <= count; ++k) {
    lines += Text(layer, std::to_string(k), std::to_string(k), "0");
  }
  return lines;
}

TEST(ChibanTextReader, TextLimit) {
  ChibanTextRead full = Read(Joined(Entities(ManyTexts(5000, kLot))));
  EXPECT_FALSE(full.failed);
  ASSERT_EQ(full.texts.size(), 5000u);
  EXPECT_EQ(full.texts.back(), (ChibanText{"5000", 5000, 0}));

  ChibanTextRead over = Read(Joined(Entities(ManyTexts(5001, kLot))));
  EXPECT_TRUE(over.failed);
  EXPECT_EQ(over.texts.size(), 5000u);
  EXPECT_EQ(over.messages,
            (std::vector<Message>{{"テキスト個数が、5000を超えました。", "テキスト個数"}}));

  ChibanTextRead others =
      Read(Joined(Entities(ManyTexts(3, Sjis("注記")) + ManyTexts(2, kLot))), Selecting({2}), 2);
  EXPECT_FALSE(others.failed) << "texts of other layers do not count";
  EXPECT_EQ(others.texts.size(), 2u);
}

TEST(ChibanTextReader, RunTimeErrorsTrapped) {
  TempFolder folder;
  ChibanTextRead missing =
      ReadChibanTexts(folder.File("none.dxf"), Selecting({2}), TextEncoding::kCp932);
  EXPECT_FALSE(missing.failed);
  EXPECT_EQ(missing.trappedError, 53);
  ASSERT_EQ(missing.messages.size(), 1u);
  EXPECT_EQ(missing.messages[0].title, "PARQUILL");
  EXPECT_EQ(missing.messages[0].text.rfind("エラー番号53\r\n", 0), 0u);

  ChibanTextRead tooLarge =
      Read(Joined(Entities(Text(kLot, "A", "1", "2") + Text(kLot, "B", "1e999", "2"))));
  EXPECT_FALSE(tooLarge.failed);
  EXPECT_EQ(tooLarge.trappedError, 6);
  EXPECT_EQ(tooLarge.texts, (Texts{{"A", 1, 2}})) << "the texts read before the error stand";
}

TEST(ChibanTextReader, Utf8Drawing) {
  TempFolder folder;
  ChibanTextRead utf8 = ReadChibanTexts(
      folder.Write("u.dxf", Joined(Entities(Text("地番", "一丁目5-6", "1", "2") +
                                            MText("地番", "{\\H2.5;表P}", "3", "4")))),
      Selecting({2}), TextEncoding::kUtf8);
  EXPECT_EQ(utf8.texts, (Texts{{"一丁目5-6", 1, 2}, {"表P", 3, 4}}));
}

}  // namespace
}  // namespace parquill
