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
  // Flushes and closes; errors raise. Safe to call once; later calls do nothing.
  void Close();

  const std::string& path() const { return path_; }

 private:
  void Flush();

  std::string path_;
  TextEncoding encoding_;
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace parquill
