#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

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
  // Flushes and closes; errors raise. Safe to call once; later calls do nothing.
  void Close();

  const std::string& path() const { return path_; }

 private:
  void Append(const char* bytes, std::size_t size);
  void Flush();

  std::string path_;
  TextEncoding encoding_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;  // kFlushSize + kLongestRoom bytes
  std::size_t size_ = 0;            // bytes waiting to be written
};

}  // namespace parquill
