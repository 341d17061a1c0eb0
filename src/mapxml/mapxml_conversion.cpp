#include "mapxml/mapxml_conversion.h"

#include <filesystem>
#include <new>
#include <unordered_set>

#include "base/output_file_names.h"
#include "base/runtime_error.h"
#include "mapxml/mapxml_inputs.h"
#include "mapxml/mapxml_lots.h"
#include "mapxml/mapxml_outputs.h"
#include "mapxml/mapxml_reader.h"

namespace parquill::mapxml {
namespace {

std::string FailureLine(const std::string& where, const MapXmlError& error) {
  std::string line = where + ": ";
  if (error.line() > 0) line += std::to_string(error.line()) + " 行目: ";
  return line + error.message();
}

class Conversion {
 public:
  Conversion(const MapXmlOptions& options,
             const std::function<void(const MapXmlFileOutcome&)>& take)
      : options_(options), take_(take) {}

  void File(const std::string& where, const std::string& relativePath, const ByteSource& source);
  void Failure(const std::string& where, const MapXmlError& error) {
    ++totals_.files;
    ++totals_.failed;
    take_({true, FailureLine(where, error), {}});
  }
  const MapXmlTotals& totals() const { return totals_; }

 private:
  MapXmlFileOutcome Convert(const std::string& relativePath, const std::string& sima,
                            const ByteSource& source);

  const MapXmlOptions& options_;
  const std::function<void(const MapXmlFileOutcome&)>& take_;
  MapXmlTotals totals_;
  std::unordered_set<std::string> written_;  // the SIMA files of this run, relative to the output
};

void Conversion::File(const std::string& where, const std::string& relativePath,
                      const ByteSource& source) {
  // Each input's files go where it stands below the input, so that no two
  // inputs write one file; a name that would make a hidden file, or a file
  // an earlier input of this run wrote, is refused.
  const std::filesystem::path path(relativePath);
  const std::string fileName = path.filename().string();
  if (fileName.empty() || fileName.front() == '.') {
    Failure(where, MapXmlError(0, "ファイル名が \".\" で始まるので、出力ファイル名を作れません"));
    return;
  }
  const std::string sima = (path.parent_path() / ProposedOutputFileName(fileName)).generic_string();
  if (written_.contains(sima)) {
    Failure(where, MapXmlError(0, "出力 " + sima + " は、この実行で先の入力が書き出しています"));
    return;
  }
  MapXmlFileOutcome outcome;
  try {
    outcome = Convert(relativePath, sima, source);
  } catch (const MapXmlError& error) {
    Failure(where, error);
    return;
  } catch (const RuntimeError& error) {
    Failure(where, MapXmlError(0, error.description()));
    return;
  } catch (const std::bad_alloc&) {
    Failure(where, MapXmlError(0, "メモリが足りません"));
    return;
  }
  written_.insert(sima);
  ++totals_.files;
  take_(outcome);
}

MapXmlFileOutcome Conversion::Convert(const std::string& relativePath, const std::string& sima,
                                      const ByteSource& source) {
  const MapXmlDocument document = ReadMapXml(source);
  const MapLots lots = MakeLots(document, options_.includeOutside);
  const std::filesystem::path simaPath = std::filesystem::path(options_.outputFolder) / sima;
  std::error_code error;
  std::filesystem::create_directories(simaPath.parent_path(), error);
  if (error) throw MapXmlError(0, "出力フォルダを作れません（" + error.message() + "）");
  const OutputFileNames names = OutputFileNamesFor(simaPath.string());
  const OutputCounts counts = WriteOutputs(document, lots, names, options_, relativePath);

  totals_.lots += counts.lots;
  totals_.leftOut += static_cast<int>(lots.leftOut.size());
  totals_.points += counts.points;
  totals_.withHoles += counts.withHoles;
  MapXmlFileOutcome outcome;
  outcome.line = relativePath + ": 筆 " + std::to_string(counts.lots) + "（除外 " +
                 std::to_string(lots.leftOut.size()) + "）、筆界点 " +
                 std::to_string(counts.points) + "、" +
                 (document.coordinateSystem.empty() ? "座標系なし" : document.coordinateSystem);
  if (counts.withHoles > 0) {
    outcome.line += "、穴のある筆 " + std::to_string(counts.withHoles);
  }
  outcome.line += "、出力 " + FirstFileWritten(sima, options_.formats);
  if (options_.report) {
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
  }
  return outcome;
}

}  // namespace

MapXmlTotals ConvertMapXml(const std::vector<std::string>& inputs, const MapXmlOptions& options,
                           const std::function<void(const MapXmlFileOutcome&)>& take) {
  Conversion conversion(options, take);
  const MapXmlInputVisitor visitor{
      [&](const std::string& where, const std::string& fileName, const ByteSource& source) {
        conversion.File(where, fileName, source);
      },
      [&](const std::string& where, const MapXmlError& error) {
        conversion.Failure(where, error);
      }};
  for (const std::string& input : inputs) VisitMapXmlInput(input, visitor);
  return conversion.totals();
}

std::string TotalsLine(const MapXmlTotals& totals) {
  return "合計: 地図XML " + std::to_string(totals.files) + "（失敗 " +
         std::to_string(totals.failed) + "）、筆 " + std::to_string(totals.lots) + "（除外 " +
         std::to_string(totals.leftOut) + "）、筆界点 " + std::to_string(totals.points) +
         (totals.withHoles > 0 ? "、穴のある筆 " + std::to_string(totals.withHoles) : "");
}

}  // namespace parquill::mapxml
