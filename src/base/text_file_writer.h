#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_codec.h"

namespace parquill {

// Writes a text file line by line, every line ended by CR LF, in the given
// encoding. The lines go to a new file beside the one named, which Close()
// puts in the named file's place: until then a file of that name from before
// stays as it was, and a writer destroyed without Close() (after a refusal or
// an error) removes what it wrote. Every write, the close and the renaming are
// checked: a full disk or a lost volume raises a run-time error, so a file
// that was not written completely never passes for done.
class TextFileWriter {
 public:
  // The most room AsciiLineRoom gives.
  static constexpr std::size_t kLongestRoom = 4096;

  // Creates the new file beside `path`.
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
  // Flushes, closes and puts the file in the named one's place; errors raise
  // (and leave the named file as it was). Later calls do nothing.
  void Close();
  // The first half of Close(): flushes and closes the new file, errors
  // raising, without putting it in place yet. Files that must appear together
  // are each finished before any is closed (CloseTogether).
  void Finish();

  const std::string& path() const { return path_; }

 private:
  void Append(const char* bytes, std::size_t size);
  void Flush();

  std::string path_;
  std::string target_;    // the file path_ names, links followed
  std::string partPath_;  // the file being written, beside target_; empty for a device
  TextEncoding encoding_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;  // kFlushSize + kLongestRoom bytes
  std::size_t size_ = 0;            // bytes waiting to be written
  bool finished_ = false;           // closed, not yet in place
};

// Finishes every writer, then closes them: an error in writing any of them
// leaves every named file as it was.
void CloseTogether(const std::vector<TextFileWriter*>& writers);

}  // namespace parquill
