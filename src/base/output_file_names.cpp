#include "base/output_file_names.h"

#include <sys/stat.h>

#include <filesystem>

namespace parquill {

OutputFileNames OutputFileNamesFor(const std::string& outputName) {
  // The "." is looked for in the file name only, never in a folder's name.
  const std::size_t nameStart = outputName.rfind('/') + 1;  // 0 without a folder
  const std::size_t dot = outputName.rfind('.');
  const std::string base = dot == std::string::npos || dot < nameStart
                               ? outputName + "."
                               : outputName.substr(0, dot + 1);
  return {outputName, base + "MIF", base + "MID"};
}

std::string ProposedOutputFileName(std::string_view fileName) {
  std::size_t dot = fileName.find('.');
  std::string base = dot == std::string_view::npos ? std::string(fileName) + "."
                                                   : std::string(fileName.substr(0, dot + 1));
  return base + "Sim";
}

std::string ProposedOutputPath(const std::string& drawingPath) {
  const std::filesystem::path path(drawingPath);
  const std::string proposed = ProposedOutputFileName(path.filename().string());
  return path.has_parent_path() ? (path.parent_path() / proposed).string() : proposed;
}

bool NamesSameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  std::error_code error;
  auto normal = [&](const std::string& path) {
    return std::filesystem::absolute(path, error).lexically_normal();
  };
  return normal(a) == normal(b);
}

std::optional<Message> CheckOutputFileNames(const std::string& outputName,
                                            const std::string& dxfPath) {
  const OutputFileNames names = OutputFileNamesFor(outputName);
  for (const std::string* output : {&names.sima, &names.mif, &names.mid}) {
    if (NamesSameFile(*output, dxfPath)) return OutputIsInputRefusal();
  }
  if (NamesSameFile(names.sima, names.mif) || NamesSameFile(names.sima, names.mid)) {
    return OutputIsInputRefusal();
  }
  return std::nullopt;
}

Message OutputIsInputRefusal() {
  return {"出力ファイルが入力ファイルと同じです。", "ファイル指定"};
}

}  // namespace parquill
