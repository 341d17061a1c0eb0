#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/line_reader.h"
#include "base/step_outcome.h"

// How the SIMA conversion reads the lines of a MIF file, in both of its readings.
namespace parquill {

// One boundary point as the SIMA file holds it.
struct Coordinate {
  double x = 0;
  double y = 0;
};

// The most points one ring may have, its closing point included.
inline constexpr int kRingCapacity = 1000;

// A ring is closed when its last point repeats its first, within the
// tolerance in X and in Y.
bool RingCloses(const Coordinate& first, const Coordinate& last);

// True when the line's first characters, in upper case, are `upperKeyword`
// ("REGION", "DELIMITER").
bool StartsWithKeyword(std::string_view line, std::string_view upperKeyword);

// The delimiter named by a "Delimiter" line: the text between its first two
// double quotes. Fewer than two quotes raise error 5.
std::string DelimiterFromLine(std::string_view line);

// Reads the line after a region header: the number of points of its first
// ring, rounded to an integer. The end of the file raises 62, a count beyond
// 32 bits 6, a negative count 9.
std::int32_t ReadRingPointCount(LineReader& mif);

// One point line of a ring: cut at every single blank, the first piece is X
// and the second Y (further pieces are ignored); each is rounded to 5 decimal
// places; X and Y are exchanged when `swap` is set. A line without a blank has
// no Y and raises error 9.
Coordinate CoordinateFromLine(std::string_view line, bool swap);

// Reads the next line of the MIF file as a point line of a ring, as
// CoordinateFromLine(mif.Require(), swap) would, with the same results and
// errors; a line of the region builder's shape is read with its end, at once.
Coordinate RequireCoordinate(LineReader& mif, bool swap);

// Reads the `count` point lines of a ring into `ring` (cleared first), in
// file order, as `count` calls of RequireCoordinate(mif, host.SwapTicked())
// would: the same points and errors, the swap box read once for each point.
// The lines of the region builder's shape are read a run at a time.
void RequireRingCoordinates(LineReader& mif, std::int32_t count, StepHost& host,
                            std::vector<Coordinate>& ring);

}  // namespace parquill
