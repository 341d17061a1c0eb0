#include "sima/lot_files.h"

#include <optional>

#include "base/output_file_names.h"
#include "base/text_file_writer.h"
#include "dxf/lot_dxf_writer.h"
#include "sima/sima_writer.h"

namespace parquill {

std::string DxfPathFor(const std::string& simaPath) {
  const std::string mif = OutputFileNamesFor(simaPath).mif;
  return mif.substr(0, mif.size() - 3) + "DXF";
}

std::vector<std::string> LotFilePaths(const std::string& simaPath, unsigned formats) {
  const OutputFileNames names = OutputFileNamesFor(simaPath);
  std::vector<std::string> paths;
  if ((formats & kLotSima) != 0) paths.push_back(names.sima);
  if ((formats & kLotMif) != 0) paths.insert(paths.end(), {names.mif, names.mid});
  if ((formats & kLotDxf) != 0) paths.push_back(DxfPathFor(simaPath));
  return paths;
}

void WriteChosenLotFiles(const LotModel& lots, const LotFileChoices& choices) {
  const OutputFileNames names = OutputFileNamesFor(choices.output);
  std::optional<TextFileWriter> sima, mif, mid, dxf;
  std::vector<TextFileWriter*> files;
  if ((choices.formats & kLotSima) != 0) {
    WriteLotsSima(sima.emplace(names.sima, TextEncoding::kCp932), lots, choices.swapXY);
    files.push_back(&*sima);
  }
  if ((choices.formats & kLotMif) != 0) {
    WriteLotsMif(mif.emplace(names.mif, TextEncoding::kCp932), lots, choices.place);
    WriteLotsMid(mid.emplace(names.mid, TextEncoding::kCp932), lots);
    files.insert(files.end(), {&*mif, &*mid});
  }
  if ((choices.formats & kLotDxf) != 0) {
    WriteLotsDxf(dxf.emplace(DxfPathFor(choices.output), TextEncoding::kCp932), lots,
                 {choices.millimetres, choices.source, choices.attribution});
    files.push_back(&*dxf);
  }
  CloseTogether(files);
}

Outcome WriteLotFiles(const LotModel& lots, const LotFileChoices& choices) {
  return TrapRunTimeErrors(kProgramTrapTitle, [&] {
    WriteChosenLotFiles(lots, choices);
    return Outcome::Done();
  });
}

}  // namespace parquill
