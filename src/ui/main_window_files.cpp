// The handlers of the buttons that choose files through the desktop's file
// dialogs: a drawing to open, the output file to write.
#include <QFileInfo>

#include "ui/file_dialogs.h"
#include "ui/file_names.h"
#include "ui/main_window.h"
#include "ui/starting_place.h"

namespace parquill::ui {
namespace {

const QString kDrawingFilter = QStringLiteral(
    "DXF 図面・地図XML (*.dxf *.DXF *.xml *.XML *.zip *.ZIP);;DXF 図面 (*.dxf *.DXF);;"
    "地図XML (*.xml *.XML *.zip *.ZIP);;すべてのファイル (*)");
const QString kSimaFilter = QStringLiteral("SIMA 共通フォーマット (*.Sim *.sim *.SIM)");
const QString kSimaSuffix = QStringLiteral(".Sim");

}  // namespace

void MainWindow::OnOpenDrawing() {
  if (busy_) return;
  const QString chosen = AskForFile(
      this,
      {FileQuestion::Kind::kOpen, QStringLiteral("図面・地図XMLを開く"), Folder(), kDrawingFilter});
  if (chosen.isEmpty()) return;
  // As when the drawing is named on the command line.
  const QString problem = OpenStartingPlace(*this, chosen);
  if (!problem.isEmpty()) ShowError(problem, QStringLiteral("ファイル指定"));
}

void MainWindow::OnBrowseOutput() {
  if (busy_) return;
  QString start = outputPathEdit->text();
  if (start.isEmpty()) start = JoinFolderAndName(Folder(), outputFileName_);
  QString chosen = AskForFile(
      this, {FileQuestion::Kind::kSave, QStringLiteral("出力ファイル名"), start, kSimaFilter});
  if (chosen.isEmpty()) return;
  if (QFileInfo(chosen).suffix().isEmpty()) chosen += kSimaSuffix;
  outputPathEdit->setText(chosen);
  outputPathEdit->setFocus();
}

}  // namespace parquill::ui
