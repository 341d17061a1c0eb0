// The MIF file written with --zone lands where the lots are: GDAL reads it as
// the zone's transverse Mercator (on JGD2000 when asked) and puts the zone's origin, and
// the sample drawing's lots (zone 9), at their longitude and latitude.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/command_run.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::CommandRun;
using testing::RunCli;
using testing::RunCommand;
using testing::TempFolder;

// Converts `drawing` with --zone and returns the first point of the MIF
// file's first region in degrees, as ogr2ogr reprojects it.
std::pair<double, double> FirstPointInDegrees(const TempFolder& folder, const std::string& drawing,
                                              int zone, const std::string& datum = "jgd2011") {
  const std::string sima = folder.File("z" + std::to_string(zone) + ".Sim");
  const CommandRun run =
      RunCli(folder, "convert '" + drawing + "' --boundary 筆界 --text 地番 --zone " +
                         std::to_string(zone) + " --datum " + datum + " --output '" + sima + "'");
  const std::string mif = folder.File("z" + std::to_string(zone) + ".MIF");
  const std::string json =
      RunCommand(folder, "ogr2ogr -f GeoJSON -t_srs EPSG:4326 /vsistdout/ '" + mif + "'").out;
  const std::size_t at = json.find("[ [ [ ");
  if (at == std::string::npos) {
    ADD_FAILURE() << run.out << run.err << json;
    return {0, 0};
  }
  char* end = nullptr;
  const double lon = std::strtod(json.c_str() + at + 6, &end);
  const double lat = std::strtod(end + 1, nullptr);
  return {lon, lat};
}

TEST(PlaneZone, GdalPlacesTheZonesOriginAndTheSample) {
  if (!testing::Installed("ogr2ogr")) GTEST_SKIP() << "ogr2ogr (Debian gdal-bin) is not installed";
  TempFolder folder;
  using namespace testing;
  const Lines header = {"  9", "$ACADVER",
                        "  1", "AC1015",
                        "  0", "SECTION",
                        "  2", "TABLES",
                        "100", "AcDbLayerTableRecord",
                        "  2", Sjis("筆界"),
                        "100", "AcDbLayerTableRecord",
                        "  2", Sjis("地番"),
                        "  0", "ENDSEC"};
  const std::string atOrigin = folder.Write(
      "origin.dxf", Joined(header + Entities(LwPolyline(Sjis("筆界"), "1",
                                                        {{"0", "0"}, {"1", "0"}, {"0", "1"}}))));
  const std::pair<double, double> origins[] = {
      {129.5, 33},         {131, 33},           {132 + 1 / 6.0, 36}, {133.5, 33},
      {134 + 1 / 3.0, 36}, {136, 36},           {137 + 1 / 6.0, 36}, {138.5, 36},
      {139 + 5 / 6.0, 36}, {140 + 5 / 6.0, 40}, {140.25, 44},        {142.25, 44},
      {144.25, 44},        {142, 26},           {127.5, 26},         {124, 26},
      {131, 26},           {136, 20},           {154, 26},
  };
  for (int zone = 1; zone <= 19; ++zone) {
    const auto [lon, lat] = FirstPointInDegrees(folder, atOrigin, zone);
    EXPECT_NEAR(lon, origins[zone - 1].first, 1e-6) << zone << "系";
    EXPECT_NEAR(lat, origins[zone - 1].second, 1e-6) << zone << "系";
  }
  EXPECT_TRUE(testing::ReadBytes(folder.File("z9.MIF")).find("Projection 8, 104,") !=
              std::string::npos);  // JGD2011 unless asked otherwise
  FirstPointInDegrees(folder, atOrigin, 9, "jgd2000");
  const std::string info =
      RunCommand(folder, "ogrinfo -ro -so -al '" + folder.File("z9.MIF") + "'").out;
  EXPECT_NE(info.find("METHOD[\"Transverse Mercator\""), std::string::npos) << info;
  EXPECT_NE(info.find("DATUM[\"JGD2000\""), std::string::npos) << info;

  const std::string sample = folder.File("sample.dxf");
  std::filesystem::copy_file(std::string(PARQUILL_SOURCE_DIR) + "/examples/sample.dxf", sample);
  const auto [lon, lat] = FirstPointInDegrees(folder, sample, 9);
  EXPECT_NEAR(lon, 139.52, 0.01);
  EXPECT_NEAR(lat, 36.14, 0.01);
}

}  // namespace
}  // namespace parquill
