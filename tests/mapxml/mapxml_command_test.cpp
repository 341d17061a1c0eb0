// parquill-cli mapxml on the two registry files (tests/data/mapxml): the
// summary lines, GDAL reading the MIF files, the SIMA files read back by a
// reader of their own here, areas, and a batch that goes on past broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "mapxml/map_xml_text.h"
#include "mapxml/mapxml_limits.h"
#include "mapxml/mapxml_lots.h"
#include "mapxml/mapxml_reader.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using namespace testing;

const std::string kData = std::string(PARQUILL_SOURCE_DIR) + "/tests/data/mapxml/";
const std::string kChiba = kData + "12103-0400-76.zip";
const std::string kYakushima = kData + "46505-3411-1.zip";

// Twice the signed area of a ring of (north, east) points.
template <typename Points>
double TwiceArea(const Points& points) {
  double sum = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    sum += points[i].second * points[i + 1].first - points[i + 1].second * points[i].first;
  }
  return sum;
}

// Each lot's area from the XML's coordinates: its exterior rings less its holes.
std::map<std::string, double> XmlAreas(const std::string& zip, const TempFolder& folder) {
  const std::string xml = RunCommand(folder, "unzip -p " + Quoted(zip)).out;
  std::size_t at = 0;
  const mapxml::MapXmlDocument document = mapxml::ReadMapXml([&](char* buffer, std::size_t room) {
    const std::size_t n = std::min(room, xml.size() - at);
    xml.copy(buffer, n, at);
    at += n;
    return n;
  });
  const mapxml::MapLots lots = mapxml::MakeLots(document, false);
  std::map<std::string, double> areas;
  for (const mapxml::MapLot& lot : lots.lots) {
    double area = 0;
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const mapxml::LotRing& ring = lots.rings[lot.firstRing + r];
      std::vector<std::pair<double, double>> points;
      for (std::uint32_t i = 0; i < ring.pointCount; ++i) {
        const mapxml::RingPoint& p = lots.points[ring.firstPoint + i];
        points.emplace_back(p.x, p.y);
      }
      area += (ring.exterior ? 1 : -1) * std::fabs(TwiceArea(points)) / 2;
    }
    areas[document.lots[lot.entry].attributes.chiban] = area;
  }
  return areas;
}

// The lots of a SIMA file, read here line by line: each lot's number and the
// (X, Y) of its B01 points, found by name among the A01 points.
std::map<std::string, std::vector<std::pair<double, double>>> SimaLots(const std::string& path) {
  std::istringstream text(DecodeText(ReadBytes(path), TextEncoding::kCp932));
  std::map<std::string, std::pair<double, double>> named;
  std::map<std::string, std::vector<std::pair<double, double>>> lots;
  std::string line;
  std::string lot;
  while (std::getline(text, line)) {
    std::vector<std::string> fields;
    std::istringstream split(line.substr(0, line.find('\r')));
    for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
    if (fields[0] == "A01") named[fields[2]] = {std::stod(fields[3]), std::stod(fields[4])};
    if (fields[0] == "D00") lot = fields[2];
    if (fields[0] == "B01") {
      EXPECT_EQ(named.count(fields[2]), 1u) << fields[2];
      lots[lot].push_back(named[fields[2]]);
    }
  }
  return lots;
}

TEST(MapXmlCommand, SamplesConvertAndReadBack) {
  TempFolder folder;
  const std::string out = folder.File("out");
  const CommandRun run = RunCli(
      folder, "mapxml " + Quoted(kChiba) + " " + Quoted(kYakushima) + " --output " + Quoted(out));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "12103-0400-76.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、出力 12103-0400-76.Sim\n"
            "46505-3411-1.xml: 筆 2（除外 6）、筆界点 119、公共座標2系、出力 46505-3411-1.Sim\n"
            "合計: 地図XML 2（失敗 0）、筆 3（除外 6）、筆界点 123\n");

  // The SIMA lots: every B01 point an A01 point, 2740-1 with its 109 points,
  // and each lot's area that of the XML.
  std::map<std::string, double> xmlAreas = XmlAreas(kYakushima, folder);
  const auto merged = XmlAreas(kChiba, folder);
  xmlAreas.insert(merged.begin(), merged.end());
  std::map<std::string, std::vector<std::pair<double, double>>> simaLots =
      SimaLots(out + "/46505-3411-1.Sim");
  const auto chiba = SimaLots(out + "/12103-0400-76.Sim");
  simaLots.insert(chiba.begin(), chiba.end());
  ASSERT_EQ(simaLots.size(), 3u);
  EXPECT_EQ(simaLots["2740-1"].size(), 109u);
  for (auto& [chiban, points] : simaLots) {
    points.push_back(points.front());
    EXPECT_NEAR(std::fabs(TwiceArea(points)) / 2, xmlAreas[chiban], 1e-6) << chiban;
  }

  // GDAL: the zone's transverse Mercator, every lot number, the areas.
  if (!Installed("ogrinfo")) GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed";
  const std::string info =
      RunCommand(folder, "ogrinfo -ro -al " + Quoted(out + "/46505-3411-1.MIF")).out;
  EXPECT_NE(info.find("METHOD[\"Transverse Mercator\""), std::string::npos) << info;
  EXPECT_NE(info.find("\"Longitude of natural origin\",131,"), std::string::npos) << info;
  EXPECT_NE(info.find("\"Latitude of natural origin\",33,"), std::string::npos) << info;
  for (const char* name : {"12103-0400-76", "46505-3411-1"}) {
    const CommandRun areas =
        RunCommand(folder, "ogrinfo -ro -q -sql 'SELECT Chiban, OGR_GEOM_AREA AS area FROM \"" +
                               std::string(name) + "\"' " + Quoted(out + "/" + name + ".MIF"));
    std::istringstream lines(areas.out);
    std::string chiban;
    int found = 0;
    for (std::string line; std::getline(lines, line);) {
      if (line.find("Chiban (String) = ") != std::string::npos)
        chiban = line.substr(line.find("= ") + 2);
      if (line.find("area (Real) = ") != std::string::npos) {
        ++found;
        EXPECT_NEAR(std::stod(line.substr(line.find("= ") + 2)), xmlAreas[chiban],
                    1e-6 + 1e-10 * xmlAreas[chiban])
            << chiban;
      }
    }
    EXPECT_EQ(found, std::string(name) == "12103-0400-76" ? 1 : 2) << areas.out << areas.err;
  }
}

TEST(MapXmlCommand, DatumAndLotsOutside) {
  if (!Installed("ogrinfo")) GTEST_SKIP() << "ogrinfo (Debian gdal-bin) is not installed";
  TempFolder folder;
  const CommandRun run = RunCli(folder, "mapxml " + Quoted(kYakushima) +
                                            " --datum jgd2000 --include-outside --output " +
                                            Quoted(folder.File("out")));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("筆 8（除外 0）"), std::string::npos) << run.out;
  const std::string info =
      RunCommand(folder, "ogrinfo -ro -al " + Quoted(folder.File("out/46505-3411-1.MIF"))).out;
  EXPECT_NE(info.find("DATUM[\"JGD2000\""), std::string::npos) << info;
  for (const char* chiban : {"2740-1", "2740-2", "別図-5", "地区外-43774", "地区外-43778"}) {
    EXPECT_NE(info.find(std::string("Chiban (String) = ") + chiban), std::string::npos) << chiban;
  }
}

// A made-up file of `count` lots 1 m square in a row, each with its own corners.
std::string RowOfLots(int count) {
  std::string spatial, thematic;
  for (int k = 0; k < count; ++k) {
    const std::string n = std::to_string(k);
    spatial += GmPoint("a" + n, 0, k) + GmPoint("b" + n, 0, k + 1) + GmPoint("c" + n, 1, k + 1) +
               GmPoint("d" + n, 1, k) +
               GmCurve("r" + n, {"a" + n, "b" + n, "c" + n, "d" + n, "a" + n}) +
               GmSurface("s" + n, {"r" + n});
    thematic += Fude(std::to_string(k + 1), "s" + n);
  }
  return MapXml("公共座標9系", spatial, thematic);
}

// Peak resident memory of a command in kB (GNU time), or -1 without it.
long PeakKb(const TempFolder& folder, const std::string& arguments) {
  if (!std::filesystem::exists("/usr/bin/time")) return -1;
  RunCommand(folder, "/usr/bin/time -o " + Quoted(folder.File("peak")) + " -f %M " +
                         Quoted(PARQUILL_CLI_PATH) + " " + arguments);
  // The last line: a command that fails has "Command exited with …" before it.
  std::string peak = ReadBytes(folder.File("peak"));
  peak.erase(peak.find_last_not_of('\n') + 1);
  return std::stol(peak.substr(peak.find_last_of('\n') + 1));
}

// Several files at once give the lines and the files of one at a time, in
// the order of the inputs however the conversions end: a large file first,
// small ones after it, a broken one among them, and a municipality ZIP of
// area ZIPs. A ZIP inside a ZIP is never held in memory: 64 MB of stored
// zeros inside one pass through a few MB.
TEST(MapXmlCommand, ManyAtOnceInInputOrder) {
  if (!Installed("zip") || !Installed("unzip")) GTEST_SKIP() << "zip and unzip are not installed";
  TempFolder folder;
  const std::string in = folder.File("in");
  std::filesystem::create_directories(in + "/town");
  folder.Write("in/a-big.xml", RowOfLots(3000));
  const std::string chibaXml = RunCommand(folder, "unzip -p " + Quoted(kChiba)).out;
  for (const char* name : {"b1.xml", "b2.xml", "b4.xml", "b5.xml"}) {
    folder.Write(std::string("in/") + name, chibaXml);
  }
  folder.Write("in/b3.xml", chibaXml.substr(0, 3000));
  folder.Write("in/town/c1.xml", RowOfLots(2));
  folder.Write("in/town/c2.xml", RowOfLots(3));
  RunCommand(folder,
             "cd " + Quoted(in + "/town") +
                 " && zip -q area1.zip c1.xml && zip -q area2.zip c2.xml && zip -q "
                 "../d-town.zip area1.zip area2.zip && rm c1.xml c2.xml area1.zip area2.zip");
  std::string lines[2];
  for (int jobs : {1, 3}) {
    const CommandRun run =
        RunCli(folder, "mapxml " + Quoted(in) + " -j " + std::to_string(jobs) + " --output " +
                           Quoted(folder.File("out" + std::to_string(jobs))));
    EXPECT_EQ(run.status, 4);
    EXPECT_TRUE(run.err.starts_with(in + "/b3.xml: ")) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    lines[jobs / 3] = run.out;
  }
  EXPECT_EQ(lines[0], lines[1]);
  std::vector<std::string> names;
  std::istringstream out(lines[1]);
  for (std::string line; std::getline(out, line);) names.push_back(line.substr(0, line.find(':')));
  EXPECT_EQ(names, (std::vector<std::string>{"a-big.xml", "b1.xml", "b2.xml", "b4.xml", "b5.xml",
                                             "c1.xml", "c2.xml", "合計"}));
  EXPECT_EQ(RunCommand(folder,
                       "diff -r " + Quoted(folder.File("out1")) + " " + Quoted(folder.File("out3")))
                .status,
            0);

  // The zeros: written to a temporary file, its one XML refused.
  RunCommand(folder, "cd " + Quoted(folder.path().string()) +
                         " && head -c 64000000 /dev/zero > zeros.xml && zip -q -0 inner.zip "
                         "zeros.xml && zip -q outer.zip inner.zip && rm zeros.xml inner.zip");
  const long peak = PeakKb(folder, "mapxml " + Quoted(folder.File("outer.zip")) + " --output " +
                                       Quoted(folder.File("zeros")));
  if (peak >= 0) {
    EXPECT_LT(peak, 40'000);
  }
}

// A batch stopped halfway goes on with --resume: a file whose outputs
// are all newer than it is passed over (its outputs left as they are), one
// with an output missing or older than it is converted again. The progress
// line is written on a terminal only.
TEST(MapXmlCommand, ResumeAndProgress) {
  TempFolder folder;
  const std::string in = folder.File("in");
  std::filesystem::create_directories(in);
  for (const char* name : {"a.xml", "b.xml", "c.xml"}) {
    folder.Write(std::string("in/") + name, RowOfLots(2));
  }
  const std::string out = folder.File("out");
  const CommandRun first = RunCli(folder, "mapxml " + Quoted(in) + " --output " + Quoted(out));
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, "");  // no progress line: stderr is not a terminal
  std::filesystem::remove(out + "/b.MIF");
  const auto aWritten = std::filesystem::last_write_time(out + "/a.Sim");
  std::filesystem::last_write_time(in + "/c.xml", aWritten + std::chrono::hours(1));

  const CommandRun resumed =
      RunCli(folder, "mapxml " + Quoted(in) + " --resume --output " + Quoted(out));
  EXPECT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_EQ(resumed.out,
            "a.xml: 出力 a.Sim が新しいので飛ばしました\n"
            "b.xml: 筆 2（除外 0）、筆界点 8、公共座標9系、出力 b.Sim\n"
            "c.xml: 筆 2（除外 0）、筆界点 8、公共座標9系、出力 c.Sim\n"
            "合計: 地図XML 3（失敗 0、変換済みで飛ばした 1）、筆 4（除外 0）、筆界点 16\n");
  EXPECT_EQ(std::filesystem::last_write_time(out + "/a.Sim"), aWritten);
  EXPECT_TRUE(std::filesystem::exists(out + "/b.MIF"));

  // The files looked for are those of the formats asked for: a DXF file
  // added to a finished batch is written for every input, then found.
  const CommandRun added = RunCli(
      folder, "mapxml " + Quoted(in) + " --resume --format sima,mif,dxf --output " + Quoted(out));
  EXPECT_NE(added.out.find("合計: 地図XML 3（失敗 0）、筆 6"), std::string::npos) << added.out;
  const CommandRun found =
      RunCli(folder, "mapxml " + Quoted(in) + " --resume --format dxf --output " + Quoted(out));
  EXPECT_EQ(found.out,
            "a.xml: 出力 a.DXF が新しいので飛ばしました\n"
            "b.xml: 出力 b.DXF が新しいので飛ばしました\n"
            "c.xml: 筆 2（除外 0）、筆界点 8、公共座標9系、出力 c.DXF\n"
            "合計: 地図XML 3（失敗 0、変換済みで飛ばした 2）、筆 2（除外 0）、筆界点 8\n");

  if (!Installed("script")) GTEST_SKIP() << "script (Debian bsdutils) is not installed";
  // On a terminal (script gives the command one): the line, redrawn in place.
  const CommandRun shown =
      RunCommand(folder, "script -qec " +
                             Quoted(Quoted(PARQUILL_CLI_PATH) + " mapxml " + Quoted(in) +
                                    " -j 2 --output " + Quoted(folder.File("out2"))) +
                             " /dev/null");
  EXPECT_NE(shown.out.find("\r地図XML 3/3、筆 6"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("\033[K"), std::string::npos) << shown.out;
}

// A batch stopped by a kill (as by Ctrl+C) ends with the files being
// converted: every file in the output folder is whole (the same bytes as a
// finished run's) and named on stdout, none is hidden half-written, and
// --resume converts the rest.
TEST(MapXmlCommand, AStoppedBatchEndsItsFilesWhole) {
  TempFolder folder;
  const std::string in = folder.File("in");
  std::filesystem::create_directories(in);
  const std::string lots = folder.Write("lots.xml", RowOfLots(40));
  constexpr int kFiles = 400;
  for (int i = 0; i < kFiles; ++i) {
    std::filesystem::create_hard_link(lots, in + "/f" + std::to_string(i) + ".xml");
  }
  ASSERT_EQ(
      RunCli(folder, "mapxml " + Quoted(lots) + " --output " + Quoted(folder.File("whole"))).status,
      0);
  const std::string out = folder.File("out");
  const CommandRun stopped =
      RunCommand(folder, "(" + Quoted(PARQUILL_CLI_PATH) + " mapxml " + Quoted(in) +
                             " -j 2 --output " + Quoted(out) +
                             " & pid=$!; for i in $(seq 1000); do [ -e " + Quoted(out + "/f0.MID") +
                             " ] && break; sleep 0.01; done; kill -TERM $pid; wait $pid)");
  if (stopped.status == 0) GTEST_SKIP() << "the batch ended before it was stopped";
  EXPECT_EQ(stopped.status, 128 + 15);
  EXPECT_NE(stopped.err.find("中断しました。"), std::string::npos) << stopped.err;

  const std::string whole = ReadBytes(folder.File("whole/lots.Sim"));
  int written = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    const std::string name = entry.path().filename().string();
    ASSERT_NE(name.front(), '.') << name;  // no part of a file left behind
    if (!name.ends_with(".Sim")) continue;
    ++written;
    EXPECT_EQ(ReadBytes(entry.path().string()), whole) << name;
    const std::string stem = name.substr(0, name.size() - 4);
    EXPECT_NE(stopped.out.find(stem + ".xml: 筆 40"), std::string::npos) << name;
    EXPECT_TRUE(std::filesystem::exists(out + "/" + stem + ".MID")) << name;
  }
  EXPECT_LT(written, kFiles);

  const CommandRun resumed =
      RunCli(folder, "mapxml " + Quoted(in) + " --resume --output " + Quoted(out));
  EXPECT_EQ(resumed.status, 0) << resumed.err;
  EXPECT_NE(resumed.out.find("合計: 地図XML 400（失敗 0、変換済みで飛ばした " +
                             std::to_string(written) + "）"),
            std::string::npos)
      << resumed.out;
}

// A file in Shift_JIS that says so converts to the same files as in UTF-8
// (iconv made it); a file whose bytes are not in the encoding it declares
// gets one sentence, and nothing of the XML library.
TEST(MapXmlCommand, EncodingsDeclaredAndFound) {
  if (!Installed("unzip") || !Installed("iconv")) GTEST_SKIP() << "unzip or iconv is missing";
  TempFolder folder;
  const std::string utf8 = RunCommand(folder, "unzip -p " + Quoted(kChiba)).out;
  const std::string declaration = "encoding=\"UTF-8\"";
  ASSERT_EQ(utf8.find(declaration), 20u);
  auto declaring = [&](std::string bytes, const std::string& encoding) {
    return bytes.replace(20, declaration.size(), "encoding=\"" + encoding + "\"");
  };
  const std::string path = folder.Write("utf8.xml", utf8);
  const std::string sjis = RunCommand(folder, "iconv -f UTF-8 -t CP932 " + Quoted(path)).out;
  ASSERT_GT(sjis.size(), mapxml::kReadChunk + 1000);
  std::string lateByte = declaring(sjis, "Shift_JIS");
  lateByte.insert(lateByte.size() - 1000, "\xFF");  // past the first part read
  struct EncodingCase {
    const char* name;
    std::string bytes;
    std::string err;  // after "NAME: "
  };
  const EncodingCase cases[] = {
      {"sjis.xml", declaring(sjis, "Shift_JIS"), ""},
      {"utf8-as-sjis.xml", declaring(utf8, "Shift_JIS"),
       "文字コードが Shift_JIS と宣言されていますが、中身は UTF-8 で書かれています"},
      {"sjis-as-utf8.xml", sjis,
       "文字コードが UTF-8 と宣言されていますが、UTF-8 でない文字があります（Shift_JIS "
       "などで書かれたファイルです）"},
      {"late.xml", lateByte, "文字コード Shift_JIS として読めない文字があります"},
  };
  for (const EncodingCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string input = folder.Write(c.name, c.bytes);
    const CommandRun run =
        RunCli(folder, "mapxml " + Quoted(input) + " --output " + Quoted(folder.File("out")));
    if (c.err.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;
      RunCli(folder, "mapxml " + Quoted(path) + " --output " + Quoted(folder.File("out")));
      for (const char* extension : {".Sim", ".MIF", ".MID"}) {
        EXPECT_EQ(ReadBytes(folder.File(std::string("out/sjis") + extension)),
                  ReadBytes(folder.File(std::string("out/utf8") + extension)))
            << extension;
      }
      continue;
    }
    EXPECT_EQ(run.status, 4);
    EXPECT_TRUE(run.err.starts_with(input + ": ")) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

// Every file written, read by programs other than ours: GDAL reads each MIF
// and MID pair without a word, with the rings the lots have; every point
// lies inside the NonEarth bounds; iconv decodes each SIMA file strictly as
// CP932, and each record, split at its commas, has its code's fields, every
// point one name and every B01 name an A01 point's. A made-up file adds a
// 地番 and a 点番名 with commas, a 点番名 that is another point's K name, and
// a hole of two points (no ring).
TEST(MapXmlCommand, WrittenFilesReadFromOutside) {
  if (!Installed("ogrinfo") || !Installed("iconv")) GTEST_SKIP() << "ogrinfo or iconv missing";
  TempFolder folder;
  const std::string made = folder.Write(
      "made.xml",
      MapXml("公共座標9系",
             GmPoint("p1", 0, 0) + GmPoint("p2", 0, 10) + GmPoint("p3", 10, 10) +
                 GmPoint("p4", 10, 0) + GmPoint("h1", 2, 2) + GmPoint("h2", 4, 4) +
                 GmPoint("h3", 4, 2) + GmCurve("c1", {"p1", "p2", "p3", "p4", "p1"}) +
                 GmCurve("d1", {"h1", "h2", "h1"}) + GmCurve("d2", {"h1", "h2", "h3", "h1"}) +
                 GmSurface("s1", {"c1"}, {{"d1"}, {"d2"}}),
             Fude("1,2", "s1") + Hikkaiten("A,B", "p1") + Hikkaiten("K3", "p2")));
  const std::string out = folder.File("out");
  const CommandRun run =
      RunCli(folder, "mapxml " + Quoted(made) + " " + Quoted(kData + "01229-4500-1.zip") + " " +
                         Quoted(kData + "47213-3601-109.zip") + " --output " + Quoted(out));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::map<std::string, int> lots = {
      {"made", 1}, {"01229-4500-1", 130}, {"47213-3601-109", 6}};
  const std::map<std::string, std::size_t> fields = {{"G00", 3}, {"Z00", 3}, {"A00", 2},
                                                     {"A01", 7}, {"A99", 2}, {"D00", 5},
                                                     {"B01", 4}, {"D99", 2}};
  for (const auto& [name, count] : lots) {
    SCOPED_TRACE(name);
    const std::string mif = out + "/" + name + ".MIF";
    const CommandRun info = RunCommand(folder, "ogrinfo -ro -al " + Quoted(mif));
    EXPECT_EQ(info.err, "");
    std::size_t features = 0;
    for (std::size_t at = 0; (at = info.out.find("OGRFeature(", at)) != std::string::npos; ++at)
      ++features;
    EXPECT_EQ(features, static_cast<std::size_t>(count));
    if (name == "made") {
      // The exterior and the one hole that bounds anything.
      EXPECT_NE(info.out.find("POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,4 4,2 4,2 2))"),
                std::string::npos)
          << info.out;
      EXPECT_NE(info.out.find("Chiban (String) = 1,2"), std::string::npos);
    }

    // Every point line inside the NonEarth bounds.
    std::istringstream lines(ReadBytes(mif));
    double west = -1e300, south = -1e300, east = 1e300, north = 1e300;
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("CoordSys NonEarth")) {
        std::sscanf(line.c_str(), "CoordSys NonEarth Units \"m\" Bounds (%lf, %lf) (%lf, %lf)",
                    &west, &south, &east, &north);
      }
      double x = 0, y = 0;
      char end = 0;
      if (std::sscanf(line.c_str(), "%lf %lf%c", &x, &y, &end) == 3 && end == '\r') {
        EXPECT_TRUE(x > west && x < east && y > south && y < north) << line;
      }
    }

    const CommandRun sima =
        RunCommand(folder, "iconv -f CP932 -t UTF-8 " + Quoted(out + "/" + name + ".Sim"));
    ASSERT_EQ(sima.status, 0) << sima.err;
    std::istringstream records(sima.out);
    std::map<std::string, int> named;
    for (std::string line; std::getline(records, line);) {
      ASSERT_TRUE(line.ends_with("\r")) << line;
      line.pop_back();
      std::vector<std::string> split;
      std::istringstream parts(line + ",");
      for (std::string field; std::getline(parts, field, ',');) split.push_back(field);
      ASSERT_EQ(split.size(), fields.at(split[0])) << line;
      if (split[0] == "A01") {
        EXPECT_EQ(++named[split[2]], 1) << line;
      } else if (split[0] == "B01") {
        EXPECT_EQ(named.count(split[2]), 1u) << line;
      }
      if (name == "made" && split[0] == "A01") {
        EXPECT_EQ(split[2],
                  std::vector<std::string>(
                      {"", "K1", "K3", "K5", "K4"})[static_cast<std::size_t>(std::stoi(split[1]))]);
      }
      if (name == "made" && split[0] == "D00") {
        EXPECT_EQ(split[2], "1，2");
      }
    }
  }
}

// Each input's files stand where it stands below the input (its folders and
// its ZIP entries' folders), so that no two inputs write one file; a name that
// cannot make an output, or whose output an earlier input wrote, is refused by
// its name and the batch goes on.
TEST(MapXmlCommand, BatchGoesOnPastBrokenFilesAndReadsZipsInZips) {
  if (!Installed("zip") || !Installed("unzip")) GTEST_SKIP() << "zip and unzip are not installed";
  TempFolder folder;
  const std::string in = folder.File("in");
  for (const char* sub : {"in/sub", "in/a", "in/b", "odd"}) {
    std::filesystem::create_directories(folder.File(sub));
  }
  const std::string chibaXml = RunCommand(folder, "unzip -p " + Quoted(kChiba)).out;
  folder.Write("in/empty.zip", "");
  folder.Write("in/sub/cut.xml", chibaXml.substr(0, 5000));
  folder.Write("in/a/dup.xml", chibaXml);
  folder.Write("in/b/dup.xml", chibaXml);
  folder.Write("odd/.xml", chibaXml);
  folder.Write("odd/..\\..\\x.xml", chibaXml);
  std::filesystem::copy_file(kYakushima, in + "/sub/46505-3411-1.zip");
  RunCommand(folder, "cd " + Quoted(kData) + " && zip -q " + Quoted(in + "/outer.zip") +
                         " 12103-0400-76.zip");
  RunCommand(folder,
             "cd " + Quoted(folder.File("odd")) + " && zip -q ../in/odd.zip .xml '..\\..\\x.xml'");
  const CommandRun run = RunCli(folder, "mapxml " + Quoted(in) + " " + Quoted(kChiba) +
                                            " --output " + Quoted(folder.File("out")));
  EXPECT_EQ(run.status, 4);
  EXPECT_EQ(run.err,
            in + "/empty.zip: ZIP として読めません（0 バイトのファイルです）\n" + in +
                "/odd.zip の .xml: ファイル名が \".\" で始まるので、出力ファイル名を作れません\n" +
                in + "/odd.zip の ..\\..\\x.xml: 名前に .. があるので書き出せません\n" + in +
                "/sub/cut.xml: 167 行目: XML が途中で終わっています（expected '>'）\n" + kChiba +
                " の 12103-0400-76.xml: 出力 12103-0400-76.Sim "
                "は、この実行で先の入力が書き出しています\n");
  for (const char* line :
       {"a/dup.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、出力 a/dup.Sim\n",
        "b/dup.xml: 筆 1（除外 0）、筆界点 4、公共座標9系、出力 b/dup.Sim\n",
        "12103-0400-76.xml: 筆 1", "sub/46505-3411-1.xml: 筆 2", "合計: 地図XML 9（失敗 5）"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
  }
  for (const char* name : {"a/dup.Sim", "b/dup.MIF", "12103-0400-76.Sim", "sub/46505-3411-1.MID",
                           "sub/46505-3411-1.MIF"}) {
    EXPECT_TRUE(std::filesystem::exists(folder.File("out/") + name)) << name;
  }
  for (const char* name : {"sub/cut.Sim", ".Sim", "x.Sim"}) {
    EXPECT_FALSE(std::filesystem::exists(folder.File("out/") + name)) << name;
  }
  EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(folder.File("out")),
                          std::filesystem::recursive_directory_iterator()),
            4 * 3 + 3);  // four inputs' three files, and the folders a, b and sub
}

}  // namespace
}  // namespace parquill
