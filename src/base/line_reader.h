#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
  // Zero bytes that always follow the bytes read in memory (see Buffered()).
  static constexpr std::size_t kZerosAfterBuffered = 64;

  // Opens the file; a missing file raises error 53, a folder or another
  // unreadable path error 75 or 70.
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, or false at the end of the file.
  bool Next(std::string_view& line);
  // The next line; the end of the file raises error 62 (input past end).
  std::string_view Require();

  // For scans that pass many lines without delivering each: the bytes read
  // and not yet delivered, from the start of the next line on (followed in
  // memory by kZerosAfterBuffered zero bytes). Valid until the next call.
  std::string_view Buffered() const { return {buffer_.get() + begin_, end_ - begin_}; }
  // Passes the first `bytes` of Buffered(), which hold `lines` whole lines
  // with their ends, each shorter than kLongestLine: the next line starts
  // after them, and they count as delivered. The next Next() reads more
  // bytes when it needs them.
  void Pass(std::size_t bytes, std::int64_t lines) {
    begin_ += bytes;
    lineNumber_ += lines;
  }

  // Tells `report` the share of the file read (0 to 1) after every read.
  void ReportShareReadTo(std::function<void(double)> report) {
    reportShareRead_ = std::move(report);
  }

  // Number of lines delivered so far (the current line's number, from 1).
  std::int64_t lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

 private:
  std::size_t FindLineEnd();
  void Fill();

  std::string path_;
  std::function<void(double)> reportShareRead_;
  double size_ = 0;  // of the file when it was opened
  double bytesRead_ = 0;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;    // first byte not yet delivered
  std::size_t end_ = 0;      // end of the bytes read
  std::size_t scanned_ = 0;  // no CR or LF lies in [begin_, scanned_)
  bool eof_ = false;
  std::int64_t lineNumber_ = 0;
};

}  // namespace parquill
