// The reading of drawings of lots drawn as lines: group pairs of the shared
// DXF line source, read by group codes alone (R12 drawings have no subclass
// markers).
#include "dxf/line_work_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <new>
#include <numbers>
#include <set>
#include <string_view>

#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/binary_dxf.h"
#include "dxf/dxf_escapes.h"
#include "dxf/dxf_line_source.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_selection_check.h"
#include "dxf/mtext_cleaner.h"
#include "geometry/arc_chords.h"

namespace parquill {
namespace {

constexpr const char* kRefusalTitle = "境界線";

// The drawing as group pairs, over the shared DXF line source. A pair of
// code 0 comes with its value too (the entity's or section's name).
class GroupPairs {
 public:
  explicit GroupPairs(const std::string& path) : source_(path) {}

  bool Next(int& code, std::string_view& value) {
    if (first_) {
      // The first line tells a binary drawing.
      first_ = false;
      std::string_view line;
      if (!source_.Next(line)) return false;
      RejectBinaryDxf(line, 1, source_.path());
      code = WholeGroupCode(line);
      value = source_.Require();
    } else {
      if (!source_.NextGroupPair(&WholeGroupCode, code, value)) return false;
      if (code == 0) value = source_.Require();
    }
    value = TrimBlanks(value);
    return true;
  }
  std::int64_t lineNumber() const { return source_.lineNumber(); }

 private:
  DxfLineSource source_;
  bool first_ = true;
};

// A value of a number group: the drawing's decimal text; out of a double's
// range it reads as infinite, and a text that is no number as 0.
double NumberOf(std::string_view value) {
  while (!value.empty() && value.front() == '+') value.remove_prefix(1);
  double number = 0;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    return value.starts_with('-') ? -std::numeric_limits<double>::infinity()
                                  : std::numeric_limits<double>::infinity();
  }
  return error == std::errc() ? number : 0;
}

// One entity's groups, as far as the line work and the texts need them.
struct Entity {
  std::string type;
  std::string layer;  // raw bytes
  double x10 = 0, y10 = 0, x11 = 0, y11 = 0, radius = 0, start = 0, end = 0, bulge = 0;
  bool has11 = false;
  int flags = 0;
  int justifyX = 0, justifyY = 0;
  std::string string;  // group 1, after the group 3 chunks of an MTEXT
  struct Vertex {
    double x, y, bulge;
  };
  std::vector<Vertex> vertices;  // of an LWPOLYLINE
  std::int64_t badLine = 0;      // the line of a coordinate that is no usable number

  void Clear() {
    type.clear();
    layer.clear();
    x10 = y10 = x11 = y11 = radius = start = end = bulge = 0;
    has11 = false;
    flags = justifyX = justifyY = 0;
    string.clear();
    vertices.clear();
    badLine = 0;
  }
};

class LineWorkScan {
 public:
  LineWorkScan(const std::vector<std::string>& boundary, const std::string& textLayer,
               TextEncoding encoding, std::size_t mostSegments, LineWorkDrawing& drawing)
      : boundary_(boundary.begin(), boundary.end()),
        allLayers_(boundary_.count(kAllLayersItem) > 0),
        textLayer_(textLayer),
        encoding_(encoding),
        mostSegments_(mostSegments),
        drawing_(drawing) {}

  void Run(const std::string& path) {
    GroupPairs pairs(path);
    int code = 0;
    std::string_view value;
    bool inEntities = false;
    bool sectionName = false;
    while (!drawing_.refusal && !drawing_.texts.failed && pairs.Next(code, value)) {
      if (code == 0) {
        if (inEntities) Finish();
        sectionName = value == "SECTION";
        if (value == "ENDSEC") {
          if (inEntities) break;
          continue;
        }
        if (inEntities) entity_.type.assign(value);
        continue;
      }
      if (sectionName && code == 2) {
        inEntities = value == "ENTITIES";
        sectionName = false;
        continue;
      }
      if (inEntities && !entity_.type.empty()) Take(code, value, pairs.lineNumber());
    }
    if (inEntities && !drawing_.refusal) Finish();
    if (!drawing_.refusal) EndPolyline();
  }

 private:
  // A coordinate value: a number within the bounds, or the entity is marked.
  double Coordinate(std::string_view value, std::int64_t line) {
    const double v = NumberOf(value);
    if (!std::isfinite(v) || std::fabs(v) > kLargestCoordinate) {
      if (entity_.badLine == 0) entity_.badLine = line;
      return 0;
    }
    return v;
  }

  void Take(int code, std::string_view value, std::int64_t line) {
    Entity& e = entity_;
    const bool lw = e.type == "LWPOLYLINE";
    switch (code) {
      case 1:  // the string; an MTEXT's first parts come before it, as 3
      case 3:
        e.string.append(value);
        return;
      case 8:
        e.layer.assign(value);
        return;
      case 10:
        if (lw) {
          e.vertices.push_back({Coordinate(value, line), 0, 0});
        } else {
          e.x10 = Coordinate(value, line);
        }
        return;
      case 20:
        if (lw && !e.vertices.empty()) {
          e.vertices.back().y = Coordinate(value, line);
        } else {
          e.y10 = Coordinate(value, line);
        }
        return;
      case 11:
        e.x11 = Coordinate(value, line);
        e.has11 = true;
        return;
      case 21:
        e.y11 = Coordinate(value, line);
        return;
      case 40:
        e.radius = Coordinate(value, line);
        return;
      case 42:
        if (!e.vertices.empty()) {
          e.vertices.back().bulge = Coordinate(value, line);
        } else {
          e.bulge = Coordinate(value, line);  // a VERTEX's
        }
        return;
      case 50:
        e.start = Coordinate(value, line);
        return;
      case 51:
        e.end = Coordinate(value, line);
        return;
      case 70:
        e.flags = static_cast<int>(Coordinate(value, line));
        return;
      case 72:
        e.justifyX = static_cast<int>(Coordinate(value, line));
        return;
      case 73:
        e.justifyY = static_cast<int>(Coordinate(value, line));
        return;
      default:
        return;
    }
  }

  bool OnLayer(const std::string& bytes, bool boundary) {
    auto& cache = boundary ? boundaryCache_ : textCache_;
    auto known = cache.find(bytes);
    if (known != cache.end()) return known->second;
    const std::string name = DecodeDxfText(bytes, encoding_);
    const bool on = boundary ? allLayers_ || boundary_.count(name) > 0
                             : !textLayer_.empty() && name == textLayer_;
    cache.emplace(bytes, on);
    return on;
  }

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

  bool CheckCoordinates() {
    if (entity_.badLine == 0) return true;
    return Refuse("図面の " + std::to_string(entity_.badLine) +
                  " 行目の座標が、数でないか大きすぎます（絶対値 1e9 まで）。");
  }

  void AddLine(std::vector<LinePoint> points) {
    if (points.size() >= 2) drawing_.lines.push_back(std::move(points));
  }

  // The entity just read is over: it is taken when it is one of ours.
  void Finish() {
    Entity& e = entity_;
    if (e.type.empty()) return;
    if (e.type == "VERTEX" && polylineOpen_) {
      // Spline frame points and polyface records are no vertices of the line.
      if ((e.flags & (16 | 128)) == 0 && CheckCoordinates()) {
        polyline_.vertices.push_back({e.x10, e.y10, e.bulge});
      }
    } else if (e.type == "POLYLINE") {
      EndPolyline();
      // 3D meshes and polyface meshes are no lines.
      if ((e.flags & (16 | 64)) == 0 && OnLayer(e.layer, true)) {
        polylineOpen_ = true;
        polyline_ = e;
        polyline_.vertices.clear();
      }
    } else {
      EndPolyline();
      const bool boundary =
          (e.type == "LINE" || e.type == "LWPOLYLINE" || e.type == "ARC") && OnLayer(e.layer, true);
      const bool text = (e.type == "TEXT" || e.type == "MTEXT") && OnLayer(e.layer, false);
      if ((boundary || text) && CheckCoordinates()) {
        if (e.type == "LINE") {
          ++drawing_.lineEntities;
          if (Room(1)) AddLine({{e.x10, e.y10}, {e.x11, e.y11}});
        } else if (e.type == "LWPOLYLINE") {
          AddPolyline(e.vertices, (e.flags & 1) != 0);
        } else if (e.type == "ARC") {
          AddArc(e);
        } else {
          AddText(e);
        }
      }
    }
    e.Clear();
  }

  void EndPolyline() {
    if (!polylineOpen_) return;
    polylineOpen_ = false;
    AddPolyline(polyline_.vertices, (polyline_.flags & 1) != 0);
  }

  void AddPolyline(const std::vector<Entity::Vertex>& vertices, bool closed) {
    const std::size_t n = vertices.size();
    if (n < 2) return;
    const std::size_t segments = closed ? n : n - 1;
    std::size_t chords = 0;
    for (std::size_t i = 0; i < segments; ++i) {
      const Entity::Vertex& a = vertices[i];
      const Entity::Vertex& b = vertices[(i + 1) % n];
      chords += BulgeChordCount({a.x, a.y}, {b.x, b.y}, a.bulge);
      if (a.bulge != 0) ++drawing_.arcsChorded;
    }
    if (!Room(chords)) return;
    std::vector<LinePoint> points{{vertices[0].x, vertices[0].y}};
    points.reserve(chords + 1);
    for (std::size_t i = 0; i < segments; ++i) {
      const Entity::Vertex& a = vertices[i];
      const Entity::Vertex& b = vertices[(i + 1) % n];
      AppendBulgeChords(points, {a.x, a.y}, {b.x, b.y}, a.bulge);
    }
    AddLine(std::move(points));
  }

  void AddArc(const Entity& e) {
    if (!(e.radius > 0)) return;
    // Counter-clockwise from the start angle to the end angle, in degrees;
    // equal angles make a whole circle.
    double sweep = std::fmod(e.end - e.start, 360.0);
    if (sweep <= 0) sweep += 360;
    const double start = e.start * std::numbers::pi / 180;
    sweep *= std::numbers::pi / 180;
    if (!Room(ChordCount(e.radius, sweep))) return;
    ++drawing_.arcsChorded;
    std::vector<LinePoint> points{
        {e.x10 + e.radius * std::cos(start), e.y10 + e.radius * std::sin(start)}};
    AppendArcChords(points, e.x10, e.y10, e.radius, start, sweep);
    AddLine(std::move(points));
  }

  void AddText(const Entity& e) {
    ChibanTextRead& read = drawing_.texts;
    if (read.texts.size() + 1 > kChibanTextCapacity) {
      read.messages.push_back(
          {"テキスト個数が、" + std::to_string(kChibanTextCapacity) + "を超えました。",
           "テキスト個数"});
      read.failed = true;
      return;
    }
    std::string text = DecodeText(e.string, encoding_);
    if (e.type == "MTEXT") text = CleanMText(text);
    const bool aligned = e.type == "TEXT" && e.has11 && (e.justifyX != 0 || e.justifyY != 0);
    read.texts.push_back(
        {DecodeDxfEscapes(text), aligned ? e.x11 : e.x10, aligned ? e.y11 : e.y10});
  }

  std::set<std::string> boundary_;
  bool allLayers_;
  std::string textLayer_;
  TextEncoding encoding_;
  std::size_t mostSegments_;
  LineWorkDrawing& drawing_;
  Entity entity_;
  Entity polyline_;  // the POLYLINE whose VERTEX entities are being read
  bool polylineOpen_ = false;
  std::map<std::string, bool> boundaryCache_;
  std::map<std::string, bool> textCache_;
};

}  // namespace

LineWorkDrawing ReadLineWork(const std::string& dxfPath, const std::vector<std::string>& boundary,
                             const std::string& textLayer, TextEncoding encoding,
                             std::size_t mostSegments) {
  LineWorkDrawing drawing;
  LineWorkScan scan(boundary, textLayer, encoding, mostSegments, drawing);
  scan.Run(dxfPath);
  return drawing;
}

ChibanTextRead ReadLineWorkTexts(const std::string& dxfPath, const LayerSelection& selection,
                                 TextEncoding encoding) {
  ChibanTextRead result;
  std::string textLayer;
  if (auto refusal = CheckTextLayerSelection(selection, dxfPath, textLayer)) {
    result.failed = true;
    result.messages.push_back(std::move(*refusal));
    return result;
  }
  try {
    try {
      LineWorkDrawing drawing = ReadLineWork(dxfPath, {}, textLayer, encoding);
      result = std::move(drawing.texts);
      if (drawing.refusal) {
        result.failed = true;
        result.messages.push_back(std::move(*drawing.refusal));
      }
    } catch (const std::bad_alloc&) {
      throw RuntimeError(kOutOfMemory);
    }
  } catch (const RuntimeError& error) {
    result.trappedError = error.number();
    result.messages.push_back({TrapText(error), kProgramTrapTitle});
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
  while (pairs.Next(code, value)) {
    if (code == 0) {
      layerRecord = value == "LAYER";
      sectionName = value == "SECTION";
      if (value == "EOF") break;
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
