#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace parquill {

// Whether a group code line has the usual shape, three characters (a blank,
// a blank or a digit, a digit), and is not 0 ("  0", " 00"): such a code
// goes with one value line and never ends an entity.
bool IsUsualNonZeroGroupCode(std::string_view line);

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
  // Every line delivered is followed in memory by at least this many
  // readable bytes (its end, the next lines, or zeros), until the next call.
  static constexpr std::size_t kReadableAfterLine = 64;

  // Opens the file; a missing file raises error 53, a folder or another
  // unreadable path error 75 or 70.
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, or false at the end of the file.
  bool Next(std::string_view& line);
  // The same as Next(), for loops that read many short lines: the common
  // case, a line whose end is among the line ends already found in the
  // current 64-byte block, is taken here, in the caller's code.
  inline bool NextQuick(std::string_view& line);
  // The next line; the end of the file raises error 62 (input past end).
  std::string_view Require();
  // Reads a group pair of a drawing as Require() would read its two lines.
  // When the next line is a usual code line (see IsUsualNonZeroGroupCode),
  // returns its code (1 to 99) with `line` holding the value line after it;
  // otherwise returns 0 with `line` holding that code line, its value line
  // left unread. Short lines are taken straight from the buffer, both at once.
  int RequireUsualGroupPair(std::string_view& line);
  // Reads the next line as Require() would (the end of the file raises 62).
  // When it is a point line of the region builder's shape (see
  // ReadBufferedPointLine), its values are read straight from the buffer,
  // in the same look that finds its end: true, with `x` and `y` set.
  // Otherwise false, for the caller to read `line` (`x` and `y` then hold
  // nothing of use).
  // `line` holds the line in both cases.
  bool RequireUsualPointLine(std::string_view& line, double& x, double& y);
  // Reads on, at most `count` lines, the point lines of the region builder's
  // shape that RequireUsualPointLine would read straight from the buffer, and
  // stops before any other line (which stays unread). The values of line i
  // go to x[i] and y[i]. Returns the number of lines read.
  std::int32_t TakeUsualPointLines(std::int32_t count, double* x, double* y);
  // Reads on, at most `count` vertices of a polyline that have the usual
  // shape, four lines " 10", x, " 20", y (each ended by CR LF, CR or LF),
  // with values of the shape ReadNumberBlockLine reads, straight from the
  // buffer. Stops before any other line and before a vertex that does not lie
  // wholly among the bytes read (both stay unread, for the group pair reading).
  // The values of vertex i go to x[i] and y[i], the same doubles
  // NumberFromPaddedText gives; four lines a vertex are counted. Returns the
  // number of vertices read (always 0 off x86-64).
  std::int32_t TakeUsualVertices(std::int32_t count, double* x, double* y);
  // Reads on to the next line equal, byte for byte, to one of the literals
  // and delivers it, as a loop of Next() that stops at such a line would; false
  // at the end of the file. The lines passed are counted (lineNumber() stays
  // exact) and measured against kLongestLine as Next() does, but only the
  // bytes around line ends are looked at, 64 at a time, not every line.
  bool SkipToAnyOf(std::span<const std::string_view> literals, std::string_view& line);
  // Reads group pairs of a drawing, a code line then a value line, from the
  // next line on, passing those whose code line is usual (see
  // IsUsualNonZeroGroupCode), and delivers the next code line that is not,
  // as Next() would; false when the file ends first (also between a code
  // line and its value). Line numbers and kLongestLine as in SkipToAnyOf.
  bool NextUnusualGroupCode(std::string_view& codeLine);

  // Number of lines delivered so far (the current line's number, from 1).
  std::int64_t lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

 private:
  bool TakeMaskedLine(std::string_view& line);
  bool ShortLineEnd(std::size_t start, std::size_t& stop, std::size_t& next) const;
  void SkipBufferedLines(std::span<const std::string_view> literals);
  bool SkipBufferedGroupPairs();
  void DropEndsBeforeBegin();
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
  std::uint64_t mask_ = 0;  // the line ends not yet taken in the block at maskBase_
  std::size_t maskBase_ = 0;
  std::size_t maskNext_ = 0;  // where the next block starts
  bool eof_ = false;
  std::int64_t lineNumber_ = 0;
};

// The first steps of TakeMaskedLine, inline; any other case goes to Next(),
// which looks at the same line end again and reads on.
inline bool LineReader::NextQuick(std::string_view& line) {
  // Read into locals and stored at the end: the stores to `line` could
  // otherwise make the compiler read the members again.
  std::uint64_t mask = mask_;
  if (mask != 0) {
    const char* data = buffer_.get();
    const std::size_t begin = begin_;
    const std::size_t end = end_;
    const std::size_t at = maskBase_ + static_cast<std::size_t>(std::countr_zero(mask));
    const bool isCr = data[at] == '\r';
    // The end lies among the bytes read and is no CR whose LF may be unread;
    // the line is not over-long.
    if ((at + 1 < end || (at < end && !isCr)) && at - begin <= kLongestLine) {
      const bool isCrLf = isCr && data[at + 1] == '\n';
      // This end is taken, and the LF of a CR LF with it: when it lies in
      // this block it is the next end in the mask.
      mask &= mask - 1;
      if (isCrLf) mask &= mask - 1;
      mask_ = mask;
      begin_ = at + 1 + (isCrLf ? 1 : 0);
      ++lineNumber_;
      line = std::string_view(data + begin, at - begin);
      return true;
    }
  }
  return Next(line);
}

}  // namespace parquill
