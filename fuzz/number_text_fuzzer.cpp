// The lenient number rule: any text gives a finite number or the overflow
// error, and the integer conversions give a value in range or the overflow.
#include <cmath>

#include "base/number_text.h"
#include "base/runtime_error.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double value = 0;
  try {
    value = NumberFromText(fuzz::Bytes(data, size));
  } catch (const RuntimeError& error) {
    fuzz::Check(error.number() == kOverflow, "a number error other than overflow");
    return 0;
  }
  fuzz::Check(std::isfinite(value), "a number that is not finite");
  for (auto convert : {+[](double v) { return static_cast<double>(ToInt16(v)); },
                       +[](double v) { return static_cast<double>(ToInt32(v)); }}) {
    try {
      double rounded = convert(value);
      fuzz::Check(std::fabs(rounded - value) <= 0.5, "an integer far from its number");
    } catch (const RuntimeError& error) {
      fuzz::Check(error.number() == kOverflow, "an integer error other than overflow");
    }
  }
  return 0;
}
