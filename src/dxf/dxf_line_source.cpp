#include "dxf/dxf_line_source.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "base/number_text.h"
#include "base/runtime_error.h"
#include "base/trim.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The two scans over 64-byte blocks are compiled a second time for AVX2,
// and the program loader picks that one where the processor has it: the same
// code in shorter instructions, about 12 % off a 200 MB drawing. (Clang
// takes the attribute only on a member's first declaration: not there.)
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define PARQUILL_BLOCK_SCAN [[gnu::target_clones("avx2", "default")]]
#else
#define PARQUILL_BLOCK_SCAN
#endif

namespace parquill {

double GroupCodeValue(std::string_view line) {
  const char first = line.empty() ? '\0' : line.front();
  if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) return 0;
  return NumberFromText(line);
}

int WholeGroupCode(std::string_view line) {
  double value = 0;
  try {
    value = GroupCodeValue(line);
  } catch (const RuntimeError& error) {
    // A hexadecimal handle such as 10E400 reads as a number beyond the
    // double range: it is no group code.
    if (error.number() != kOverflow) throw;
    return kNoWholeCode;
  }
  if (!(value >= 0 && value <= 999'999'999) || value != std::floor(value)) return kNoWholeCode;
  return static_cast<int>(value);
}

bool IsUsualNonZeroGroupCode(std::string_view line) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (line.size() != 3 || line[0] != ' ' || !(line[1] == ' ' || digit(line[1])) || !digit(line[2]))
    return false;
  return !((line[1] == ' ' || line[1] == '0') && line[2] == '0');
}

namespace {

// One bit for each of the 64 bytes at p from `low` to `high` (bit i for p[i]).
inline std::uint64_t BytesWithin(const char* p, char low, char high) {
#if defined(__SSE2__)
  const __m128i lowest = _mm_set1_epi8(low);
  const __m128i span = _mm_set1_epi8(static_cast<char>(high - low));
  std::uint64_t mask = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i above =
        _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k)), lowest);
    const __m128i within = _mm_cmpeq_epi8(_mm_min_epu8(above, span), above);
    mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(within))} << (16 * k);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) {
    if (p[i] >= low && p[i] <= high) mask |= std::uint64_t{1} << i;
  }
  return mask;
#endif
}

// One bit for each of the 64 bytes at p equal to c (bit i for p[i]).
inline std::uint64_t BytesEqual(const char* p, char c) {
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(c);
  std::uint64_t mask = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const auto bits = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted));
    mask |= std::uint64_t{static_cast<std::uint16_t>(bits)} << (16 * k);
  }
  return mask;
#else
  return BytesWithin(p, c, c);
#endif
}

// Bit i set when an odd number of bits 0..i are set.
inline std::uint64_t PrefixParity(std::uint64_t x) {
  for (int shift = 1; shift < 64; shift *= 2) x ^= x << shift;
  return x;
}

// Bits i of the 128 bits `low`, `high` from bit `k` on: bit i is bit i + k.
inline std::uint64_t Ahead(std::uint64_t low, std::uint64_t high, int k) {
  return (low >> k) | (high << (64 - k));
}

// The line ends of a block, a CR LF counted once, at its CR; `crBefore` is
// 1 when the byte before the block is a CR.
inline std::uint64_t CountedEnds(std::uint64_t cr, std::uint64_t lf, std::uint64_t crBefore) {
  return cr | (lf & ~((cr << 1) | crBefore));
}

// The number of bits set, without a library call where the instruction set
// has no population count.
inline int CountBits(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ULL;
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

inline std::int64_t EndsBelow(std::uint64_t counted, int bit) {
  return CountBits(counted & ((std::uint64_t{1} << bit) - 1));
}

}  // namespace

bool DxfLineSource::SkipTo(std::span<const std::string_view> keywords, std::string_view& line) {
  for (;;) {
    PassLinesBefore(keywords);
    if (!lines_.Next(line)) return false;
    for (std::string_view keyword : keywords) {
      if (line == keyword) return true;
    }
  }
}

// Passes the whole buffered lines that equal none of the keywords, up to the
// first one that does, or to the last line start before the bytes still
// needed to judge a line (Next() reads on from there).
PARQUILL_BLOCK_SCAN void DxfLineSource::PassLinesBefore(
    std::span<const std::string_view> keywords) {
  std::size_t longest = 0;
  for (std::string_view keyword : keywords) {
    if (keyword.empty()) return;  // an empty line: left to Next()
    longest = std::max(longest, keyword.size());
  }
  const std::string_view buffered = lines_.Buffered();
  const char* data = buffered.data();
  std::size_t base = 0;
  std::size_t lineStart = 0;
  std::uint64_t startCarry = 1;  // the buffered bytes start a line
  std::uint64_t crCarry = 0;     // Next() never stops between a CR and its LF
  std::int64_t ends = 0;
  // A block is judged with the bytes after it at hand: the one after its
  // last byte (CR LF), and a whole keyword plus its end from its last start.
  while (base + 64 + longest < buffered.size() && base + 64 < LineReader::kLongestLine) {
    const char* block = data + base;
    const std::uint64_t cr = BytesEqual(block, '\r');
    const std::uint64_t lf = BytesEqual(block, '\n');
    const std::uint64_t lineEnds = cr | lf;
    const std::uint64_t counted = CountedEnds(cr, lf, crCarry);
    std::uint64_t firsts = 0;
    for (std::string_view keyword : keywords) firsts |= BytesEqual(block, keyword.front());
    for (std::uint64_t candidates = ((lineEnds << 1) | startCarry) & firsts & ~lineEnds;
         candidates != 0; candidates &= candidates - 1) {
      const int bit = std::countr_zero(candidates);
      const char* at = block + bit;
      for (std::string_view keyword : keywords) {
        const char after = at[keyword.size()];
        if ((after == '\r' || after == '\n') &&
            std::memcmp(at, keyword.data(), keyword.size()) == 0) {
          lines_.Pass(base + static_cast<std::size_t>(bit), ends + EndsBelow(counted, bit));
          return;
        }
      }
    }
    ends += CountBits(counted);
    if (lineEnds != 0) {
      const std::size_t last = base + 63 - static_cast<std::size_t>(std::countl_zero(lineEnds));
      lineStart = last + 1 + (data[last] == '\r' && data[last + 1] == '\n' ? 1 : 0);
    }
    startCarry = lineEnds >> 63;
    crCarry = cr >> 63;
    base += 64;
  }
  lines_.Pass(lineStart, ends);  // lineStart follows the last end counted
}

bool DxfLineSource::PassUsualGroupPairs(std::string_view& codeLine) {
  for (;;) {
    const bool unusual = PassBufferedUsualPairs();
    if (!lines_.Next(codeLine)) return false;
    if (unusual || !IsUsualNonZeroGroupCode(codeLine)) return true;
    std::string_view value;
    if (!lines_.Next(value)) return false;
  }
}

// Passes the buffered group pairs whose code line is usual, to the first
// code line that is not (true), or to the last code line start before the
// bytes still needed to judge one (false). The lines are numbered from the
// first buffered one, the code lines being the odd ones.
PARQUILL_BLOCK_SCAN bool DxfLineSource::PassBufferedUsualPairs() {
  const std::string_view buffered = lines_.Buffered();
  const char* data = buffered.data();
  std::size_t base = 0;
  std::size_t codeStart = 0;  // the last code line start passed
  std::int64_t endsBeforeCodeStart = 0;
  std::int64_t ends = 0;
  std::uint64_t startCarry = 1;  // the buffered bytes start a line
  std::uint64_t parityCarry = 0;
  std::uint64_t crCarry = 0;
  struct Masks {
    std::uint64_t cr, lf, blank, digit, zero;
    explicit Masks(const char* p)
        : cr(BytesEqual(p, '\r')),
          lf(BytesEqual(p, '\n')),
          blank(BytesEqual(p, ' ')),
          digit(BytesWithin(p, '0', '9')),
          zero(BytesEqual(p, '0')) {}
  };
  if (buffered.size() < 128) return false;
  Masks m(data);
  // A block is judged with the next one at hand (a code line's 3 bytes and
  // its end; the LF after a CR).
  while (base + 128 <= buffered.size() && base + 64 < LineReader::kLongestLine) {
    const Masks n(data + base + 64);
    const std::uint64_t lineEnds = m.cr | m.lf;
    const std::uint64_t counted = CountedEnds(m.cr, m.lf, crCarry);
    // A line starts after an LF, or after a CR that no LF follows.
    const std::uint64_t lastEndBytes = m.lf | (m.cr & ~Ahead(m.lf, n.lf, 1));
    const std::uint64_t starts = (lastEndBytes << 1) | startCarry;
    const std::uint64_t parity = PrefixParity(starts) ^ (parityCarry ? ~std::uint64_t{0} : 0);
    const std::uint64_t codeStarts = starts & parity;  // the 1st, 3rd... line
    const std::uint64_t usual =
        m.blank & Ahead(m.blank | m.digit, n.blank | n.digit, 1) & Ahead(m.digit, n.digit, 2) &
        Ahead(lineEnds, n.cr | n.lf, 3) &
        ~(Ahead(m.blank | m.zero, n.blank | n.zero, 1) & Ahead(m.zero, n.zero, 2));
    if (const std::uint64_t unusual = codeStarts & ~usual; unusual != 0) {
      const int bit = std::countr_zero(unusual);
      lines_.Pass(base + static_cast<std::size_t>(bit), ends + EndsBelow(counted, bit));
      return true;
    }
    if (codeStarts != 0) {
      const int bit = 63 - std::countl_zero(codeStarts);
      codeStart = base + static_cast<std::size_t>(bit);
      endsBeforeCodeStart = ends + EndsBelow(counted, bit);
    }
    ends += CountBits(counted);
    startCarry = lastEndBytes >> 63;
    parityCarry = parity >> 63;
    crCarry = m.cr >> 63;
    base += 64;
    m = n;
  }
  lines_.Pass(codeStart, endsBeforeCodeStart);
  return false;
}

}  // namespace parquill
