#include "sima/mif_line_rules.h"

#include <algorithm>
#include <array>

#include "sima/point_table.h"
#include "geometry/survey.h"
#include "base/number_text.h"
#include "mif/plain_point_line.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"

namespace parquill {
namespace {

constexpr std::int32_t kDecimals = 5;

constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool RingCloses(const Coordinate& first, const Coordinate& last) {
  return WithinTolerance(first.x, last.x) && WithinTolerance(first.y, last.y);
}

bool StartsWithKeyword(std::string_view line, std::string_view upperKeyword) {
  if (line.size() < upperKeyword.size()) return false;
  for (std::size_t i = 0; i < upperKeyword.size(); ++i) {
    if (Upper(line[i]) != upperKeyword[i]) return false;
  }
  return true;
}

std::string DelimiterFromLine(std::string_view line) {
  // A double quote is never part of a two-byte character in CP932, so the
  // quotes can be found in the raw bytes.
  std::size_t open = line.find('"');
  if (open == std::string_view::npos) throw RuntimeError(kInvalidCall);
  std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) throw RuntimeError(kInvalidCall);
  return DecodeText(line.substr(open + 1, close - open - 1), TextEncoding::kCp932);
}

std::int32_t ReadRingPointCount(LineReader& mif) {
  std::int32_t count = ToInt32(NumberFromText(mif.Require()));
  if (count < 0) throw RuntimeError(kSubscriptOutOfRange);
  return count;
}

Coordinate CoordinateFromLine(std::string_view line, bool swap) {
  Coordinate plain;
  if (ReadPlainPointLine(line, plain.x, plain.y)) {
    // Already at most five decimals: the rounding would leave them.
    if (swap) survey::dswap(plain.x, plain.y);
    return plain;
  }
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) throw RuntimeError(kSubscriptOutOfRange);
  std::string_view rest = line.substr(blank + 1);
  std::string_view yText = rest.substr(0, rest.find(' '));
  Coordinate c{survey::round(NumberFromText(line.substr(0, blank)), kDecimals),
               survey::round(NumberFromText(yText), kDecimals)};
  if (swap) survey::dswap(c.x, c.y);
  return c;
}

Coordinate RequireCoordinate(LineReader& mif, bool swap) {
  return CoordinateFromLine(mif.Require(), swap);
}

void RequireRingCoordinates(LineReader& mif, std::int32_t count, StepHost& host,
                            std::vector<Coordinate>& ring) {
  ring.clear();
  for (std::int32_t j = 1; j <= count; ++j) {
    ring.push_back(RequireCoordinate(mif, host.SwapTicked()));
  }
}

}  // namespace parquill
