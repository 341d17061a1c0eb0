#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "base/text_codec.h"

namespace parquill {

// Lines of a text file kept in memory, encoded and ended as TextFileWriter
// writes them (CR LF): a part of a file that is built on one thread and
// written by another. The calls are those of TextFileWriter.
class TextBuffer {
 public:
  explicit TextBuffer(TextEncoding encoding) : encoding_(encoding) {}

  void WriteLine(std::string_view text) {
    bytes_.resize(used_);
    AppendEncodedText(bytes_, text, encoding_);
    used_ = bytes_.size();
    Append("\r\n", 2);
  }
  void WriteAsciiLine(std::string_view text) {
    Append(text.data(), text.size());
    Append("\r\n", 2);
  }
  void WriteEncodedLines(std::string_view bytes) { Append(bytes.data(), bytes.size()); }
  char* AsciiLineRoom(std::size_t longest) {
    Room(longest + 2);
    return bytes_.data() + used_;
  }
  void EndAsciiLine(char* end) {
    std::memcpy(end, "\r\n", 2);
    used_ = static_cast<std::size_t>(end - bytes_.data()) + 2;
  }

  std::string_view bytes() const { return {bytes_.data(), used_}; }
  // Memory for `bytes` more bytes, taken at once but touched only as written.
  void Reserve(std::size_t bytes) { bytes_.reserve(used_ + bytes); }
  // Hands the bytes over; the buffer is empty afterwards.
  std::string Take() {
    bytes_.resize(used_);
    used_ = 0;
    return std::move(bytes_);
  }

 private:
  // At least `size` bytes after the used ones, made ready a few pages at a
  // time; past the memory taken, the string grows by half at least.
  void Room(std::size_t size) {
    if (bytes_.size() - used_ >= size) return;
    constexpr std::size_t kStep = 16384;
    std::size_t wanted = used_ + std::max(size, kStep);
    if (wanted > bytes_.capacity()) wanted = std::max(wanted, bytes_.capacity() * 3 / 2);
    bytes_.resize(wanted);
  }
  void Append(const char* bytes, std::size_t size) {
    Room(size);
    std::memcpy(bytes_.data() + used_, bytes, size);
    used_ += size;
  }

  TextEncoding encoding_;
  std::string bytes_;  // the first used_ bytes are the lines
  std::size_t used_ = 0;
};

}  // namespace parquill
