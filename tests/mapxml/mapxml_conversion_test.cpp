// 地図XML files written here, converted as the command line converts them:
// point names, orientations, holes, the lots left out, and broken files that
// give one line and write nothing.
#include "mapxml/mapxml_conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "mapxml/map_xml_text.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using namespace testing;
using mapxml::MapXmlFileOutcome;
using mapxml::MapXmlOptions;

// A lot 10 m square, its corners p1 to p4 clockwise from the origin.
const std::string kCorners =
    GmPoint("p1", 0, 0) + GmPoint("p2", 0, 10) + GmPoint("p3", 10, 10) + GmPoint("p4", 10, 0);
const std::string kSides = GmCurve("c1", {"p1", "p2"}) + GmCurve("c2", {"p2", "p3"}) +
                           GmCurve("c3", {"p3", "p4"}) + GmCurve("c4", {"p4", "p1"});

struct Converted {
  std::vector<MapXmlFileOutcome> outcomes;
  std::string sima;  // decoded
  std::string mif;
  std::string mid;  // decoded
};

Converted Convert(const TempFolder& folder, const std::string& name, const std::string& bytes,
                  bool includeOutside = false, bool report = false) {
  const std::string input = folder.Write(name, bytes);
  MapXmlOptions options;
  options.outputFolder = (folder.path() / "out").string();
  options.includeOutside = includeOutside;
  options.report = report;
  std::filesystem::create_directories(options.outputFolder);
  Converted converted;
  mapxml::ConvertMapXml({input}, options, [&](const MapXmlFileOutcome& outcome) {
    converted.outcomes.push_back(outcome);
  });
  const std::string stem = options.outputFolder + "/" + name.substr(0, name.find('.'));
  if (std::filesystem::exists(stem + ".Sim")) {
    converted.sima = DecodeText(ReadBytes(stem + ".Sim"), TextEncoding::kCp932);
    converted.mif = ReadBytes(stem + ".MIF");
    converted.mid = DecodeText(ReadBytes(stem + ".MID"), TextEncoding::kCp932);
  }
  return converted;
}

struct LotCase {
  const char* what;
  std::string spatial;
  std::string thematic;
  bool includeOutside;
  std::string summary;                // the file's line
  std::vector<std::string> expected;  // lines of the SIMA or MIF file, in order
};

TEST(MapXmlConversion, LotsPointsAndRings) {
  const std::string square = GmSurface("s1", {"c1", "c2", "c3", "c4"});
  const std::vector<LotCase> cases = {
      {"points named by 点番名, a name of two points by K + number",
       kCorners + kSides + square,
       Fude("1", "s1") + Hikkaiten("A", "p1") + Hikkaiten("B", "p2") + Hikkaiten("C", "p3") +
           Hikkaiten("C", "p4"),
       false,
       "t.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、出力 t.Sim",
       {"Z00,/座標点数:4 筆個数:1/,\r\n", "A01,    1,A,0,0,,\r\n", "A01,    2,B,0,10,,\r\n",
        "A01,    3,K3,10,10,,\r\n", "A01,    4,K4,10,0,,\r\n", "D00,    1,1,1,\r\n",
        "B01,    1,A,\r\nB01,    2,B,\r\nB01,    3,K3,\r\nB01,    4,K4,\r\nD99,\r\n"}},
      {"a point without a name whose K + number the file gives another: K + a number past the "
       "last; a comma in a lot number written full-width",
       kCorners + kSides + square,
       Fude("1,2", "s1") + Hikkaiten("K3", "p1") + Hikkaiten("B", "p2"),
       false,
       "t.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、出力 t.Sim",
       {"A01,    1,K3,0,0,,\r\nA01,    2,B,0,10,,\r\nA01,    3,K5,10,10,,\r\n"
        "A01,    4,K4,10,0,,\r\n",
        "Z00,/筆 1，2/,\r\nD00,    1,1，2,1,\r\n",
        "B01,    1,K3,\r\nB01,    2,B,\r\nB01,    3,K5,\r\nB01,    4,K4,\r\nD99,\r\n"}},
      {"curves given backwards with orientation -, directly and as GM_OrientableCurve",
       kCorners + GmCurve("c1", {"p1", "p2"}) + GmCurve("c2", {"p3", "p2"}, "-") +
           GmCurve("c3", {"p4", "p3"}) + GmCurve("c4", {"p4", "p1"}) +
           "<zmn:GM_OrientableCurve id=\"o3\"><zmn:GM_OrientablePrimitive.orientation>-"
           "</zmn:GM_OrientablePrimitive.orientation><zmn:GM_OrientablePrimitive.primitive "
           "idref=\"c3\"/></zmn:GM_OrientableCurve>" +
           GmSurface("s1", {"c1", "c2", "o3", "c4"}),
       Fude("1", "s1"),
       false,
       "t.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、出力 t.Sim",
       {"A01,    2,K2,0,10,,\r\nA01,    3,K3,10,10,,\r\nA01,    4,K4,10,0,,\r\n",
        "B01,    1,K1,\r\nB01,    2,K2,\r\nB01,    3,K3,\r\nB01,    4,K4,\r\nD99,\r\n"}},
      {"a hole: SIMA has the exterior ring, MIF both rings",
       kCorners + kSides + GmPoint("h1", 4, 4) + GmPoint("h2", 6, 4) + GmPoint("h3", 6, 6) +
           GmPoint("h4", 4, 6) + GmCurve("hc", {"h1", "h2", "h3", "h4", "h1"}) +
           GmSurface("s1", {"c1", "c2", "c3", "c4"}, {{"hc"}}),
       Fude("1", "s1"),
       false,
       "t.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、穴のある筆 1、出力 t.Sim",
       {"REGION 2\r\n 5 \r\n0.00000 0.00000\r\n10.00000 0.00000\r\n",
        " 5 \r\n4.00000 4.00000\r\n4.00000 6.00000\r\n"}},
      {"地区外 and 別図 left out",
       kCorners + kSides + square,
       Fude("地区外-1", "s1") + Fude("2", "s1") + Fude("別図-3", "s1"),
       false,
       "t.xml: 筆 1（除外 2）、筆界点 4、公共座標9系、出力 t.Sim",
       {"Z00,/座標点数:4 筆個数:1/,\r\n", "D00,    1,2,1,\r\n"}},
      {"地区外 and 別図 kept when asked",
       kCorners + kSides + square,
       Fude("地区外-1", "s1") + Fude("2", "s1") + Fude("別図-3", "s1"),
       true,
       "t.xml: 筆 3（除外 0）、筆界点 4、公共座標9系、出力 t.Sim",
       {"D00,    1,地区外-1,1,\r\n", "D00,    2,2,1,\r\n", "D00,    3,別図-3,1,\r\n"}},
  };
  for (const LotCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const Converted converted =
        Convert(folder, "t.xml", MapXml("公共座標9系", c.spatial, c.thematic), c.includeOutside);
    ASSERT_EQ(converted.outcomes.size(), 1u);
    EXPECT_FALSE(converted.outcomes[0].failed);
    EXPECT_EQ(converted.outcomes[0].line, c.summary);
    const std::string both = converted.sima + converted.mif;
    std::size_t at = 0;
    for (const std::string& expected : c.expected) {
      at = both.find(expected, at);
      ASSERT_NE(at, std::string::npos) << expected << "\n" << both;
    }
  }
}

// A 筆界未定地 holds the lots it is made of, each with its own 地番 and
// 大字名; the lot's row carries only what the 筆 itself says. The real file:
// 出典：「登記所備付地図データ 沖縄県うるま市」（法務省）を加工して作成.
TEST(MapXmlConversion, EachLotCarriesItsOwnAttributesOnly) {
  const std::string constituent =
      "<筆界未定構成筆><大字名>西町</大字名><丁目名>三丁目</丁目名><地番>7-1</地番>"
      "</筆界未定構成筆>\n";
  struct AttributeCase {
    const char* name;
    std::string bytes;
    std::string mid;                    // the whole MID file
    std::vector<std::string> expected;  // lines of the SIMA file and the findings, in order
  };
  const std::vector<AttributeCase> cases = {
      {"47213-3601-109.zip",
       ReadBytes(std::string(PARQUILL_SOURCE_DIR) + "/tests/data/mapxml/47213-3601-109.zip"),
       // Each lot's direct 地番 and 大字名 as the XML has them.
       "1,272,与那城饒辺,,,,甲三,図上測量\r\n"
       "2,272-1,与那城饒辺,,,,甲三,図上測量\r\n"
       "3,272-2,与那城饒辺,,,,甲三,図上測量\r\n"
       "4,272-3,与那城饒辺,,,,甲三,図上測量\r\n"
       "5,筆界未定地-533,与那城饒辺,,,,甲三,図上測量\r\n"
       "6,長狭物不明-1,与那城饒辺,,,,甲三,図上測量\r\n",
       {"Z00,/筆 筆界未定地-533/,\r\nD00,    5,筆界未定地-533,1,\r\n",
        "[筆界未定地] 筆 筆界未定地-533（2199 行目）: 構成筆 与那城饒辺 273-1、与那城饒辺 273-2"}},
      {"made.xml",
       MapXml("公共座標9系", kCorners + kSides + GmSurface("s1", {"c1", "c2", "c3", "c4"}),
              "<筆 id=\"H1\">\n" + constituent + "<大字名>本町</大字名>\n<地番>7</地番>\n" +
                  constituent + "<形状 idref=\"s1\"/>\n</筆>\n"),
       "1,7,本町,,,,,\r\n",
       {"D00,    1,7,1,\r\n", "[筆界未定地] 筆 7（16 行目）: 構成筆 西町 7-1、西町 7-1"}},
  };
  for (const AttributeCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const Converted converted = Convert(folder, c.name, c.bytes, false, true);
    ASSERT_EQ(converted.outcomes.size(), 1u);
    EXPECT_EQ(converted.mid, c.mid);
    std::string all = converted.sima;
    for (const std::string& finding : converted.outcomes[0].findings) all += finding + "\n";
    std::size_t at = 0;
    for (const std::string& expected : c.expected) {
      at = all.find(expected, at);
      ASSERT_NE(at, std::string::npos) << expected << "\n" << all;
    }
  }
}

// Lots whose rings bound no proper area are written as given and told, and
// so are characters Shift-JIS lacks, written as "?". The real file's one
// such lot is the one GDAL (ST_IsValid) finds invalid.
TEST(MapXmlConversion, WhatWasWrittenAsGivenIsTold) {
  const std::string hole =
      GmPoint("h1", 4, 4) + GmPoint("h2", 6, 4) + GmPoint("h3", 6, 6) + GmPoint("h4", 4, 6);
  const std::string far =
      GmPoint("h1", 20, 20) + GmPoint("h2", 22, 20) + GmPoint("h3", 22, 22) + GmPoint("h4", 20, 22);
  struct ToldCase {
    const char* what;
    std::string name;
    std::string bytes;
    bool includeOutside;
    std::string summary;                // the file's line, from its second field on
    std::vector<std::string> findings;  // each after its "）: " or as a whole
  };
  const std::vector<ToldCase> cases = {
      {"a bow tie",
       "t.xml",
       MapXml("公共座標9系",
              kCorners + GmCurve("b", {"p1", "p3", "p2", "p4", "p1"}) + GmSurface("s1", {"b"}),
              Fude("1", "s1")),
       false,
       "形の崩れた筆 1、出力 t.Sim",
       {"外周が自分と交わるか重なっています（そのまま書きました）"}},
      {"three points on one line",
       "t.xml",
       MapXml("公共座標9系",
              kCorners + GmPoint("p5", 0, 20) + GmCurve("b", {"p1", "p2", "p5", "p1"}) +
                  GmSurface("s1", {"b"}),
              Fude("1", "s1")),
       false,
       "形の崩れた筆 1、出力 t.Sim",
       {"外周が面積を囲んでいません（そのまま書きました）"}},
      {"a spike out and back along one line",
       "t.xml",
       MapXml("公共座標9系",
              kCorners + GmPoint("p5", 15, 10) +
                  GmCurve("b", {"p1", "p2", "p3", "p5", "p3", "p4", "p1"}) + GmSurface("s1", {"b"}),
              Fude("1", "s1")),
       false,
       "形の崩れた筆 1、出力 t.Sim",
       {"外周が自分と交わるか重なっています（そのまま書きました）"}},
      {"a hole outside its lot",
       "t.xml",
       MapXml("公共座標9系",
              kCorners + kSides + far + GmCurve("hc", {"h1", "h2", "h3", "h4", "h1"}) +
                  GmSurface("s1", {"c1", "c2", "c3", "c4"}, {{"hc"}}),
              Fude("1", "s1")),
       false,
       "穴のある筆 1、形の崩れた筆 1、出力 t.Sim",
       {"穴が筆の外にあります（そのまま書きました）"}},
      {"a hole that is a bow tie",
       "t.xml",
       MapXml("公共座標9系",
              kCorners + kSides + hole + GmCurve("hc", {"h1", "h3", "h2", "h4", "h1"}) +
                  GmSurface("s1", {"c1", "c2", "c3", "c4"}, {{"hc"}}),
              Fude("1", "s1")),
       false,
       "穴のある筆 1、形の崩れた筆 1、出力 t.Sim",
       {"穴が自分と交わるか重なっています（そのまま書きました）"}},
      {"sound: a hole inside, and two triangles that touch at one corner",
       "t.xml",
       MapXml("公共座標9系",
              kCorners + kSides + hole + GmPoint("m", 5, 5) +
                  GmCurve("hc", {"h1", "h2", "h3", "h4", "h1"}) +
                  GmCurve("t", {"p1", "p2", "m", "p3", "p4", "m", "p1"}) +
                  GmSurface("s1", {"c1", "c2", "c3", "c4"}, {{"hc"}}) + GmSurface("s2", {"t"}),
              Fude("1", "s1") + Fude("2", "s2")),
       false,
       "穴のある筆 1、出力 t.Sim",
       {}},
      {"the registry's file",
       "47213-3601-109.zip",
       ReadBytes(std::string(PARQUILL_SOURCE_DIR) + "/tests/data/mapxml/47213-3601-109.zip"),
       true,
       "形の崩れた筆 1、出力 47213-3601-109.Sim",
       {"[形状] 筆 地区外-786740（2237 行目）: "
        "外周が自分と交わるか重なっています（そのまま書きました）"}},
      {"characters Shift-JIS lacks",
       "t.xml",
       MapXml("公共座標9系", kCorners + kSides + GmSurface("s1", {"c1", "c2", "c3", "c4"}),
              Fude("\xF0\xA0\xAE\xB7野1", "s1") +
                  Hikkaiten("\xF0\xA0\xAE\xB7\xF0\xA0\xAE\xB7", "p1") + Hikkaiten("髙2", "p2")),
       false,
       "? にした文字 3、出力 t.Sim",
       {"[文字コード] 筆 \xF0\xA0\xAE\xB7野1（", "Shift-JIS にない文字 1 字を ? にしました",
        "[文字コード] 筆界点 \xF0\xA0\xAE\xB7\xF0\xA0\xAE\xB7: Shift-JIS にない文字 2 字を ? "
        "にしました"}},
  };
  for (const ToldCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const Converted converted = Convert(folder, c.name, c.bytes, c.includeOutside, true);
    ASSERT_EQ(converted.outcomes.size(), 1u);
    const std::string& line = converted.outcomes[0].line;
    EXPECT_EQ(line.substr(line.size() - c.summary.size()), c.summary) << line;
    std::string told;
    for (const std::string& finding : converted.outcomes[0].findings) {
      if (finding.starts_with("[形状]") || finding.starts_with("[文字コード]"))
        told += finding + "\n";
    }
    std::size_t at = 0;
    for (const std::string& expected : c.findings) {
      at = told.find(expected, at);
      ASSERT_NE(at, std::string::npos) << expected << "\n" << told;
    }
    if (c.findings.empty()) {
      EXPECT_EQ(told, "");
    }
  }
  // What the "?" stands for, in the bytes written: 野 is 96 EC in CP932, 髙 FB FC.
  TempFolder folder;
  Convert(folder, "t.xml", cases.back().bytes);
  const std::string stem = (folder.path() / "out" / "t").string();
  EXPECT_NE(ReadBytes(stem + ".MID")
                .find("1,?\x96\xEC"
                      "1,"),
            std::string::npos);
  EXPECT_NE(ReadBytes(stem + ".Sim")
                .find("A01,    1,??,0,0,,\r\nA01,    2,\xFB\xFC"
                      "2,"),
            std::string::npos);
}

TEST(MapXmlConversion, BrokenFilesGiveOneLineAndNoFiles) {
  const std::string good =
      MapXml("公共座標9系", kCorners + kSides + GmSurface("s1", {"c1", "c2", "c3", "c4"}),
             Fude("1", "s1"));
  struct BrokenCase {
    const char* name;
    std::string bytes;
    std::string line;  // the outcome line, from the file name on
  };
  std::string nested = "<?xml version=\"1.0\"?>\n<地図>";
  for (int i = 0; i < 100; ++i) nested += "<a>";
  const std::vector<BrokenCase> cases = {
      {"not.xml", "SIMA ではなく\n地図でもない", "not.xml: 1 行目: XML として読めません"},
      {"cut.xml", good.substr(0, good.size() / 2), "cut.xml: 10 行目: XML が途中で終わっています"},
      {"nothing.xml", MapXml("公共座標9系", kCorners + kSides, Fude("1", "s9")),
       "nothing.xml: 15 行目: 形状 idref=\"s9\" の指すものがありません"},
      {"control.xml", MapXml("公共座標9系\x01", "", ""),
       "control.xml: 3 行目: XML に使えない文字（制御文字など）があります"},
      {"laughs.xml",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE 地図 [<!ENTITY a \"aaaaaaaa\"><!ENTITY b "
       "\"&a;&a;&a;&a;&a;&a;\">]>\n<地図>&b;</地図>\n",
       "laughs.xml: 2 行目: DOCTYPE 宣言は受け付けません"},
      {"deep.xml", nested, "deep.xml: 2 行目: 要素の入れ子が深すぎます"},
      {"empty.zip", "", "empty.zip: ZIP として読めません（0 バイトのファイルです）"},
  };
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const Converted converted = Convert(folder, c.name, c.bytes);
    ASSERT_EQ(converted.outcomes.size(), 1u);
    EXPECT_TRUE(converted.outcomes[0].failed);
    const std::string& line = converted.outcomes[0].line;
    EXPECT_EQ(line.substr(line.find(c.name)).substr(0, c.line.size()), c.line) << line;
    EXPECT_TRUE(std::filesystem::is_empty(folder.path() / "out"));
  }
}

}  // namespace
}  // namespace parquill
