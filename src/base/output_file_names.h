#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/step_outcome.h"

namespace parquill {

// The three files of one conversion, named after the output name: the SIMA
// file is the output name itself; the MIF and MID files take its text up to
// and including the last "." of its file name and add "MIF" / "MID". A file
// name without "." gets one: "result" gives "result.MIF" and "result.MID".
struct OutputFileNames {
  std::string sima;
  std::string mif;
  std::string mid;
};

OutputFileNames OutputFileNamesFor(const std::string& outputName);

// The output name proposed for a drawing's file name (no folder): the name up
// to and including its first ".", followed by "Sim" (SAMPLE.DXF gives
// SAMPLE.Sim). A name without "." keeps all of it and gets ".Sim", so that
// drawings without an extension do not all share one output name.
std::string ProposedOutputFileName(std::string_view fileName);
// The same name beside the drawing: the drawing's folder joined with it.
std::string ProposedOutputPath(const std::string& drawingPath);

// True when both paths name one file: the same file on disk, or the same path.
bool NamesSameFile(const std::string& a, const std::string& b);

// The refusal when writing `output` would destroy the drawing `input`:
// "出力ファイルが入力ファイルと同じです。" / "ファイル指定".
Message OutputIsInputRefusal();

// The region build's check of the three files it names: refused when one of
// them is the drawing, or when the SIMA file would be its own MIF or MID file
// (written over them at the end of the run).
std::optional<Message> CheckOutputFileNames(const std::string& outputName,
                                            const std::string& dxfPath);

}  // namespace parquill
