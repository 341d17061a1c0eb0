#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_codec.h"
#include "dxf/dxf_line_source.h"
#include "geometry/plane_point.h"

// The drawing as entities, for every reader but the two line-by-line ones
// (the region builder's polylines and the lot-number texts): group pairs by
// one code rule, every value by the number rule, and one rule for where a
// text stands.
namespace parquill {

// The drawing as group pairs, a code line then a value line, over the shared
// DXF line source. A pair of code 0 comes with its value too (the entity's or
// section's name). Values are trimmed of their blanks.
class GroupPairs {
 public:
  explicit GroupPairs(const std::string& path) : source_(path) {}

  // The next pair; false at the end of the drawing (also between a code line
  // and its value). The first line of a binary drawing raises error 5.
  bool Next(int& code, std::string_view& value);
  std::int64_t lineNumber() const { return source_.lineNumber(); }
  // True once a pair "0 / EOF" was read.
  bool sawEof() const { return sawEof_; }

 private:
  DxfLineSource source_;
  bool first_ = true;
  bool sawEof_ = false;
};

// A coordinate farther from the origin than this is taken for a broken drawing.
inline constexpr double kLargestCoordinate = 1e9;

// Which way an entity's extrusion direction (210/220/230) points: up (the
// usual (0, 0, 1)), down ((0, 0, -1), what mirroring in CAD writes: the
// entity's own X axis runs the other way), or askew (a 3D drawing, or no
// direction at all).
enum class Extrusion { kUp, kDown, kAskew };
// An extrusion whose X and Y are at most this share of its length is up or down.
inline constexpr double kExtrusionSlant = 1e-9;
Extrusion ExtrusionOf(double x, double y, double z);
// An X seen in the mirror across the Y axis (0 stays 0, without a sign).
inline double MirroredX(double x) { return 0.0 - x; }

// One entity of the ENTITIES section, with the groups the readers use.
struct DxfEntity {
  struct Vertex {
    double x = 0, y = 0, bulge = 0;
  };

  std::string type;        // "LINE", "LWPOLYLINE", "POLYLINE", "ARC", "CIRCLE", "TEXT", "MTEXT"...
  std::string layer;       // as the drawing writes it (not decoded)
  std::string name;        // 2: an INSERT's or BLOCK's block, an ATTRIB's tag
  bool inBlock = false;    // read in the BLOCKS section (ReadDxfEntities' withBlocks)
  bool fromBlock = false;  // placed by an INSERT (ReadDxfEntitiesWithBlocks)
  PlanePoint point;        // 10/20: a LINE's start, an ARC's centre, a text's insertion point
  // 11/21: a LINE's end, a TEXT's alignment point. An MTEXT's 11/21 are its
  // direction (`direction`), never a point.
  PlanePoint second;
  bool hasSecond = false;
  PlanePoint direction{1, 0};
  double size = 0;           // 40: a text's height, an ARC's or CIRCLE's radius
  double scaleX = 1;         // 41: a TEXT's width factor, an INSERT's X scale
  double scaleY = 1;         // 42 of an INSERT: its Y scale
  double columnSpacing = 0;  // 44, 45: a MINSERT's cells
  double rowSpacing = 0;
  double angle = 0;                 // 50: a text's rotation, an ARC's start angle (degrees)
  double endAngle = 0;              // 51: an ARC's end angle
  double bulge = 0;                 // 42 of a VERTEX
  double extrusion[3] = {0, 0, 1};  // 210, 220, 230
  // A text seen from below: its up runs clockwise from its baseline (a text
  // mirrored by its extrusion or by the INSERT that placed it).
  bool mirrored = false;
  bool askew = false;  // in a block: its extrusion is askew, and it is placed nowhere
  int flags = 0;       // 70; a MINSERT's columns
  int attachment = 0;  // 71: an MTEXT's attachment point (1 top left to 9 bottom right); a
                       // MINSERT's rows
  int justifyX = 0;    // 72
  int justifyY = 0;    // 73 (74 of an ATTRIB)
  std::string string;  // 1, after the 3 parts of a long MTEXT string (not decoded)
  // An LWPOLYLINE's vertices, or a POLYLINE's: its VERTEX entities up to
  // SEQEND, spline frame points and polyface records left out.
  std::vector<Vertex> vertices;
  std::int64_t badLine = 0;  // the line of a coordinate that is no number or too large

  // The point a text stands at: the alignment point of a TEXT justified
  // otherwise than left on its baseline, else the insertion point.
  PlanePoint TextPoint() const;
  // The middle of the text as it is seen: its box, one height high and as
  // wide as its characters (full-width ones a height wide, others half),
  // placed by its justification or attachment point and turned by its
  // rotation or direction.
  PlanePoint TextCentre(TextEncoding encoding) const;
  // A TEXT's or ATTRIB's justified otherwise than left on its baseline.
  bool Justified() const;
  // The text's string decoded (escapes too), an MTEXT's cleaned of its
  // formatting codes.
  std::string DecodedString(TextEncoding encoding) const;
};

// Reads the entities of the ENTITIES section in drawing order and hands each
// to `onEntity`, which returns false to stop the reading. Entities whose
// type `wanted` does not take are passed over (their groups not kept).
// File errors raise RuntimeError. Returns false when the drawing ended before
// the section did.
// Lengths are divided by `unitsPerMetre` as they are read (DxfReading).
// `withBlocks` hands on the entities of the BLOCKS section first, BLOCK and
// ENDBLK among them, each marked inBlock.
// Every entity is handed on in world coordinates: one whose extrusion points
// down (PlaceByExtrusion) is mirrored into place; one whose extrusion is
// askew is left out and counted in `askew` (by its layer as the drawing
// writes it), except in a block, where it is handed on as it stands (the
// blocks' placing leaves it out).
using AskewCounts = std::map<std::string, std::size_t>;
bool ReadDxfEntities(const std::string& path,
                     const std::function<bool(std::string_view type)>& wanted,
                     const std::function<bool(const DxfEntity&)>& onEntity,
                     double unitsPerMetre = 1, bool withBlocks = false,
                     AskewCounts* askew = nullptr);

// Puts an entity whose extrusion points down where the drawing shows it: the
// points of the entities whose coordinates are the entity's own (LWPOLYLINE,
// 2D POLYLINE, ARC, CIRCLE, TEXT, ATTRIB, INSERT) mirrored across the Y axis,
// their arcs and angles with them; LINE, MTEXT and the rest stay as read.
void PlaceByExtrusion(DxfEntity& e);

}  // namespace parquill
