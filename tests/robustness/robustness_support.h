#pragma once

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>

#include "dxf/layer_selection.h"
#include "support/temp_folder.h"
#include "support/test_drawings.h"

// What the robustness tests share: a complete small drawing to break in
// various ways, the layer choices a user makes on it, and the count of the
// files the process holds open.
namespace parquill::testing {

// A complete drawing (CP932, CR LF): header with its version, the layers
// "0", "筆界" and "地番", two square lots on "筆界" with their lot numbers
// "123-4" (TEXT) and "124" (MTEXT) on "地番".
inline std::string SoundDrawing() {
  Lines header = {"  0",      "SECTION", "  2",    "HEADER", "  9",
                  "$ACADVER", "  1",     "AC1015", "  0",    "ENDSEC"};
  Lines tables = {"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER"};
  for (std::string_view name : {"0", "筆界", "地番"}) {
    tables += Lines{"  0", "LAYER", "100", "AcDbLayerTableRecord", "  2", Sjis(name), " 70", "0"};
  }
  tables += Lines{"  0", "ENDTAB", "  0", "ENDSEC"};
  Lines text = {"  0", "TEXT", "100", "AcDbEntity", "  8", Sjis("地番"), "100", "AcDbText",
                " 10", "5",    " 20", "5",          "  1", "123-4",      "100", "AcDbText"};
  Lines mtext = {"  0", "MTEXT", "100", "AcDbEntity", "  8", Sjis("地番"),
                 " 10", "15",    " 20", "5",          "  1", "{\\H2.5;124}"};
  Lines entities =
      LwPolyline(Sjis("筆界"), "1", {{"0", "0"}, {"10", "0"}, {"10", "10"}, {"0", "10"}}) + text +
      LwPolyline(Sjis("筆界"), "1", {{"10", "0"}, {"20", "0"}, {"20", "10"}, {"10", "10"}}) + mtext;
  return Joined(header + tables) + Joined(Entities(entities));
}

// The list as the layer reader fills it for SoundDrawing(), with `names`
// selected and the last of them current.
inline LayerSelection ChosenLayers(std::initializer_list<std::string_view> names) {
  LayerSelection selection{{"すべて", "0", "筆界", "地番"}, {false, false, false, false}, -1};
  for (std::string_view name : names) {
    for (std::size_t i = 0; i < selection.items.size(); ++i) {
      if (selection.items[i] != name) continue;
      selection.selected[i] = true;
      selection.listIndex = static_cast<int>(i);
    }
  }
  return selection;
}

// The number of files the process holds open.
inline int OpenFileCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

inline bool RunningAsRoot() { return ::geteuid() == 0; }

// A test name made of the letters and digits of a case's description.
inline std::string CaseName(std::string_view what) {
  std::string name;
  for (char c : what) {
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  }
  return name;
}

}  // namespace parquill::testing
