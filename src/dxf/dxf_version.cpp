#include "dxf/dxf_version.h"

namespace parquill {

DxfVersionVerdict ClassifyDxfVersion(std::int32_t code) {
  DxfVersionVerdict verdict;
  verdict.code = code;
  verdict.processable = IsProcessableDxfVersion(code);
  switch (code) {
    case 3:
      verdict.name = "GXIII";
      verdict.shownRed = true;
      break;
    case 12:
      verdict.name = "R12J";
      verdict.shownRed = true;
      break;
    case 13:
      verdict.name = "R13J";
      verdict.shownRed = true;
      break;
    case 14:
      verdict.name = "R14J";
      break;
    default:
      verdict.name = "2000";
      break;
  }
  return verdict;
}

std::string DxfVersionCaption(const DxfVersionVerdict& verdict) {
  std::string caption = "DXFのバージョンは、" + verdict.name + "です。";
  if (!verdict.processable) caption += "処理不可能です。";
  return caption;
}

Message DxfVersionRefusal(const std::string& versionName) {
  return {"DXFのバージョンは、" + versionName + "です。\r処理不可能です。", "DXFのバージョン"};
}

TextEncoding DxfTextEncoding(std::int32_t code) {
  return code >= 2007 ? TextEncoding::kUtf8 : TextEncoding::kCp932;
}

}  // namespace parquill
