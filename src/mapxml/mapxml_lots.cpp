#include "mapxml/mapxml_lots.h"

#include <string>

#include "mapxml/mapxml_error.h"
#include "mapxml/mapxml_limits.h"

namespace parquill::mapxml {
namespace {

class LotMaker {
 public:
  LotMaker(const MapXmlDocument& document, MapLots& lots) : document_(document), lots_(lots) {}

  void Make(std::uint32_t entry);

 private:
  [[noreturn]] void Unnamed(Symbol symbol, const char* what, std::uint64_t line) const {
    throw MapXmlError(line, std::string(what) + " idref=\"" +
                                std::string(document_.symbols.IdOf(symbol)) +
                                "\" の指すものがありません");
  }
  bool AppendRing(const RingOfCurves& ring, std::uint64_t line);
  void AppendCurve(Symbol symbol, bool reversed, int chain, std::uint64_t line);
  void AppendPoint(const RingPoint& point);

  const MapXmlDocument& document_;
  MapLots& lots_;
  std::uint32_t ringStart_ = 0;
};

void LotMaker::Make(std::uint32_t entry) {
  const LotEntry& lot = document_.lots[entry];
  if (lot.shape == kNoSymbol) {
    throw MapXmlError(lot.line, "筆 " + lot.attributes.chiban + " に形状がありません");
  }
  if (document_.symbols.KindOf(lot.shape) != Kind::kSurface) Unnamed(lot.shape, "形状", lot.line);
  const Surface& surface = document_.surfaces[document_.symbols.IndexOf(lot.shape)];
  MapLot made{entry, static_cast<std::uint32_t>(lots_.rings.size()), 0, false};
  // The exterior rings first, then the holes.
  for (bool exterior : {true, false}) {
    for (std::uint32_t r = 0; r < surface.ringCount; ++r) {
      const RingOfCurves& ring = document_.rings[surface.firstRing + r];
      if (ring.exterior != exterior) continue;
      if (!AppendRing(ring, surface.line)) continue;
      ++made.ringCount;
      made.hasHoles = made.hasHoles || !exterior;
    }
  }
  if (made.ringCount == 0 || !lots_.rings[made.firstRing].exterior) {
    throw MapXmlError(surface.line,
                      "筆 " + lot.attributes.chiban + " の形状に閉じた外周がありません");
  }
  lots_.lots.push_back(made);
}

// Adds a ring closed; false (nothing added) for a ring of fewer than three
// points, which bounds nothing.
bool LotMaker::AppendRing(const RingOfCurves& ring, std::uint64_t line) {
  ringStart_ = static_cast<std::uint32_t>(lots_.points.size());
  for (std::uint32_t c = 0; c < ring.curveCount; ++c) {
    AppendCurve(document_.ringCurves[ring.firstCurve + c], false, 0, line);
  }
  const auto end = static_cast<std::uint32_t>(lots_.points.size());
  if (end > ringStart_) {
    const RingPoint first = lots_.points[ringStart_];
    AppendPoint(first);  // closed, unless it was already
  }
  const auto count = static_cast<std::uint32_t>(lots_.points.size()) - ringStart_;
  if (count < 4) {
    lots_.points.resize(ringStart_);
    return false;
  }
  lots_.rings.push_back({ringStart_, count, ring.exterior});
  return true;
}

// The points of a curve, last to first when reversed; a curve that is an
// orientation of another takes that one's points.
void LotMaker::AppendCurve(Symbol symbol, bool reversed, int chain, std::uint64_t line) {
  if (document_.symbols.KindOf(symbol) != Kind::kCurve) Unnamed(symbol, "曲線", line);
  const Curve& curve = document_.curves[document_.symbols.IndexOf(symbol)];
  reversed = reversed != curve.reversed;
  if (curve.vertexCount == 0 && curve.primitive != kNoSymbol) {
    if (chain == kLongestCurveChain) throw MapXmlError(curve.line, "曲線の参照が長すぎます");
    AppendCurve(curve.primitive, reversed, chain + 1, curve.line);
    return;
  }
  for (std::uint32_t i = 0; i < curve.vertexCount; ++i) {
    const Vertex& vertex =
        document_.vertices[curve.firstVertex + (reversed ? curve.vertexCount - 1 - i : i)];
    if (vertex.point == kNoSymbol) {
      AppendPoint({vertex.x, vertex.y, -1});
      continue;
    }
    if (document_.symbols.KindOf(vertex.point) != Kind::kPoint) {
      Unnamed(vertex.point, "点", curve.line);
    }
    const std::uint32_t k = document_.symbols.IndexOf(vertex.point);
    AppendPoint({document_.pointX[k], document_.pointY[k], static_cast<std::int32_t>(k)});
  }
}

// Adds a point to the ring being made, unless it repeats the one before (the
// joint of two curves).
void LotMaker::AppendPoint(const RingPoint& point) {
  if (lots_.points.size() > ringStart_) {
    const RingPoint& last = lots_.points.back();
    if (last.x == point.x && last.y == point.y) return;
  }
  lots_.points.push_back(point);
}

}  // namespace

MapLots MakeLots(const MapXmlDocument& document, bool includeOutside) {
  MapLots lots;
  LotMaker maker(document, lots);
  for (std::uint32_t entry = 0; entry < document.lots.size(); ++entry) {
    if (!includeOutside && IsOutsideLot(document.lots[entry].attributes.chiban)) {
      lots.leftOut.push_back(entry);
    } else {
      maker.Make(entry);
    }
  }
  return lots;
}

}  // namespace parquill::mapxml
