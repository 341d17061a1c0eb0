// The lots of a 地図XML file to CAD: every DXF drawing written is checked by
// tests/mapxml/check_lot_dxf.py (ezdxf's audit, GDAL, the XML read with
// ElementTree and shapely: each lot number inside its own lot, the rings and
// points, the lots chosen and their neighbours by the vertices they share),
// then converted back by parquill-cli convert to the same SIMA lots.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "map_xml_text.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using namespace testing;

const std::string kSamples = std::string(PARQUILL_SOURCE_DIR) + "/tests/data/mapxml/";
const std::string kChecker = std::string(PARQUILL_SOURCE_DIR) + "/tests/mapxml/check_lot_dxf.py";

bool CheckerRuns(const TempFolder& folder) {
  return Installed("ogrinfo") &&
         RunCommand(folder, "/usr/bin/python3 -c 'import ezdxf, shapely'").status == 0;
}

// A lot 100 of 40 m × 40 m in 本町 with a 10 m hole off its middle, filled by
// lot 100-1 (written first); 101 shares 100's east side, 102 stands apart,
// and 新町 has a 100 of its own next to 102.
std::string EnclaveXml() {
  std::string spatial;
  const double corners[][2] = {{0, 0},    {40, 0},   {40, 40}, {0, 40},  {18, 18}, {28, 18},
                               {28, 28},  {18, 28},  {80, 0},  {80, 40}, {100, 0}, {110, 0},
                               {110, 10}, {100, 10}, {120, 0}, {120, 10}};
  for (std::size_t i = 0; i < std::size(corners); ++i) {
    // X north, Y east.
    spatial += GmPoint("P" + std::to_string(i + 1), corners[i][1], corners[i][0]);
  }
  spatial += GmCurve("C1", {"P1", "P2", "P3", "P4", "P1"}) +
             GmCurve("C2", {"P5", "P6", "P7", "P8", "P5"}) +
             GmCurve("C3", {"P2", "P9", "P10", "P3", "P2"}) +
             GmCurve("C4", {"P11", "P12", "P13", "P14", "P11"}) +
             GmCurve("C5", {"P12", "P15", "P16", "P13", "P12"});
  spatial += GmSurface("S1", {"C2"}) + GmSurface("S2", {"C1"}, {{"C2"}}) + GmSurface("S3", {"C3"}) +
             GmSurface("S4", {"C4"}) + GmSurface("S5", {"C5"});
  std::string shinmachi = Fude("100", "S5");
  shinmachi.replace(shinmachi.find("本町"), 6, "新町");
  std::string xml = MapXml(
      "任意座標系", spatial,
      Fude("100-1", "S1") + Fude("100", "S2") + Fude("101", "S3") + Fude("102", "S4") + shinmachi);
  return xml.replace(xml.find("<座標系>"), 0,
                     "<市区町村コード>13101</市区町村コード><市区町村名>千代田区</市区町村名>");
}

// Each lot of a SIMA file: its number, then each B01 point's number and
// A01 coordinates, as the file writes them.
std::vector<std::string> SimaRings(const std::string& path) {
  std::istringstream text(DecodeText(ReadBytes(path), TextEncoding::kCp932));
  std::map<std::string, std::string> at;
  std::vector<std::string> lots;
  for (std::string line; std::getline(text, line);) {
    std::vector<std::string> fields;
    std::istringstream split(line.substr(0, line.find('\r')));
    for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
    if (fields.size() > 4 && fields[0] == "A01") at[fields[1]] = fields[3] + " " + fields[4];
    if (fields.size() > 2 && fields[0] == "D00") lots.push_back(fields[2] + ":");
    if (fields.size() > 1 && fields[0] == "B01")
      lots.back() += " " + fields[1] + "@" + at[fields[1]];
  }
  return lots;
}

// The A01 points of a SIMA file by name: their coordinates.
std::map<std::string, std::string> SimaPointsByName(const std::string& path) {
  std::istringstream text(DecodeText(ReadBytes(path), TextEncoding::kCp932));
  std::map<std::string, std::string> points;
  for (std::string line; std::getline(text, line);) {
    std::vector<std::string> fields;
    std::istringstream split(line.substr(0, line.find('\r')));
    for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
    if (fields.size() > 4 && fields[0] == "A01") points[fields[2]] = fields[3] + " " + fields[4];
  }
  return points;
}

struct SiteCase {
  std::string input;         // in tests/data/mapxml, or "enclave.xml"
  std::string municipality;  // as the registry's terms name it
  std::string options;       // of mapxml and the checker alike
  bool convertsBack = true;  // every lot on 筆界 (none 地区外・別図)
};

TEST(SiteKit, DrawingsPassTheOutsideChecksAndConvertBack) {
  TempFolder folder;
  if (!CheckerRuns(folder)) GTEST_SKIP() << "python3-ezdxf, python3-shapely or gdal-bin missing";
  folder.Write("enclave.xml", EnclaveXml());
  const SiteCase cases[] = {
      {"01229-4500-1.zip", "北海道富良野市", ""},
      {"01229-4500-1.zip", "北海道富良野市", "--unit mm"},
      {"46505-3411-1.zip", "鹿児島県熊毛郡屋久島町", ""},
      {"46505-3411-1.zip", "鹿児島県熊毛郡屋久島町", "--include-outside", false},
      {"47213-3601-109.zip", "沖縄県うるま市", ""},
      {"12103-0400-76.zip", "千葉県千葉市稲毛区", "--unit mm"},
      {"enclave.xml", "東京都千代田区", ""},
      {"enclave.xml", "東京都千代田区", "--unit mm"},
      // Sites: a lot and its neighbours, the enclave's by its hole.
      {"01229-4500-1.zip", "北海道富良野市", "--chiban 2774 --neighbours"},
      {"01229-4500-1.zip", "北海道富良野市", "--chiban 2774 --chiban 2778"},
      {"enclave.xml", "東京都千代田区", "--chiban 100-1 --neighbours"},
      {"enclave.xml", "東京都千代田区", "--chiban 100 --oaza 本町 --neighbours"},
      {"enclave.xml", "東京都千代田区", "--chiban 100 --unit mm"},
  };
  for (const SiteCase& c : cases) {
    SCOPED_TRACE(c.input + " " + c.options);
    const std::string input =
        c.input == "enclave.xml" ? folder.File("enclave.xml") : kSamples + c.input;
    const std::string name = c.input.substr(0, c.input.find('.'));
    std::filesystem::remove_all(folder.File("out"));
    const CommandRun run =
        RunCli(folder, "mapxml " + Quoted(input) + " --format sima,dxf " + c.options +
                           " --output " + Quoted(folder.File("out")));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("out/" + name + ".MIF")));
    const std::string dxf = folder.File("out/" + name + ".DXF");
    const CommandRun check = RunCommand(
        folder, "/usr/bin/python3 " + Quoted(kChecker) + " " + Quoted(input) + " " + Quoted(dxf) +
                    " " + c.options + " --municipality " + Quoted(c.municipality));
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    if (!c.convertsBack) continue;
    const std::string unit = c.options.find("--unit mm") != std::string::npos ? " --unit mm" : "";
    const CommandRun back =
        RunCli(folder, "convert " + Quoted(dxf) + " --boundary 筆界 --text 地番 --output " +
                           Quoted(folder.File("out/back.Sim")) + unit);
    ASSERT_EQ(back.status, 0) << back.out << back.err;
    EXPECT_EQ(SimaRings(folder.File("out/back.Sim")),
              SimaRings(folder.File("out/" + name + ".Sim")));
  }
}

// A site's points keep the names they have in the whole file's SIMA file.
TEST(SiteKit, ASitesPointsKeepTheirNamesInTheWholeFile) {
  TempFolder folder;
  folder.Write("enclave.xml", EnclaveXml());
  for (const std::string& input :
       {kSamples + "01229-4500-1.zip", kSamples + "46505-3411-1.zip", folder.File("enclave.xml")}) {
    const std::string choice = input.find("01229") != std::string::npos   ? "2778 --neighbours"
                               : input.find("46505") != std::string::npos ? "2740-2"
                                                                          : "100-1 --neighbours";
    ASSERT_EQ(
        RunCli(folder, "mapxml " + Quoted(input) + " --output " + Quoted(folder.File("whole")))
            .status,
        0);
    ASSERT_EQ(RunCli(folder, "mapxml " + Quoted(input) + " --chiban " + choice + " --output " +
                                 Quoted(folder.File("site")))
                  .status,
              0);
    const std::string sima = std::filesystem::path(input).stem().string() + ".Sim";
    const auto whole = SimaPointsByName(folder.File("whole/" + sima));
    const auto site = SimaPointsByName(folder.File("site/" + sima));
    EXPECT_LT(site.size(), whole.size());
    for (const auto& [name, at] : site) {
      ASSERT_TRUE(whole.contains(name)) << name;
      EXPECT_EQ(whole.at(name), at) << name;
    }
  }
}

TEST(SiteKit, WrongChoicesWriteNothing) {
  TempFolder folder;
  const std::string enclave = folder.Write("enclave.xml", EnclaveXml());
  const std::string out = " --output " + Quoted(folder.File("out"));
  struct Case {
    std::string options;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"--chiban 100-2", 4, ": 地番 100-2 の筆はありません。近い地番: 100-1、100、102、101\n"},
      {"--chiban 101 --chiban 7 --format dxf", 4,
       ": 地番 7 の筆はありません。近い地番: 100、101、102、100-1\n"},
      {"--chiban 101 --oaza 新町", 4,
       ": 大字 新町 に地番 101 の筆はありません。近い地番: 101、100、102、100-1\n"},
      {"--format sima,dwg", 2, ""},
      {"--neighbours", 2, ""},
      {"--chiban 100 --unit cm", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const CommandRun run = RunCli(folder, "mapxml " + Quoted(enclave) + " " + c.options + out);
    EXPECT_EQ(run.status, c.status);
    if (c.status == 4) {
      EXPECT_EQ(run.err, enclave + c.err);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("out/enclave.Sim")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("out/enclave.DXF")));
  }
}

}  // namespace
}  // namespace parquill
