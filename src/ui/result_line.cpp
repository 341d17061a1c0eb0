#include "ui/result_line.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "ui/keyboard.h"

namespace parquill::ui {
namespace {

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

FolderOpener& CurrentOpener() {
  static FolderOpener opener = [](const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
  };
  return opener;
}

const QColor kFailedColour(190, 0, 0);

}  // namespace

QString RegionsWritten(const QString& mifPath, int regions) {
  return QStringLiteral("%1 に %2 領域を書きました").arg(FileName(mifPath)).arg(regions);
}

QString ChibansWritten(const QString& midPath, int lines, int withNumber) {
  return QStringLiteral("%1 %2 行（地番あり %3）")
      .arg(FileName(midPath))
      .arg(lines)
      .arg(withNumber);
}

QString SimaWritten(const QString& simaPath, int points, int lots) {
  return QStringLiteral("%1 座標点 %2・筆 %3").arg(FileName(simaPath)).arg(points).arg(lots);
}

QString NotWritten(const QString& path, const Outcome& outcome) {
  QStringList why;
  for (const Message& message : outcome.messages) {
    why << QString::fromStdString(message.text)
               .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  }
  return QStringLiteral("%1 は書かれませんでした: %2").arg(FileName(path), why.join(' '));
}

QString SimaRefusalAhead(const std::vector<Message>& reasons) {
  QString why;
  for (const Message& reason : reasons) why += QString::fromStdString(reason.text);
  return QStringLiteral("。このままでは SIMA ファイルは書かれません: ") + why;
}

FolderOpener SetFolderOpener(FolderOpener opener) {
  FolderOpener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}

void OpenFolder(const QString& folder) {
  if (CurrentOpener()) CurrentOpener()(folder);
}

ResultLine::ResultLine(QWidget* parent)
    : QWidget(parent), text_(new QLabel(this)), openFolder_(new QPushButton(this)) {
  text_->setObjectName(QStringLiteral("ResultText"));
  text_->setWordWrap(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Room for two lines even while empty, so that the map does not jump.
  text_->setMinimumHeight(2 * text_->fontMetrics().lineSpacing() + 4);
  text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  openFolder_->setObjectName(QStringLiteral("OpenFolderButton"));
  openFolder_->setText(QStringLiteral("フォルダを開く"));
  openFolder_->setAutoDefault(false);
  openFolder_->setEnabled(false);
  LetEnterPress(openFolder_);
  connect(openFolder_, &QPushButton::clicked, this, [this] { OpenFolder(folder_); });
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(text_, 1);
  row->addWidget(openFolder_, 0, Qt::AlignTop);
}

void ResultLine::Show(const StepResult& result) {
  folder_ = result.folder;
  text_->setText(result.line);
  text_->setToolTip(result.folder);
  QPalette palette = text_->palette();
  palette.setColor(QPalette::WindowText,
                   result.failed ? kFailedColour : this->palette().color(QPalette::WindowText));
  text_->setPalette(palette);
  openFolder_->setEnabled(!folder_.isEmpty());
}

void ResultLine::Clear() { Show({}); }

}  // namespace parquill::ui
