#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/growing_file.h"
#include "base/text_codec.h"

namespace parquill {

// Writes a text file line by line, every line ended by CR LF, in the given
// encoding. Every write and the close are checked: a full disk or a lost
// volume raises a run-time error, so a file that was not written completely
// never passes for done. Lines are buffered; Close() (or destruction, after
// an error) leaves the file holding every complete line written.
class TextFileWriter {
 public:
  // The most room AsciiLineRoom gives.
  static constexpr std::size_t kLongestRoom = 4096;

  // Creates the file, or empties it when it exists.
  TextFileWriter(const std::string& path, TextEncoding encoding);
  ~TextFileWriter();
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  // Writes one line (a core string, encoded here) and its CR LF.
  void WriteLine(std::string_view text);
  // Writes a line the caller knows to be ASCII only (the same bytes in every
  // encoding) and its CR LF, without looking at its bytes.
  void WriteAsciiLine(std::string_view text);
  // Room for an ASCII line of at most `longest` bytes (kLongestRoom at most)
  // that the caller writes in place at the pointer returned, the bytes after
  // its end free for scratch; EndAsciiLine(end of the line) then adds its
  // CR LF. No other call may come between the two; a room not ended is
  // given up, and nothing of it is written.
  char* AsciiLineRoom(std::size_t longest);
  void EndAsciiLine(char* end);
  // Tells `progress` (which must outlive the writer) that the file is open,
  // then how far it is written and when it is closed, for a reader that
  // follows it on another thread.
  void ReportTo(GrowingFile& progress);
  // Writes lines already encoded, their ends included (a TextBuffer's bytes).
  void WriteEncodedLines(std::string_view bytes);
  // From here on, lines are kept in memory rather than written, until
  // FillDeferred(): the place of a block that another thread is still building.
  // Room for `expectedBytes` of them is taken at once, so the kept lines are
  // never moved while they grow.
  void Defer(std::size_t expectedBytes);
  bool deferring() const { return deferring_; }
  // The bytes of the lines kept since Defer().
  std::size_t deferredBytes() const { return deferring_ ? held_.size() + size_ : 0; }
  // Writes `block` (complete lines, encoded, with their ends) where Defer() was
  // called, before the lines kept since, and goes back to writing as usual.
  void FillDeferred(std::string_view block);
  // Flushes and closes; errors raise. Safe to call once; later calls do nothing.
  // A block still deferred is left out.
  void Close();

  const std::string& path() const { return path_; }
  // The bytes written so far, those still in the buffer included.
  std::int64_t position() const { return written_ + static_cast<std::int64_t>(size_); }

 private:
  void Append(const char* bytes, std::size_t size);
  void Flush();
  void WriteBytes(std::string_view bytes);
  void Written(std::size_t bytes);
  void WriteHeldLines();

  std::string path_;
  TextEncoding encoding_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;  // kFlushSize + kLongestRoom bytes
  std::size_t size_ = 0;            // bytes waiting to be written
  bool deferring_ = false;
  GrowingFile* progress_ = nullptr;
  std::int64_t written_ = 0;  // bytes written to the file so far
  std::string held_;          // lines kept while deferring, before those in the buffer
};

}  // namespace parquill
