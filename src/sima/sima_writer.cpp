#include "sima/sima_writer.h"

#include "base/limits.h"
#include "base/text_file_writer.h"
#include "sima/kokudo_records.h"

namespace parquill {
namespace {

enum ClosureCode : std::int16_t { kClosed = 1, kOpen = 2 };

}  // namespace

void WriteLotsSima(TextFileWriter& sima, const LotModel& lots, bool swap, StepHost* host) {
  if (host != nullptr) host->LetEventsThrough();
  sima.WriteLine(kokudo::SimaG00());
  sima.WriteLine(kokudo::SimaZ00("SIMA共通フォーマットデータ"));
  sima.WriteLine(kokudo::SimaZ00("座標点数:" + std::to_string(lots.boundaryPoints.size()) +
                                 " 筆個数:" + std::to_string(lots.lots.size())));
  sima.WriteLine(kokudo::SimaZ00("座標"));
  sima.WriteLine(kokudo::SimaTag("A00"));
  std::string line;  // reused for every record
  int number = 0;
  for (const BoundaryPoint& point : lots.boundaryPoints) {
    line.clear();
    const PlanePoint& at = point.at;
    kokudo::AppendSimaA01(line, ++number, point.name, swap ? at.y : at.x, swap ? at.x : at.y);
    sima.WriteLine(line);
  }
  sima.WriteAsciiLine(kokudo::SimaTag("A99"));

  for (std::size_t l = 0; l < lots.lots.size(); ++l) {
    const int lot = static_cast<int>(l + 1);
    if (host != nullptr) {
      host->ShowProgress(lot);
      host->LetEventsThrough();
    }
    const std::string chiban = kokudo::SimaChiban(lots.Chiban(l));
    const LotModel::Ring& ring = lots.ExteriorOf(l);
    const std::size_t count = ring.pointCount;
    const PlanePoint* points = lots.points.data() + ring.firstPoint;
    const bool closed = count == 0 || (WithinTolerance(points[0].x, points[count - 1].x) &&
                                       WithinTolerance(points[0].y, points[count - 1].y));
    sima.WriteLine(kokudo::SimaZ00("筆 " + chiban));
    sima.WriteLine(kokudo::SimaD00(lot, chiban, closed ? kClosed : kOpen));
    // A closed ring's last point repeats its first and is not listed.
    const std::size_t listed = closed && count > 0 ? count - 1 : count;
    for (std::size_t i = 0; i < listed; ++i) {
      const std::int32_t k = lots.pointNumbers[ring.firstPoint + i];
      line.clear();
      kokudo::AppendSimaB01(line, k, lots.boundaryPoints[static_cast<std::size_t>(k - 1)].name);
      sima.WriteLine(line);
    }
    sima.WriteAsciiLine(kokudo::SimaTag("D99"));
  }
}

}  // namespace parquill
