// The handlers of the main window's events.
#include <QFile>
#include <QFileInfo>

#include "base/limits.h"
#include "base/output_file_names.h"
#include "convert/conversion_report.h"
#include "convert/conversion_run.h"
#include "convert/layer_list_step.h"
#include "convert/version_check_step.h"
#include "sima/conversion_messages.h"
#include "ui/caption_label.h"
#include "ui/drive_chooser.h"
#include "ui/dxf_file_list.h"
#include "ui/file_names.h"
#include "ui/folder_list.h"
#include "ui/layer_list_widget.h"
#include "ui/main_window.h"
#include "ui/map_preview.h"
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

// The warning of a drawing that does not end with EOF, after a step's line.
QString DrawingCut() {
  return QStringLiteral("。") + QString::fromStdString(FindingLine(DrawingCutFinding()));
}

// "（前の実行の sample.MID と sample.Sim を削除しました）", and those that could not be.
QString PartnersRemoved(const std::vector<std::string>& removed,
                        const std::vector<std::string>& notRemoved) {
  auto names = [](const std::vector<std::string>& paths) {
    QStringList shown;
    for (const std::string& path : paths) shown << QFileInfo(WindowPath(path)).fileName();
    return shown.join(QStringLiteral(" と "));
  };
  QString line;
  if (!removed.empty()) {
    line += QStringLiteral("（前の実行の %1 を削除しました）").arg(names(removed));
  }
  if (!notRemoved.empty()) {
    line += QStringLiteral("（前の実行の %1 を削除できませんでした）").arg(names(notRemoved));
  }
  return line;
}

}  // namespace

void MainWindow::OnDriveChanged() {
  if (busy_) {
    driveChooser->followFolder(folderList->path());  // back to the drive of the folder shown
    return;
  }
  SetFolder(driveChooser->currentFolderOfDrive());
}

void MainWindow::OnFolderChanged() {
  if (busy_) return;
  fileList->setFolder(folderList->path());
  RememberFolder(folderList->path());
  if (outputNameOption->isChecked())
    ProposeOutput(JoinFolderAndName(fileList->folder(), outputFileName_));
}

void MainWindow::OnDrawingClicked(const QString& fileName) {
  if (busy_) return;
  ForgetMapXml();
  regionNumberEdit->clear();
  // In input mode the click chooses the drawing: the run of the one before ends.
  if (inputNameOption->isChecked()) {
    inputPathEdit->setText(JoinFolderAndName(fileList->folder(), fileName));
    ForgetRun();
  }
  outputFileName_ = OutputFileNameFor(fileName);
  RunVersionCheck();
  StartDrawingPreview();
  ShowStepButtons();
}

void MainWindow::ForgetRun() {
  layerList->clear();
  layerList->setVisible(false);
  layerFrame->setVisible(false);
  buildRegionsButton->setVisible(false);
  attachButton->setVisible(false);
  regionNumberEdit->clear();
  regionNumberEdit->setVisible(false);
  listClickCount_ = 0;
  lastBuilt_ = {};
  builtMif_.Forget();
}

void MainWindow::RunVersionCheck() {
  const DxfVersionVerdict verdict = CheckDxfVersion(Choices());
  dxfVersion_ = verdict;
  // A refused drawing leaves no layers for "面生成" or "属性付加" to act on.
  if (!verdict.processable) ForgetRun();
  QPalette palette = versionLabel->palette();
  palette.setColor(QPalette::WindowText, verdict.shownRed ? kRefusedColour : kAcceptedColour);
  versionLabel->setPalette(palette);
  versionLabel->setVisible(true);
  versionLabel->setText(QString::fromStdString(DxfVersionCaption(verdict)));
  resultLine->Clear();
}

void MainWindow::OnLayerClicked() {
  if (busy_) return;
  outputNameOption->setVisible(true);
  outputNameOption->setChecked(true);
  ProposeOutput(FolderPartOf(inputPathEdit->text()) + outputFileName_);
  outputPathEdit->setVisible(true);
  ++listClickCount_;
  ShowStepButtons();
}

void MainWindow::ProposeOutput(const QString& proposal) {
  const QString shown = outputPathEdit->text();
  if (!shown.isEmpty() && shown != proposedOutput_) return;  // the user's own name stays
  proposedOutput_ = proposal;
  outputPathEdit->setText(proposal);
}

void MainWindow::ShowStepButtons() {
  if (layerList->isHidden()) return;  // before the layers are read, or after a reset
  const ConversionChoices choices = Choices();
  const bool built = builtMif_.For(choices.drawing, choices.output);
  buildRegionsButton->setVisible(listClickCount_ > 0 && !built);
  attachButton->setVisible(built);
}

void MainWindow::OnReadLayers() {
  if (busy_) return;
  // A new run starts from the drawing's map, never the last run's regions or report.
  if (mapPreview->HasRegions() || mapPreview->HasReport() || !reportList->isHidden()) {
    ForgetRun();
    StartDrawingPreview();
  }
  const ConversionChoices choices = Choices();
  LayerListSinkOverWidget list(*layerList);
  Outcome outcome;
  RunStep([&](StepHost& host) {
    outcome = ReadLayerList(choices, dxfVersion_, list, host);
    return outcome.messages;
  });
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

void MainWindow::OnBuildRegions() {
  if (busy_) return;
  const ConversionChoices choices = Choices();
  RegionBuildSummary built;
  Outcome outcome;
  RunStep([&](StepHost& host) {
    outcome = BuildRegions(choices, &built, &host);
    return outcome.messages;
  });
  const std::string mif = OutputFileNamesFor(choices.output).mif;
  if (!outcome.done()) {
    ShowResult(NotWrittenResult(mif, outcome));
    return;
  }
  QString line = RegionsWritten(WindowPath(mif), built.regionsWritten);
  const bool noRegions = built.regionsWritten == 0;
  if (noRegions) line += QStringLiteral(": ") + QString::fromStdString(NoRegionsReason(built));
  if (built.openPolylinesSkipped > 0) {
    line += QStringLiteral("（閉じていないポリライン %1 本は面にしていません）")
                .arg(built.openPolylinesSkipped);
  }
  line += PartnersRemoved(built.partnersRemoved, built.partnersNotRemoved);
  // Said now, before the user goes on: the SIMA conversion will refuse.
  std::vector<Message> simaRefusal;
  if (built.beyondSimaPoints) simaRefusal.push_back(TooManyPointsMessage());
  if (built.regionsWritten > kSimaLotCapacity) simaRefusal.push_back(TooManyLotsMessage());
  if (!simaRefusal.empty()) line += SimaRefusalAhead(simaRefusal);
  if (built.endsWithoutEof) line += DrawingCut();
  ShowResult({line, FolderOf(mif),
              noRegions || !simaRefusal.empty() || built.endsWithoutEof ||
                  !built.partnersNotRemoved.empty()});
  layerList->clearSelection();
  // The lot-number layer is chosen next; focus never falls to the X/Y box.
  layerList->setFocus();
  outputNameOption->setVisible(false);
  // "属性付加" reads this MIF file and no other. Kept for the report: the list
  // is cleared, and "属性付加" comes later.
  // Without regions "属性付加" has nothing to attach to: "面生成" stays offered.
  if (!noRegions) builtMif_.Record(choices.drawing, choices.output);
  lastBuilt_ = std::move(built);
  ForgetSite();  // the map shows the new regions, without their numbers
  ShowStepButtons();
  StartRegionPreview(lastBuilt_.lots);
}

void MainWindow::OnAttachChibans() {
  if (busy_) return;
  ForgetSite();
  const ConversionChoices choices = Choices();
  if (!builtMif_.Unchanged(choices.drawing, choices.output)) {
    // No MIF file of this run: one left by another would give its lots.
    ShowError(QStringLiteral("先に「面生成」で MIF ファイルを作ってください。"),
              QStringLiteral("ファイル指定"));
    builtMif_.Forget();
    ShowStepButtons();  // "面生成" again
    return;
  }
  regionNumberEdit->setVisible(true);
  ChibanRun run;
  RunStep([&](StepHost& host) {
    run = AttachAndConvert(choices, lastBuilt_.lots, host);
    return run.messages();
  });
  const OutputFileNames names = OutputFileNamesFor(choices.output);
  if (!run.attachment.done()) {
    ShowResult(NotWrittenResult(names.mid, run.attachment));
    return;
  }
  // The conversion reports its own failures; the run ends normally either way.
  const StepResult conversion =
      run.conversion->done() ? StepResult{SimaWritten(WindowPath(names.sima), run.converted.points,
                                                      run.converted.regions),
                                          FolderOf(names.sima), false}
                             : NotWrittenResult(names.sima, *run.conversion);
  if (run.conversion->done()) layerFrame->setVisible(false);
  ShowResult(
      {ChibansWritten(WindowPath(names.mid), run.attached.regions, run.attached.regionsWithNumber) +
           QStringLiteral("、") + conversion.line +
           (run.attached.endsWithoutEof ? DrawingCut() : QString()),
       FolderOf(names.mid), conversion.failed || run.attached.endsWithoutEof});
  simaNotWritten_ = conversion.failed ? conversion.line : QString();
  // The numbered lots stay for the site tools once the report is shown.
  std::shared_ptr<const SiteLots> site;
  if (BoundaryPointsNumbered(lastBuilt_.lots)) {
    auto lots = std::make_shared<SiteLots>();
    SiteFile drawing;
    drawing.lots = std::make_shared<const LotModel>(lastBuilt_.lots);
    drawing.source = QFileInfo(WindowPath(choices.drawing)).fileName().toStdString();
    drawing.place = {choices.planeZone, choices.datum, false};
    drawing.swapXY = choices.swapXY;
    lots->files.push_back(std::move(drawing));
    for (std::uint32_t lot = 0; lot < lots->files[0].lots->lots.size(); ++lot) {
      lots->ofRegion.push_back({0, lot});
    }
    site = std::move(lots);
  }
  fileList->setFocus();  // the next drawing is chosen next
  listClickCount_ = 0;
  ResetAfterRun();
  StartReport(choices, run.attached);
  if (site != nullptr) OfferSite(site, FolderOf(choices.drawing));
}

void MainWindow::ShowResult(const StepResult& result) { resultLine->Show(result); }

}  // namespace parquill::ui
