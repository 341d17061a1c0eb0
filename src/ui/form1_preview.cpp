// The map of the drawing and the report of a run, beside the window's controls.
#include <QFile>
#include <QResizeEvent>

#include "base/output_file_names.h"
#include "convert/conversion_report.h"
#include "dxf/drawing_preview.h"
#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "mif/region_outline_reader.h"
#include "ui/background_work.h"
#include "ui/file_names.h"
#include "ui/form1.h"
#include "ui/form_placement.h"
#include "ui/keyboard.h"
#include "ui/layer_list_widget.h"
#include "ui/map_preview.h"
#include "ui/window_settings.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

constexpr int kGap = 8;  // pixels between the panels and the window's edge
constexpr int kLowestReportList = 90;
constexpr int kLowestMap = 200;
// The report item of an open polyline: the map draws it.
constexpr int kOpenPolylineRole = Qt::UserRole + 1;

using DrawingResult = std::shared_ptr<const PreparedDrawing>;
using RegionsResult = std::shared_ptr<const PreparedRegions>;
using ReportResult = std::shared_ptr<const PreparedReport>;

QString Count(std::size_t n) { return QString::number(n); }

}  // namespace

void Form1::CreatePreviewControls() {
  mapPreview = new MapPreview(this);
  mapPreview->setObjectName(QStringLiteral("MapPreview"));
  fitButton = new QPushButton(QStringLiteral("全体表示"), this);
  fitButton->setObjectName(QStringLiteral("FitButton"));
  fitButton->setAutoDefault(false);
  LetEnterPress(fitButton);
  zoneCaption = new QLabel(QStringLiteral("座標系:"), this);
  zoneCaption->setObjectName(QStringLiteral("ZoneCaption"));
  zoneChooser = new ZoneChooser(this);
  zoneChooser->setObjectName(QStringLiteral("ZoneChooser"));
  zoneCaption->setBuddy(zoneChooser);
  zoneChooser->SetZone(RememberedPlaneZone());
  fromLinesCheck = new QCheckBox(QStringLiteral("線から筆を作る（R12・Jw_cad の図面）"), this);
  fromLinesCheck->setObjectName(QStringLiteral("FromLinesCheck"));
  shareReadBar = new QProgressBar(this);
  shareReadBar->setObjectName(QStringLiteral("ShareReadBar"));
  shareReadBar->setRange(0, 100);
  shareReadBar->setVisible(false);
  resultLine = new ResultLine(this);
  resultLine->setObjectName(QStringLiteral("ResultLine"));
  reportList = new QListWidget(this);
  reportList->setObjectName(QStringLiteral("ReportList"));
  reportList->setVisible(false);
  drawingReading_ = new BackgroundWork(this);
  resultReading_ = new BackgroundWork(this);

  connect(fitButton, &QPushButton::clicked, mapPreview, &MapPreview::FitAll);
  mapPreview->SetZoneName(ZoneName(PlaneZone()));
  connect(zoneChooser, &QComboBox::currentIndexChanged, this, [this] {
    RememberPlaneZone(PlaneZone());
    mapPreview->SetZoneName(ZoneName(PlaneZone()));
  });
  // The verdict on the drawing chosen depends on the choice.
  connect(fromLinesCheck, &QCheckBox::toggled, this, [this] {
    if (!busy_ && !inputPathEdit->text().isEmpty()) RunVersionCheck();
  });
  connect(layerList, &QListWidget::itemSelectionChanged, this, [this] { ShowLayerEmphasis(); });
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
  PlacePreviewControls();
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePreviewControls();
}

// The side panel: the fit button and the zone chooser on top, the map, the
// result line under it; the report list below the controls when there is
// room for it there, otherwise under the result line.
void Form1::PlacePreviewControls() {
  if (mapPreview == nullptr) return;
  const int left = controlsExtent_.width() + 2 * kGap;
  const int columnWidth = std::max(0, width() - left - kGap);
  const QSize fit = fitButton->sizeHint();
  const QSize caption = zoneCaption->sizeHint();
  const QSize zone = zoneChooser->sizeHint();
  const QSize lines = fromLinesCheck->sizeHint();
  const int row = std::max({fit.height(), zone.height(), caption.height(), lines.height()});
  fitButton->setGeometry(left, kGap, fit.width(), row);
  zoneCaption->setGeometry(left + fit.width() + 2 * kGap, kGap, caption.width(), row);
  zoneChooser->setGeometry(zoneCaption->geometry().right() + 1 + kGap / 2, kGap, zone.width(), row);
  fromLinesCheck->setGeometry(zoneChooser->geometry().right() + 1 + 2 * kGap, kGap, lines.width(),
                              row);
  const int mapTop = kGap + row + 4;
  int bottom = height() - kGap;

  const int belowControls = controlsExtent_.height() + kGap;
  if (height() - kGap - belowControls >= kLowestReportList) {
    const int listLeft = TwipsToPixels(240, logicalDpiX());
    reportList->setGeometry(listLeft, belowControls, left - kGap - listLeft,
                            height() - kGap - belowControls);
  } else {
    const int listHeight = std::max(0, (bottom - mapTop) / 4);
    bottom -= listHeight + kGap;
    reportList->setGeometry(left, bottom + kGap, columnWidth, listHeight);
  }
  const int resultHeight = resultLine->sizeHint().height();
  resultLine->setGeometry(left, bottom - resultHeight, columnWidth, resultHeight);
  shareReadBar->setGeometry(resultLine->geometry());
  mapPreview->setGeometry(left, mapTop, columnWidth,
                          std::max(0, bottom - resultHeight - 4 - mapTop));
}

QSize Form1::LeastFormSize() const {
  const int row = std::max({fitButton->sizeHint().height(), zoneChooser->sizeHint().height(),
                            zoneCaption->sizeHint().height(), fromLinesCheck->sizeHint().height()});
  const int topRow = fitButton->sizeHint().width() + zoneCaption->sizeHint().width() +
                     zoneChooser->sizeHint().width() + fromLinesCheck->sizeHint().width() +
                     5 * kGap;
  const int width = controlsExtent_.width() + 2 * kGap + std::max(kLeastMapWidth, topRow) + kGap;
  const int side = kGap + row + 4 + kLowestMap + 4 + resultLine->sizeHint().height() + kGap;
  const int left = controlsExtent_.height() + kGap + kLowestReportList + kGap;
  return QSize(width, std::max(side, left));
}

int Form1::PlaneZone() const { return zoneChooser->Zone(); }

bool Form1::FromLines() const { return fromLinesCheck->isChecked(); }

bool Form1::PreviewBusy() const { return drawingReading_->Running() || resultReading_->Running(); }

void Form1::StartDrawingPreview() {
  drawingReading_->Cancel();
  resultReading_->Cancel();
  mapPreview->Clear();
  reportList->clear();
  reportList->setVisible(false);
  lastBuilt_ = {};
  lastBuiltFor_.clear();
  if (!dxfVersion_.processable) {
    mapPreview->SetPlaceholder(
        QStringLiteral("DXF のバージョンが %1 のため、この図面は処理できません")
            .arg(DxfVersionName()));
    return;
  }
  mapPreview->SetPlaceholder(QStringLiteral("図面を読んでいます…"));

  const std::string path = FileSystemPath(inputPathEdit->text());
  const TextEncoding encoding = DxfTextEncoding(dxfVersion_.code);
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

void Form1::StartReport(const ConversionChoices& choices, const AttachSummary& attached) {
  // The open polylines belong to the report only when "面生成" ran on this
  // drawing and output name.
  RegionBuildSummary built =
      lastBuiltFor_ == choices.drawing + '\n' + choices.output ? lastBuilt_ : RegionBuildSummary{};
  built.fromLines = built.fromLines || choices.fromLines;
  lastBuilt_ = {};
  lastBuiltFor_.clear();
  const QString simaNotWritten = simaNotWritten_;
  auto report = std::make_shared<ConversionReport>(MakeConversionReport(built, attached));
  resultReading_->Start<ReportResult>(
      [report](const std::atomic<bool>&) { return PrepareReport(std::move(*report)); },
      [this, simaNotWritten](const ReportResult& prepared) {
        mapPreview->ShowReport(prepared);
        ShowReport(*prepared, simaNotWritten);
      });
}

void Form1::ShowReport(const PreparedReport& prepared, const QString& simaNotWritten) {
  const ConversionReport& report = prepared.report;
  std::size_t counts[3] = {0, 0, 0};
  for (const ReportRegion& region : report.regions) ++counts[static_cast<int>(region.outcome)];
  reportList->clear();
  reportList->addItem(QStringLiteral("領域 %1: 地番あり %2、地番なし %3、複数の文字 %4、"
                                     "どの領域にもない文字 %5")
                          .arg(Count(report.regions.size()),
                               Count(counts[static_cast<int>(RegionOutcome::kNumbered)]),
                               Count(counts[static_cast<int>(RegionOutcome::kNoChiban)]),
                               Count(counts[static_cast<int>(RegionOutcome::kSeveralTexts)]),
                               Count(report.strayTexts.size())));
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
