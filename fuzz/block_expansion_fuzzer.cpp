// The placing of blocks on any drawing: the reading ends (or raises a
// run-time error with its number), hands on no entity of the BLOCKS section
// nor a block's frame, and places no more block entities than its limit.
#include "base/runtime_error.h"
#include "dxf/block_expansion.h"
#include "input_files.h"

using namespace parquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string drawing = fuzz::WriteInput("drawing.dxf", fuzz::Bytes(data, size));
  std::size_t handed = 0;
  try {
    ReadDxfEntitiesWithBlocks(
        drawing, [](std::string_view) { return true; },
        [&](const DxfEntity& e) {
          fuzz::Check(!e.inBlock, "an entity of the BLOCKS section handed on");
          fuzz::Check(e.type != "INSERT" && e.type != "BLOCK" && e.type != "ENDBLK",
                      "a block's frame handed on");
          ++handed;
          return true;
        });
  } catch (const RuntimeError& error) {
    fuzz::Check(error.number() > 0, "a run-time error without its number");
  }
  fuzz::Check(handed <= kMostPlacedEntities + size, "more block entities placed than the limit");
  return 0;
}
