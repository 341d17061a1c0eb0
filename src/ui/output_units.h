#pragma once

namespace parquill::ui {

// The length in metres of one unit of what the steps write and report (the
// MIF regions, the report's rings and texts): metres when the core was asked
// to read the drawing's millimetres as metres (ConversionChoices::millimetres,
// where the core has it), otherwise the drawing's own unit.
template <typename Choices>
double MetresPerOutputUnit(const Choices& choices, double metresPerDrawingUnit) {
  if constexpr (requires { choices.millimetres; }) {
    if (choices.millimetres) return 1.0;
  }
  return metresPerDrawingUnit;
}

}  // namespace parquill::ui
