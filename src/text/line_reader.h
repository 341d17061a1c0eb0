#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace parquill {

// Reads a text file line by line, sequentially, through one large buffer.
// A line ends at CR LF, at a lone CR or at a lone LF; lines come without their
// end, with every other byte (blanks included) kept. The lines are raw bytes:
// decoding is the caller's business (see text_codec.h), done only for what it keeps.
// A line stays valid until the next call.
class LineReader {
 public:
  // The longest line accepted; a longer one raises error 7 rather than
  // letting one broken file take all the memory.
  static constexpr std::size_t kLongestLine = std::size_t{1} << 20;

  // Opens the file; a missing file raises error 53, a folder or another
  // unreadable path error 75 or 70.
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, or false at the end of the file.
  bool Next(std::string_view& line) { return TakeShortLine(line) || NextAfterSearch(line); }
  // The next line; the end of the file raises error 62 (input past end).
  std::string_view Require();

  // Number of lines delivered so far (the current line's number, from 1).
  std::int64_t lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

 private:
  // Zero bytes kept after the bytes read, so that eight bytes can be loaded
  // at once anywhere before the end.
  static constexpr std::size_t kPadding = 8;
  // How far the quick search looks for a line end: most lines are short.
  static constexpr std::size_t kQuickReach = 32;

  bool TakeShortLine(std::string_view& line);
  bool NextAfterSearch(std::string_view& line);
  std::size_t Find(char c, std::size_t& cache);
  void Fill();

  std::string path_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;  // first byte not yet delivered
  std::size_t end_ = 0;    // end of the bytes read
  std::size_t crCache_ = 0;
  std::size_t lfCache_ = 0;
  bool eof_ = false;
  std::int64_t lineNumber_ = 0;
};

// The common case, kept inline: a short line whose end (CR or LF) is among
// the next few bytes read, and not a CR that may be the first half of a CR LF
// still unread. The bytes are searched eight at a time.
inline bool LineReader::TakeShortLine(std::string_view& line) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  const char* data = buffer_.get();
  const std::size_t limit = end_ - begin_ > kQuickReach ? begin_ + kQuickReach : end_;
  for (std::size_t i = begin_; i < limit; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, sizeof word);  // at most into the padding
    const std::uint64_t lf = word ^ (kOnes * '\n');
    const std::uint64_t cr = word ^ (kOnes * '\r');
    // A zero byte of lf or cr sets its high bit; a borrow may set bits above
    // the first one only, so the lowest bit set is exact.
    const std::uint64_t hits = ((lf - kOnes) & ~lf & kHighs) | ((cr - kOnes) & ~cr & kHighs);
    if (hits == 0) continue;
    const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
    if (at >= end_) return false;
    const bool isCr = data[at] == '\r';
    if (isCr && at + 1 == end_) return false;  // is an LF next? only a read can tell
    line = std::string_view(data + begin_, at - begin_);
    begin_ = at + 1 + (isCr && data[at + 1] == '\n' ? 1 : 0);
    ++lineNumber_;
    return true;
  }
  return false;
}

}  // namespace parquill
