#pragma once

#include <QString>
#include <QStringList>

namespace parquill::ui {

// Whether a mounted volume is one the user keeps drawings on: not a pseudo
// file system (proc, sysfs, tmpfs...), not a system area (/proc, /sys, /dev,
// /run, /snap), and a folder (containers mount single files too).
bool IsUserVolume(const QString& rootPath, const QString& fileSystemType);

// The roots the drive chooser offers, in order: "/", the mounted user volumes
// that are ready and valid, then the home folder. Each root appears once.
QStringList FileSystemRoots();

// How the drive chooser names a root: "コンピュータ（/）", "ホーム（/home/kato）",
// a mounted volume by its folder's name ("USB（/media/kato/USB）").
QString RootCaption(const QString& root, const QString& home);

// The root among `roots` that holds `folder`: the longest one that is a
// prefix of it at a folder boundary; -1 when none is.
int RootIndexOf(const QStringList& roots, const QString& folder);

}  // namespace parquill::ui
