// The map of the drawing and the report of a run, beside the window's controls.
#include <QFile>
#include <QResizeEvent>

#include "dxf/drawing_preview.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "convert/conversion_report.h"
#include "mif/region_outline_reader.h"
#include "base/output_file_names.h"
#include "ui/background_work.h"
#include "ui/form1.h"
#include "ui/form_placement.h"
#include "ui/layer_list_widget.h"
#include "ui/map_preview.h"

namespace parquill::ui {
namespace {

// The controls end at this many twips from the left (versionLabel and layerFrame) and
// from the top (the buttons and layerFrame).
constexpr int kControlsRight = 8055;
constexpr int kControlsBottom = 6375;
constexpr int kGap = 8;               // pixels between the panels and the window's edge
constexpr int kFitButtonHeight = 26;  // pixels
constexpr int kLowestReportList = 90;

using DrawingResult = std::shared_ptr<const PreparedDrawing>;
using RegionsResult = std::shared_ptr<const PreparedRegions>;
using ReportResult = std::shared_ptr<const PreparedReport>;

std::string FileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString Count(std::size_t n) { return QString::number(n); }

}  // namespace

void Form1::CreatePreviewControls() {
  mapPreview = new MapPreview(this);
  mapPreview->setObjectName(QStringLiteral("MapPreview"));
  fitButton = new QPushButton(QStringLiteral("全体表示"), this);
  fitButton->setObjectName(QStringLiteral("FitButton"));
  fitButton->setAutoDefault(false);
  reportList = new QListWidget(this);
  reportList->setObjectName(QStringLiteral("ReportList"));
  reportList->setVisible(false);
  drawingReading_ = new BackgroundWork(this);
  resultReading_ = new BackgroundWork(this);

  connect(fitButton, &QPushButton::clicked, mapPreview, &MapPreview::FitAll);
  connect(layerList, &QListWidget::itemSelectionChanged, this, [this] { ShowLayerEmphasis(); });
  connect(reportList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item == nullptr) return;
    const QVariant place = item->data(Qt::UserRole);
    if (place.isValid()) mapPreview->CenterOn(place.toPointF().x(), place.toPointF().y());
  });
  PlacePreviewControls();
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePreviewControls();
}

void Form1::PlacePreviewControls() {
  if (mapPreview == nullptr) return;
  const int dpi = logicalDpiX();
  const int left = TwipsToPixels(kControlsRight, dpi) + 2 * kGap;
  const int columnWidth = std::max(0, width() - left - kGap);
  fitButton->setGeometry(left, kGap, std::min(columnWidth, 100), kFitButtonHeight);
  const int mapTop = kGap + kFitButtonHeight + 4;
  int mapBottom = height() - kGap;

  // The report list below the controls when there is room for it there,
  // otherwise under the map.
  const int belowControls = TwipsToPixels(kControlsBottom, dpi) + kGap;
  if (height() - kGap - belowControls >= kLowestReportList) {
    const int listLeft = TwipsToPixels(240, dpi);
    reportList->setGeometry(listLeft, belowControls, left - kGap - listLeft,
                            height() - kGap - belowControls);
  } else {
    const int listHeight = (mapBottom - mapTop) / 3;
    mapBottom -= listHeight + kGap;
    reportList->setGeometry(left, mapBottom + kGap, columnWidth, listHeight);
  }
  mapPreview->setGeometry(left, mapTop, columnWidth, std::max(0, mapBottom - mapTop));
}

bool Form1::PreviewBusy() const { return drawingReading_->Running() || resultReading_->Running(); }

void Form1::StartDrawingPreview() {
  drawingReading_->Cancel();
  resultReading_->Cancel();
  mapPreview->Clear();
  reportList->clear();
  reportList->setVisible(false);
  lastBuilt_ = {};
  lastBuiltFor_.clear();
  if (!IsProcessableDxfVersion(dxfVersionCode_)) return;

  const std::string path = FileSystemPath(inputPathEdit->text());
  const TextEncoding encoding = DxfTextEncoding(dxfVersionCode_);
  drawingReading_->Start<DrawingResult>(
      [path, encoding](const std::atomic<bool>& cancelled) -> DrawingResult {
        DrawingPreview drawing = ReadDrawingPreview(path, encoding, {}, &cancelled);
        if (drawing.cancelled) return nullptr;
        return PrepareDrawing(drawing);
      },
      [this](const DrawingResult& drawing) {
        if (drawing == nullptr) return;
        mapPreview->ShowDrawing(drawing);
        ShowLayerEmphasis();
      });
}

void Form1::ShowLayerEmphasis() {
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

void Form1::StartRegionPreview(const std::string& outputName) {
  const std::string mif = OutputFileNamesFor(outputName).mif;
  resultReading_->Start<RegionsResult>(
      [mif](const std::atomic<bool>&) { return PrepareRegions(ReadRegionOutlines(mif)); },
      [this](const RegionsResult& regions) { mapPreview->ShowRegions(regions); });
}

void Form1::StartReport(const std::string& dxfPath, const std::string& outputName,
                        const LayerSelection& textSelection, TextEncoding encoding) {
  // The open polylines belong to the report only when "面生成" ran on this
  // drawing and output name.
  const RegionBuildSummary built =
      lastBuiltFor_ == dxfPath + '\n' + outputName ? lastBuilt_ : RegionBuildSummary{};
  lastBuilt_ = {};
  lastBuiltFor_.clear();
  const std::string mif = OutputFileNamesFor(outputName).mif;
  resultReading_->Start<ReportResult>(
      [=](const std::atomic<bool>&) {
        return PrepareReport(MakeConversionReport(dxfPath, mif, textSelection, encoding, built));
      },
      [this](const ReportResult& report) {
        mapPreview->ShowReport(report);
        ShowReport(*report);
      });
}

void Form1::ShowReport(const PreparedReport& prepared) {
  const ConversionReport& report = prepared.report;
  std::size_t counts[3] = {0, 0, 0};
  for (const ReportRegion& region : report.regions) ++counts[static_cast<int>(region.outcome)];
  reportList->clear();
  reportList->addItem(QStringLiteral("領域 %1: 地番あり %2、地番なし %3、複数の文字 %4、"
                                     "どの領域にもない文字 %5")
                          .arg(Count(report.regions.size()),
                               Count(counts[static_cast<int>(RegionOutcome::kNumbered)]),
                               Count(counts[static_cast<int>(RegionOutcome::kNoLotNumber)]),
                               Count(counts[static_cast<int>(RegionOutcome::kSeveralTexts)]),
                               Count(report.strayTexts.size())));
  if (!report.complete) {
    reportList->addItem(QStringLiteral("ファイルを最後まで読めなかったため、この報告は一部です"));
  }
  if (report.findings.empty()) {
    reportList->addItem(QStringLiteral("問題は見つかりませんでした"));
  }
  for (const ReportFinding& finding : report.findings) {
    auto* item = new QListWidgetItem(
        QString::fromStdString("[" + FindingKindName(finding.kind) + "] " + finding.message),
        reportList);
    item->setToolTip(QString::fromStdString(FindingLine(finding)));
    if (finding.located) item->setData(Qt::UserRole, QPointF(finding.x, finding.y));
  }
  reportList->setVisible(true);
}

}  // namespace parquill::ui
