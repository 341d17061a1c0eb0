#include "mapxml/mapxml_outputs.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/text_codec.h"
#include "base/text_file_writer.h"
#include "mif/mif_format.h"
#include "sima/kokudo_records.h"

namespace parquill::mapxml {
namespace {

enum ClosureCode : std::int16_t { kClosed = 1 };

// The SIMA points of the lots: each distinct point of an exterior ring, in
// order of first use, and each ring's points by number.
class SimaPoints {
 public:
  SimaPoints(const MapXmlDocument& document, const MapLots& lots);

  struct Point {
    double x;
    double y;
    std::string_view name;  // its 点番名 or the name made for it; empty for K + number
  };
  const std::vector<Point>& points() const { return points_; }
  // The numbers of lot l's exterior ring, closing point left out.
  std::vector<int>::const_iterator RingBegin(std::size_t l) const {
    return numbers_.begin() + static_cast<std::ptrdiff_t>(firstNumber_[l]);
  }
  std::vector<int>::const_iterator RingEnd(std::size_t l) const {
    return numbers_.begin() + static_cast<std::ptrdiff_t>(firstNumber_[l + 1]);
  }

 private:
  int NumberOf(const RingPoint& point);
  void NameTheUnnamed();

  std::deque<std::string> fallbackNames_;     // the names made for points whose K + number is taken
  std::vector<std::string_view> uniqueName_;  // by point index; empty without a name of its own
  std::vector<int> numberOfPoint_;            // by point index; 0 before its first use
  std::unordered_map<std::uint64_t, std::vector<int>> inPlace_;  // positions given in place
  std::vector<Point> points_;
  std::vector<int> numbers_;
  std::vector<std::size_t> firstNumber_;
};

SimaPoints::SimaPoints(const MapXmlDocument& document, const MapLots& lots)
    : uniqueName_(document.pointX.size()), numberOfPoint_(document.pointX.size(), 0) {
  // A name given to two points names neither.
  constexpr std::int64_t kShared = -1;
  std::unordered_map<std::string_view, std::int64_t> owner;
  for (const PointName& named : document.pointNames) {
    // A comma would end the SIMA field: such a name is not used.
    if (document.symbols.KindOf(named.point) != Kind::kPoint ||
        named.name.find(',') != std::string::npos) {
      continue;
    }
    const std::uint32_t k = document.symbols.IndexOf(named.point);
    auto [at, added] = owner.emplace(named.name, k);
    if (!added && at->second != k) at->second = kShared;
    if (uniqueName_[k].empty()) uniqueName_[k] = named.name;
  }
  for (std::string_view& name : uniqueName_) {
    if (!name.empty() && owner[name] == kShared) name = {};
  }
  for (const MapLot& lot : lots.lots) {
    firstNumber_.push_back(numbers_.size());
    const LotRing& ring = lots.rings[lot.firstRing];
    for (std::uint32_t i = 0; i + 1 < ring.pointCount; ++i) {
      numbers_.push_back(NumberOf(lots.points[ring.firstPoint + i]));
    }
  }
  firstNumber_.push_back(numbers_.size());
  NameTheUnnamed();
}

// A point without a name of its own is K + its number, unless the file gives
// that name to another point: then it takes K + the first number past the
// last point that no point of the file is named after.
void SimaPoints::NameTheUnnamed() {
  std::unordered_set<std::string_view> given;
  for (const Point& point : points_) {
    if (!point.name.empty()) given.insert(point.name);
  }
  std::size_t spare = points_.size();
  for (std::size_t k = 0; k < points_.size(); ++k) {
    if (!points_[k].name.empty()) continue;
    std::string name = "K" + std::to_string(k + 1);
    if (!given.contains(name)) continue;
    do {
      name = "K" + std::to_string(++spare);
    } while (given.contains(name));
    points_[k].name = fallbackNames_.emplace_back(std::move(name));
  }
}

int SimaPoints::NumberOf(const RingPoint& point) {
  if (point.point >= 0) {
    int& number = numberOfPoint_[static_cast<std::size_t>(point.point)];
    if (number == 0) {
      points_.push_back({point.x, point.y, uniqueName_[static_cast<std::size_t>(point.point)]});
      number = static_cast<int>(points_.size());
    }
    return number;
  }
  // A position given in place is the same point wherever it is given alike.
  const std::uint64_t key = std::bit_cast<std::uint64_t>(point.x) * 0x9E3779B97F4A7C15ULL ^
                            std::bit_cast<std::uint64_t>(point.y);
  std::vector<int>& same = inPlace_[key];
  for (int number : same) {
    const Point& known = points_[static_cast<std::size_t>(number - 1)];
    if (known.x == point.x && known.y == point.y) return number;
  }
  points_.push_back({point.x, point.y, {}});
  same.push_back(static_cast<int>(points_.size()));
  return static_cast<int>(points_.size());
}

void WriteSima(TextFileWriter& sima, const MapXmlDocument& document, const MapLots& lots,
               const SimaPoints& points) {
  sima.WriteLine(kokudo::SimaG00());
  sima.WriteLine(kokudo::SimaZ00("SIMA共通フォーマットデータ"));
  sima.WriteLine(kokudo::SimaZ00("座標点数:" + std::to_string(points.points().size()) +
                                 " 筆個数:" + std::to_string(lots.lots.size())));
  sima.WriteLine(kokudo::SimaZ00("座標"));
  sima.WriteLine(kokudo::SimaTag("A00"));
  std::string line;  // reused for every record
  int number = 0;
  for (const SimaPoints::Point& point : points.points()) {
    line.clear();
    kokudo::AppendSimaA01(line, ++number, point.name, point.x, point.y);
    sima.WriteLine(line);
  }
  sima.WriteAsciiLine(kokudo::SimaTag("A99"));
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const std::string chiban =
        kokudo::SimaChiban(document.lots[lots.lots[l].entry].attributes.chiban);
    sima.WriteLine(kokudo::SimaZ00("筆 " + chiban));
    sima.WriteLine(kokudo::SimaD00(static_cast<int>(l + 1), chiban, kClosed));
    for (auto it = points.RingBegin(l); it != points.RingEnd(l); ++it) {
      line.clear();
      kokudo::AppendSimaB01(line, *it, points.points()[static_cast<std::size_t>(*it - 1)].name);
      sima.WriteLine(line);
    }
    sima.WriteAsciiLine(kokudo::SimaTag("D99"));
  }
}

// The MID columns after ID, each with its MIF name.
constexpr std::array<std::pair<std::string_view, std::string LotAttributes::*>, 7> kColumns = {{
    {"Chiban", &LotAttributes::chiban},
    {"Oaza", &LotAttributes::oaza},
    {"Chome", &LotAttributes::chome},
    {"Koaza", &LotAttributes::koaza},
    {"Yobi", &LotAttributes::yobi},
    {"Accuracy", &LotAttributes::accuracy},
    {"CoordType", &LotAttributes::coordinateType},
}};

void WriteMifAndMid(TextFileWriter& mif, TextFileWriter& mid, const MapXmlDocument& document,
                    const MapLots& lots, int zone, PlaneDatum datum) {
  // Each character column as wide as its longest value in CP932 bytes.
  std::array<std::size_t, kColumns.size()> widths{};
  widths.fill(1);
  for (const MapLot& lot : lots.lots) {
    const LotAttributes& attributes = document.lots[lot.entry].attributes;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      const std::string& value = attributes.*kColumns[c].second;
      const std::size_t width =
          IsAscii(value) ? value.size() : EncodeText(value, TextEncoding::kCp932).size();
      widths[c] = std::max(widths[c], width);
    }
  }
  for (std::size_t i = 0; i < 3; ++i)
    mif.WriteLine(kMifHeaderLines[i]);  // version, charset, delimiter
  mif.WriteLine(MapXmlCoordinateSystemLine(zone, datum, lots));
  mif.WriteLine("Columns " + std::to_string(kColumns.size() + 1));
  mif.WriteLine("   ID Integer");
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    mif.WriteLine("   " + std::string(kColumns[c].first) + " Char(" + std::to_string(widths[c]) +
                  ")");
  }
  mif.WriteLine("Data");

  std::string line;
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const MapLot& lot = lots.lots[l];
    mif.WriteAsciiLine("Region " + std::to_string(lot.ringCount));
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const LotRing& ring = lots.rings[lot.firstRing + r];
      mif.WriteAsciiLine(MifPointCountLine(static_cast<int>(ring.pointCount)));
      for (std::uint32_t i = 0; i < ring.pointCount; ++i) {
        const RingPoint& point = lots.points[ring.firstPoint + i];
        char* room = mif.AsciiLineRoom(kMifPointLineRoom);
        mif.EndAsciiLine(WriteMifPointLine(room, point.y, point.x));  // east, north
      }
    }
    line.assign(std::to_string(l + 1));
    const LotAttributes& attributes = document.lots[lot.entry].attributes;
    for (const auto& column : kColumns) {
      line.append(",\"");
      for (char c : attributes.*column.second) {
        if (c == '"') line.push_back('"');
        line.push_back(c);
      }
      line.push_back('"');
    }
    mid.WriteLine(line);
  }
}

}  // namespace

std::string MapXmlCoordinateSystemLine(int zone, PlaneDatum datum, const MapLots& lots) {
  if (IsPlaneZone(zone)) return MifCoordinateSystemLine(zone, datum);
  double west = 0, south = 0, east = 0, north = 0;
  for (std::size_t i = 0; i < lots.points.size(); ++i) {
    const RingPoint& point = lots.points[i];
    if (i == 0) {
      west = east = point.y;
      south = north = point.x;
    }
    west = std::min(west, point.y);
    east = std::max(east, point.y);
    south = std::min(south, point.x);
    north = std::max(north, point.x);
  }
  // A margin of a metre around the lots, on whole metres.
  auto bound = [](double v, double margin) { return FormatMifCoordinate(std::floor(v + margin)); };
  return "CoordSys NonEarth Units \"m\" Bounds (" + bound(west, -1) + ", " + bound(south, -1) +
         ") (" + bound(east, 2) + ", " + bound(north, 2) + ")";
}

OutputCounts WriteOutputs(const MapXmlDocument& document, const MapLots& lots,
                          const OutputFileNames& names, int zone, PlaneDatum datum) {
  const SimaPoints points(document, lots);
  TextFileWriter sima(names.sima, TextEncoding::kCp932);
  TextFileWriter mif(names.mif, TextEncoding::kCp932);
  TextFileWriter mid(names.mid, TextEncoding::kCp932);
  WriteSima(sima, document, lots, points);
  WriteMifAndMid(mif, mid, document, lots, zone, datum);
  sima.Close();
  mif.Close();
  mid.Close();
  OutputCounts counts;
  counts.lots = static_cast<int>(lots.lots.size());
  counts.points = static_cast<int>(points.points().size());
  for (const MapLot& lot : lots.lots) counts.withHoles += lot.hasHoles ? 1 : 0;
  return counts;
}

}  // namespace parquill::mapxml
