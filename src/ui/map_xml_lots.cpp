#include "ui/map_xml_lots.h"

#include <algorithm>
#include <new>

#include "base/runtime_error.h"
#include "mapxml/mapxml_inputs.h"
#include "mapxml/mapxml_lots.h"
#include "mapxml/mapxml_outputs.h"
#include "mapxml/mapxml_reader.h"

namespace parquill::ui {
namespace {

using mapxml::MapXmlError;

std::string FailureLine(const std::string& where, const MapXmlError& error) {
  std::string line = where + ": ";
  if (error.line() > 0) line += std::to_string(error.line()) + " 行目: ";
  return line + error.message();
}

// The middle of a ring's box: where its lot number is written.
PlanePoint BoxMiddle(const std::vector<PlanePoint>& ring) {
  auto [left, right] =
      std::minmax_element(ring.begin(), ring.end(), [](auto& a, auto& b) { return a.x < b.x; });
  auto [low, high] =
      std::minmax_element(ring.begin(), ring.end(), [](auto& a, auto& b) { return a.y < b.y; });
  return {(left->x + right->x) / 2, (low->y + high->y) / 2};
}

class LotCollector {
 public:
  LotCollector(MapXmlLots& read, const MapXmlMapLimits& limits) : read_(read), limits_(limits) {}

  void File(const std::string& where, const mapxml::ByteSource& source) {
    ++read_.files;
    try {
      const mapxml::MapXmlDocument document = mapxml::ReadMapXml(source);
      const mapxml::MapLots lots = mapxml::MakeLots(document, false);
      if (read_.coordinateSystem.empty()) read_.coordinateSystem = document.coordinateSystem;
      read_.leftOut += static_cast<int>(lots.leftOut.size());
      // The model first: should it fail, the map has none of the file's lots.
      SiteFile site;
      site.lots = std::make_shared<const LotModel>(mapxml::MapXmlLotModel(document, lots));
      site.source = where;
      site.attribution = mapxml::MunicipalityOf(document);
      // The files of a 地図XML file: X north and Y east, on its own zone.
      site.place = {mapxml::PlaneZoneOf(document.coordinateSystem), PlaneDatum::kJgd2011, true};
      site.swapXY = true;
      const auto file = static_cast<std::uint32_t>(read_.site.files.size());
      const std::size_t firstPlace = read_.site.ofRegion.size();
      read_.site.files.push_back(std::move(site));
      for (std::size_t k = 0; k < lots.lots.size(); ++k) {
        if (Add(document, lots, lots.lots[k])) {
          read_.site.ofRegion.push_back({file, static_cast<std::uint32_t>(k)});
        }
      }
      // A file the map shows none of is not kept for the site tools either.
      if (read_.site.ofRegion.size() == firstPlace) read_.site.files.pop_back();
    } catch (const MapXmlError& error) {
      read_.failures.push_back(FailureLine(where, error));
    } catch (const RuntimeError& error) {
      read_.failures.push_back(FailureLine(where, MapXmlError(0, error.description())));
    } catch (const std::bad_alloc&) {
      read_.failures.push_back(FailureLine(where, MapXmlError(0, "メモリが足りません")));
    }
  }

 private:
  // False when the lot is not shown.
  bool Add(const mapxml::MapXmlDocument& document, const mapxml::MapLots& lots,
           const mapxml::MapLot& lot) {
    if (lot.ringCount == 0) return false;
    const mapxml::LotRing& exterior = lots.rings[lot.firstRing];
    if (read_.lots.regions.size() >= limits_.lots ||
        points_ + exterior.pointCount > limits_.points) {
      ++read_.lotsLeftOut;
      return false;
    }
    ReportRegion region;
    region.number = static_cast<int>(read_.lots.regions.size()) + 1;
    region.outcome = RegionOutcome::kNumbered;
    region.chiban = document.lots[lot.entry].attributes.chiban;
    region.ring.reserve(exterior.pointCount);
    for (std::uint32_t k = 0; k < exterior.pointCount; ++k) {
      const mapxml::RingPoint& point = lots.points[exterior.firstPoint + k];
      region.ring.push_back({point.y, point.x});  // the map's x is the east, its y the north
    }
    if (region.ring.empty()) return false;
    points_ += region.ring.size();
    region.label = BoxMiddle(region.ring);
    read_.lots.regions.push_back(std::move(region));
    return true;
  }

  MapXmlLots& read_;
  const MapXmlMapLimits& limits_;
  std::size_t points_ = 0;
};

}  // namespace

MapXmlLots ReadMapXmlLots(const std::string& path, const std::atomic<bool>& cancel,
                          const MapXmlMapLimits& limits) {
  MapXmlLots read;
  LotCollector collector(read, limits);
  const mapxml::MapXmlInputVisitor visitor{
      [&](const std::string& where, const std::string&, const mapxml::ByteSource& source) {
        if (cancel.load()) {
          read.cancelled = true;
          return;
        }
        collector.File(where, source);
      },
      [&](const std::string& where, const MapXmlError& error) {
        ++read.files;
        read.failures.push_back(FailureLine(where, error));
      }};
  try {
    mapxml::VisitMapXmlInput(path, visitor);
  } catch (const MapXmlError& error) {
    read.failures.push_back(FailureLine(path, error));
  } catch (const RuntimeError& error) {
    read.failures.push_back(FailureLine(path, MapXmlError(0, error.description())));
  } catch (const std::bad_alloc&) {
    read.failures.push_back(FailureLine(path, MapXmlError(0, "メモリが足りません")));
  }
  read.lots.complete = read.failures.empty() && read.lotsLeftOut == 0;
  return read;
}

bool IsMapXmlFileName(const std::string& fileName) {
  auto endsWith = [&fileName](std::string_view suffix) {
    if (fileName.size() < suffix.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), fileName.rbegin(), [](char a, char b) {
      return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
    });
  };
  return endsWith(".xml") || endsWith(".zip");
}

}  // namespace parquill::ui
