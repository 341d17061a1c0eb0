#include "ui/file_dialogs.h"

#include <QFileDialog>

namespace parquill::ui {
namespace {

FileAsker& CurrentAsker() {
  static FileAsker asker = [](QWidget* parent, const FileQuestion& question) {
    if (question.kind == FileQuestion::Kind::kSave) {
      return QFileDialog::getSaveFileName(parent, question.title, question.start, question.filter);
    }
    return QFileDialog::getOpenFileName(parent, question.title, question.start, question.filter);
  };
  return asker;
}

}  // namespace

FileAsker SetFileAsker(FileAsker asker) {
  FileAsker previous = std::move(CurrentAsker());
  CurrentAsker() = std::move(asker);
  return previous;
}

QString AskForFile(QWidget* parent, const FileQuestion& question) {
  return CurrentAsker() ? CurrentAsker()(parent, question) : QString();
}

}  // namespace parquill::ui
