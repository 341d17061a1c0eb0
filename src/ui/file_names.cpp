#include "ui/file_names.h"

#include <QFile>

#include "base/output_file_names.h"

namespace parquill::ui {

QString JoinFolderAndName(const QString& folder, const QString& name) {
  if (folder.endsWith(kFolderSeparator)) return folder + name;
  return folder + kFolderSeparator + name;
}

QString FolderPartOf(const QString& path) {
  const qsizetype last = path.lastIndexOf(kFolderSeparator);
  return last < 0 ? QString() : path.left(last + 1);
}

QString OutputFileNameFor(const QString& fileName) {
  return QString::fromStdString(ProposedOutputFileName(fileName.toStdString()));
}

std::string FileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace parquill::ui
