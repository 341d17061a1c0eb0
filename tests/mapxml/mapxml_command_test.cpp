// parquill-cli mapxml on the two registry files (tests/data/mapxml): the
// summary lines, GDAL reading the MIF files, the SIMA files read back by a
// reader of their own here, areas, and a batch that goes on past broken files.
#include <gtest/gtest.h>

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
