#include "mapxml/mapxml_conversion.h"

#include <filesystem>

#include "base/output_file_names.h"
#include "mapxml/lot_shape_check.h"
#include "mapxml/mapxml_lots.h"
#include "mapxml/mapxml_outputs.h"
#include "mapxml/mapxml_reader.h"
#include "mapxml/shift_jis_losses.h"

namespace parquill::mapxml {

void MapXmlTotals::Add(const MapXmlTotals& file) {
  files += file.files;
  failed += file.failed;
  skipped += file.skipped;
  lots += file.lots;
  leftOut += file.leftOut;
  points += file.points;
  withHoles += file.withHoles;
  misshapen += file.misshapen;
  unencodable += file.unencodable;
}

std::string MapXmlFailureLine(const std::string& where, const MapXmlError& error) {
  std::string line = where + ": ";
  if (error.line() > 0) line += std::to_string(error.line()) + " 行目: ";
  return line + error.message();
}

MapXmlFileOutcome ConvertMapXmlFile(const std::string& relativePath, const std::string& sima,
                                    const ByteSource& source, const MapXmlOptions& options,
                                    MapXmlTotals& totals) {
  const MapXmlDocument document = ReadMapXml(source);
  const MapLots lots = MakeLots(document, options.includeOutside);
  const std::filesystem::path simaPath = std::filesystem::path(options.outputFolder) / sima;
  std::error_code error;
  std::filesystem::create_directories(simaPath.parent_path(), error);
  if (error) throw MapXmlError(0, "出力フォルダを作れません（" + error.message() + "）");
  const OutputFileNames names = OutputFileNamesFor(simaPath.string());
  const OutputCounts counts = WriteOutputs(document, lots, names, options, relativePath);

  // What was written as given but is not as it should be.
  std::vector<std::string> misshapen;
  for (const MapLot& lot : lots.lots) {
    const LotShapeFault fault = FindShapeFault(lots, lot);
    if (fault.fault == ShapeFault::kNone) continue;
    const LotEntry& entry = document.lots[lot.entry];
    const char* ring = fault.exterior ? "外周" : "穴";
    misshapen.push_back(
        "[形状] 筆 " + entry.attributes.chiban + "（" + std::to_string(entry.line) + " 行目）: " +
        (fault.fault == ShapeFault::kNoArea ? std::string(ring) + "が面積を囲んでいません"
         : fault.fault == ShapeFault::kCrossing
             ? std::string(ring) + "が自分と交わるか重なっています"
             : std::string("穴が筆の外にあります")) +
        "（そのまま書きました）");
  }
  const std::vector<ShiftJisLoss> losses = FindShiftJisLosses(document, lots);
  long long unencodable = 0;
  for (const ShiftJisLoss& loss : losses) unencodable += loss.characters;

  totals.files = 1;
  totals.misshapen = static_cast<long long>(misshapen.size());
  totals.unencodable = unencodable;
  totals.lots = counts.lots;
  totals.leftOut = static_cast<long long>(lots.leftOut.size());
  totals.points = counts.points;
  totals.withHoles = counts.withHoles;
  MapXmlFileOutcome outcome;
  outcome.line = relativePath + ": 筆 " + std::to_string(counts.lots) + "（除外 " +
                 std::to_string(lots.leftOut.size()) + "）、筆界点 " +
                 std::to_string(counts.points) + "、" +
                 (document.coordinateSystem.empty() ? "座標系なし" : document.coordinateSystem);
  if (counts.withHoles > 0) {
    outcome.line += "、穴のある筆 " + std::to_string(counts.withHoles);
  }
  if (!misshapen.empty()) outcome.line += "、形の崩れた筆 " + std::to_string(misshapen.size());
  if (unencodable > 0) outcome.line += "、? にした文字 " + std::to_string(unencodable);
  outcome.line += "、出力 " + LotFilePaths(sima, options.formats).front();
  if (options.report) {
    for (std::uint32_t entry : lots.leftOut) {
      const LotEntry& lot = document.lots[entry];
      outcome.findings.push_back("[除外] 筆 " + lot.attributes.chiban + "（" +
                                 std::to_string(lot.line) + " 行目）: 地区外または別図の筆");
    }
    for (const MapLot& lot : lots.lots) {
      const LotEntry& entry = document.lots[lot.entry];
      if (entry.constituents.empty()) continue;
      std::string finding = "[筆界未定地] 筆 " + entry.attributes.chiban + "（" +
                            std::to_string(entry.line) + " 行目）: 構成筆 ";
      for (std::size_t i = 0; i < entry.constituents.size(); ++i) {
        const ConstituentLot& constituent = entry.constituents[i];
        if (i > 0) finding += "、";
        if (!constituent.oaza.empty()) finding += constituent.oaza + " ";
        finding += constituent.chiban;
      }
      outcome.findings.push_back(finding);
    }
    for (const MapLot& lot : lots.lots) {
      if (!lot.hasHoles) continue;
      const LotEntry& entry = document.lots[lot.entry];
      outcome.findings.push_back("[穴のある筆] 筆 " + entry.attributes.chiban + "（" +
                                 std::to_string(entry.line) +
                                 " 行目）: SIMA は外周だけ、MIF は穴も書きました");
    }
    outcome.findings.insert(outcome.findings.end(), misshapen.begin(), misshapen.end());
    for (const ShiftJisLoss& loss : losses) {
      outcome.findings.push_back("[文字コード] " + loss.what + ": Shift-JIS にない文字 " +
                                 std::to_string(loss.characters) + " 字を ? にしました");
    }
  }
  return outcome;
}

std::string TotalsLine(const MapXmlTotals& totals) {
  return "合計: 地図XML " + std::to_string(totals.files) + "（失敗 " +
         std::to_string(totals.failed) +
         (totals.skipped > 0 ? "、変換済みで飛ばした " + std::to_string(totals.skipped) : "") +
         "）、筆 " + std::to_string(totals.lots) + "（除外 " + std::to_string(totals.leftOut) +
         "）、筆界点 " + std::to_string(totals.points) +
         (totals.withHoles > 0 ? "、穴のある筆 " + std::to_string(totals.withHoles) : "") +
         (totals.misshapen > 0 ? "、形の崩れた筆 " + std::to_string(totals.misshapen) : "") +
         (totals.unencodable > 0 ? "、? にした文字 " + std::to_string(totals.unencodable) : "");
}

}  // namespace parquill::mapxml
