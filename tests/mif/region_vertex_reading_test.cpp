#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "mif/region_builder.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

namespace parquill {
namespace {

using testing::TempFolder;

// What one run of the region builder gave: its outcome, summary and MIF file.
struct BuildRun {
  OutcomeKind kind = OutcomeKind::kDone;
  int errorNumber = 0;
  std::vector<Message> messages;
  int regionsWritten = 0;
  std::vector<OpenPolyline> openPolylines;
  std::string mif;
  bool operator==(const BuildRun&) const = default;
};

BuildRun Build(const TempFolder& folder, const std::string& drawing) {
  RegionBuildRequest request;
  request.dxfPath = folder.Write("lots.dxf", drawing);
  request.outputName = folder.File("lots.Sim");
  request.selection.items = {"すべて", "筆界"};
  request.selection.selected = {false, true};
  request.selection.listIndex = 1;
  RegionBuildSummary summary;
  const Outcome outcome = BuildRegions(request, &summary);
  return {outcome.kind,          outcome.errorNumber,
          outcome.messages,      summary.regionsWritten,
          summary.openPolylines, testing::ReadBytes(folder.File("lots.MIF"))};
}

// A coordinate as drawings write it, now and then of another shape.
std::string RandomCoordinate(std::mt19937& random) {
  const char* odd[] = {"-0", "-0.00000", "+5", ".5", "5.", " 1.5", "1e3", "", "1234567890.123456"};
  if (random() % 30 == 0) return odd[random() % std::size(odd)];
  std::string text = random() % 2 ? "-" : "";
  text += std::to_string(random() % 100000);
  text += '.';
  const int decimals = static_cast<int>(random() % 7);
  for (int i = 0; i < decimals; ++i) text.push_back(static_cast<char>('0' + random() % 10));
  return text;
}

// A drawing of lots on 筆界 (and other layers), its lines ended at random by
// CR LF, CR or LF; `overfull` lets rings of 1001 vertices in.
std::string RandomDrawing(std::mt19937& random, int polylines, bool overfull) {
  const char* ends[] = {"\r\n", "\r\n", "\r", "\n"};
  std::string bytes;
  auto line = [&](const std::string& text) { bytes += text + ends[random() % 4]; };
  for (const char* text : {"  0", "SECTION", "  2", "ENTITIES"}) line(text);
  for (int p = 0; p < polylines; ++p) {
    const int vertices =
        overfull && random() % 10 == 0 ? 1001 : 1 + static_cast<int>(random() % 30);
    for (const char* text : {"  0", "LWPOLYLINE", "  5", "2F", "100", "AcDbEntity", "  8"}) {
      line(text);
    }
    line(testing::Sjis(random() % 5 == 0 ? "道路" : "筆界"));
    line("100");
    line("AcDbPolyline");
    line(" 90");
    line(std::to_string(vertices));
    line(" 70");
    line(random() % 2 ? "1" : "0");
    std::string firstX;
    std::string firstY;
    for (int v = 0; v < vertices; ++v) {
      std::string xText = RandomCoordinate(random);
      std::string yText = RandomCoordinate(random);
      if (v == 0) firstX = xText, firstY = yText;
      if (v == vertices - 1 && random() % 2) xText = firstX, yText = firstY;  // a closed ring
      line(" 10");
      line(xText);
      if (random() % 25 != 0) {  // now and then a 10 without its 20
        line(" 20");
        line(yText);
      }
      if (random() % 20 == 0) {
        line(random() % 2 ? " 42" : " 91");
        line("0.5");
      }
    }
  }
  for (const char* text : {"  0", "ENDSEC", "  0", "EOF"}) line(text);
  return bytes;
}

// The same drawing with its code lines " 10" and " 20" written "10" and
// "20", which the region builder reads a group pair at a time.
std::string WithUnpaddedVertexCodes(const std::string& drawing) {
  std::string bytes;
  std::size_t start = 0;
  while (start < drawing.size()) {
    std::size_t stop = drawing.find_first_of("\r\n", start);
    if (stop == std::string::npos) stop = drawing.size();
    const std::string_view line(drawing.data() + start, stop - start);
    bytes += line == " 10" ? "10" : line == " 20" ? "20" : std::string(line);
    std::size_t next = stop;
    if (next < drawing.size()) next += drawing.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    bytes.append(drawing, stop, next - stop);
    start = next;
  }
  return bytes;
}

// The same MIF bytes, outcome and summary as from the same drawing read a
// group pair at a time: closed and open rings, odd values, 10s without 20s,
// other groups, rings of 1001 vertices (error 9), every line end, drawings
// cut anywhere (error 62 mostly).
TEST(RegionVertexReading, SameRegionsAsGroupPairByGroupPair) {
  TempFolder folder;
  std::mt19937 random(41);
  int regions = 0;
  int overfull = 0;
  for (int drawing = 0; drawing < 40; ++drawing) {
    const int polylines = drawing % 8 == 0 ? 600 : 1 + drawing % 7;
    std::string usual = RandomDrawing(random, polylines, drawing % 5 == 4);
    if (drawing % 2 == 1) usual.resize(random() % usual.size());
    const std::string other = WithUnpaddedVertexCodes(usual);
    SCOPED_TRACE(::testing::Message() << "drawing " << drawing);
    const BuildRun run = Build(folder, usual);
    EXPECT_EQ(run, Build(folder, other));
    regions += run.regionsWritten;
    if (run.errorNumber == 9) ++overfull;
  }
  EXPECT_GT(regions, 1000);
  EXPECT_GT(overfull, 0);
}

}  // namespace
}  // namespace parquill
