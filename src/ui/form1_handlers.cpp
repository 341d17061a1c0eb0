// The handlers of the main window's events.
#include <QFile>

#include "dxf/dxf_version.h"
#include "dxf/layer_list_reader.h"
#include "mif/attribute_attachment.h"
#include "convert/region_build_step.h"
#include "sima/mif_to_sima_conversion.h"
#include "geometry/survey.h"
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
    Drive1->followFolder(Dir1->path());  // back to the drive of the folder shown
    return;
  }
  SetFolder(Drive1->currentFolderOfDrive());
}

void Form1::Dir1_Change() {
  if (busy_) return;
  File1->setFolder(Dir1->path());
  if (Op2_2->isChecked()) Text8->setText(JoinFolderAndName(File1->folder(), outputFileName_));
}

void Form1::File1_Click(const QString& fileName) {
  if (busy_) return;
  Text1->clear();
  if (Op2_1->isChecked()) Text7->setText(JoinFolderAndName(File1->folder(), fileName));
  outputFileName_ = OutputFileNameFor(fileName);
  RunVersionCheck();
  StartDrawingPreview();
}

void Form1::RunVersionCheck() {
  const DxfVersionVerdict verdict =
      ClassifyDxfVersion(survey::DXFVer(FileSystemPath(Text7->text())));
  dxfVersionCode_ = verdict.code;
  dxfVersionName_ = QString::fromStdString(verdict.name);
  QPalette palette = Label1->palette();
  palette.setColor(QPalette::WindowText, verdict.shownRed ? kRefusedColour : kAcceptedColour);
  Label1->setPalette(palette);
  Label1->setVisible(true);
  Label1->setText(QString::fromStdString(DxfVersionCaption(verdict)));
}

void Form1::List1_Click() {
  if (busy_) return;
  Op2_2->setVisible(true);
  Op2_2->setChecked(true);
  Text8->setText(FolderPartOf(Text7->text()) + outputFileName_);
  Text8->setVisible(true);
  ++listClickCount_;
  if (listClickCount_ == 1) Command2->setVisible(true);
  if (listClickCount_ == 2) Command3->setVisible(true);
}

void Form1::Command1_Click() {
  if (busy_) return;
  const LayerListRequest request{dxfVersionCode_, dxfVersionName_.toStdString(),
                                 FileSystemPath(Text7->text())};
  LayerListSinkOverWidget list(*List1);
  const Outcome outcome =
      RunStep([&](StepHost& host) { return ReadLayerList(request, list, host); }, "PARQUILL");
  if (outcome.done()) {
    Frame1->setVisible(true);
    List1->setVisible(true);
  }
}

void Form1::Command2_Click() {
  if (busy_) return;
  const RegionBuildRequest request{FileSystemPath(Text7->text()), FileSystemPath(Text8->text()),
                                   CurrentLayerSelection(), DxfTextEncoding(dxfVersionCode_)};
  RegionBuildSummary built;
  const Outcome outcome =
      RunStep([&](StepHost&) { return BuildRegions(request, &built); }, "TESSARO");
  if (!outcome.done()) return;
  List1->clearSelection();
  Command2->setVisible(false);
  Op2_2->setVisible(false);
  Command3->setVisible(true);
  // Kept for the report: the list is cleared, and "属性付加" comes later.
  lastBuilt_ = std::move(built);
  lastBuiltFor_ = request.dxfPath + '\n' + request.outputName;
  StartRegionPreview(request.outputName);
}

void Form1::Command3_Click() {
  if (busy_) return;
  const AttachRequest request{FileSystemPath(Text7->text()), FileSystemPath(Text8->text()),
                              CurrentLayerSelection(), DxfTextEncoding(dxfVersionCode_)};
  const Outcome outcome = RunStep([&](StepHost&) { return AttachLotNumbers(request); }, "TESSARO");
  if (!outcome.done()) return;
  // The conversion reports its own failures; the run ends normally either way.
  ConvertMifToSima();
  ResetWindow();
  listClickCount_ = 0;
  StartReport(request.dxfPath, request.outputName, request.selection, request.encoding);
}

void Form1::ConvertMifToSima() {
  const ConversionRequest request{FileSystemPath(Text7->text()), FileSystemPath(Text8->text())};
  Text1->setVisible(true);
  const Outcome outcome = RunStep(
      [&](StepHost& host) { return parquill::ConvertMifToSima(request, host); }, "Brantole");
  if (outcome.done()) Frame1->setVisible(false);
}

}  // namespace parquill::ui
