#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "base/step_outcome.h"

namespace parquill::ui {

// What a step left on disk, in one line: what was written and how much, or
// which file was not written and why; and the folder it is in.
struct StepResult {
  QString line;
  QString folder;  // empty when the step wrote nothing to look at
  bool failed = false;
};

// "sample.MIF に 12 領域を書きました"
QString RegionsWritten(const QString& mifPath, int regions);
// "sample.MID 12 行（地番あり 12）"
QString ChibansWritten(const QString& midPath, int lines, int withNumber);
// "sample.Sim 座標点 23・筆 12"
QString SimaWritten(const QString& simaPath, int points, int lots);
// "sample.Sim は書かれませんでした: <the step's message>"
QString NotWritten(const QString& path, const Outcome& outcome);
// What the SIMA conversion will refuse with, said before it runs:
// "。このままでは SIMA ファイルは書かれません: 筆個数が、2000個を超えました。"
QString SimaRefusalAhead(const std::vector<Message>& reasons);

// Opens a folder in the desktop's file manager. Replaceable, so that tests
// open nothing; returns the opener it replaces.
using FolderOpener = std::function<void(const QString& folder)>;
FolderOpener SetFolderOpener(FolderOpener opener);
void OpenFolder(const QString& folder);

// The result line in the side panel, with its "フォルダを開く" button. A long
// result wraps onto as many lines as it needs, never cut.
class ResultLine : public QWidget {
  Q_OBJECT

 public:
  explicit ResultLine(QWidget* parent = nullptr);

  void Show(const StepResult& result);
  void Clear();
  QString Line() const { return text_->text(); }
  QString Folder() const { return folder_; }

 private:
  QLabel* text_;
  QPushButton* openFolder_;
  QString folder_;
};

}  // namespace parquill::ui
