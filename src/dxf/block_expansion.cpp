#include "dxf/block_expansion.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace parquill {
namespace {

// An affine placement: x' = a x + b y + c, y' = d x + e y + f.
struct Placement {
  double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;

  PlanePoint operator()(PlanePoint p) const {
    return {a * p.x + b * p.y + c, d * p.x + e * p.y + f};
  }
  PlanePoint Turned(PlanePoint v) const { return {a * v.x + b * v.y, d * v.x + e * v.y}; }
  // This placement after `inner`.
  Placement After(const Placement& in) const {
    return {a * in.a + b * in.d, a * in.b + b * in.e, a * in.c + b * in.f + c,
            d * in.a + e * in.d, d * in.b + e * in.e, d * in.c + e * in.f + f};
  }
  bool Mirrors() const { return a * e - b * d < 0; }
  double Angle(double degrees) const {
    const double r = degrees * std::numbers::pi / 180;
    const PlanePoint v = Turned({std::cos(r), std::sin(r)});
    return std::atan2(v.y, v.x) * 180 / std::numbers::pi;
  }
};

// Where one cell of an INSERT puts its block's entities.
Placement OfInsert(const DxfEntity& insert, PlanePoint base, int column, int row) {
  const double turn = insert.angle * std::numbers::pi / 180;
  const double cs = std::cos(turn), sn = std::sin(turn);
  const double ox = column * insert.columnSpacing - insert.scaleX * base.x;
  const double oy = row * insert.rowSpacing - insert.scaleY * base.y;
  return {cs * insert.scaleX, -sn * insert.scaleY, insert.point.x + cs * ox - sn * oy,
          sn * insert.scaleX, cs * insert.scaleY,  insert.point.y + sn * ox + cs * oy};
}

void Place(DxfEntity& e, const Placement& p) {
  const bool mirrors = p.Mirrors();
  e.point = p(e.point);
  e.second = p(e.second);
  for (DxfEntity::Vertex& v : e.vertices) {
    const PlanePoint q = p({v.x, v.y});
    v = {q.x, q.y, mirrors ? -v.bulge : v.bulge};
  }
  if (mirrors) {
    e.bulge = -e.bulge;
    e.mirrored = !e.mirrored;
  }
  e.size *= std::sqrt(std::fabs(p.a * p.e - p.b * p.d));
  if (e.direction.x != 1 || e.direction.y != 0) e.direction = p.Turned(e.direction);
  const double start = p.Angle(e.angle), end = p.Angle(e.endAngle);
  // A mirrored arc runs the other way round.
  e.angle = mirrors && e.type == "ARC" ? end : start;
  e.endAngle = mirrors && e.type == "ARC" ? start : end;
}

struct Block {
  PlanePoint base;
  std::vector<DxfEntity> entities;
  bool placing = false;  // its entities are being placed
};

class BlockPlacer {
 public:
  BlockPlacer(const std::function<bool(const DxfEntity&)>& onEntity, AskewCounts* askew)
      : onEntity_(onEntity), askew_(askew) {}

  bool Take(const DxfEntity& e) {
    const bool frame = e.type == "BLOCK" || e.type == "ENDBLK";
    if (!e.inBlock) return frame || Hand(e, Placement{}, nullptr, 0);
    if (e.type == "BLOCK") {
      open_ = &blocks_[e.name];
      *open_ = {e.point, {}, false};
    } else if (e.type == "ENDBLK") {
      open_ = nullptr;
    } else if (open_ != nullptr && !frame) {
      open_->entities.push_back(e);
    }
    return true;
  }

 private:
  // Hands on one entity placed by `p` (at `depth` blocks down); an INSERT's
  // block entities, cell by cell. False once `onEntity_` stops the reading.
  bool Hand(const DxfEntity& e, const Placement& p, const std::string* insertLayer, int depth) {
    if (depth > 0 && ++placed_ > kMostPlacedEntities) return true;
    DxfEntity placed = e;
    placed.inBlock = false;
    placed.fromBlock = depth > 0;
    if (insertLayer != nullptr && placed.layer == "0") placed.layer = *insertLayer;
    if (e.askew) {
      if (askew_ != nullptr) ++(*askew_)[placed.layer];
      return true;
    }
    if (depth > 0) Place(placed, p);
    if (e.type != "INSERT") return onEntity_(placed);
    // A block placed within itself (a broken drawing) places nothing more.
    const auto block = blocks_.find(e.name);
    if (depth == kMostBlockLevels || block == blocks_.end() || block->second.entities.empty() ||
        block->second.placing)
      return true;
    block->second.placing = true;
    const int columns = std::clamp(e.flags, 1, 32767), rows = std::clamp(e.attachment, 1, 32767);
    for (int column = 0; column < columns; ++column) {
      for (int row = 0; row < rows && placed_ <= kMostPlacedEntities; ++row) {
        const Placement cell = p.After(OfInsert(e, block->second.base, column, row));
        for (const DxfEntity& inner : block->second.entities) {
          if (!Hand(inner, cell, &placed.layer, depth + 1)) return false;
        }
      }
    }
    block->second.placing = false;
    return true;
  }

  const std::function<bool(const DxfEntity&)>& onEntity_;
  AskewCounts* askew_;
  std::map<std::string, Block> blocks_;
  Block* open_ = nullptr;
  std::size_t placed_ = 0;
};

}  // namespace

bool ReadDxfEntitiesWithBlocks(const std::string& path,
                               const std::function<bool(std::string_view type)>& wanted,
                               const std::function<bool(const DxfEntity&)>& onEntity,
                               double unitsPerMetre, AskewCounts* askew) {
  BlockPlacer placer(onEntity, askew);
  return ReadDxfEntities(
      path,
      [&](std::string_view type) {
        return type == "INSERT" || type == "BLOCK" || type == "ENDBLK" || wanted(type);
      },
      [&](const DxfEntity& e) { return placer.Take(e); }, unitsPerMetre, true, askew);
}

}  // namespace parquill
