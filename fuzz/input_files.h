#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/step_outcome.h"
#include "dxf/layer_selection.h"
#include "support/layer_choice.h"

// What the fuzz targets share: the steps read files, so each input is written
// to a file in a folder of this process (in memory, /dev/shm, when there is one).
namespace parquill::fuzz {

// The input as bytes.
inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The full path of `name` in the process's folder (created on first use,
// removed at exit).
std::string PathOf(std::string_view name);

// Writes `bytes` to `name` in the folder and returns its path.
std::string WriteInput(std::string_view name, std::string_view bytes);

// Removes `name` from the folder, if it is there.
void Remove(std::string_view name);

// The layer list of the drawing the seeds are cut from, with the items
// named in `selected` selected and the last of them current.
LayerSelection SelectionOf(std::initializer_list<std::string_view> selected);

// Stops the run (a finding) when `condition` does not hold.
void Check(bool condition, const char* what);

// The checks every step's outcome must pass: a trap carries a known error
// number and its message box under `trapTitle`; a refusal carries a message.
void CheckOutcome(const Outcome& outcome, std::string_view trapTitle);

// The lowest free file descriptor: a step that leaves a file open raises it.
int OpenFilesMark();
// Stops the run when a file was left open since `mark` was taken.
void CheckNoFileLeftOpen(int mark);

}  // namespace parquill::fuzz
