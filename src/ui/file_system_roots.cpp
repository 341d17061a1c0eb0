#include "ui/file_system_roots.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace parquill::ui {
namespace {

bool IsPseudoFileSystem(const QString& type) {
  static const QStringList kPseudo = {
      "proc",     "sysfs",  "devtmpfs",   "devpts",   "tmpfs",       "cgroup",
      "cgroup2",  "pstore", "securityfs", "debugfs",  "tracefs",     "configfs",
      "fusectl",  "mqueue", "hugetlbfs",  "bpf",      "binfmt_misc", "autofs",
      "efivarfs", "nsfs",   "rpc_pipefs", "squashfs", "ramfs",       "overlay"};
  return kPseudo.contains(type);
}

bool IsSystemArea(const QString& path) {
  static const QStringList kSystem = {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"};
  for (const QString& area : kSystem) {
    if (path == area || path.startsWith(area + u'/')) return true;
  }
  return false;
}

bool HoldsFolder(const QString& root, const QString& folder) {
  if (root == "/") return folder.startsWith(u'/');
  return folder == root || folder.startsWith(root + u'/');
}

}  // namespace

bool IsUserVolume(const QString& rootPath, const QString& fileSystemType) {
  if (rootPath.isEmpty() || rootPath == "/") return false;  // "/" stands first anyway
  if (IsPseudoFileSystem(fileSystemType) || IsSystemArea(rootPath)) return false;
  return QFileInfo(rootPath).isDir();
}

QStringList FileSystemRoots() {
  QStringList roots = {QStringLiteral("/")};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    if (IsUserVolume(root, QString::fromLatin1(volume.fileSystemType())) && !roots.contains(root)) {
      roots.append(root);
    }
  }
  const QString home = QDir::homePath();
  if (!roots.contains(home)) roots.append(home);
  return roots;
}

QString RootCaption(const QString& root, const QString& home) {
  QString name = QFileInfo(root).fileName();
  if (root == QStringLiteral("/")) name = QStringLiteral("コンピュータ");
  if (root == home) name = QStringLiteral("ホーム");
  return QStringLiteral("%1（%2）").arg(name, root);
}

int RootIndexOf(const QStringList& roots, const QString& folder) {
  int best = -1;
  for (int i = 0; i < roots.size(); ++i) {
    if (HoldsFolder(roots[i], folder) && (best < 0 || roots[i].size() > roots[best].size())) {
      best = i;
    }
  }
  return best;
}

}  // namespace parquill::ui
