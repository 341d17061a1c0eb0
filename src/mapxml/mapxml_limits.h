#pragma once

#include <cstddef>
#include <cstdint>

// What a 地図XML file or its ZIP may ask of the reader. The registry's files
// stay far below each limit; a file beyond one is refused with its line, so
// that no file, however made, takes unbounded time or memory.
namespace parquill::mapxml {

// Elements inside one another (the registry's files nest about a dozen deep).
inline constexpr int kDeepestNesting = 64;
// The text of one element the reader keeps: a coordinate, a lot number, a name.
inline constexpr std::size_t kLongestText = 4096;
// One id or idref attribute value.
inline constexpr std::size_t kLongestId = 256;
// (Longer names, attribute values and texts are refused by libxml2 itself,
// which is used without XML_PARSE_HUGE: 50,000 bytes for a name, 10 MB for
// a text or an attribute value, 256 levels.)
// The bytes read and parsed at a time.
inline constexpr std::size_t kReadChunk = std::size_t{1} << 18;
// One 地図XML file, as read from disk or out of its ZIP.
inline constexpr std::uint64_t kLargestMapXml = std::uint64_t{4} << 30;
// A ZIP inside a ZIP is written to a temporary file and read from there: at
// most this size.
inline constexpr std::uint64_t kLargestNestedZip = std::uint64_t{512} << 20;
// ZIPs inside ZIPs inside ZIPs: at most this many levels below the file.
inline constexpr int kDeepestZipNesting = 3;
// Curves given as another curve with an orientation, one after the other.
inline constexpr int kLongestCurveChain = 8;

}  // namespace parquill::mapxml
