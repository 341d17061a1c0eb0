#include "convert/drawing_lots.h"

#include "base/number_text.h"
#include "mif/mif_format.h"

namespace parquill {
namespace {

constexpr int kChibanDeclaredWidth = 20;

double AsTheMifHoldsIt(double value) { return NumberFromText(FormatMifCoordinate(value)); }

}  // namespace

LotModel NewDrawingLots() {
  LotModel lots;
  lots.idType = "Char(8)";
  lots.columns = {{"Chiban", kChibanDeclaredWidth}};
  return lots;
}

void AddDrawnLot(LotModel& lots, const double* x, const double* y, std::size_t count) {
  lots.AddLot();
  lots.AddRing();
  for (std::size_t k = 0; k < count; ++k) {
    lots.AddPoint({AsTheMifHoldsIt(x[k]), AsTheMifHoldsIt(y[k])});
  }
}

}  // namespace parquill
