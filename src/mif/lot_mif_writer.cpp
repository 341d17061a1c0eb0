#include "mif/lot_mif_writer.h"

#include <algorithm>
#include <cmath>

#include "base/text_codec.h"
#include "base/text_file_writer.h"
#include "mif/mif_format.h"

namespace parquill {
namespace {

std::size_t Cp932Width(const std::string& value) {
  return IsAscii(value) ? value.size() : EncodeText(value, TextEncoding::kCp932).size();
}

void AppendMidField(std::string& line, const std::string& value) {
  if (value.find_first_of(",\"") == std::string::npos) {
    line.append(value);
    return;
  }
  line.push_back('"');
  for (char c : value) {
    if (c == '"') line.push_back('"');
    line.push_back(c);
  }
  line.push_back('"');
}

}  // namespace

std::string MifCoordinateSystemFor(const LotModel& lots, const MifPlace& place) {
  if (IsPlaneZone(place.zone) || !place.localGrid || lots.points.empty()) {
    return MifCoordinateSystemLine(place.zone, place.datum);
  }
  double west = lots.points[0].x, east = west;
  double south = lots.points[0].y, north = south;
  for (const PlanePoint& point : lots.points) {
    west = std::min(west, point.x);
    east = std::max(east, point.x);
    south = std::min(south, point.y);
    north = std::max(north, point.y);
  }
  // A margin of a metre around the lots, on whole metres.
  auto bound = [](double v, double margin) { return FormatMifCoordinate(std::floor(v + margin)); };
  return "CoordSys NonEarth Units \"m\" Bounds (" + bound(west, -1) + ", " + bound(south, -1) +
         ") (" + bound(east, 2) + ", " + bound(north, 2) + ")";
}

void WriteLotsMif(TextFileWriter& mif, const LotModel& lots, const MifPlace& place) {
  for (std::string_view line : kMifHeadLines) mif.WriteLine(line);
  mif.WriteLine(MifCoordinateSystemFor(lots, place));
  mif.WriteLine("Columns " + std::to_string(lots.columns.size() + 1));
  mif.WriteLine("   ID " + lots.idType);
  for (std::size_t c = 0; c < lots.columns.size(); ++c) {
    std::size_t width = static_cast<std::size_t>(lots.columns[c].width);
    if (width == 0) {
      width = 1;
      for (std::size_t l = 0; l < lots.lots.size(); ++l) {
        width = std::max(width, Cp932Width(lots.Value(l, c)));
      }
    }
    mif.WriteLine("   " + lots.columns[c].name + " Char(" + std::to_string(width) + ")");
  }
  mif.WriteLine("Data");

  for (const LotModel::Lot& lot : lots.lots) {
    mif.WriteAsciiLine("REGION " + std::to_string(lot.ringCount));
    for (std::uint32_t r = 0; r < lot.ringCount; ++r) {
      const LotModel::Ring& ring = lots.rings[lot.firstRing + r];
      mif.WriteAsciiLine(MifPointCountLine(static_cast<int>(ring.pointCount)));
      for (std::uint32_t i = 0; i < ring.pointCount; ++i) {
        const PlanePoint& point = lots.points[ring.firstPoint + i];
        // Digits, points, signs and one blank, written straight into the file's buffer.
        char* room = mif.AsciiLineRoom(kMifPointLineRoom);
        mif.EndAsciiLine(WriteMifPointLine(room, point.x, point.y));
      }
    }
  }
}

void WriteLotsMid(TextFileWriter& mid, const LotModel& lots) {
  std::string line;  // reused from lot to lot
  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    line.assign(std::to_string(l + 1));
    for (std::size_t c = 0; c < lots.columns.size(); ++c) {
      line.push_back(',');
      AppendMidField(line, lots.Value(l, c));
    }
    mid.WriteLine(line);
  }
}

}  // namespace parquill
