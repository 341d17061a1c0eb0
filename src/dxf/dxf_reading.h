#pragma once

#include "base/text_codec.h"

namespace parquill {

// How a drawing is read: the encoding of its text and the unit of its
// coordinates. A drawing in millimetres has every length divided by 1000 as
// it is read, before any tolerance, so that everything after is in metres.
struct DxfReading {
  DxfReading(TextEncoding textEncoding,
             bool inMillimetres = false)  // NOLINT: a plain encoding reads in metres
      : encoding(textEncoding), unitsPerMetre(inMillimetres ? 1000 : 1) {}

  TextEncoding encoding;
  double unitsPerMetre;
  double Metres(double length) const { return length / unitsPerMetre; }
};

}  // namespace parquill
