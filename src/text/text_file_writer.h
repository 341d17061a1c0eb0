#pragma once

#include <string>
#include <string_view>

#include "text/text_codec.h"

namespace parquill {

// Writes a text file line by line, every line ended by CR LF, in the given
// encoding. Every write and the close are checked: a full disk or a lost
// volume raises a run-time error, so a file that was not written completely
// never passes for done. Lines are buffered; Close() (or destruction, after
// an error) leaves the file holding every complete line written.
class TextFileWriter {
 public:
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
  // From here on, lines are kept in memory rather than written, until
  // FillDeferred(): the place of a block that another thread is still building.
  // Room for `expectedBytes` of them is taken at once, so the kept lines are
  // never moved while they grow.
  void Defer(std::size_t expectedBytes);
  bool deferring() const { return deferFrom_ != kNotDeferring; }
  // The bytes of the lines kept since Defer().
  std::size_t deferredBytes() const { return deferring() ? buffer_.size() - deferFrom_ : 0; }
  // Writes `block` (complete lines, encoded, with their ends) where Defer() was
  // called, before the lines kept since, and goes back to writing as usual.
  void FillDeferred(std::string_view block);
  // Flushes and closes; errors raise. Safe to call once; later calls do nothing.
  // A block still deferred is left out.
  void Close();

  const std::string& path() const { return path_; }

 private:
  static constexpr std::size_t kNotDeferring = static_cast<std::size_t>(-1);

  void FlushWhenFull();
  void Flush();
  void WriteBytes(std::string_view bytes);

  std::string path_;
  TextEncoding encoding_;
  int fd_ = -1;
  std::string buffer_;
  std::size_t deferFrom_ = kNotDeferring;
};

}  // namespace parquill
