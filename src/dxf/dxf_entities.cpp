#include "dxf/dxf_entities.h"

#include <cmath>
#include <numbers>

#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/trim.h"
#include "dxf/binary_dxf.h"
#include "dxf/dxf_escapes.h"
#include "dxf/mtext_cleaner.h"

namespace parquill {

bool GroupPairs::Next(int& code, std::string_view& value) {
  if (first_) {
    first_ = false;
    std::string_view line;
    if (!source_.Next(line)) return false;
    RejectBinaryDxf(line, 1, source_.path());
    code = WholeGroupCode(line);
    if (!source_.Next(value)) return false;
  } else {
    if (!source_.NextGroupPair(&WholeGroupCode, code, value)) return false;
    if (code == 0 && !source_.Next(value)) return false;
  }
  value = TrimBlanks(value);
  if (code == 0 && value == "EOF") sawEof_ = true;
  return true;
}

bool DxfEntity::Justified() const {
  return type != "MTEXT" && hasSecond && (justifyX != 0 || justifyY != 0);
}

PlanePoint DxfEntity::TextPoint() const { return Justified() ? second : point; }

namespace {

// How many heights wide a string is: full-width characters one, others half.
double WidthInHeights(std::string_view text) {
  double width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
      c = c << 6 | (text[i + k] & 0x3F);
    const bool halfWidthKana = c >= 0xFF61 && c <= 0xFF9F;
    width += c >= 0x1100 && !halfWidthKana ? 1 : 0.5;
    i += length;
  }
  return width;
}

}  // namespace

PlanePoint DxfEntity::TextCentre(TextEncoding encoding) const {
  // An MTEXT's 41 is the width of its frame, no width factor.
  const double factor = type == "MTEXT" ? 1 : scaleX;
  const double width = size * factor * WidthInHeights(DecodedString(encoding));
  // Where the anchor stands on the box, as shares of its width and height.
  double across = 0, up = 0;
  PlanePoint anchor = TextPoint();
  double turn = angle * std::numbers::pi / 180;
  if (type == "MTEXT") {
    const int at = attachment >= 1 && attachment <= 9 ? attachment - 1 : 0;
    across = (at % 3) / 2.0;
    up = 1 - (at / 3) / 2.0;
    if (direction.x != 1 || direction.y != 0) turn = std::atan2(direction.y, direction.x);
  } else if (Justified()) {
    // Aligned and fitted texts (3, 5) stand between the two points.
    if (justifyX == 3 || justifyX == 5)
      anchor = {(point.x + second.x) / 2, (point.y + second.y) / 2};
    across = justifyX == 2 ? 1 : justifyX == 0 ? 0 : 0.5;
    up = justifyX == 4 || justifyY == 2 ? 0.5 : justifyY == 3 ? 1 : 0;
  }
  const double dx = (0.5 - across) * width;
  // A mirrored text's up is its baseline turned clockwise.
  const double dy = (0.5 - up) * size * (mirrored ? -1 : 1);
  return {anchor.x + dx * std::cos(turn) - dy * std::sin(turn),
          anchor.y + dx * std::sin(turn) + dy * std::cos(turn)};
}

std::string DxfEntity::DecodedString(TextEncoding encoding) const {
  std::string text = DecodeText(string, encoding);
  if (type == "MTEXT") text = CleanMText(text);
  return DecodeDxfEscapes(text);
}

namespace {

// Gathers the groups of one entity.
class EntityGroups {
 public:
  EntityGroups(DxfEntity& entity, double unitsPerMetre)
      : e_(entity), unitsPerMetre_(unitsPerMetre) {}

  void Take(int code, std::string_view value, std::int64_t line) {
    const bool lw = e_.type == "LWPOLYLINE";
    const bool mtext = e_.type == "MTEXT";
    switch (code) {
      case 1:  // the string; a long MTEXT's first parts come before it, as 3
      case 3:
        e_.string.append(value);
        break;
      case 2:
        e_.name.assign(value);
        break;
      case 8:
        e_.layer.assign(value);
        break;
      case 10:
        if (lw) {
          e_.vertices.push_back({Length(value, line), 0, 0});
        } else {
          e_.point.x = Length(value, line);
        }
        break;
      case 20:
        if (lw && !e_.vertices.empty()) {
          e_.vertices.back().y = Length(value, line);
        } else {
          e_.point.y = Length(value, line);
        }
        break;
      case 11:
        (mtext ? e_.direction.x : e_.second.x) = Length(value, line);
        e_.hasSecond = !mtext;
        break;
      case 21:
        (mtext ? e_.direction.y : e_.second.y) = Length(value, line);
        break;
      case 40:
        e_.size = Length(value, line);
        break;
      case 42:
        (lw && !e_.vertices.empty() ? e_.vertices.back().bulge
         : e_.type == "INSERT"      ? e_.scaleY
                                    : e_.bulge) = Coordinate(value, line);
        break;
      case 44:
        e_.columnSpacing = Length(value, line);
        break;
      case 45:
        e_.rowSpacing = Length(value, line);
        break;
      case 50:
        e_.angle = Coordinate(value, line);
        break;
      case 51:
        e_.endAngle = Coordinate(value, line);
        break;
      case 41:
        e_.scaleX = Coordinate(value, line);
        break;
      case 70:
        e_.flags = Whole(value, line);
        break;
      case 71:
        e_.attachment = Whole(value, line);
        break;
      case 72:
        e_.justifyX = Whole(value, line);
        break;
      case 210:
      case 220:
      case 230:
        e_.extrusion[(code - 210) / 10] = Coordinate(value, line);
        break;
      case 73:
      case 74:
        if ((code == 74) == (e_.type == "ATTRIB")) e_.justifyY = Whole(value, line);
        break;
      default:
        break;
    }
  }

 private:
  // A value by the number rule; one that is no number at all ("nan", "inf"),
  // too large for a double or beyond kLargestCoordinate marks the entity and
  // reads as 0.
  double Coordinate(std::string_view value, std::int64_t line) {
    double v = HUGE_VAL;
    const bool number = value.empty() || value.find_first_of("+-.0123456789") == 0;
    try {
      if (number) v = NumberFromText(value);
    } catch (const RuntimeError&) {
      // too large: marked below
    }
    if (std::fabs(v) <= kLargestCoordinate) return v;
    if (e_.badLine == 0) e_.badLine = line;
    return 0;
  }
  double Length(std::string_view value, std::int64_t line) {
    return Coordinate(value, line) / unitsPerMetre_;
  }
  int Whole(std::string_view value, std::int64_t line) {
    return static_cast<int>(Coordinate(value, line));
  }

  DxfEntity& e_;
  double unitsPerMetre_;
};

}  // namespace

Extrusion ExtrusionOf(double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0) || std::fabs(x) > kExtrusionSlant * length ||
      std::fabs(y) > kExtrusionSlant * length)
    return Extrusion::kAskew;
  return z > 0 ? Extrusion::kUp : Extrusion::kDown;
}

namespace {

// The entities whose points are given in their own coordinates, which the
// extrusion turns into the world's; a POLYLINE only when it is a 2D one
// (3D polylines and meshes have world points).
bool HasOwnCoordinates(const DxfEntity& e) {
  const std::string& t = e.type;
  if (t == "POLYLINE") return (e.flags & (8 | 16 | 64)) == 0;
  return t == "LWPOLYLINE" || t == "ARC" || t == "CIRCLE" || t == "TEXT" || t == "ATTRIB" ||
         t == "INSERT";
}

// An angle in degrees seen in the mirror across the Y axis.
double MirroredAngle(double degrees) { return 180 - degrees; }

}  // namespace

void PlaceByExtrusion(DxfEntity& e) {
  if (!HasOwnCoordinates(e)) return;
  e.point.x = MirroredX(e.point.x);
  e.second.x = MirroredX(e.second.x);
  // A bulge turns the other way round, and so does an arc.
  for (DxfEntity::Vertex& v : e.vertices) {
    v.x = MirroredX(v.x);
    v.bulge = -v.bulge;
  }
  if (e.type == "ARC") {
    const double start = e.angle;
    e.angle = MirroredAngle(e.endAngle);
    e.endAngle = MirroredAngle(start);
    return;
  }
  e.angle = MirroredAngle(e.angle);
  e.mirrored = !e.mirrored;
  if (e.type == "INSERT") {
    // The block is turned by the mirrored angle and turned over along its
    // own X axis: Y scale and row spacing change sign.
    e.scaleY = -e.scaleY;
    e.rowSpacing = -e.rowSpacing;
  }
}

bool ReadDxfEntities(const std::string& path,
                     const std::function<bool(std::string_view type)>& wanted,
                     const std::function<bool(const DxfEntity&)>& onEntity, double unitsPerMetre,
                     bool withBlocks, AskewCounts* askew) {
  GroupPairs pairs(path);
  int code = 0;
  std::string_view value;
  bool inEntities = false;  // in the ENTITIES section, or in BLOCKS `withBlocks`
  bool inBlocks = false;
  bool sectionName = false;
  DxfEntity entity;    // the one being read, when `keeping`
  DxfEntity polyline;  // a POLYLINE whose VERTEX entities are being read
  bool polylineOpen = false;
  bool keeping = false;
  EntityGroups groups(entity, unitsPerMetre);
  // An entity read whole, into the world's coordinates; false when it is
  // left out.
  const auto inWorld = [&](DxfEntity& e) -> bool {
    switch (ExtrusionOf(e.extrusion[0], e.extrusion[1], e.extrusion[2])) {
      case Extrusion::kUp:
        return true;
      case Extrusion::kDown:
        PlaceByExtrusion(e);
        return true;
      case Extrusion::kAskew:
        if (e.inBlock) {
          e.askew = true;
          return true;
        }
        if (askew != nullptr) ++(*askew)[e.layer];
        return false;
    }
    return true;
  };
  // The entity just read is over: a VERTEX joins its POLYLINE, a POLYLINE
  // waits for its vertices, anything else is handed on.
  const auto finish = [&]() -> bool {
    if (!keeping) return true;
    keeping = false;
    if (entity.type == "VERTEX") {
      // Spline frame points and polyface records are no vertices of the line.
      if ((entity.flags & (16 | 128)) == 0) {
        polyline.vertices.push_back({entity.point.x, entity.point.y, entity.bulge});
        if (polyline.badLine == 0) polyline.badLine = entity.badLine;
      }
      return true;
    }
    if (entity.type == "POLYLINE") {
      polyline = std::move(entity);
      polylineOpen = true;
      return true;
    }
    return !inWorld(entity) || onEntity(entity);
  };
  // A POLYLINE ends at the first entity that is no VERTEX of it.
  const auto endPolyline = [&]() -> bool {
    if (!polylineOpen) return true;
    polylineOpen = false;
    return !inWorld(polyline) || onEntity(polyline);
  };
  while (pairs.Next(code, value)) {
    if (code == 0) {
      if (!inEntities) {
        sectionName = value == "SECTION";
        continue;
      }
      if (!finish()) return true;
      if (value != "VERTEX" && !endPolyline()) return true;
      if (value == "ENDSEC") {
        if (!inBlocks) return true;
        inEntities = inBlocks = false;
        continue;
      }
      keeping = value == "VERTEX" ? polylineOpen : wanted(value);
      if (keeping) {
        entity = DxfEntity{};
        entity.type.assign(value);
        entity.inBlock = inBlocks;
      }
      continue;
    }
    if (sectionName && code == 2) {
      inBlocks = withBlocks && value == "BLOCKS";
      inEntities = inBlocks || value == "ENTITIES";
      sectionName = false;
      continue;
    }
    if (keeping) groups.Take(code, value, pairs.lineNumber());
  }
  // The entity being read when the drawing broke off may be cut: only a
  // POLYLINE's whole vertices are handed on.
  if (inEntities) endPolyline();
  return false;
}

}  // namespace parquill
