// A 地図XML file or ZIP in the window: its lots on the map, and
// "地図XMLを変換", which writes its SIMA, MIF and MID files beside it.
#include <QFileInfo>

#include "mapxml/mapxml_conversion.h"
#include "ui/background_work.h"
#include "ui/dxf_file_list.h"
#include "ui/file_names.h"
#include "ui/main_window.h"
#include "ui/map_preview.h"
#include "ui/map_xml_lots.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

// The lots read for the map, prepared, and what the reading found.
struct MapXmlMap {
  std::shared_ptr<const PreparedReport> map;
  MapXmlLots read;                       // its lots moved into the map
  std::shared_ptr<const SiteLots> site;  // and its lot models into the site tools
  std::size_t lots = 0;
};
using MapXmlResult = std::shared_ptr<const MapXmlMap>;

QString Lines(const std::vector<std::string>& lines) {
  QStringList joined;
  for (const std::string& line : lines) joined << QString::fromStdString(line);
  return joined.join(QLatin1Char('\n'));
}

// "46505-3411-1.zip の筆 2 を表示しています（除外 6、公共座標2系）", then the files
// that could not be read.
StepResult ShownLine(const QString& name, const MapXmlLots& read, std::size_t lots) {
  QString line =
      QStringLiteral("%1 の筆 %2 を表示しています（除外 %3").arg(name).arg(lots).arg(read.leftOut);
  if (read.lotsLeftOut > 0) line += QStringLiteral("、表示しきれない筆 %1").arg(read.lotsLeftOut);
  if (!read.coordinateSystem.empty()) {
    line += QStringLiteral("、") + QString::fromStdString(read.coordinateSystem);
  }
  line += QStringLiteral("）");
  if (!read.failures.empty()) line += QLatin1Char('\n') + Lines(read.failures);
  return {line, {}, !read.failures.empty()};
}

}  // namespace

void MainWindow::OpenMapXml(const QString& path) {
  if (busy_) return;
  // The drawing chosen is let go: the 地図XML file takes the map.
  ClearMap();
  ResetWindow();
  listClickCount_ = 0;
  fileList->clearSelection();
  mapXmlPath_ = QFileInfo(path).absoluteFilePath();
  mapXmlButton->setVisible(true);
  UpdateDatumEnabled();
  mapPreview->SetMetresPerUnit(1);  // the file's coordinates are metres
  const QString name = QFileInfo(path).fileName();
  mapPreview->SetPlaceholder(QStringLiteral("%1 を読んでいます…").arg(name));
  resultLine->Clear();

  const std::string file = FileSystemPath(mapXmlPath_);
  drawingReading_->Start<MapXmlResult>(
      [file](const std::atomic<bool>& cancelled) -> MapXmlResult {
        auto shown = std::make_shared<MapXmlMap>();
        shown->read = ReadMapXmlLots(file, cancelled);
        if (shown->read.cancelled) return nullptr;
        shown->lots = shown->read.lots.regions.size();
        shown->site = std::make_shared<const SiteLots>(std::move(shown->read.site));
        shown->map = PrepareReport(std::move(shown->read.lots));
        return shown;
      },
      [this, name](const MapXmlResult& shown) {
        if (shown == nullptr) return;
        if (shown->lots == 0) {
          mapPreview->SetPlaceholder(QStringLiteral("%1 に表示できる筆はありません").arg(name));
        } else {
          mapPreview->ShowReport(shown->map, false);
          OfferSite(shown->site, QFileInfo(mapXmlPath_).absolutePath());
        }
        if (!shown->read.coordinateSystem.empty()) {
          mapPreview->SetZoneName(QString::fromStdString(shown->read.coordinateSystem));
        }
        ShowResult(ShownLine(name, shown->read, shown->lots));
      });
}

void MainWindow::ForgetMapXml() {
  if (mapXmlPath_.isEmpty()) return;
  mapXmlPath_.clear();
  mapXmlButton->setVisible(false);
  UpdateDatumEnabled();
  mapPreview->SetZoneName(ZoneName(PlaneZone()));
  mapPreview->SetMetresPerUnit(MetresPerOutputUnit());
}

void MainWindow::OnConvertMapXml() {
  if (busy_ || mapXmlPath_.isEmpty()) return;
  mapxml::MapXmlOptions options;
  const QString folder = QFileInfo(mapXmlPath_).absolutePath();
  options.outputFolder = FileSystemPath(folder);
  options.datum = Datum();
  std::vector<std::string> lines;
  mapxml::MapXmlTotals totals;
  RunStep([&](StepHost&) {
    totals = mapxml::ConvertMapXml(
        {FileSystemPath(mapXmlPath_)}, options,
        [&lines](const mapxml::MapXmlFileOutcome& outcome) { lines.push_back(outcome.line); });
    return std::vector<Message>();
  });
  // One line per 地図XML file, as the command line prints them; the totals after several.
  if (totals.files != 1) lines.push_back(mapxml::TotalsLine(totals));
  ShowResult({Lines(lines), totals.failed < totals.files ? folder : QString(),
              totals.failed > 0 || totals.files == 0});
}

}  // namespace parquill::ui
