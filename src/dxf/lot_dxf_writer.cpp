#include "dxf/lot_dxf_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>
#include <string_view>
#include <vector>

#include "base/text_file_writer.h"
#include "geometry/lot_label_places.h"
#include "geometry/ring_area.h"

namespace parquill {
namespace {

// Heights in metres: a lot number's at most, and at least however small its
// lot; a point name's, set beside its point by its offset.
constexpr double kLargestChibanHeight = 2.0;
constexpr double kSmallestChibanHeight = 0.05;
constexpr double kPointNameHeight = 0.3;
constexpr double kPointNameOffset = 0.15;
// The tables, blocks and objects take the handles below the entities'.
constexpr unsigned kFirstEntityHandle = 0x100;

// Group pairs into the file, the code right-aligned in three characters as
// AutoCAD writes it; lengths and coordinates in the drawing's unit.
class GroupWriter {
 public:
  GroupWriter(TextFileWriter& file, double scale) : file_(file), scale_(scale) {}

  void Ascii(int code, std::string_view value) {
    CodeLine(code);
    file_.WriteAsciiLine(value);
  }
  void Text(int code, std::string_view value) {
    CodeLine(code);
    file_.WriteLine(value);
  }
  void Number(int code, double value) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value + 0.0).ptr;
    Ascii(code, std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  void Length(int code, double metres) { Number(code, metres * scale_); }
  void Point(int code, PlanePoint at) {
    Length(code, at.x);
    Length(code + 10, at.y);
    Ascii(code + 20, "0");
  }
  void Handle(int code, unsigned handle) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, handle, 16).ptr;
    std::transform(digits, end, digits, [](char c) { return c >= 'a' ? c - 'a' + 'A' : c; });
    Ascii(code, std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  unsigned NewHandle() { return nextHandle_++; }
  void StartEntities() { nextHandle_ = kFirstEntityHandle; }

  // A symbol table: its name, handle, subclasses and number of records.
  unsigned Table(std::string_view name, double records, std::string_view subclass = {}) {
    const unsigned handle = NewHandle();
    Ascii(0, "TABLE");
    Ascii(2, name);
    Handle(5, handle);
    Ascii(330, "0");
    Ascii(100, "AcDbSymbolTable");
    if (!subclass.empty()) Ascii(100, subclass);
    Number(70, records);
    return handle;
  }
  // A record of a table: its type, handle, owner and subclasses.
  unsigned Record(std::string_view type, unsigned table, std::string_view subclass,
                  int handleCode = 5) {
    const unsigned handle = NewHandle();
    Ascii(0, type);
    Handle(handleCode, handle);
    Handle(330, table);
    Ascii(100, "AcDbSymbolTableRecord");
    Ascii(100, subclass);
    return handle;
  }
  // An entity of the model space on `layer`, its subclass after.
  void Entity(std::string_view type, std::string_view layer, std::string_view subclass) {
    Ascii(0, type);
    Handle(5, NewHandle());
    Handle(330, modelSpace);
    Ascii(100, "AcDbEntity");
    Text(8, layer);
    Ascii(100, subclass);
  }

  unsigned modelSpace = 0;

 private:
  void CodeLine(int code) {
    char line[8] = {' ', ' ', ' '};
    char* start = code < 10 ? line + 2 : code < 100 ? line + 1 : line;
    const auto end = std::to_chars(start, line + sizeof line, code).ptr;
    file_.WriteAsciiLine(std::string_view(line, static_cast<std::size_t>(end - line)));
  }

  TextFileWriter& file_;
  double scale_;
  unsigned nextHandle_ = 1;
};

struct LayerEntry {
  const char* name;
  int colour;
};
constexpr LayerEntry kLayers[] = {{"0", 7},          {kBoundaryLayer, 7},      {kHoleLayer, 5},
                                  {kChibanLayer, 1}, {kBoundaryPointLayer, 3}, {kPointNameLayer, 3},
                                  {kOutsideLayer, 8}};

// How wide a text is in heights: full-width characters one, others a half.
double WidthInHeights(std::string_view text) {
  double width = 0;
  for (unsigned char c : text) {
    if (c < 0x80) width += 0.5;
    if (c >= 0xC0) width += 1;  // the first byte of a UTF-8 character
  }
  return std::max(width, 0.5);
}

void WriteTables(GroupWriter& out, PlanePoint low, PlanePoint high) {
  out.Ascii(0, "SECTION");
  out.Ascii(2, "TABLES");
  unsigned table = out.Table("VPORT", 1);
  out.Record("VPORT", table, "AcDbViewportTableRecord");
  out.Ascii(2, "*Active");
  out.Ascii(70, "0");
  const double width = std::max(high.x - low.x, 1.0);
  const double height = std::max(high.y - low.y, 1.0);
  for (const auto& [code, value] : std::initializer_list<std::pair<int, double>>{{10, 0},
                                                                                 {20, 0},
                                                                                 {11, 1},
                                                                                 {21, 1},
                                                                                 {13, 0},
                                                                                 {23, 0},
                                                                                 {14, 1},
                                                                                 {24, 1},
                                                                                 {15, 0},
                                                                                 {25, 0},
                                                                                 {16, 0},
                                                                                 {26, 0},
                                                                                 {36, 1},
                                                                                 {17, 0},
                                                                                 {27, 0},
                                                                                 {37, 0}}) {
    out.Number(code, value);
  }
  out.Length(12, (low.x + high.x) / 2);
  out.Length(22, (low.y + high.y) / 2);
  out.Length(40, height * 1.1);
  out.Number(41, std::max(width / height, 1.0));
  for (const auto& [code, value] : std::initializer_list<std::pair<int, double>>{{42, 50},
                                                                                 {43, 0},
                                                                                 {44, 0},
                                                                                 {50, 0},
                                                                                 {51, 0},
                                                                                 {71, 0},
                                                                                 {72, 100},
                                                                                 {73, 1},
                                                                                 {74, 3},
                                                                                 {75, 0},
                                                                                 {76, 0},
                                                                                 {77, 0},
                                                                                 {78, 0}}) {
    out.Number(code, value);
  }
  out.Ascii(0, "ENDTAB");

  table = out.Table("LTYPE", 3);
  for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
    out.Record("LTYPE", table, "AcDbLinetypeTableRecord");
    out.Ascii(2, name);
    out.Ascii(70, "0");
    out.Ascii(3, std::string_view(name) == "Continuous" ? "Solid line" : "");
    out.Ascii(72, "65");
    out.Ascii(73, "0");
    out.Ascii(40, "0.0");
  }
  out.Ascii(0, "ENDTAB");

  table = out.Table("LAYER", std::size(kLayers));
  for (const LayerEntry& layer : kLayers) {
    out.Record("LAYER", table, "AcDbLayerTableRecord");
    out.Text(2, layer.name);
    out.Ascii(70, "0");
    out.Number(62, layer.colour);
    out.Ascii(6, "Continuous");
    out.Ascii(370, "-3");
    out.Ascii(390, "0");
  }
  out.Ascii(0, "ENDTAB");

  table = out.Table("STYLE", 1);
  out.Record("STYLE", table, "AcDbTextStyleTableRecord");
  out.Ascii(2, "Standard");
  out.Ascii(70, "0");
  out.Ascii(40, "0.0");
  out.Ascii(41, "1.0");
  out.Ascii(50, "0.0");
  out.Ascii(71, "0");
  out.Ascii(42, "2.5");
  out.Ascii(3, "msgothic.ttc");
  out.Ascii(4, "");
  out.Ascii(0, "ENDTAB");

  for (const char* empty : {"VIEW", "UCS"}) {
    out.Table(empty, 0);
    out.Ascii(0, "ENDTAB");
  }

  table = out.Table("APPID", 1);
  out.Record("APPID", table, "AcDbRegAppTableRecord");
  out.Ascii(2, "ACAD");
  out.Ascii(70, "0");
  out.Ascii(0, "ENDTAB");

  table = out.Table("DIMSTYLE", 1, "AcDbDimStyleTable");
  out.Record("DIMSTYLE", table, "AcDbDimStyleTableRecord", 105);
  out.Ascii(2, "Standard");
  out.Ascii(70, "0");
  out.Ascii(0, "ENDTAB");

  table = out.Table("BLOCK_RECORD", 2);
  unsigned records[2] = {};
  for (unsigned& record : records) {
    record = out.Record("BLOCK_RECORD", table, "AcDbBlockTableRecord");
    out.Ascii(2, &record == records ? "*Model_Space" : "*Paper_Space");
  }
  out.Ascii(0, "ENDTAB");
  out.Ascii(0, "ENDSEC");
  out.modelSpace = records[0];

  out.Ascii(0, "SECTION");
  out.Ascii(2, "BLOCKS");
  for (unsigned record : records) {
    const char* name = record == records[0] ? "*Model_Space" : "*Paper_Space";
    out.Ascii(0, "BLOCK");
    out.Handle(5, out.NewHandle());
    out.Handle(330, record);
    out.Ascii(100, "AcDbEntity");
    out.Ascii(8, "0");
    out.Ascii(100, "AcDbBlockBegin");
    out.Ascii(2, name);
    out.Ascii(70, "0");
    out.Point(10, {0, 0});
    out.Ascii(3, name);
    out.Ascii(1, "");
    out.Ascii(0, "ENDBLK");
    out.Handle(5, out.NewHandle());
    out.Handle(330, record);
    out.Ascii(100, "AcDbEntity");
    out.Ascii(8, "0");
    out.Ascii(100, "AcDbBlockEnd");
  }
  out.Ascii(0, "ENDSEC");
}

void WriteRing(GroupWriter& out, const LotModel& lots, const LotModel::Ring& ring,
               const char* layer) {
  // A closed polyline lists its closing point once.
  std::uint32_t count = ring.pointCount;
  const PlanePoint* points = lots.points.data() + ring.firstPoint;
  if (count > 1 && points[0] == points[count - 1]) --count;
  out.Entity("LWPOLYLINE", layer, "AcDbPolyline");
  out.Number(90, count);
  out.Ascii(70, "1");
  out.Ascii(43, "0");
  for (std::uint32_t i = 0; i < count; ++i) {
    out.Length(10, points[i].x);
    out.Length(20, points[i].y);
  }
}

// A text at `at`: middle-centred on it (the insertion point the same as the
// alignment point), or from it to the right on its baseline.
void WriteText(GroupWriter& out, const char* layer, std::string_view text, PlanePoint at,
               double height, bool centred) {
  out.Entity("TEXT", layer, "AcDbText");
  out.Point(10, at);
  out.Length(40, height);
  out.Text(1, text);
  if (centred) {
    out.Ascii(72, "1");
    out.Point(11, at);
  }
  out.Ascii(100, "AcDbText");
  if (centred) out.Ascii(73, "2");
}

}  // namespace

void WriteLotsDxf(TextFileWriter& dxf, const LotModel& lots, const LotDxfChoices& choices) {
  GroupWriter out(dxf, choices.millimetres ? 1000 : 1);
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  PlanePoint low{kInfinity, kInfinity};
  PlanePoint high{-kInfinity, -kInfinity};
  for (const PlanePoint& point : lots.points) {
    low = {std::min(low.x, point.x), std::min(low.y, point.y)};
    high = {std::max(high.x, point.x), std::max(high.y, point.y)};
  }
  if (lots.points.empty()) low = high = {0, 0};
  std::size_t entities = lots.rings.size() + 2 * lots.boundaryPoints.size();
  for (std::size_t l = 0; l < lots.lots.size(); ++l) entities += !lots.Chiban(l).empty();

  out.Text(999, "Parquill " PARQUILL_VERSION " で作成: " + choices.source);
  if (!choices.attribution.empty()) {
    out.Text(999,
             "出典：「登記所備付地図データ " + choices.attribution + "」（法務省）を加工して作成");
  }
  out.Ascii(0, "SECTION");
  out.Ascii(2, "HEADER");
  out.Ascii(9, "$ACADVER");
  out.Ascii(1, "AC1015");
  out.Ascii(9, "$DWGCODEPAGE");
  out.Ascii(3, "ANSI_932");
  out.Ascii(9, "$INSBASE");
  out.Point(10, {0, 0});
  out.Ascii(9, "$EXTMIN");
  out.Point(10, low);
  out.Ascii(9, "$EXTMAX");
  out.Point(10, high);
  out.Ascii(9, "$INSUNITS");
  out.Ascii(70, choices.millimetres ? "4" : "6");
  out.Ascii(9, "$MEASUREMENT");
  out.Ascii(70, "1");
  out.Ascii(9, "$HANDSEED");
  out.Handle(5, kFirstEntityHandle + static_cast<unsigned>(entities) + 2);
  out.Ascii(0, "ENDSEC");
  out.Ascii(0, "SECTION");
  out.Ascii(2, "CLASSES");
  out.Ascii(0, "ENDSEC");
  WriteTables(out, low, high);
  const unsigned objects = out.NewHandle();  // the named object dictionary and its groups'
  const unsigned groups = out.NewHandle();

  out.StartEntities();
  out.Ascii(0, "SECTION");
  out.Ascii(2, "ENTITIES");
  std::vector<double> areas(lots.lots.size());
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Lot& lot = lots.lots[l];
    const bool outside = IsOutsideLot(lots.Chiban(l));
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const LotModel::Ring& ring = lots.rings[lot.firstRing + r];
      WriteRing(out, lots, ring, outside ? kOutsideLayer : r == 0 ? kBoundaryLayer : kHoleLayer);
    }
    const LotModel::Ring& exterior = lots.ExteriorOf(l);
    ShoelaceSum area;
    for (std::uint32_t i = 0; i < exterior.pointCount; ++i) {
      area.Add(lots.points[exterior.firstPoint + i].x, lots.points[exterior.firstPoint + i].y);
    }
    areas[l] = area.Area();
  }
  // The largest lots' numbers first: a lot's before those of its enclaves.
  std::vector<std::size_t> order(lots.lots.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return areas[a] > areas[b]; });
  const std::vector<LotLabelPlace> places = LotLabelPlaces(lots);
  for (std::size_t l : order) {
    const std::string& chiban = lots.Chiban(l);
    if (chiban.empty()) continue;
    const double fits = 2 * places[l].radius / std::hypot(WidthInHeights(chiban), 1) * 0.9;
    WriteText(out, IsOutsideLot(chiban) ? kOutsideLayer : kChibanLayer, chiban, places[l].centre,
              std::clamp(fits, kSmallestChibanHeight, kLargestChibanHeight), true);
  }
  for (std::size_t k = 0; k < lots.boundaryPoints.size(); ++k) {
    const BoundaryPoint& point = lots.boundaryPoints[k];
    out.Entity("POINT", kBoundaryPointLayer, "AcDbPoint");
    out.Point(10, point.at);
    WriteText(out, kPointNameLayer, point.name.empty() ? "K" + std::to_string(k + 1) : point.name,
              {point.at.x + kPointNameOffset, point.at.y + kPointNameOffset}, kPointNameHeight,
              false);
  }
  out.Ascii(0, "ENDSEC");

  out.Ascii(0, "SECTION");
  out.Ascii(2, "OBJECTS");
  out.Ascii(0, "DICTIONARY");
  out.Handle(5, objects);
  out.Ascii(330, "0");
  out.Ascii(100, "AcDbDictionary");
  out.Ascii(281, "1");
  out.Ascii(3, "ACAD_GROUP");
  out.Handle(350, groups);
  out.Ascii(0, "DICTIONARY");
  out.Handle(5, groups);
  out.Handle(330, objects);
  out.Ascii(100, "AcDbDictionary");
  out.Ascii(281, "1");
  out.Ascii(0, "ENDSEC");
  out.Ascii(0, "EOF");
}

}  // namespace parquill
