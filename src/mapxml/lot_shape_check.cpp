#include "mapxml/lot_shape_check.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "geometry/ring_area.h"

namespace parquill::mapxml {
namespace {

using Ring = std::span<const RingPoint>;  // closed: the last point repeats the first

// The sign of the turn from a to b to c: > 0 to the left, < 0 to the right, 0 on one line.
double Turn(const RingPoint& a, const RingPoint& b, const RingPoint& c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool Same(const RingPoint& a, const RingPoint& b) { return a.x == b.x && a.y == b.y; }

// Whether p, on the line through a and b, lies between them (ends included).
bool Within(const RingPoint& a, const RingPoint& b, const RingPoint& p) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// Whether sides ab and cd meet anywhere but at an end they share.
bool Cross(const RingPoint& a, const RingPoint& b, const RingPoint& c, const RingPoint& d) {
  const double abc = Turn(a, b, c), abd = Turn(a, b, d);
  const double cda = Turn(c, d, a), cdb = Turn(c, d, b);
  if (((abc > 0 && abd < 0) || (abc < 0 && abd > 0)) &&
      ((cda > 0 && cdb < 0) || (cda < 0 && cdb > 0))) {
    return true;  // a proper crossing
  }
  if (abc == 0 && abd == 0) {
    // On one line: they run along each other unless they only share an end.
    const int ends = (Within(a, b, c) ? 1 : 0) + (Within(a, b, d) ? 1 : 0) +
                     (Within(c, d, a) ? 1 : 0) + (Within(c, d, b) ? 1 : 0);
    const bool shareEnd = Same(a, c) || Same(a, d) || Same(b, c) || Same(b, d);
    return ends > (shareEnd ? 2 : 0);
  }
  // An end of one side on the other, short of that side's ends.
  auto touches = [](const RingPoint& p, const RingPoint& q, const RingPoint& end, double turn) {
    return turn == 0 && Within(p, q, end) && !Same(p, end) && !Same(q, end);
  };
  return touches(a, b, c, abc) || touches(a, b, d, abd) || touches(c, d, a, cda) ||
         touches(c, d, b, cdb);
}

// Whether two sides of the ring cross: the sides by their west ends, each
// compared with those whose span east to west overlaps its own.
bool CrossesItself(Ring ring) {
  const std::size_t sides = ring.size() - 1;
  std::vector<std::uint32_t> order(sides);
  for (std::uint32_t i = 0; i < sides; ++i) order[i] = i;
  auto west = [&](std::uint32_t i) { return std::min(ring[i].y, ring[i + 1].y); };
  auto east = [&](std::uint32_t i) { return std::max(ring[i].y, ring[i + 1].y); };
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return west(a) < west(b); });
  for (std::size_t k = 0; k < sides; ++k) {
    const std::uint32_t i = order[k];
    for (std::size_t m = k + 1; m < sides && west(order[m]) <= east(i); ++m) {
      const std::uint32_t j = order[m];
      const std::uint32_t low = std::min(i, j), high = std::max(i, j);
      const bool neighbours = high == low + 1 || (low == 0 && high == sides - 1);
      if (neighbours) {
        // Sides that follow each other share a point b; they meet elsewhere
        // only when the ring folds back along itself there.
        const std::uint32_t first = high == low + 1 ? low : high;
        const RingPoint& a = ring[first];
        const RingPoint& b = ring[first + 1];
        const RingPoint& c = first + 2 <= sides ? ring[first + 2] : ring[1];
        const double along = (a.x - b.x) * (c.x - b.x) + (a.y - b.y) * (c.y - b.y);
        if (Turn(a, b, c) == 0 && along > 0) return true;
        continue;
      }
      if (Cross(ring[i], ring[i + 1], ring[j], ring[j + 1])) return true;
    }
  }
  return false;
}

// Whether every point of the ring lies on one line: no triangle of the
// first point, the one farthest from it and any other bounds kLeastRingArea.
bool OnOneLine(Ring ring) {
  const RingPoint& first = ring[0];
  auto distance = [&](const RingPoint& p) {
    return (p.x - first.x) * (p.x - first.x) + (p.y - first.y) * (p.y - first.y);
  };
  const RingPoint& farthest = *std::max_element(
      ring.begin(), ring.end(),
      [&](const RingPoint& a, const RingPoint& b) { return distance(a) < distance(b); });
  return std::all_of(ring.begin(), ring.end(), [&](const RingPoint& p) {
    return std::abs(Turn(first, farthest, p)) < 2 * kLeastRingArea;
  });
}

// < 0 inside the ring, 0 on it, > 0 outside.
int SideOf(Ring ring, const RingPoint& p) {
  bool inside = false;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
    const RingPoint& a = ring[i];
    const RingPoint& b = ring[i + 1];
    if (Turn(a, b, p) == 0 && Within(a, b, p)) return 0;
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
      inside = !inside;
    }
  }
  return inside ? -1 : 1;
}

}  // namespace

LotShapeFault FindShapeFault(const MapLots& lots, const MapLot& lot) {
  auto ringOf = [&](std::uint32_t r) {
    const LotRing& ring = lots.rings[lot.firstRing + r];
    return Ring(lots.points.data() + ring.firstPoint, ring.pointCount);
  };
  for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
    const bool exterior = lots.rings[lot.firstRing + r].exterior;
    // A bow tie's two halves cancel: it crosses itself, and encloses no
    // area only when all its points lie on one line.
    const bool flat = RingArea(ringOf(r)) < kLeastRingArea;
    if (CrossesItself(ringOf(r))) {
      return {flat && OnOneLine(ringOf(r)) ? ShapeFault::kNoArea : ShapeFault::kCrossing, exterior};
    }
    if (flat) return {ShapeFault::kNoArea, exterior};
  }
  for (std::uint32_t h = 0; h < lot.ringCount; ++h) {
    if (lots.rings[lot.firstRing + h].exterior) continue;
    for (const RingPoint& point : ringOf(h)) {
      bool within = false;
      for (std::uint32_t r = 0; r < lot.ringCount && !within; ++r) {
        within = lots.rings[lot.firstRing + r].exterior && SideOf(ringOf(r), point) <= 0;
      }
      if (!within) return {ShapeFault::kHoleOutside, false};
    }
  }
  return {};
}

}  // namespace parquill::mapxml
