#include "text/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "text/runtime_error.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parquill {
namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
constexpr std::size_t kReadSize = std::size_t{1} << 18;
// Zero bytes kept after the bytes read, so that a block of 64 bytes can be
// examined anywhere before the end.
constexpr std::size_t kPadding = 64;

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

}  // namespace

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
  // Left uninitialised: only the pages that lines reach are ever touched.
  buffer_ = std::make_unique_for_overwrite<char[]>(capacity_ + kPadding);
  std::memset(buffer_.get(), 0, kPadding);
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
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

std::string_view LineReader::Require() {
  std::string_view line;
  if (!Next(line)) throw RuntimeError(kInputPastEnd);
  return line;
}

}  // namespace parquill
