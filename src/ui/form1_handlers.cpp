// The handlers of the main window's events.
#include <QFile>
#include <QFileInfo>

#include "base/output_file_names.h"
#include "convert/attachment_step.h"
#include "convert/layer_list_step.h"
#include "convert/region_build_step.h"
#include "convert/sima_conversion_step.h"
#include "convert/version_check_step.h"
#include "dxf/layer_list_reader.h"
#include "ui/caption_label.h"
#include "ui/drive_chooser.h"
#include "ui/dxf_file_list.h"
#include "ui/file_names.h"
#include "ui/folder_list.h"
#include "ui/form1.h"
#include "ui/layer_list_widget.h"
#include "ui/window_settings.h"

namespace parquill::ui {
namespace {

const QColor kRefusedColour(255, 0, 0);
const QColor kAcceptedColour(0, 0, 255);

// A path as the file system takes it, and back.
QString WindowPath(const std::string& path) { return QFile::decodeName(path.c_str()); }
QString FolderOf(const std::string& path) { return QFileInfo(WindowPath(path)).absolutePath(); }

// The line of a step that did not write `path`.
StepResult NotWrittenResult(const std::string& path, const Outcome& outcome) {
  return {NotWritten(WindowPath(path), outcome), FolderOf(path), true};
}

}  // namespace

void Form1::OnDriveChanged() {
  if (busy_) {
    driveChooser->followFolder(folderList->path());  // back to the drive of the folder shown
    return;
  }
  SetFolder(driveChooser->currentFolderOfDrive());
}

void Form1::OnFolderChanged() {
  if (busy_) return;
  fileList->setFolder(folderList->path());
  RememberFolder(folderList->path());
  if (outputNameOption->isChecked())
    outputPathEdit->setText(JoinFolderAndName(fileList->folder(), outputFileName_));
}

void Form1::OnDrawingClicked(const QString& fileName) {
  if (busy_) return;
  regionNumberEdit->clear();
  if (inputNameOption->isChecked())
    inputPathEdit->setText(JoinFolderAndName(fileList->folder(), fileName));
  outputFileName_ = OutputFileNameFor(fileName);
  RunVersionCheck();
  StartDrawingPreview();
}

void Form1::RunVersionCheck() {
  const DxfVersionVerdict verdict =
      CheckDxfVersion(FileSystemPath(inputPathEdit->text()), FromLines());
  dxfVersionCode_ = verdict.code;
  dxfVersionName_ = QString::fromStdString(verdict.name);
  QPalette palette = versionLabel->palette();
  palette.setColor(QPalette::WindowText, verdict.shownRed ? kRefusedColour : kAcceptedColour);
  versionLabel->setPalette(palette);
  versionLabel->setVisible(true);
  versionLabel->setText(QString::fromStdString(DxfVersionCaption(verdict)));
  resultLine->Clear();
}

void Form1::OnLayerClicked() {
  if (busy_) return;
  outputNameOption->setVisible(true);
  outputNameOption->setChecked(true);
  outputPathEdit->setText(FolderPartOf(inputPathEdit->text()) + outputFileName_);
  outputPathEdit->setVisible(true);
  ++listClickCount_;
  if (listClickCount_ == 1) buildRegionsButton->setVisible(true);
  if (listClickCount_ == 2) attachButton->setVisible(true);
}

void Form1::OnReadLayers() {
  if (busy_) return;
  const LayerListRequest request{dxfVersionCode_, dxfVersionName_.toStdString(),
                                 FileSystemPath(inputPathEdit->text()), FromLines()};
  LayerListSinkOverWidget list(*layerList);
  const Outcome outcome = RunStep(
      [&](StepHost& host) { return ReadLayerList(request, list, host); }, kProgramTrapTitle);
  const QString drawing = QFileInfo(inputPathEdit->text()).fileName();
  if (!outcome.done()) {
    QStringList why;
    for (const Message& message : outcome.messages) why << QString::fromStdString(message.text);
    ShowResult({QStringLiteral("%1 のレイヤを読めませんでした: %2").arg(drawing, why.join(' ')),
                {},
                true});
    return;
  }
  layerFrame->setVisible(true);
  layerList->setVisible(true);
  layerList->setFocus();  // the boundary layer is chosen next
  const int layers = layerList->count() - (layerList->count() > 0 ? 1 : 0);  // all but すべて
  ShowResult({QStringLiteral("%1 のレイヤ %2 件を読みました").arg(drawing).arg(layers), {}, false});
}

void Form1::OnBuildRegions() {
  if (busy_) return;
  const RegionBuildRequest request{FileSystemPath(inputPathEdit->text()),
                                   FileSystemPath(outputPathEdit->text()),
                                   CurrentLayerSelection(),
                                   DxfTextEncoding(dxfVersionCode_),
                                   PlaneZone(),
                                   FromLines()};
  RegionBuildSummary built;
  const Outcome outcome = RunStep(
      [&](StepHost& host) { return BuildRegions(request, &built, &host); }, kSurveyTrapTitle);
  const std::string mif = OutputFileNamesFor(request.outputName).mif;
  if (!outcome.done()) {
    ShowResult(NotWrittenResult(mif, outcome));
    return;
  }
  QString line = RegionsWritten(WindowPath(mif), built.regionsWritten);
  if (built.openPolylinesSkipped > 0) {
    line += QStringLiteral("（閉じていないポリライン %1 本は面にしていません）")
                .arg(built.openPolylinesSkipped);
  }
  ShowResult({line, FolderOf(mif), false});
  layerList->clearSelection();
  // The lot-number layer is chosen next; focus never falls to the X/Y box.
  layerList->setFocus();
  buildRegionsButton->setVisible(false);
  outputNameOption->setVisible(false);
  attachButton->setVisible(true);
  // Kept for the report: the list is cleared, and "属性付加" comes later.
  lastBuilt_ = std::move(built);
  lastBuiltFor_ = request.dxfPath + '\n' + request.outputName;
  StartRegionPreview(request.outputName);
}

void Form1::OnAttachLotNumbers() {
  if (busy_) return;
  const AttachRequest request{FileSystemPath(inputPathEdit->text()),
                              FileSystemPath(outputPathEdit->text()),
                              CurrentLayerSelection(),
                              DxfTextEncoding(dxfVersionCode_),
                              SearchStrategy::kIndexed,
                              FromLines()};
  AttachSummary attached;
  const Outcome outcome =
      RunStep([&](StepHost& host) { return AttachLotNumbers(request, &attached, &host); },
              kSurveyTrapTitle);
  const std::string mid = OutputFileNamesFor(request.outputName).mid;
  if (!outcome.done()) {
    ShowResult(NotWrittenResult(mid, outcome));
    return;
  }
  // The conversion reports its own failures; the run ends normally either way.
  RunSimaConversion();
  ShowResult({LotNumbersWritten(WindowPath(mid), attached.regions, attached.regionsWithNumber) +
                  QStringLiteral("、") + conversionResult_.line,
              FolderOf(mid), conversionResult_.failed});
  fileList->setFocus();  // the next drawing is chosen next
  ResetWindow();
  listClickCount_ = 0;
  StartReport(request.dxfPath, request.outputName, request.selection, request.encoding);
}

void Form1::RunSimaConversion() {
  const ConversionRequest request{FileSystemPath(inputPathEdit->text()),
                                  FileSystemPath(outputPathEdit->text())};
  regionNumberEdit->setVisible(true);
  ConversionSummary converted;
  const Outcome outcome =
      RunStep([&](StepHost& host) { return parquill::ConvertMifToSima(request, host, &converted); },
              "Brantole");
  const std::string sima = OutputFileNamesFor(request.outputName).sima;
  if (outcome.done()) {
    conversionResult_ = {SimaWritten(WindowPath(sima), converted.points, converted.regions),
                         FolderOf(sima), false};
    simaNotWritten_.clear();
    layerFrame->setVisible(false);
  } else {
    conversionResult_ = NotWrittenResult(sima, outcome);
    simaNotWritten_ = conversionResult_.line;
  }
}

void Form1::ShowResult(const StepResult& result) { resultLine->Show(result); }

}  // namespace parquill::ui
