#pragma once

#include <string>

#include "geometry/lot_model.h"

namespace parquill {

class TextFileWriter;

// The layers of a drawing of lots.
inline constexpr const char* kBoundaryLayer = "筆界";
inline constexpr const char* kHoleLayer = "筆界_穴";
inline constexpr const char* kChibanLayer = "地番";
inline constexpr const char* kBoundaryPointLayer = "筆界点";
inline constexpr const char* kPointNameLayer = "点名";
inline constexpr const char* kOutsideLayer = "地区外・別図";

struct LotDxfChoices {
  bool millimetres = false;  // coordinates and heights in millimetres, else metres
  std::string source;        // the input the lots come from, named in the comment
  std::string attribution;   // a registry map's 市区町村名: the source line it asks for
};

// An AutoCAD 2000 drawing (AC1015, ANSI_932: the writer's encoding must be
// CP932) of the lots, x east and y north: each lot's exterior ring a closed
// LWPOLYLINE on 筆界 and its holes on 筆界_穴; each lot number a TEXT on 地番,
// centred on the centre of the largest circle inside its lot, as high as
// fits in that circle, the largest lots' first (a reader that gives a region
// the first text inside it then gives a lot with enclaves its own number);
// each boundary point a POINT on 筆界点 and its name a TEXT on 点名. Lots
// numbered 地区外… or 別図… are drawn, numbered, on 地区外・別図.
// The source and its attribution stand in comments (999) at the start.
void WriteLotsDxf(TextFileWriter& dxf, const LotModel& lots, const LotDxfChoices& choices);

}  // namespace parquill
