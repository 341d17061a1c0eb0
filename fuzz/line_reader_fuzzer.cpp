// The line reader and the text codec: every line comes back exactly as it
// stands in the file, between its line ends, and decoding then encoding a
// line gives back its very bytes in both encodings.
#include "base/line_reader.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  std::string_view input = fuzz::Bytes(data, size);
  std::string path = fuzz::WriteInput("lines.txt", input);
  try {
    LineReader reader(path);
    std::size_t at = 0;  // where the next line must begin in the input
    std::string_view line;
    while (reader.Next(line)) {
      fuzz::Check(input.substr(at, line.size()) == line, "a line differs from the file");
      at += line.size();
      fuzz::Check(line.find_first_of("\r\n") == std::string_view::npos, "a line holds its end");
      if (at < input.size() && input[at] == '\r') {
        ++at;
        if (at < input.size() && input[at] == '\n') ++at;
      } else if (at < input.size() && input[at] == '\n') {
        ++at;
      }
      for (TextEncoding encoding : {TextEncoding::kCp932, TextEncoding::kUtf8}) {
        std::string decoded = DecodeText(line, encoding);
        fuzz::Check(EncodeText(decoded, encoding) == line, "decoding then encoding lost bytes");
      }
    }
    fuzz::Check(at == input.size(), "the lines do not cover the file");
  } catch (const RuntimeError& error) {
    fuzz::Check(error.number() == kOutOfMemory, "an unexpected error reading lines");
  }
  fuzz::CheckNoFileLeftOpen(openFiles);
  return 0;
}
