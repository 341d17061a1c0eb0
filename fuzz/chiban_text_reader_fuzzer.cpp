// The lot-number text reader on any drawing, with a small text limit so the
// limit is reached too.
#include "dxf/chiban_text_reader.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int openFiles = fuzz::OpenFilesMark();
  std::string drawing = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  constexpr std::size_t kCapacity = 20;
  for (TextEncoding encoding : {TextEncoding::kCp932, TextEncoding::kUtf8}) {
    ChibanTextRead read =
        ReadChibanTexts(drawing, fuzz::SelectionOf({"地番"}), encoding, kCapacity);
    fuzz::Check(read.texts.size() <= kCapacity, "more texts than the limit");
    fuzz::Check(!read.failed || !read.messages.empty(), "a failure without its message");
    fuzz::Check(read.trappedError == 0 ||
                    (!read.messages.empty() && read.messages.back().title == "PARQUILL"),
                "a trap without its message box");
    fuzz::CheckNoFileLeftOpen(openFiles);
  }
  return 0;
}
