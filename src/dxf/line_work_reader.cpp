// The reading of drawings of lots drawn as lines, on the drawing's entities:
// by group codes alone (R12 drawings have no subclass markers).
#include "dxf/line_work_reader.h"

#include <cmath>
#include <map>
#include <new>
#include <numbers>
#include <set>

#include "base/runtime_error.h"
#include "dxf/block_expansion.h"
#include "dxf/dxf_entities.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_reading.h"
#include "dxf/layer_selection_check.h"
#include "geometry/arc_chords.h"

namespace parquill {
namespace {

constexpr const char* kRefusalTitle = "境界線";

// The layers an entity is taken from, each name decoded once.
class LayerFilter {
 public:
  LayerFilter(std::set<std::string> names, TextEncoding encoding)
      : names_(std::move(names)), all_(names_.count(kAllLayersItem) > 0), encoding_(encoding) {}

  bool Takes(const std::string& bytes) {
    auto known = cache_.find(bytes);
    if (known == cache_.end()) {
      known =
          cache_.emplace(bytes, all_ || names_.count(DecodeDxfText(bytes, encoding_)) > 0).first;
    }
    return known->second;
  }

 private:
  std::set<std::string> names_;
  bool all_;
  TextEncoding encoding_;
  std::map<std::string, bool> cache_;
};

// A mesh is drawn as a POLYLINE but is no line.
bool IsMesh(const DxfEntity& e) { return e.type == "POLYLINE" && (e.flags & (16 | 64)) != 0; }

// Turns the boundary entities into runs of points.
class LineWork {
 public:
  LineWork(std::size_t mostSegments, LineWorkDrawing& drawing)
      : mostSegments_(mostSegments), drawing_(drawing) {}

  // False once the drawing is refused.
  bool Take(const DxfEntity& e) {
    if (e.badLine != 0) {
      return Refuse("図面の " + std::to_string(e.badLine) +
                    " 行目の座標が、数でないか大きすぎます（絶対値 1e9 まで）。");
    }
    if (e.type == "LINE") {
      ++drawing_.lineEntities;
      if (Room(1)) AddLine({e.point, e.second});
    } else if (e.type == "ARC") {
      AddArc(e);
    } else if (IsMesh(e)) {
      // 3D meshes and polyface meshes are no lines.
    } else {
      AddPolyline(e.vertices, (e.flags & 1) != 0);
    }
    return !drawing_.refusal;
  }

 private:
  bool Refuse(std::string text) {
    drawing_.refusal = Message{std::move(text), kRefusalTitle};
    return false;
  }

  // Counts the segments of a line to come; false (and the refusal) past the most.
  bool Room(std::size_t segments) {
    drawing_.segments += segments;
    if (segments > mostSegments_ || drawing_.segments > mostSegments_) {
      return Refuse("境界線の線分が " + std::to_string(mostSegments_) +
                    " 本を超えています（円弧は弦に分けて数えます）。");
    }
    return true;
  }

  void AddLine(std::vector<PlanePoint> points) {
    if (points.size() >= 2) drawing_.lines.push_back(std::move(points));
  }

  void AddPolyline(const std::vector<DxfEntity::Vertex>& vertices, bool closed) {
    const std::size_t n = vertices.size();
    if (n < 2) return;
    const std::size_t segments = closed ? n : n - 1;
    std::size_t chords = 0;
    for (std::size_t i = 0; i < segments; ++i) {
      const DxfEntity::Vertex& a = vertices[i];
      const DxfEntity::Vertex& b = vertices[(i + 1) % n];
      chords += BulgeChordCount({a.x, a.y}, {b.x, b.y}, a.bulge);
      if (a.bulge != 0) ++drawing_.arcsChorded;
    }
    if (!Room(chords)) return;
    std::vector<PlanePoint> points{{vertices[0].x, vertices[0].y}};
    points.reserve(chords + 1);
    for (std::size_t i = 0; i < segments; ++i) {
      const DxfEntity::Vertex& a = vertices[i];
      const DxfEntity::Vertex& b = vertices[(i + 1) % n];
      AppendBulgeChords(points, {a.x, a.y}, {b.x, b.y}, a.bulge);
    }
    AddLine(std::move(points));
  }

  void AddArc(const DxfEntity& e) {
    const double radius = e.size;
    if (!(radius > 0)) return;
    // Counter-clockwise from the start angle to the end angle, in degrees;
    // equal angles make a whole circle.
    double sweep = std::fmod(e.endAngle - e.angle, 360.0);
    if (sweep <= 0) sweep += 360;
    const double start = e.angle * std::numbers::pi / 180;
    sweep *= std::numbers::pi / 180;
    if (!Room(ChordCount(radius, sweep))) return;
    ++drawing_.arcsChorded;
    const PlanePoint c = e.point;
    std::vector<PlanePoint> points{
        {c.x + radius * std::cos(start), c.y + radius * std::sin(start)}};
    AppendArcChords(points, c.x, c.y, radius, start, sweep);
    AddLine(std::move(points));
  }

  std::size_t mostSegments_;
  LineWorkDrawing& drawing_;
};

bool IsLineWork(std::string_view type) {
  return type == "LINE" || type == "LWPOLYLINE" || type == "POLYLINE" || type == "ARC";
}

bool IsText(std::string_view type) { return type == "TEXT" || type == "MTEXT" || type == "ATTRIB"; }

// Reads the entities, with the blocks' placed or not.
bool ReadEntities(const std::string& path, bool withBlocks,
                  const std::function<bool(std::string_view type)>& wanted,
                  const std::function<bool(const DxfEntity&)>& onEntity, double unitsPerMetre,
                  AskewCounts* askew) {
  return withBlocks ? ReadDxfEntitiesWithBlocks(path, wanted, onEntity, unitsPerMetre, askew)
                    : ReadDxfEntities(path, wanted, onEntity, unitsPerMetre, false, askew);
}

}  // namespace

LineWorkDrawing ReadLineWork(const std::string& dxfPath, const std::vector<std::string>& boundary,
                             DxfReading reading, bool withBlocks, std::size_t mostSegments) {
  LineWorkDrawing drawing;
  LayerFilter layers({boundary.begin(), boundary.end()}, reading.encoding);
  LineWork work(mostSegments, drawing);
  AskewCounts askew;
  ReadEntities(
      dxfPath, withBlocks, IsLineWork,
      [&](const DxfEntity& e) { return !layers.Takes(e.layer) || work.Take(e); },
      reading.unitsPerMetre, &askew);
  for (const auto& [layer, count] : askew) {
    if (layers.Takes(layer)) drawing.askew[DecodeDxfText(layer, reading.encoding)] += count;
  }
  return drawing;
}

std::map<std::string, LayerEntityCounts> CountLinesAndInserts(
    const std::string& dxfPath, const std::vector<std::string>& layers, DxfReading reading) {
  std::map<std::string, LayerEntityCounts> counts;
  LayerFilter filter({layers.begin(), layers.end()}, reading.encoding);
  ReadDxfEntities(
      dxfPath,
      [](std::string_view type) {
        return type == "INSERT" || (type != "LWPOLYLINE" && IsLineWork(type));
      },
      [&](const DxfEntity& e) {
        if (!filter.Takes(e.layer) || IsMesh(e)) return true;
        LayerEntityCounts& count = counts[DecodeDxfText(e.layer, reading.encoding)];
        ++(e.type == "INSERT" ? count.inserts : count.lines);
        return true;
      });
  return counts;
}

bool HoldsLineWork(const std::string& dxfPath) {
  bool found = false;
  try {
    ReadDxfEntitiesWithBlocks(
        dxfPath, [](std::string_view type) { return type != "LWPOLYLINE" && IsLineWork(type); },
        [&](const DxfEntity& e) { return e.type == "INSERT" || !(found = true); });
  } catch (const RuntimeError&) {
    // unreadable: nothing found
  }
  return found;
}

ChibanTextRead ReadLineWorkTexts(const std::string& dxfPath, const LayerSelection& selection,
                                 DxfReading reading, bool withBlocks) {
  ChibanTextRead result;
  std::string textLayer;
  if (auto refusal = CheckTextLayerSelection(selection, dxfPath, textLayer)) {
    result.failed = true;
    result.messages.push_back(std::move(*refusal));
    return result;
  }
  LayerFilter layers({textLayer}, reading.encoding);
  const auto take = [&](const DxfEntity& e) {
    if (!layers.Takes(e.layer)) return true;
    if (e.type == "ATTRIB" && !withBlocks) {
      ++result.attribsSkipped;
      return true;
    }
    if (e.fromBlock && !withBlocks) {
      ++result.blockTextsSkipped;
      return true;
    }
    if (e.badLine != 0) {
      result.failed = true;
      result.messages.push_back({"図面の " + std::to_string(e.badLine) +
                                     " 行目の座標が、数でないか大きすぎます（絶対値 1e9 まで）。",
                                 kRefusalTitle});
      return false;
    }
    if (result.texts.size() + 1 > kChibanTextCapacity) {
      result.messages.push_back(
          {"テキスト個数が、" + std::to_string(kChibanTextCapacity) + "を超えました。",
           "テキスト個数"});
      result.failed = true;
      return false;
    }
    const PlanePoint at = e.TextPoint();
    result.texts.push_back({e.DecodedString(reading.encoding), at.x, at.y});
    result.centres.push_back(e.TextCentre(reading.encoding));
    return true;
  };
  AskewCounts askew;
  try {
    try {
      // Without blocks the blocks are placed all the same, so that what they
      // would give is counted.
      ReadEntities(dxfPath, true, IsText, take, reading.unitsPerMetre, &askew);
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    result.trappedError = error.number();
    result.messages.push_back({TrapText(error), kProgramTrapTitle});
  }
  for (const auto& [layer, count] : askew) {
    if (layers.Takes(layer)) result.askewTexts += count;
  }
  return result;
}

void ScanLineWorkLayerNames(const std::string& path, TextEncoding encoding,
                            const std::function<void(const std::string&)>& onName) {
  std::set<std::string> listed;
  auto add = [&](std::string_view bytes) {
    std::string name = DecodeDxfText(bytes, encoding);
    if (listed.insert(name).second) onName(name);
  };
  GroupPairs pairs(path);
  int code = 0;
  std::string_view value;
  bool layerRecord = false;  // in a LAYER table record: its name is to come
  bool sectionName = false;
  bool entities = false;
  while (pairs.Next(code, value) && !pairs.sawEof()) {
    if (code == 0) {
      layerRecord = value == "LAYER";
      sectionName = value == "SECTION";
    } else if (code == 2 && sectionName) {
      entities = value == "ENTITIES";
      sectionName = false;
    } else if (code == 2 && layerRecord) {
      add(value);
      layerRecord = false;
    } else if (code == 8 && entities) {
      add(value);
    }
  }
}

}  // namespace parquill
