// Drawings as Japanese CAD programs write them, converted from the command
// line: each a few lines of DXF text, and what the user is told.
#include <gtest/gtest.h>

#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill::real_drawings {

using testing::Joined;
using testing::Lines;
using testing::LwPolyline;
using testing::operator+;
using testing::operator+=;
using testing::RunCli;
using testing::Sjis;
using testing::TempFolder;

// The header and the layers 筆界 and 地番.
Lines Header(const std::string& version, const Lines& more = {}) {
  return Lines{"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", version} + more +
         Lines{"  0", "ENDSEC", "  0", "SECTION",
               "  2", "TABLES", "100", "AcDbLayerTableRecord",
               "  2", "筆界",   "100", "AcDbLayerTableRecord",
               "  2", "地番",   "  0", "ENDSEC"};
}
Lines Section(const Lines& entities) {
  return Lines{"  0", "SECTION", "  2", "ENTITIES"} + entities + Lines{"  0", "ENDSEC"};
}
const Lines kEof = {"  0", "EOF"};

Lines Line(double x1, double y1, double x2, double y2) {
  auto v = [](double a) { return std::to_string(a); };
  return {"  0", "LINE", "  8", "筆界", " 10", v(x1), " 20", v(y1), " 11", v(x2), " 21", v(y2)};
}
// A TEXT as an R2000 writer puts it, 1 high.
Lines Text(const std::string& text, double x, double y, const Lines& more = {}) {
  return Lines{"  0", "TEXT",
               "100", "AcDbEntity",
               "  8", "地番",
               "100", "AcDbText",
               " 10", std::to_string(x),
               " 20", std::to_string(y),
               " 40", "1",
               "  1", text} +
         more + Lines{"100", "AcDbText"};
}
Lines Lot(int x0, int w = 10) {
  auto v = [](int a) { return std::to_string(a); };
  return LwPolyline("筆界", "1",
                    {{v(x0), "0"}, {v(x0 + w), "0"}, {v(x0 + w), "10"}, {v(x0), "10"}});
}

struct Case {
  const char* what;
  Lines drawing;
  std::string options;
  int status;
  std::string inErr;  // a line stderr must hold ("" for none expected)
  std::string inOut;  // a line stdout must hold
  std::string notInErr = "";
  bool utf8 = false;     // the drawing's bytes in UTF-8, else in CP932
  std::string mid = "";  // the MID file (CP932), when given
};

void Check(const Case& c) {
  TempFolder folder;
  const std::string path =
      folder.Write("d.dxf", c.utf8 ? Joined(c.drawing) : Sjis(Joined(c.drawing)));
  const auto run =
      RunCli(folder, "convert '" + path + "' --boundary 筆界 --text 地番 --report " + c.options);
  EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.err;
  EXPECT_NE(run.err.find(c.inErr), std::string::npos) << c.what << "\n" << run.err;
  EXPECT_NE(run.out.find(c.inOut), std::string::npos) << c.what << "\n" << run.out;
  if (!c.mid.empty()) {
    EXPECT_EQ(testing::ReadBytes(folder.File("d.MID")), Sjis(c.mid)) << c.what;
  }
  if (!c.notInErr.empty()) {
    EXPECT_EQ(run.err.find(c.notInErr), std::string::npos) << c.what << "\n" << run.err;
  }
}

const std::string kHint = "「線から筆を作る」（--from-lines）で読めます\n";
const std::string kCut =
    "[図面の終わり] 図面が EOF で終わっていません（途中で切れているかもしれません）\n";

TEST(RealDrawings, PlainWords) {
  const Lines lot =
      Line(0, 0, 10, 0) + Line(10, 0, 10, 10) + Line(10, 10, 0, 10) + Line(0, 10, 0, 0);
  const Case cases[] = {
      {"R12 lines: the refusal says how to read them", Header("AC1009") + Section(lot) + kEof, "",
       3, "処理不可能です。\n" + kHint, ""},
      {"R12 with texts only: no hint", Header("AC1009") + Section(Text("1", 5, 5)) + kEof, "", 3,
       "処理不可能です。\n", "", kHint},
      {"no EOF: a warning, exit 0", Header("AC1015") + Section(Lot(0) + Text("1", 5, 5)), "", 0,
       kCut, kCut},
      {"cut within the ENTITIES section",
       Header("AC1015") + Lines{"  0", "SECTION", "  2", "ENTITIES"} + Lot(0) + Text("1", 5, 5), "",
       0, kCut, "領域 1（地番あり 0）"},
      {"with EOF no warning", Header("AC1015") + Section(Lot(0) + Text("1", 5, 5)) + kEof, "", 0,
       "", "領域 1（地番あり 1）", "図面の終わり"},
  };
  for (const Case& c : cases) Check(c);
}

// What the report says is what was written, and nothing goes without a word.
TEST(RealDrawings, TrueWords) {
  const Lines lot =
      Line(0, 0, 10, 0) + Line(10, 0, 10, 10) + Line(10, 10, 0, 10) + Line(0, 10, 0, 0);
  const Lines blockOfLines =
      Lines{"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  2", "L", " 10", "0", " 20", "0"} +
      lot + Lines{"  0", "ENDBLK", "  0", "ENDSEC"};
  const Lines insert = {"  0", "INSERT", "  8", "筆界", "  2", "L", " 10", "0", " 20", "0"};
  // A lot of 20 x 20 whose lower side bulges out by 0.25: ezdxf's
  // bulge_to_arc gives the centre (10, 18.75), the radius 21.25 and the angle
  // t = 0.97991 rad, so the arc adds r^2 / 2 (t - sin t): 433.75 m^2 in all.
  const Lines bulged =
      LwPolyline("筆界", "1", {{"0", "0"}, {"20", "0"}, {"20", "20"}, {"0", "20"}}, {}, {});
  Lines bulgedLot = bulged;
  bulgedLot.insert(bulgedLot.begin() + 20, {" 42", "0.25"});
  const Lines blockOfText =
      Lines{"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  2", "N", " 10", "0", " 20", "0"} +
      Text("9", 1, 1) + Lines{"  0", "ENDBLK", "  0", "ENDSEC"};
  const Case cases[] = {
      {"R12 lots as INSERTs of lines: the hint",
       Header("AC1009") + blockOfLines + Section(insert) + kEof, "", 3,
       "処理不可能です。\n" + kHint, ""},
      {"a character outside the first 65536 in two escapes",
       Header("AC1015") + Section(Lot(0) + Text("\\U+D842\\U+DFB7野", 5, 5)) + kEof, "", 0, "",
       "[文字コード] 「𠮷野」: Shift-JIS にない文字を ? にしました", "", false, "1,?野\r\n"},
      {"a bulged lot: its arc area", Header("AC1015") + Section(bulgedLot + Text("7", 5, 5)) + kEof,
       "", 0, "",
       "[円弧] 領域 1: 円弧 1 本を弦にして頂点だけを書きました（面積 400.00 m²、円弧どおりなら "
       "433.75 m²） (X 0.000, Y 0.000)\n",
       "", false, "1,7\r\n"},
      {"texts in INSERTs on the lot-number layer",
       Header("AC1015") + blockOfText +
           Section(Lot(0) +
                   Lines{"  0", "INSERT", "  8", "地番", "  2", "N", " 10", "2", " 20", "2"}) +
           kEof,
       "", 0, "",
       "[ブロック] レイヤ「地番」の INSERT が置く文字 1 "
       "個は読んでいません（「線から筆を作る」で読めます）\n",
       "", false, "1,\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

// U+2212, U+301C, U+2016, U+00A2, U+2014 and U+2015 are written in their
// Shift-JIS forms (the bytes as CP932 tables give them), so the report does
// not call them "?".
TEST(RealDrawings, CharactersShiftJisHoldsInAnotherForm) {
  TempFolder folder;
  const Lines drawing = Header("AC1032") +
                        Section(Lot(0) + Text("1\u22122\u301C3\u20164\u00A25\u20146\u2015", 5, 5)) +
                        kEof;
  const std::string path = folder.Write("d.dxf", Joined(drawing));
  const auto run = RunCli(folder, "convert '" + path + "' --boundary 筆界 --text 地番 --report");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("文字コード"), std::string::npos) << run.out;
  EXPECT_EQ(testing::ReadBytes(folder.File("d.MID")),
            "1,1\x81\x7C"
            "2\x81\x60"
            "3\x81\x61"
            "4\x81\x91"
            "5\x81\x5C"
            "6\x81\x5C\r\n");
}

// A layer name no character stands for is shown as its bytes, as `layers` shows it.
TEST(RealDrawings, UndecodableLayerInTheReport) {
  TempFolder folder;
  const Lines drawing = Header("AC1015") +
                        Section(LwPolyline("\xE9", "0", {{"0", "0"}, {"5", "0"}, {"5", "5"}}) +
                                Lot(0) + Text("1", 5, 5)) +
                        kEof;
  const std::string path = folder.Write("d.dxf", Sjis(Joined(drawing)));
  const auto run =
      RunCli(folder, "convert '" + path + "' --boundary 'すべて' --text 地番 --report");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("[未閉合] レイヤ「\\xE9」のポリラインは閉じていないため"),
            std::string::npos)
      << run.out;
}

// A lot of 1,200 points and a drawing cut in a polyline stop the region
// build: the message says what, and the MIF file of an earlier run stays.
TEST(RealDrawings, NothingHalfWritten) {
  std::vector<testing::Point> long1200;
  for (int k = 0; k < 1200; ++k) long1200.push_back({std::to_string(k), std::to_string(k % 2)});
  const Lines cut = Header("AC1015") + Lines{"  0", "SECTION", "  2", "ENTITIES"} + Lot(0) +
                    Lot(20) +
                    Lines{"  0",          "LWPOLYLINE", "100", "AcDbEntity", "  8", "筆界", "100",
                          "AcDbPolyline", " 70",        "1",   " 10",        "40",  " 20"};
  const struct {
    Lines drawing;
    std::string err;
  } cases[] = {
      {Header("AC1015") + Section(LwPolyline("筆界", "0", long1200)) + kEof,
       "TESSARO: エラー番号9\nインデックスが有効範囲にありません。筆界のポリラインの頂点が 1000 "
       "を超えました（レイヤ 筆界、始点 X 0.000, Y 0.000、1200 点）\n"},
      {cut, "TESSARO: エラー番号62\n"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const std::string path = folder.Write("d.dxf", Sjis(Joined(c.drawing)));
    folder.Write("d.MIF", "earlier");
    const auto run = RunCli(folder, "convert '" + path + "' --boundary 筆界 --text 地番");
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(testing::ReadBytes(folder.File("d.MIF")), "earlier");
  }
}

TEST(RealDrawings, Encodings) {
  const Lines page = {"  9", "$DWGCODEPAGE", "  3", "ANSI_932"};
  const Lines lot = Section(Lot(0) + Text("一丁目5", 5, 5)) + kEof;
  const std::string told =
      "[文字コード] 図面は ANSI_932 と宣言していますが UTF-8 で書かれています\n";
  const Case cases[] = {
      {"UTF-8 under ANSI_932", Header("AC1015", page) + lot, "", 0, "", told, "", true,
       "1,一丁目5\r\n"},
      {"UTF-8 under no code page", Header("AC1015") + lot, "", 0, "", told, "", true,
       "1,一丁目5\r\n"},
      {"Shift-JIS as declared", Header("AC1015", page) + lot, "", 0, "", "地番あり 1", "", false,
       "1,一丁目5\r\n"},
      {"a character Shift-JIS lacks",
       Header("AC1032") + Section(Lot(0) + Text("𠮷野5-6", 5, 5)) + kEof, "", 0, "",
       "[文字コード] 「𠮷野5-6」: Shift-JIS にない文字を ? にしました (X 5.000, Y 5.000)", "", true,
       "1,?野5-6\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

// Three strips 3 m wide, each with its number centred as it is seen but
// placed by its lower left corner (Jw_cad), and a rotated MTEXT in a fourth lot.
TEST(RealDrawings, WhereALotNumberStands) {
  Lines strips, lines;
  for (int k = 0; k < 3; ++k) {
    strips += LwPolyline("筆界", "1",
                         {{std::to_string(3 * k), "0"},
                          {std::to_string(3 * k + 3), "0"},
                          {std::to_string(3 * k + 3), "10"},
                          {std::to_string(3 * k), "10"}});
    lines += Line(3 * k, 0, 3 * k + 3, 0) + Line(3 * k, 10, 3 * k + 3, 10) +
             Line(3 * k + 3, 0, 3 * k + 3, 10);
  }
  lines += Line(0, 0, 0, 10);
  Lines texts;
  for (int k = 0; k < 3; ++k)
    texts += Text("1201-" + std::to_string(k + 1), 3 * k + 1.5 - 1.8, 4.4, {" 40", "1.2"});
  const Lines mtext =
      Lot(20) + Lines{"  0", "MTEXT", "100", "AcDbEntity", "  8", "地番", "100", "AcDbMText",
                      " 10", "25",    " 20", "5",          " 40", "1",    " 71", "5",
                      "  1", "7",     " 11", "0.8",        " 21", "0.6"};
  const Case cases[] = {
      {"closed polylines: the point places the number, the report tells",
       Header("AC1015") + Section(strips + texts + mtext) + kEof, "", 0, "",
       "[文字の位置] 「1201-1」: 文字の中心は領域 1 "
       "にありますが、地番はどの領域にも付きませんでした (X 1.500, Y 5.000)\n"
       "[文字の位置] 「1201-2」: 文字の中心は領域 2 にありますが、地番は領域 1 に付きました (X "
       "4.500, Y 5.000)\n"
       "[文字の位置] 「1201-3」: 文字の中心は領域 3 にありますが、地番は領域 2 に付きました (X "
       "7.500, Y 5.000)\n",
       "", false, "1,1201-2\r\n2,1201-3\r\n3,\r\n4,7\r\n"},
      {"lots from lines: the middle places the number",
       Header("AC1015") + Section(lines + texts + mtext) + kEof, "--from-lines", 0, "",
       "領域 4（地番あり 4）", "", false, "1,1201-1\r\n2,1201-2\r\n3,1201-3\r\n4,7\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

// A block of one 10 m lot on layer "0", and a block of two of them side by
// side; inserted plainly, turned and scaled, as a MINSERT of two columns and
// nested, numbered by ATTRIBs and TEXTs.
TEST(RealDrawings, Blocks) {
  const Lines square = LwPolyline("0", "1", {{"0", "0"}, {"10", "0"}, {"10", "10"}, {"0", "10"}});
  auto insert = [](const std::string& block, const std::string& x, const Lines& more = {}) {
    return Lines{"  0", "INSERT", "  8", "筆界", "  2", block, " 10", x, " 20", "0"} + more;
  };
  auto attrib = [](const std::string& text, const std::string& x, const std::string& y) {
    return Lines{"  0", "ATTRIB", "  8", "地番", " 10", x,     " 20",
                 y,     " 40",    "1",   "  1",  text,  "  2", "NO"};
  };
  const Lines blocks =
      Lines{"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  8",
            "0",   "  2",     "LOT", " 10",    "0",   " 20",   "0"} +
      square + Lines{"  0", "ENDBLK", "  0", "BLOCK", "  2", "PAIR", " 10", "0", " 20", "0"} +
      Lines{"  0", "INSERT", "  8", "0", "  2", "LOT", " 10", "0", " 20", "0"} +
      Lines{"  0", "INSERT", "  8", "0", "  2", "LOT", " 10", "10", " 20", "0"} +
      Lines{"  0", "ENDBLK", "  0", "ENDSEC"};
  const Lines entities = Lot(0) + Text("1", 5, 5) + insert("LOT", "100", {" 66", "1"}) +
                         attrib("B-1", "105", "5") + Lines{"  0", "SEQEND"} +
                         insert("LOT", "200", {" 41", "2", " 42", "2", " 50", "90", " 66", "1"}) +
                         attrib("B-2", "190", "10") + Lines{"  0", "SEQEND"} +
                         insert("LOT", "300", {" 70", "2", " 44", "10"}) + Text("M-1", 305, 5) +
                         Text("M-2", 315, 5) + insert("PAIR", "400") + Text("P-1", 405, 5) +
                         Text("P-2", 415, 5);
  const Lines drawing = Header("AC1015") + blocks + Section(entities) + kEof;
  const Case cases[] = {
      {"lots from lines read the blocks", drawing, "--from-lines", 0, "", "領域 7（地番あり 7）",
       "", false, "1,1\r\n2,B-1\r\n3,B-2\r\n4,M-1\r\n5,M-2\r\n6,P-1\r\n7,P-2\r\n"},
      {"closed polylines name what they left", drawing, "", 0, "",
       "[ブロック] レイヤ「筆界」の INSERT 4 "
       "個の中は読んでいません（「線から筆を作る」で読めます）\n"
       "[ブロック] レイヤ「地番」の ATTRIB 2 個は読んでいません（「線から筆を作る」で読めます）\n",
       "", false, "1,1\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

// A 10 m lot and its number, drawn in metres (k = 1) or millimetres (k = 1000),
// as a closed LWPOLYLINE or as four LINEs.
Lines TenMetreLot(double k, bool lines) {
  const Lines lot = lines ? Line(0, 0, 10 * k, 0) + Line(10 * k, 0, 10 * k, 10 * k) +
                                Line(10 * k, 10 * k, 0, 10 * k) + Line(0, 10 * k, 0, 0)
                          : LwPolyline("筆界", "1",
                                       {{"0", "0"},
                                        {std::to_string(10 * k), "0"},
                                        {std::to_string(10 * k), std::to_string(10 * k)},
                                        {"0", std::to_string(10 * k)}});
  return Header("AC1015") + Section(lot + Text("7", 5 * k, 5 * k)) + kEof;
}

TEST(RealDrawings, Millimetres) {
  for (const std::string mode : {"", "--from-lines"}) {
    TempFolder folder;
    std::string sima[2];
    for (int mm = 0; mm < 2; ++mm) {
      const std::string path =
          folder.Write("d" + std::to_string(mm) + ".dxf",
                       Sjis(Joined(TenMetreLot(mm ? 1000 : 1, !mode.empty()))));
      const auto run = RunCli(folder, "convert '" + path + "' --boundary 筆界 --text 地番 " + mode +
                                          (mm ? " --unit mm" : ""));
      EXPECT_EQ(run.status, 0) << run.err;
      sima[mm] = testing::ReadBytes(folder.File("d" + std::to_string(mm) + ".Sim"));
    }
    EXPECT_EQ(sima[0], sima[1]) << mode;
    EXPECT_NE(sima[0].find("A01,    1,K1,0,0,,"), std::string::npos) << sima[0];
  }
  Check({"millimetres read as metres", TenMetreLot(1000, false), "", 0, "",
         "[単位] 筆の大きさから、図面はミリメートル単位のようです（--unit mm）\n"});
}

}  // namespace parquill::real_drawings
