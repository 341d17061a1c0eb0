// The map of the drawing and the report of a run, beside the window's controls.
#include <QFile>
#include <algorithm>

#include "base/output_file_names.h"
#include "convert/conversion_report.h"
#include "convert/lots_from_lines_step.h"
#include "dxf/drawing_preview.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "geometry/ring_area.h"
#include "ui/background_work.h"
#include "ui/file_names.h"
#include "ui/keyboard.h"
#include "ui/layer_list_widget.h"
#include "ui/lot_choice.h"
#include "ui/main_window.h"
#include "ui/map_preview.h"
#include "ui/named_control.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

constexpr int kLowestReportList = 90;
constexpr int kLowestMap = 200;
// How long the map waits after a layer click before it builds the lots from lines.
constexpr int kLotsDelayMilliseconds = 250;
// The report item of an open polyline: the map draws it.
constexpr int kOpenPolylineRole = Qt::UserRole + 1;

using DrawingResult = std::shared_ptr<const PreparedDrawing>;
using RegionsResult = std::shared_ptr<const PreparedRegions>;
using ReportResult = std::shared_ptr<const PreparedReport>;

QString Count(std::size_t n) { return QString::number(n); }

}  // namespace

void MainWindow::CreatePreviewControls() {
  mapPreview = MakeNamed<MapPreview>(this, "MapPreview");
  mapPreview->setMinimumSize(kLeastMapWidth, kLowestMap);
  fitButton = MakeNamed<QPushButton>(this, "FitButton", QStringLiteral("全体表示"));
  fitButton->setAutoDefault(false);
  LetEnterPress(fitButton);
  shareReadBar = MakeNamed<QProgressBar>(this, "ShareReadBar");
  shareReadBar->setRange(0, 100);
  shareReadBar->setVisible(false);
  resultLine = MakeNamed<ResultLine>(this, "ResultLine");
  reportList = MakeNamed<QListWidget>(this, "ReportList");
  reportList->setMinimumHeight(kLowestReportList);
  // Each line wraps at the list's width, never cut.
  reportList->setWordWrap(true);
  reportList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  reportList->setResizeMode(QListView::Adjust);
  reportList->setVisible(false);
  drawingReading_ = new BackgroundWork(this);
  resultReading_ = new BackgroundWork(this);
  linesReading_ = new BackgroundWork(this);
  CreateSiteControls();
  lotsDelay_ = new QTimer(this);
  lotsDelay_->setSingleShot(true);
  lotsDelay_->setInterval(kLotsDelayMilliseconds);
  connect(lotsDelay_, &QTimer::timeout, this, [this] { StartLotsToBuild(); });

  connect(fitButton, &QPushButton::clicked, mapPreview, &MapPreview::FitAll);
  mapPreview->SetZoneName(ZoneName(PlaneZone()));
  mapPreview->SetMetresPerUnit(MetresPerOutputUnit());
  connect(layerList, &QListWidget::itemSelectionChanged, this, [this] {
    ShowLayerEmphasis();
    if (FromLines()) lotsDelay_->start();
  });
  connect(reportList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item == nullptr) return;
    const QVariant place = item->data(Qt::UserRole);
    if (!place.isValid()) return;
    if (item->data(kOpenPolylineRole).toBool()) {
      mapPreview->ShowOpenPolyline(place.toPointF().x(), place.toPointF().y());
    } else {
      mapPreview->CenterOn(place.toPointF().x(), place.toPointF().y());
    }
  });
}

bool MainWindow::PreviewBusy() const {
  return drawingReading_->Running() || resultReading_->Running() || linesReading_->Running() ||
         lotsDelay_->isActive();
}

void MainWindow::ClearMap() {
  drawingReading_->Cancel();
  resultReading_->Cancel();
  linesReading_->Cancel();
  lotsDelay_->stop();
  mapPreview->Clear();
  ForgetSite();
  reportList->clear();
  reportList->setVisible(false);
  lastBuilt_ = {};
  builtMif_.Forget();
}

void MainWindow::StartDrawingPreview() {
  ClearMap();
  if (!dxfVersion_.processable) {
    mapPreview->SetPlaceholder(
        QStringLiteral("DXF のバージョンが %1 のため、この図面は処理できません")
            .arg(DxfVersionName()));
    return;
  }
  mapPreview->SetPlaceholder(QStringLiteral("図面を読んでいます…"));

  const std::string path = FileSystemPath(inputPathEdit->text());
  const TextEncoding encoding = dxfVersion_.encoding;
  // The map is in the unit of the regions and the report.
  const double scale = MetresPerDrawingUnit() / MetresPerOutputUnit();
  drawingScale_ = scale;
  drawingReading_->Start<DrawingResult>(
      [path, encoding, scale](const std::atomic<bool>& cancelled) -> DrawingResult {
        DrawingPreview drawing = ReadDrawingPreview(path, encoding, {}, &cancelled);
        if (drawing.cancelled) return nullptr;
        return PrepareDrawing(drawing, scale);
      },
      [this](const DrawingResult& drawing) {
        if (drawing == nullptr) return;
        mapPreview->ShowDrawing(drawing);
        ShowLayerEmphasis();
        StartLotsToBuild();
      });
}

void MainWindow::StartLotsToBuild() {
  linesReading_->Cancel();
  lotsDelay_->stop();
  const ConversionChoices choices = Choices();
  const bool anyLayer =
      std::find(choices.boundary.selected.begin(), choices.boundary.selected.end(), true) !=
      choices.boundary.selected.end();
  if (!choices.fromLines || !anyLayer || layerList->isHidden() || !mapPreview->HasDrawing() ||
      builtMif_.For(choices.drawing, choices.output)) {
    mapPreview->ShowLotsToBuild(nullptr);
    return;
  }
  linesReading_->Start<RegionsResult>(
      [choices](const std::atomic<bool>&) {
        RegionOutlines lots;
        lots.rings = LotsFromLinesPreview(choices);
        return PrepareRegions(lots);
      },
      [this](const RegionsResult& lots) { mapPreview->ShowLotsToBuild(lots); });
}

void MainWindow::ShowLayerEmphasis() {
  const LayerSelection selection = layerList->Selection();
  std::set<std::string> layers;
  bool all = false;
  for (std::size_t i = 0; i < selection.items.size(); ++i) {
    if (!selection.selected[i]) continue;
    if (i == 0 && selection.items[i] == kAllLayersItem) all = true;
    layers.insert(selection.items[i]);
  }
  mapPreview->SetEmphasisedLayers(std::move(layers), all);
}

void MainWindow::StartRegionPreview(const LotModel& lots) {
  resultReading_->Start<RegionsResult>(
      [outlines = OutlinesOf(lots)](const std::atomic<bool>&) { return PrepareRegions(outlines); },
      [this](const RegionsResult& regions) { mapPreview->ShowRegions(regions); });
}

void MainWindow::StartReport(const ConversionChoices& choices, const AttachSummary& attached) {
  // The open polylines belong to the report only when "面生成" ran on this
  // drawing and output name.
  RegionBuildSummary built =
      builtMif_.For(choices.drawing, choices.output) ? lastBuilt_ : RegionBuildSummary{};
  built.fromLines = built.fromLines || choices.fromLines;
  lastBuilt_ = {};
  builtMif_.Forget();
  const QString simaNotWritten = simaNotWritten_;
  auto report =
      std::make_shared<ConversionReport>(MakeConversionReport(built, attached, choices.planeZone));
  resultReading_->Start<ReportResult>(
      [report](const std::atomic<bool>&) { return PrepareReport(std::move(*report)); },
      [this, simaNotWritten](const ReportResult& prepared) {
        mapPreview->ShowReport(prepared);
        ShowReport(*prepared, simaNotWritten);
      });
}

void MainWindow::ShowReport(const PreparedReport& prepared, const QString& simaNotWritten) {
  const ConversionReport& report = prepared.report;
  std::size_t counts[3] = {0, 0, 0};
  double area = 0;
  for (const ReportRegion& region : report.regions) {
    ++counts[static_cast<int>(region.outcome)];
    area += RingArea(region.ring);
  }
  const double metres = MetresPerOutputUnit();
  reportList->clear();
  reportList->addItem(QStringLiteral("領域 %1: 地番あり %2、地番なし %3、複数の文字 %4、"
                                     "どの領域にもない文字 %5、地積合計 %6")
                          .arg(Count(report.regions.size()),
                               Count(counts[static_cast<int>(RegionOutcome::kNumbered)]),
                               Count(counts[static_cast<int>(RegionOutcome::kNoChiban)]),
                               Count(counts[static_cast<int>(RegionOutcome::kSeveralTexts)]),
                               Count(report.strayTexts.size()),
                               SquareMetresText(area * metres * metres)));
  if (!report.complete) {
    reportList->addItem(QStringLiteral("ファイルを最後まで読めなかったため、この報告は一部です"));
  }
  // A run whose SIMA file was not written is never told it went without problems.
  if (!simaNotWritten.isEmpty()) {
    auto* item = new QListWidgetItem(simaNotWritten, reportList);
    item->setForeground(QColor(190, 0, 0));
  } else if (report.findings.empty()) {
    reportList->addItem(QStringLiteral("問題は見つかりませんでした"));
  }
  for (const ReportFinding& finding : report.findings) {
    auto* item = new QListWidgetItem(
        QString::fromStdString("[" + FindingKindName(finding.kind) + "] " + finding.message),
        reportList);
    item->setToolTip(QString::fromStdString(FindingLine(finding)));
    if (finding.located) item->setData(Qt::UserRole, QPointF(finding.x, finding.y));
    item->setData(kOpenPolylineRole, finding.kind == FindingKind::kOpenPolyline);
  }
  reportList->setVisible(true);
}

}  // namespace parquill::ui
