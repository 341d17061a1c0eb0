#pragma once

#include <string>

#include "base/text_codec.h"
#include "dxf/dxf_reading.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_selection.h"
#include "mif/plane_zone.h"

namespace parquill {

// Everything the user chose for one conversion, as the window's controls or
// the command line's arguments give it. Every step takes the same choices.
struct ConversionChoices {
  std::string drawing;      // the DXF file
  std::string output;       // the SIMA file; the MIF and MID files are named after it
  LayerSelection boundary;  // the boundary layers, as selected in the layer list
  LayerSelection chiban;    // the one lot-number layer, as selected in the layer list
  bool swapXY = true;       // X and Y exchanged in the SIMA file
  int planeZone = 0;        // the plane rectangular zone of the drawing, 0 for none
  PlaneDatum datum = PlaneDatum::kJgd2011;  // the zone's geodetic datum
  bool fromLines = false;                   // the lots are the faces the boundary lines enclose
  bool report = false;                      // the steps keep what the report is made of
  // The drawing's text encoding, told by its version (CheckDxfVersion), and
  // whether it is UTF-8 against the drawing's header.
  TextEncoding encoding = TextEncoding::kCp932;
  bool utf8AgainstHeader = false;
  bool millimetres = false;  // the drawing's unit is the millimetre (else the metre)

  DxfReading reading() const { return {encoding, millimetres}; }
  // Takes the drawing's text encoding as the version check found it.
  void ReadTextAs(const DxfVersionVerdict& verdict) {
    encoding = verdict.encoding;
    utf8AgainstHeader = verdict.utf8AgainstHeader;
  }
};

}  // namespace parquill
