#pragma once

#include <QString>
#include <string>

namespace parquill::ui {

// The folder separator of the file system the window browses.
inline constexpr QChar kFolderSeparator = u'/';

// Joins a folder and a file name with exactly one separator between them: a
// folder that already ends with one (the root "/") gets none added.
QString JoinFolderAndName(const QString& folder, const QString& name);

// The folder part of a path: everything up to and including its last
// separator; empty when the path holds none.
QString FolderPartOf(const QString& path);

// The proposed output name for a drawing's file name: the name up to and
// including its first ".", followed by "Sim" (SAMPLE.DXF gives SAMPLE.Sim).
// A name without "." keeps all of it and gets ".Sim".
QString OutputFileNameFor(const QString& fileName);

// A path as the core opens it: in the file system's encoding of names.
std::string FileSystemPath(const QString& path);

}  // namespace parquill::ui
