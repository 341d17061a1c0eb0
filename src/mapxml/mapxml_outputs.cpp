#include "mapxml/mapxml_outputs.h"

#include <array>
#include <bit>
#include <cctype>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "mapxml/mapxml_reader.h"
#include "mif/lot_mif_writer.h"
#include "sima/sima_writer.h"

namespace parquill::mapxml {
namespace {

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

// Each point's 点番名 where the file gives it to that point only; a name
// given to two points names neither, and a name with a comma, which would
// end the SIMA field, is not used.
std::vector<std::string_view> OwnNames(const MapXmlDocument& document) {
  std::vector<std::string_view> names(document.pointX.size());
  constexpr std::int64_t kShared = -1;
  std::unordered_map<std::string_view, std::int64_t> owner;
  for (const PointName& named : document.pointNames) {
    if (document.symbols.KindOf(named.point) != Kind::kPoint ||
        named.name.find(',') != std::string::npos) {
      continue;
    }
    const std::uint32_t k = document.symbols.IndexOf(named.point);
    auto [at, added] = owner.emplace(named.name, k);
    if (!added && at->second != k) at->second = kShared;
    if (names[k].empty()) names[k] = named.name;
  }
  for (std::string_view& name : names) {
    if (!name.empty() && owner[name] == kShared) name = {};
  }
  return names;
}

// Numbers the distinct points of the exterior rings in the order of first
// use: a point named by its id is one point wherever it is used; a position
// given in place is the same point wherever it is given alike.
class PointNumbering {
 public:
  PointNumbering(const MapXmlDocument& document, LotModel& model)
      : names_(OwnNames(document)), numberOfPoint_(document.pointX.size(), 0), model_(model) {}

  std::int32_t NumberOf(const RingPoint& point) {
    if (point.point >= 0) {
      std::int32_t& number = numberOfPoint_[static_cast<std::size_t>(point.point)];
      if (number == 0) number = Add(point, names_[static_cast<std::size_t>(point.point)]);
      return number;
    }
    const std::uint64_t key = std::bit_cast<std::uint64_t>(point.x) * 0x9E3779B97F4A7C15ULL ^
                              std::bit_cast<std::uint64_t>(point.y);
    std::vector<std::int32_t>& same = inPlace_[key];
    for (std::int32_t number : same) {
      const PlanePoint& known = model_.boundaryPoints[static_cast<std::size_t>(number - 1)].at;
      if (known.x == point.y && known.y == point.x) return number;
    }
    same.push_back(Add(point, {}));
    return same.back();
  }

  // A point without a name of its own is K + its number, unless the file
  // gives that name to another point: then it takes K + the first number past
  // the last point that no point of the file is named after.
  void NameTheUnnamed() {
    std::unordered_set<std::string_view> given;
    for (const BoundaryPoint& point : model_.boundaryPoints) {
      if (!point.name.empty()) given.insert(point.name);
    }
    std::size_t spare = model_.boundaryPoints.size();
    for (std::size_t k = 0; k < model_.boundaryPoints.size(); ++k) {
      std::string& name = model_.boundaryPoints[k].name;
      if (!name.empty() || !given.contains("K" + std::to_string(k + 1))) continue;
      do {
        name = "K" + std::to_string(++spare);
      } while (given.contains(name));
    }
  }

 private:
  std::int32_t Add(const RingPoint& point, std::string_view name) {
    model_.boundaryPoints.push_back({{point.y, point.x}, std::string(name)});  // east, north
    return static_cast<std::int32_t>(model_.boundaryPoints.size());
  }

  std::vector<std::string_view> names_;      // by point index
  std::vector<std::int32_t> numberOfPoint_;  // by point index; 0 before its first use
  std::unordered_map<std::uint64_t, std::vector<std::int32_t>> inPlace_;
  LotModel& model_;
};

// The prefectures by the first two digits of a municipality code (JIS X 0401).
constexpr std::string_view kPrefectures[] = {
    "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県",   "福島県", "茨城県",
    "栃木県", "群馬県", "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県",
    "石川県", "福井県", "山梨県", "長野県", "岐阜県", "静岡県",   "愛知県", "三重県",
    "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県", "鳥取県", "島根県",
    "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県",   "高知県", "福岡県",
    "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"};

}  // namespace

std::string MunicipalityOf(const MapXmlDocument& document) {
  const std::string& code = document.municipalityCode;
  const int prefecture = code.size() >= 2 && std::isdigit(static_cast<unsigned char>(code[0])) &&
                                 std::isdigit(static_cast<unsigned char>(code[1]))
                             ? (code[0] - '0') * 10 + (code[1] - '0')
                             : 0;
  return (prefecture >= 1 && prefecture <= 47 ? std::string(kPrefectures[prefecture - 1]) : "") +
         document.municipalityName;
}

LotModel MapXmlLotModel(const MapXmlDocument& document, const MapLots& lots) {
  LotModel model;
  for (const auto& [name, member] : kColumns) model.columns.push_back({std::string(name), 0});
  PointNumbering numbering(document, model);
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
        // The exterior ring's points are numbered, its closing point as its first.
        const bool numbered = r == 0 && i + 1 < ring.pointCount;
        model.pointNumbers.push_back(numbered ? numbering.NumberOf(point) : 0);
      }
      if (r == 0) model.pointNumbers.back() = model.pointNumbers[model.rings.back().firstPoint];
    }
  }
  numbering.NameTheUnnamed();
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
