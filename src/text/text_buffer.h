#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "text/text_codec.h"

namespace parquill {

// Lines of a text file kept in memory, encoded and ended as TextFileWriter
// writes them (CR LF): a part of a file that is built on one thread and
// written by another.
class TextBuffer {
 public:
  explicit TextBuffer(TextEncoding encoding) : encoding_(encoding) {}

  void WriteLine(std::string_view text) {
    AppendEncodedText(bytes_, text, encoding_);
    bytes_.append("\r\n");
  }
  void WriteAsciiLine(std::string_view text) {
    bytes_.append(text);
    bytes_.append("\r\n");
  }

  const std::string& bytes() const { return bytes_; }
  void Reserve(std::size_t bytes) { bytes_.reserve(bytes); }
  // Hands the bytes over; the buffer is empty afterwards.
  std::string Take() { return std::move(bytes_); }

 private:
  TextEncoding encoding_;
  std::string bytes_;
};

}  // namespace parquill
