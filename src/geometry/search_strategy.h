#pragma once

namespace parquill {

// How the conversion looks things up: through its indexes (the normal way),
// or by scanning everything from the start, one item after the other. Both
// give the same answers; the scan is kept as the reference the indexes are
// checked and timed against.
enum class SearchStrategy { kIndexed, kLinear };

}  // namespace parquill
