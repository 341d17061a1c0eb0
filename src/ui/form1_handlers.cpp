// The handlers of the main window's events.
#include <QFile>

#include "convert/attachment_step.h"
#include "convert/sima_conversion_step.h"
#include "convert/version_check_step.h"
#include "dxf/layer_list_reader.h"
#include "mif/region_builder.h"
#include "ui/drive_chooser.h"
#include "ui/dxf_file_list.h"
#include "ui/file_names.h"
#include "ui/folder_list.h"
#include "ui/form1.h"
#include "ui/layer_list_widget.h"

namespace parquill::ui {
namespace {

const QColor kRefusedColour(255, 0, 0);
const QColor kAcceptedColour(0, 0, 255);

// A path as the file system takes it.
std::string FileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

void Form1::Drive1_Change() {
  if (busy_) {
    driveChooser->followFolder(folderList->path());  // back to the drive of the folder shown
    return;
  }
  SetFolder(driveChooser->currentFolderOfDrive());
}

void Form1::Dir1_Change() {
  if (busy_) return;
  fileList->setFolder(folderList->path());
  if (outputNameOption->isChecked())
    outputPathEdit->setText(JoinFolderAndName(fileList->folder(), outputFileName_));
}

void Form1::File1_Click(const QString& fileName) {
  if (busy_) return;
  regionNumberEdit->clear();
  if (inputNameOption->isChecked())
    inputPathEdit->setText(JoinFolderAndName(fileList->folder(), fileName));
  outputFileName_ = OutputFileNameFor(fileName);
  RunVersionCheck();
  StartDrawingPreview();
}

void Form1::RunVersionCheck() {
  const DxfVersionVerdict verdict = CheckDxfVersion(FileSystemPath(inputPathEdit->text()));
  dxfVersionCode_ = verdict.code;
  dxfVersionName_ = QString::fromStdString(verdict.name);
  QPalette palette = versionLabel->palette();
  palette.setColor(QPalette::WindowText, verdict.shownRed ? kRefusedColour : kAcceptedColour);
  versionLabel->setPalette(palette);
  versionLabel->setVisible(true);
  versionLabel->setText(QString::fromStdString(DxfVersionCaption(verdict)));
}

void Form1::List1_Click() {
  if (busy_) return;
  outputNameOption->setVisible(true);
  outputNameOption->setChecked(true);
  outputPathEdit->setText(FolderPartOf(inputPathEdit->text()) + outputFileName_);
  outputPathEdit->setVisible(true);
  ++listClickCount_;
  if (listClickCount_ == 1) buildRegionsButton->setVisible(true);
  if (listClickCount_ == 2) attachButton->setVisible(true);
}

void Form1::Command1_Click() {
  if (busy_) return;
  const LayerListRequest request{dxfVersionCode_, dxfVersionName_.toStdString(),
                                 FileSystemPath(inputPathEdit->text())};
  LayerListSinkOverWidget list(*layerList);
  const Outcome outcome =
      RunStep([&](StepHost& host) { return ReadLayerList(request, list, host); }, "PARQUILL");
  if (outcome.done()) {
    layerFrame->setVisible(true);
    layerList->setVisible(true);
  }
}

void Form1::Command2_Click() {
  if (busy_) return;
  const RegionBuildRequest request{FileSystemPath(inputPathEdit->text()),
                                   FileSystemPath(outputPathEdit->text()), CurrentLayerSelection(),
                                   DxfTextEncoding(dxfVersionCode_)};
  RegionBuildSummary built;
  const Outcome outcome =
      RunStep([&](StepHost&) { return BuildRegions(request, &built); }, "TESSARO");
  if (!outcome.done()) return;
  layerList->clearSelection();
  buildRegionsButton->setVisible(false);
  outputNameOption->setVisible(false);
  attachButton->setVisible(true);
  // Kept for the report: the list is cleared, and "属性付加" comes later.
  lastBuilt_ = std::move(built);
  lastBuiltFor_ = request.dxfPath + '\n' + request.outputName;
  StartRegionPreview(request.outputName);
}

void Form1::Command3_Click() {
  if (busy_) return;
  const AttachRequest request{FileSystemPath(inputPathEdit->text()),
                              FileSystemPath(outputPathEdit->text()), CurrentLayerSelection(),
                              DxfTextEncoding(dxfVersionCode_)};
  const Outcome outcome = RunStep([&](StepHost&) { return AttachLotNumbers(request); }, "TESSARO");
  if (!outcome.done()) return;
  // The conversion reports its own failures; the run ends normally either way.
  ConvertMifToSima();
  ResetWindow();
  listClickCount_ = 0;
  StartReport(request.dxfPath, request.outputName, request.selection, request.encoding);
}

void Form1::ConvertMifToSima() {
  const ConversionRequest request{FileSystemPath(inputPathEdit->text()),
                                  FileSystemPath(outputPathEdit->text())};
  regionNumberEdit->setVisible(true);
  const Outcome outcome = RunStep(
      [&](StepHost& host) { return parquill::ConvertMifToSima(request, host); }, "Brantole");
  if (outcome.done()) layerFrame->setVisible(false);
}

}  // namespace parquill::ui
