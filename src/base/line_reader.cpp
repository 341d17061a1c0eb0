#include "base/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "mif/buffered_point_line.h"
#include "base/number_block_reader.h"
#include "base/runtime_error.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parquill {
namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
// Reads of 64 KiB: large enough that a read costs little per byte, small
// enough that the buffer's pages a conversion touches (and the kernel must
// provide) stay few.
constexpr std::size_t kReadSize = std::size_t{1} << 16;
// Zero bytes kept after the bytes read, so that a block of 64 bytes can be
// examined anywhere before the end.
constexpr std::size_t kPadding = 64;
static_assert(kPadding >= LineReader::kReadableAfterLine);

// One bit for each of the 16 bytes at p that is CR or LF (bit i for p[i]).
inline unsigned ShortLineEndMask(const char* p) {
#if defined(__SSE2__)
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
  return static_cast<unsigned>(_mm_movemask_epi8(ends));
#else
  unsigned mask = 0;
  for (int i = 0; i < 16; ++i) {
    if (p[i] == '\n' || p[i] == '\r') mask |= 1u << i;
  }
  return mask;
#endif
}

// One bit for each of the 64 bytes at p that is CR or LF (bit i for p[i]).
std::uint64_t LineEndMask(const char* p) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  std::uint64_t mask = 0;
  for (int k = 0; k < 4; ++k) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr));
    mask |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(ends)))
            << (16 * k);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) {
    if (p[i] == '\n' || p[i] == '\r') mask |= std::uint64_t{1} << i;
  }
  return mask;
#endif
}

// The first bytes of the literals a skip looks for; more than this many
// different ones make every line start a candidate.
constexpr int kMostFirstBytes = 4;

// The first bytes a skip looks for, ready to be compared with 16 bytes at
// once: set up once per skip, not once per block.
class FirstByteSet {
 public:
  // `count` of 0 means any byte.
  FirstByteSet(const char* firsts, int count) : any_(count == 0) {
    for (int f = 0; f < kMostFirstBytes; ++f) {
      // Unused places repeat the first byte: every place is always compared.
      const char c = count == 0 ? '\0' : firsts[f < count ? f : 0];
#if defined(__SSE2__)
      vectors_[f] = _mm_set1_epi8(c);
#else
      bytes_[f] = c;
#endif
    }
  }

  bool any() const { return any_; }
#if defined(__SSE2__)
  // 0xFF in each byte of `bytes` equal to one of the first bytes.
  __m128i Match(__m128i bytes) const {
    return _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, vectors_[0]), _mm_cmpeq_epi8(bytes, vectors_[1])),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, vectors_[2]), _mm_cmpeq_epi8(bytes, vectors_[3])));
  }
#else
  bool Match(char c) const {
    return c == bytes_[0] || c == bytes_[1] || c == bytes_[2] || c == bytes_[3];
  }
#endif

 private:
  bool any_;
#if defined(__SSE2__)
  __m128i vectors_[kMostFirstBytes];
#else
  char bytes_[kMostFirstBytes];
#endif
};

struct BlockMasks {
  std::uint64_t cr = 0;
  std::uint64_t lf = 0;
  std::uint64_t first = 0;  // bytes equal to one of the first bytes
};

BlockMasks MasksOf(const char* p, const FirstByteSet& firsts) {
  BlockMasks m;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  auto bits = [](__m128i v, int shift) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(v))) << shift;
  };
  for (int k = 0; k < 4; ++k) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const int shift = 16 * k;
    m.lf |= bits(_mm_cmpeq_epi8(bytes, lf), shift);
    m.cr |= bits(_mm_cmpeq_epi8(bytes, cr), shift);
    m.first |= bits(firsts.Match(bytes), shift);
  }
#else
  for (int i = 0; i < 64; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (p[i] == '\n') m.lf |= bit;
    if (p[i] == '\r') m.cr |= bit;
    if (firsts.Match(p[i])) m.first |= bit;
  }
#endif
  if (firsts.any()) m.first = ~std::uint64_t{0};
  return m;
}

// The number of bits set, without a library call where the instruction set
// has no population count.
inline int CountBits(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ULL;
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

// Bit i set when an odd number of bits 0..i are set.
inline std::uint64_t PrefixParity(std::uint64_t x) {
  x ^= x << 1;
  x ^= x << 2;
  x ^= x << 4;
  x ^= x << 8;
  x ^= x << 16;
  x ^= x << 32;
  return x;
}

// What the group pair walk needs to know of 64 bytes.
struct PairMasks {
  std::uint64_t cr = 0;
  std::uint64_t lf = 0;
  std::uint64_t blank = 0;
  std::uint64_t digit = 0;
  std::uint64_t zero = 0;
};

PairMasks PairMasksOf(const char* p) {
  PairMasks m;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i blank = _mm_set1_epi8(' ');
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i belowZero = _mm_set1_epi8('0' - 1);
  const __m128i aboveNine = _mm_set1_epi8('9' + 1);
  auto bits = [](__m128i v, int shift) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(v))) << shift;
  };
  for (int k = 0; k < 4; ++k) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const int shift = 16 * k;
    m.lf |= bits(_mm_cmpeq_epi8(bytes, lf), shift);
    m.cr |= bits(_mm_cmpeq_epi8(bytes, cr), shift);
    m.blank |= bits(_mm_cmpeq_epi8(bytes, blank), shift);
    m.zero |= bits(_mm_cmpeq_epi8(bytes, zero), shift);
    m.digit |= bits(
        _mm_and_si128(_mm_cmpgt_epi8(bytes, belowZero), _mm_cmplt_epi8(bytes, aboveNine)), shift);
  }
#else
  for (int i = 0; i < 64; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << i;
    if (p[i] == '\n') m.lf |= bit;
    if (p[i] == '\r') m.cr |= bit;
    if (p[i] == ' ') m.blank |= bit;
    if (p[i] == '0') m.zero |= bit;
    if (p[i] >= '0' && p[i] <= '9') m.digit |= bit;
  }
#endif
  return m;
}

// Bits i of the 128 bits `low`, `high` from bit `k` on: bit i is bit i + k.
inline std::uint64_t Ahead(std::uint64_t low, std::uint64_t high, int k) {
  return (low >> k) | (high << (64 - k));
}

// One conversion opens the drawing and the MIF file several times, one after
// the other and on two threads: the buffers of closed readers are kept (two at
// most, as many as readers open at once in a conversion) for the next ones,
// whose reads then land in pages already mapped instead of fresh ones.
class SpareBuffers {
 public:
  std::unique_ptr<char[]> Take(std::size_t size) {
    {
      std::lock_guard lock(mutex_);
      for (auto& spare : spares_) {
        if (spare) return std::move(spare);
      }
    }
    // Left uninitialised: only the pages that lines reach are ever touched.
    return std::make_unique_for_overwrite<char[]>(size);
  }
  void Keep(std::unique_ptr<char[]> buffer) {
    std::lock_guard lock(mutex_);
    for (auto& spare : spares_) {
      if (!spare) {
        spare = std::move(buffer);
        return;
      }
    }
  }

 private:
  std::mutex mutex_;
  std::unique_ptr<char[]> spares_[2];
};

SpareBuffers& Spares() {
  static SpareBuffers spares;
  return spares;
}

std::unique_ptr<char[]> TakeBuffer(std::size_t size) { return Spares().Take(size); }

void KeepBuffer(std::unique_ptr<char[]> buffer) { Spares().Keep(std::move(buffer)); }

}  // namespace

bool IsUsualNonZeroGroupCode(std::string_view line) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (line.size() != 3 || line[0] != ' ' || !(line[1] == ' ' || digit(line[1])) || !digit(line[2]))
    return false;
  return !((line[1] == ' ' || line[1] == '0') && line[2] == '0');
}

LineReader::LineReader(const std::string& path) : path_(path) {
  if (path.empty()) throw RuntimeError(kFileNotFound);
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) ThrowFileError(errno, path);
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode)) {
    int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(fd_);
    fd_ = -1;
    ThrowFileError(error, path);
  }
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  capacity_ = kLongestLine + kReadSize + 1;
  buffer_ = TakeBuffer(capacity_ + kPadding);
  std::memset(buffer_.get(), 0, kPadding);
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
  KeepBuffer(std::move(buffer_));
}

// Position of the next `c` at or after begin_, or kNotFound. `cache` remembers
// the search: no `c` lies in [begin_, cache), so every byte is scanned once.
std::size_t LineReader::Find(char c, std::size_t& cache) {
  if (cache < begin_) cache = begin_;
  if (cache < end_ && buffer_[cache] == c) return cache;
  const void* hit = std::memchr(buffer_.get() + cache, c, end_ - cache);
  if (hit == nullptr) {
    cache = end_;
    return kNotFound;
  }
  cache = static_cast<std::size_t>(static_cast<const char*>(hit) - buffer_.get());
  return cache;
}

void LineReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    crCache_ = crCache_ > begin_ ? crCache_ - begin_ : 0;
    lfCache_ = lfCache_ > begin_ ? lfCache_ - begin_ : 0;
    begin_ = 0;
    std::memset(buffer_.get() + end_, 0, kPadding);
  }
  std::size_t room = capacity_ - end_;
  if (room > kReadSize) room = kReadSize;
  for (;;) {
    ssize_t got = ::read(fd_, buffer_.get() + end_, room);
    if (got > 0) {
      end_ += static_cast<std::size_t>(got);
      std::memset(buffer_.get() + end_, 0, kPadding);
      return;
    }
    if (got == 0) {
      eof_ = true;
      return;
    }
    if (errno != EINTR) ThrowFileError(errno, path_);
  }
}

// Forgets the line ends of the current block that lie before begin_.
inline void LineReader::DropEndsBeforeBegin() {
  if (begin_ <= maskBase_) return;
  const std::size_t passed = begin_ - maskBase_;
  mask_ = passed >= 64 ? 0 : mask_ >> passed << passed;
}

// The common case: the line's end lies among the bytes read, and is not a CR
// that may be the first half of a CR LF still unread. The line ends are found
// 64 bytes at a time, as a bit mask, and taken from it one after the other.
bool LineReader::TakeMaskedLine(std::string_view& line) {
  const char* data = buffer_.get();
  for (;;) {
    if (mask_ == 0) {
      if (maskNext_ >= end_) return false;
      maskBase_ = maskNext_;
      maskNext_ += 64;
      mask_ = LineEndMask(data + maskBase_);  // past end_ only zeros: no ends
      DropEndsBeforeBegin();                  // the LF of a CR LF cut by the block's edge
      continue;
    }
    const std::size_t at = maskBase_ + static_cast<std::size_t>(std::countr_zero(mask_));
    const bool isCr = data[at] == '\r';
    if (at >= end_ || (isCr && at + 1 == end_) || at - begin_ > kLongestLine) return false;
    line = std::string_view(data + begin_, at - begin_);
    begin_ = at + 1 + (isCr && data[at + 1] == '\n' ? 1 : 0);
    ++lineNumber_;
    DropEndsBeforeBegin();
    return true;
  }
}

bool LineReader::Next(std::string_view& line) {
  if (TakeMaskedLine(line)) return true;
  const bool got = NextAfterSearch(line);
  mask_ = 0;  // the bytes may have moved: the masks start again at begin_
  maskNext_ = begin_;
  return got;
}

bool LineReader::NextAfterSearch(std::string_view& line) {
  for (;;) {
    std::size_t lf = Find('\n', lfCache_);
    std::size_t cr = Find('\r', crCache_);
    std::size_t stop = lf < cr ? lf : cr;
    if (stop != kNotFound) {
      if (stop - begin_ > kLongestLine) break;
      if (stop == cr && cr + 1 == end_ && !eof_) {
        Fill();  // is the CR followed by an LF? Read on to know.
        continue;
      }
      line = std::string_view(buffer_.get() + begin_, stop - begin_);
      std::size_t next = stop + 1;
      if (stop == cr && next < end_ && buffer_[next] == '\n') ++next;
      begin_ = next;
      ++lineNumber_;
      return true;
    }
    if (end_ - begin_ > kLongestLine) break;
    if (eof_) {
      if (begin_ == end_) return false;
      line = std::string_view(buffer_.get() + begin_, end_ - begin_);
      begin_ = end_;
      ++lineNumber_;
      return true;
    }
    Fill();
  }
  throw RuntimeError(kOutOfMemory, "1 行が長すぎます（" + std::to_string(kLongestLine) +
                                       " バイトを超えています）。行 " +
                                       std::to_string(lineNumber_ + 1) + " (" + path_ + ")");
}

bool LineReader::SkipToAnyOf(std::span<const std::string_view> literals, std::string_view& line) {
  for (;;) {
    SkipBufferedLines(literals);
    if (!Next(line)) return false;
    for (std::string_view literal : literals) {
      if (line == literal) return true;
    }
  }
}

// Moves begin_ over the whole lines of the buffer that equal none of the
// literals, up to the first one that does, or to the last line start before
// the bytes still needed to judge a line (the next Next() reads on from
// there). Every line passed ends in the buffer and is shorter than
// kLongestLine. The line ends are counted as Next() counts them: a CR LF is
// one end, counted at its CR.
void LineReader::SkipBufferedLines(std::span<const std::string_view> literals) {
  char firsts[kMostFirstBytes];
  int firstCount = 0;
  std::size_t longest = 0;
  for (std::string_view literal : literals) {
    if (literal.empty()) return;  // an empty line: left to Next()
    if (literal.size() > longest) longest = literal.size();
  }
  for (std::string_view literal : literals) {
    bool known = false;
    for (int f = 0; f < firstCount; ++f) known = known || firsts[f] == literal.front();
    if (known) continue;
    if (firstCount == kMostFirstBytes) {
      firstCount = 0;  // too many: every line start is a candidate
      break;
    }
    firsts[firstCount++] = literal.front();
  }
  const FirstByteSet firstBytes(firsts, firstCount);

  const char* data = buffer_.get();
  const std::size_t start = begin_;
  std::size_t base = start;
  std::size_t lineStart = start;
  std::uint64_t startCarry = 1;  // begin_ starts a line
  std::uint64_t crCarry = 0;     // Next() never stops between a CR and its LF
  std::int64_t ends = 0;
  auto finish = [&](std::size_t at) {
    begin_ = at;
    lineNumber_ += ends;
    mask_ = 0;
    maskNext_ = begin_;
  };
  // A block is judged with the bytes after it at hand: the one after its
  // last byte (CR LF), and a whole literal plus its end from its last start.
  while (base + 64 + longest < end_ && base + 64 - start < kLongestLine) {
    const BlockMasks m = MasksOf(data + base, firstBytes);
    const std::uint64_t lineEnds = m.cr | m.lf;
    const std::uint64_t counted = m.cr | (m.lf & ~((m.cr << 1) | crCarry));
    std::uint64_t candidates = ((lineEnds << 1) | startCarry) & m.first & ~lineEnds;
    while (candidates != 0) {
      const int bit = std::countr_zero(candidates);
      const std::size_t at = base + static_cast<std::size_t>(bit);
      for (std::string_view literal : literals) {
        const char after = data[at + literal.size()];
        if ((after == '\r' || after == '\n') &&
            std::memcmp(data + at, literal.data(), literal.size()) == 0) {
          ends += CountBits(counted & ((std::uint64_t{1} << bit) - 1));
          finish(at);
          return;
        }
      }
      candidates &= candidates - 1;
    }
    ends += CountBits(counted);
    if (lineEnds != 0) {
      const std::size_t last = base + 63 - static_cast<std::size_t>(std::countl_zero(lineEnds));
      lineStart = last + 1 + (data[last] == '\r' && data[last + 1] == '\n' ? 1 : 0);
    }
    startCarry = lineEnds >> 63;
    crCarry = m.cr >> 63;
    base += 64;
  }
  if (base != start) finish(lineStart);  // lineStart follows the last end counted
}

bool LineReader::NextUnusualGroupCode(std::string_view& codeLine) {
  for (;;) {
    const bool unusual = SkipBufferedGroupPairs();
    if (!Next(codeLine)) return false;
    if (unusual || !IsUsualNonZeroGroupCode(codeLine)) return true;
    std::string_view value;
    if (!Next(value)) return false;
  }
}

// Moves begin_ over the group pairs of the buffer whose code line is usual
// (IsUsualNonZeroGroupCode), to the first code line that is not (true), or
// to the last code line start before the bytes still needed to judge one
// (false). The lines are numbered from begin_, the code lines being the even
// ones; the line ends are counted as in SkipBufferedLines.
bool LineReader::SkipBufferedGroupPairs() {
  const char* data = buffer_.get();
  const std::size_t start = begin_;
  if (start + 128 > end_) return false;
  std::size_t base = start;
  std::size_t codeStart = start;  // the last code line start passed
  std::int64_t endsBeforeCodeStart = 0;
  std::int64_t ends = 0;
  std::uint64_t startCarry = 1;  // begin_ starts a line
  std::uint64_t parityCarry = 0;
  std::uint64_t crCarry = 0;
  PairMasks m = PairMasksOf(data + base);
  auto finish = [&](std::size_t at, std::int64_t passedEnds) {
    begin_ = at;
    lineNumber_ += passedEnds;
    mask_ = 0;
    maskNext_ = begin_;
  };
  // A block is judged with the next one at hand (a code line's 3 bytes and
  // its end; the LF after a CR).
  while (base + 128 <= end_ && base + 64 - start < kLongestLine) {
    const PairMasks n = PairMasksOf(data + base + 64);
    const std::uint64_t lineEnds = m.cr | m.lf;
    const std::uint64_t nextLf = Ahead(m.lf, n.lf, 1);
    // A CR LF counts once, at its CR; the line after it starts after the LF.
    const std::uint64_t counted = m.cr | (m.lf & ~((m.cr << 1) | crCarry));
    const std::uint64_t lastEndBytes = m.lf | (m.cr & ~nextLf);
    const std::uint64_t starts = (lastEndBytes << 1) | startCarry;
    const std::uint64_t parity = PrefixParity(starts) ^ (parityCarry ? ~std::uint64_t{0} : 0);
    const std::uint64_t codeStarts = starts & parity;  // the 1st, 3rd... line from begin_
    const std::uint64_t usual =
        m.blank & Ahead(m.blank | m.digit, n.blank | n.digit, 1) & Ahead(m.digit, n.digit, 2) &
        Ahead(lineEnds, n.cr | n.lf, 3) &
        ~(Ahead(m.blank | m.zero, n.blank | n.zero, 1) & Ahead(m.zero, n.zero, 2));
    const std::uint64_t unusual = codeStarts & ~usual;
    if (unusual != 0) {
      const int bit = std::countr_zero(unusual);
      finish(base + static_cast<std::size_t>(bit),
             ends + CountBits(counted & ((std::uint64_t{1} << bit) - 1)));
      return true;
    }
    if (codeStarts != 0) {
      const int bit = 63 - std::countl_zero(codeStarts);
      codeStart = base + static_cast<std::size_t>(bit);
      endsBeforeCodeStart = ends + CountBits(counted & ((std::uint64_t{1} << bit) - 1));
    }
    ends += CountBits(counted);
    startCarry = lastEndBytes >> 63;
    parityCarry = parity >> 63;
    crCarry = m.cr >> 63;
    base += 64;
    m = n;
  }
  if (codeStart != start) finish(codeStart, endsBeforeCodeStart);
  return false;
}

// The end of the line that starts at `start`, when it lies within the next
// 16 bytes and Next() would judge it from the bytes read alone: `stop` at
// its first byte, `next` after it (a CR LF is one end). False otherwise.
inline bool LineReader::ShortLineEnd(std::size_t start, std::size_t& stop,
                                     std::size_t& next) const {
  const char* data = buffer_.get();
  const unsigned ends = ShortLineEndMask(data + start);  // the padding keeps this inside
  if (ends == 0) return false;
  stop = start + static_cast<std::size_t>(std::countr_zero(ends));
  if (stop >= end_) return false;
  const bool isCr = data[stop] == '\r';
  if (isCr && stop + 1 == end_) return false;  // its LF may still be unread
  next = stop + 1 + (isCr && data[stop + 1] == '\n' ? 1 : 0);
  return true;
}

namespace {

// The code of a usual code line: its last two characters, a blank read as 0.
inline int UsualCode(std::string_view codeLine) {
  return (codeLine[1] == ' ' ? 0 : codeLine[1] - '0') * 10 + (codeLine[2] - '0');
}

}  // namespace

int LineReader::RequireUsualGroupPair(std::string_view& line) {
  std::size_t codeStop = 0;
  std::size_t valueStart = 0;
  std::size_t valueStop = 0;
  std::size_t next = 0;
  const std::string_view fastCode(
      buffer_.get() + begin_, ShortLineEnd(begin_, codeStop, valueStart) ? codeStop - begin_ : 0);
  if (IsUsualNonZeroGroupCode(fastCode) && ShortLineEnd(valueStart, valueStop, next)) {
    line = std::string_view(buffer_.get() + valueStart, valueStop - valueStart);
    begin_ = next;
    lineNumber_ += 2;
    mask_ = 0;  // the line ends are looked for again from begin_
    maskNext_ = begin_;
    return UsualCode(fastCode);
  }
  line = Require();
  if (!IsUsualNonZeroGroupCode(line)) return 0;
  const int code = UsualCode(line);  // read before the next line may move the bytes
  line = Require();
  return code;
}

bool LineReader::RequireUsualPointLine(std::string_view& line, double& x, double& y) {
  // The first lines after a move of the bytes to the buffer's start lack the
  // bytes the look needs before them.
  if (begin_ >= static_cast<std::size_t>(kPointLineReadableBefore)) {
    static_assert(kPadding >= kPointLineReadableFrom);
    const char* data = buffer_.get();
    const int size = ReadBufferedPointLine(data + begin_, x, y);
    if (size >= 0) {
      const std::size_t stop = begin_ + static_cast<std::size_t>(size);
      const bool isCr = data[stop] == '\r';
      // Its end lies among the bytes read and is no CR whose LF may be unread.
      if (stop < end_ && !(isCr && stop + 1 == end_)) {
        line = std::string_view(data + begin_, static_cast<std::size_t>(size));
        begin_ = stop + 1 + (isCr && data[stop + 1] == '\n' ? 1 : 0);
        ++lineNumber_;
        mask_ = 0;  // the line ends are looked for again from begin_
        maskNext_ = begin_;
        return true;
      }
    }
  }
  line = Require();
  return false;
}

std::int32_t LineReader::TakeUsualPointLines(std::int32_t count, double* x, double* y) {
  // The first lines after a move of the bytes to the buffer's start lack the
  // bytes the look needs before them.
  if (begin_ < static_cast<std::size_t>(kPointLineReadableBefore)) return 0;
  const char* data = buffer_.get();
  std::size_t at = begin_;
  std::int32_t taken = 0;
  while (taken < count) {
    double lineX = 0;
    double lineY = 0;
    const int size = ReadBufferedPointLine(data + at, lineX, lineY);
    if (size < 0) break;
    const std::size_t stop = at + static_cast<std::size_t>(size);
    const bool isCr = data[stop] == '\r';
    // Its end lies among the bytes read and is no CR whose LF may be unread.
    if (stop >= end_ || (isCr && stop + 1 == end_)) break;
    at = stop + 1 + (isCr && data[stop + 1] == '\n' ? 1 : 0);
    x[taken] = lineX;
    y[taken] = lineY;
    ++taken;
  }
  if (taken != 0) {
    begin_ = at;
    lineNumber_ += taken;
    mask_ = 0;  // the line ends are looked for again from begin_
    maskNext_ = begin_;
  }
  return taken;
}

namespace {

// The length, its end included, of the code line at p when it is " 10" (for
// `tens` '1') or " 20" (for '2'); 0 for any other line. A CR ends the line
// alone when no LF follows it.
inline std::size_t VertexCodeLineLength(const char* p, char tens) {
  // The first four bytes compared at once: the code, then a CR or an LF.
  auto word = [](const char* bytes) {
    std::uint32_t w = 0;
    std::memcpy(&w, bytes, sizeof w);
    return w;
  };
  const char crEnded[4] = {' ', tens, '0', '\r'};
  const char lfEnded[4] = {' ', tens, '0', '\n'};
  const std::uint32_t first = word(p);
  if (first == word(crEnded)) return p[4] == '\n' ? 5 : 4;
  return first == word(lfEnded) ? 4 : 0;
}

}  // namespace

std::int32_t LineReader::TakeUsualVertices(std::int32_t count, double* x, double* y) {
#if defined(__SSE2__)
  // Beyond the bytes read lie kPadding zero bytes, which are no part of any
  // line of the vertex shape: a vertex that runs past end_ fails its shape
  // there, so only the end of its last line needs a look at end_. Each line
  // starts at end_ at the latest, and is looked at no further than a number
  // block (and its sign) beyond its start.
  static_assert(kPadding >= kNumberBlockBytes + 1);
  const char* data = buffer_.get();
  const std::size_t end = end_;
  std::size_t at = begin_;
  std::int32_t taken = 0;
  while (taken < count) {
    std::size_t line = at;
    const std::size_t xCode = VertexCodeLineLength(data + line, '1');
    if (xCode == 0) break;
    line += xCode;
    double vertexX = 0;
    const int xSize = ReadNumberBlockLine(data + line, vertexX);
    if (xSize < 0) break;
    line += static_cast<std::size_t>(xSize);
    line += data[line] == '\r' && data[line + 1] == '\n' ? 2 : 1;
    const std::size_t yCode = VertexCodeLineLength(data + line, '2');
    if (yCode == 0) break;
    line += yCode;
    double vertexY = 0;
    const int ySize = ReadNumberBlockLine(data + line, vertexY);
    if (ySize < 0) break;
    const std::size_t stop = line + static_cast<std::size_t>(ySize);
    const bool isCr = data[stop] == '\r';
    // Its end lies among the bytes read and is no CR whose LF may be unread.
    if (stop >= end || (isCr && stop + 1 == end)) break;
    at = stop + 1 + (isCr && data[stop + 1] == '\n' ? 1 : 0);
    x[taken] = vertexX;
    y[taken] = vertexY;
    ++taken;
  }
  if (taken != 0) {
    begin_ = at;
    lineNumber_ += std::int64_t{4} * taken;
    mask_ = 0;  // the line ends are looked for again from begin_
    maskNext_ = begin_;
  }
  return taken;
#else
  (void)count;
  (void)x;
  (void)y;
  return 0;
#endif
}

std::string_view LineReader::Require() {
  std::string_view line;
  if (!Next(line)) throw RuntimeError(kInputPastEnd);
  return line;
}

}  // namespace parquill
