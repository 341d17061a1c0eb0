#include "mapxml/mapxml_outputs.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/text_codec.h"
#include "mapxml/mapxml_reader.h"
#include "mif/lot_mif_writer.h"
#include "sima/sima_writer.h"

namespace parquill::mapxml {
namespace {

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

// The prefectures by the first two digits of a municipality code (JIS X 0401).
constexpr std::string_view kPrefectures[] = {
    "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県",   "福島県", "茨城県",
    "栃木県", "群馬県", "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県",
    "石川県", "福井県", "山梨県", "長野県", "岐阜県", "静岡県",   "愛知県", "三重県",
    "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県", "鳥取県", "島根県",
    "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県",   "高知県", "福岡県",
    "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"};

// The municipality as the registry's terms name it: its prefecture, then its
// name ("鹿児島県熊毛郡屋久島町").
std::string MunicipalityOf(const MapXmlDocument& document) {
  const std::string& code = document.municipalityCode;
  const int prefecture = code.size() >= 2 && std::isdigit(static_cast<unsigned char>(code[0])) &&
                                 std::isdigit(static_cast<unsigned char>(code[1]))
                             ? (code[0] - '0') * 10 + (code[1] - '0')
                             : 0;
  return (prefecture >= 1 && prefecture <= 47 ? std::string(kPrefectures[prefecture - 1]) : "") +
         document.municipalityName;
}

}  // namespace

LotModel MapXmlLotModel(const MapXmlDocument& document, const MapLots& lots) {
  LotModel model;
  for (const auto& [name, member] : kColumns) model.columns.push_back({std::string(name), 0});
  for (const MapLot& lot : lots.lots) {
    model.AddLot();
    const LotAttributes& attributes = document.lots[lot.entry].attributes;
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      model.Value(model.lots.size() - 1, c) = attributes.*kColumns[c].second;
    }
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const LotRing& ring = lots.rings[lot.firstRing + r];
      model.AddRing();
      for (std::uint32_t i = 0; i < ring.pointCount; ++i) {
        const RingPoint& point = lots.points[ring.firstPoint + i];
        model.AddPoint({point.y, point.x});  // east, north
      }
    }
  }
  // The SIMA points: each distinct point of an exterior ring.
  SimaPoints points(document, lots);
  model.pointNumbers.assign(model.points.size(), 0);
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const LotModel::Ring& ring = model.ExteriorOf(l);
    std::size_t i = 0;
    for (auto it = points.RingBegin(l); it != points.RingEnd(l); ++it, ++i) {
      model.pointNumbers[ring.firstPoint + i] = *it;
    }
    // The closing point is the first.
    if (i > 0 && i < ring.pointCount) {
      model.pointNumbers[ring.firstPoint + i] = model.pointNumbers[ring.firstPoint];
    }
  }
  model.boundaryPoints.reserve(points.points().size());
  for (const SimaPoints::Point& point : points.points()) {
    model.boundaryPoints.push_back({{point.y, point.x}, std::string(point.name)});
  }
  return model;
}

OutputCounts WriteOutputs(const MapXmlDocument& document, const MapLots& lots,
                          const OutputFileNames& names, const MapXmlOptions& options,
                          const std::string& source) {
  LotModel model = MapXmlLotModel(document, lots);
  std::vector<std::size_t> chosen(lots.lots.size());
  for (std::size_t l = 0; l < chosen.size(); ++l) chosen[l] = l;
  if (!options.site.chibans.empty()) {
    const Outcome found = ChooseLots(model, options.site, chosen);
    if (!found.done()) {
      std::string text;
      for (const Message& message : found.messages)
        text += (text.empty() ? "" : " ") + message.text;
      throw MapXmlError(0, text);
    }
    model = SelectedLots(model, chosen);
  }
  LotFileChoices files;
  files.output = names.sima;
  files.formats = options.formats;
  files.swapXY = true;  // X north, Y east
  files.millimetres = options.millimetres;
  files.place = {PlaneZoneOf(document.coordinateSystem), options.datum, true};
  files.source = source;
  files.attribution = MunicipalityOf(document);
  WriteChosenLotFiles(model, files);
  OutputCounts counts;
  counts.lots = static_cast<int>(model.lots.size());
  counts.points = static_cast<int>(model.boundaryPoints.size());
  for (std::size_t l : chosen) counts.withHoles += lots.lots[l].hasHoles ? 1 : 0;
  return counts;
}

}  // namespace parquill::mapxml
