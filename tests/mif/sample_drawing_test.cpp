// The bundled sample drawing through both readers: its twelve lots on the
// boundary layer 筆界 and their lot numbers on 地番.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "convert/region_build_step.h"
#include "dxf/chiban_text_reader.h"
#include "geometry/point_in_polygon.h"
#include "support/temp_folder.h"

namespace parquill {
namespace {

using testing::TempFolder;

const std::string kSample = PARQUILL_SOURCE_DIR "/examples/sample.dxf";
const std::vector<std::string> kSampleLayers = {"すべて", "0",      "筆界", "地番",
                                                "道路",   "等高線", "注記", "図枠"};

LayerSelection Selecting(const std::string& layer) {
  LayerSelection selection;
  selection.items = kSampleLayers;
  selection.selected.assign(kSampleLayers.size(), false);
  for (std::size_t i = 0; i < kSampleLayers.size(); ++i) {
    if (kSampleLayers[i] == layer) {
      selection.selected[i] = true;
      selection.listIndex = static_cast<int>(i);
    }
  }
  return selection;
}

// The lots' grid: the south-west corner, the column widths, the row heights.
constexpr double kX0 = -28410.250, kY0 = 15730.500;
constexpr double kWidths[] = {18.250, 21.500, 16.750, 19.000};
constexpr double kHeights[] = {24.000, 22.500, 26.125};
const char* const kChibans[] = {"123-4", "123-5", "124", "125-1", "一丁目5-6", "一丁目5-7",
                                "126",   "127-2", "128", "129-3", "130",       "131"};

struct Ring {
  std::vector<double> x, y;
};

// The regions of a MIF file, read as the later steps read them.
std::vector<Ring> Regions(const std::string& mif) {
  std::vector<Ring> rings;
  std::size_t at = 0;
  auto next = [&](std::string& line) {
    std::size_t end = mif.find("\r\n", at);
    if (end == std::string::npos) return false;
    line = mif.substr(at, end - at);
    at = end + 2;
    return true;
  };
  std::string line;
  while (next(line)) {
    if (line != "REGION 1") continue;
    next(line);
    int count = std::stoi(line);
    Ring ring;
    for (int k = 0; k < count && next(line); ++k) {
      ring.x.push_back(std::stod(line.substr(0, line.find(' '))));
      ring.y.push_back(std::stod(line.substr(line.find(' ') + 1)));
    }
    rings.push_back(ring);
  }
  return rings;
}

std::string BuildSampleMif(const TempFolder& folder, RegionBuildSummary& summary) {
  ConversionChoices choices;
  choices.drawing = kSample;
  choices.output = folder.File("sample.Sim");
  choices.boundary = Selecting("筆界");
  Outcome outcome = BuildRegions(choices, &summary);
  EXPECT_TRUE(outcome.done()) << (outcome.messages.empty() ? "" : outcome.messages[0].text);
  return folder.File("sample.MIF");
}

TEST(SampleDrawing, TwelveRegionsOnTheBoundaryLayer) {
  TempFolder folder;
  RegionBuildSummary summary;
  std::vector<Ring> rings = Regions(testing::ReadBytes(BuildSampleMif(folder, summary)));
  EXPECT_EQ(summary.regionsWritten, 12);
  ASSERT_EQ(rings.size(), 12u);
  // The first lot: the grid's south-west rectangle, closed by its first point.
  EXPECT_EQ(rings[0].x, (std::vector<double>{-28410.25, -28392.0, -28392.0, -28410.25, -28410.25}));
  EXPECT_EQ(rings[0].y, (std::vector<double>{15730.5, 15730.5, 15754.5, 15754.5, 15730.5}));
  for (const Ring& ring : rings) {
    EXPECT_EQ(ring.x.front(), ring.x.back());
    EXPECT_EQ(ring.y.front(), ring.y.back());
  }
}

TEST(SampleDrawing, TwelveChibansInsideTheirLots) {
  ChibanTextRead read = ReadChibanTexts(kSample, Selecting("地番"), TextEncoding::kCp932);
  ASSERT_FALSE(read.failed);
  ASSERT_TRUE(read.messages.empty());
  ASSERT_EQ(read.texts.size(), 12u);

  TempFolder folder;
  RegionBuildSummary summary;
  std::vector<Ring> rings = Regions(testing::ReadBytes(BuildSampleMif(folder, summary)));
  ASSERT_EQ(rings.size(), 12u);

  for (int k = 0; k < 12; ++k) {
    int row = k / 4, col = k % 4;
    double x1 = kX0, y1 = kY0;
    for (int c = 0; c < col; ++c) x1 += kWidths[c];
    for (int r = 0; r < row; ++r) y1 += kHeights[r];
    double cx = x1 + kWidths[col] / 2, cy = y1 + kHeights[row] / 2;
    bool mtext = k % 3 == 2;
    const ChibanText& text = read.texts[k];
    EXPECT_EQ(text.text, kChibans[k]) << k;
    EXPECT_DOUBLE_EQ(text.x, cx - 3) << k;
    EXPECT_DOUBLE_EQ(text.y, mtext ? cy + 1 : cy - 1) << k;
    const Ring& ring = rings[k];
    EXPECT_LT(InPolygon(static_cast<std::int16_t>(ring.x.size()), ring.x.data(), ring.y.data(),
                        text.x, text.y),
              0)
        << "lot " << k + 1 << " holds its number";
  }
  EXPECT_EQ(read.texts[2].text, "124") << "the MTEXT {\\H2.5;124}";
}

TEST(SampleDrawing, GdalReadsTheMifFile) {
  if (std::system("command -v ogrinfo >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "ogrinfo (GDAL) is not installed; the MIF file is not checked by GDAL";
  }
  TempFolder folder;
  RegionBuildSummary summary;
  std::string mif = BuildSampleMif(folder, summary);
  std::string mid;
  for (int k = 1; k <= 12; ++k) mid += std::to_string(k) + ",\r\n";
  folder.Write("sample.MID", mid);

  std::string command = "ogrinfo -ro -al -so '" + mif + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  ::pclose(pipe);
  EXPECT_NE(output.find("Feature Count: 12"), std::string::npos) << output;
}

}  // namespace
}  // namespace parquill
