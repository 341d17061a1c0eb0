#pragma once

#include "base/step_outcome.h"
#include "dxf/layer_list_reader.h"

namespace parquill {

// The "レイア読み込み" step: refuses a version that cannot be processed, then
// fills the list with "すべて" and the drawing's layer names, letting the
// window process its events after each name. A drawing that cannot be read
// ends the step with its run-time error (the list then holds what was found).
// For lots drawn as lines the names are those the lines' reading finds (the
// LAYER table, then the layers only entities name), R12 drawings on.
Outcome ReadLayerList(const LayerListRequest& request, LayerListSink& list, StepHost& host);

}  // namespace parquill
