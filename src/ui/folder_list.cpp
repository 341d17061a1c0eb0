#include "ui/folder_list.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>

#include "ui/file_names.h"

namespace parquill::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kMaxIndentLevels = 6;

// The folders from the root down to `folder`, each as its full path.
QStringList LevelsOf(const QString& folder) {
  QStringList levels = {QStringLiteral("/")};
  QString path;
  for (const QString& part : folder.split(kFolderSeparator, Qt::SkipEmptyParts)) {
    path += kFolderSeparator + part;
    levels.append(path);
  }
  return levels;
}

QString Indent(int level) { return QString(2 * qMin(level, kMaxIndentLevels), u' '); }

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { Open(item->data(kPathRole).toString()); });
  // Opened once the click has been handled: opening refills the list.
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const QString folder = item->data(kPathRole).toString();
    QTimer::singleShot(0, this, [this, folder] { Open(folder); });
  });
}

void FolderList::Open(const QString& folder) {
  if (mayMove_()) setPath(folder);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent* event) {
  // Its first click opened the folder; the second lands on the refilled list.
  event->accept();
}

void FolderList::setPath(const QString& folder) {
  const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
  if (clean == path_) return;
  path_ = clean;
  Refresh();
  emit pathChanged(path_);
}

void FolderList::Refresh() {
  clear();
  const QStyle* style = QApplication::style();
  const QIcon openIcon = style->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style->standardIcon(QStyle::SP_DirClosedIcon);

  const QStringList levels = LevelsOf(path_);
  for (int level = 0; level < levels.size(); ++level) {
    const QString name = level == 0 ? levels[0] : QFileInfo(levels[level]).fileName();
    auto* item = new QListWidgetItem(openIcon, Indent(level) + name, this);
    item->setData(kPathRole, levels[level]);
    item->setToolTip(levels[level]);
  }
  setCurrentRow(static_cast<int>(levels.size()) - 1);

  const QDir dir(path_);
  const QStringList subfolders =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& sub : subfolders) {
    auto* item =
        new QListWidgetItem(closedIcon, Indent(static_cast<int>(levels.size())) + sub, this);
    item->setData(kPathRole, dir.filePath(sub));
    item->setToolTip(dir.filePath(sub));
  }
}

}  // namespace parquill::ui
