#pragma once

#include <cstdint>
#include <functional>
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

// One entity of the ENTITIES section, with the groups the readers use.
struct DxfEntity {
  struct Vertex {
    double x = 0, y = 0, bulge = 0;
  };

  std::string type;      // "LINE", "LWPOLYLINE", "POLYLINE", "ARC", "CIRCLE", "TEXT", "MTEXT"...
  std::string layer;     // as the drawing writes it (not decoded)
  std::string name;      // 2: an INSERT's or BLOCK's block, an ATTRIB's tag
  bool inBlock = false;  // read in the BLOCKS section (ReadDxfEntities' withBlocks)
  PlanePoint point;      // 10/20: a LINE's start, an ARC's centre, a text's insertion point
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
  double angle = 0;     // 50: a text's rotation, an ARC's start angle (degrees)
  double endAngle = 0;  // 51: an ARC's end angle
  double bulge = 0;     // 42 of a VERTEX
  int flags = 0;        // 70; a MINSERT's columns
  int attachment = 0;   // 71: an MTEXT's attachment point (1 top left to 9 bottom right); a
                        // MINSERT's rows
  int justifyX = 0;     // 72
  int justifyY = 0;     // 73 (74 of an ATTRIB)
  std::string string;   // 1, after the 3 parts of a long MTEXT string (not decoded)
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
bool ReadDxfEntities(const std::string& path,
                     const std::function<bool(std::string_view type)>& wanted,
                     const std::function<bool(const DxfEntity&)>& onEntity,
                     double unitsPerMetre = 1, bool withBlocks = false);

}  // namespace parquill
