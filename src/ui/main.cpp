// parquill [FOLDER|DRAWING.dxf]: the converter's window. With a folder it
// starts there; with a drawing it starts in the drawing's folder with the
// drawing chosen, as a click on it would.
#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include "ui/form1.h"
#include "ui/screenshot_hook.h"

namespace {

void OpenStartingPlace(parquill::ui::Form1& form, const QString& argument) {
  const QFileInfo place(argument);
  QTextStream err(stderr);
  if (place.isDir()) {
    form.SetFolder(place.absoluteFilePath());
  } else if (place.isFile()) {
    form.SetFolder(place.absolutePath());
    if (!form.ChooseFile(place.fileName())) {
      err << "parquill: " << argument << " は DXF ファイルではありません。\n";
    }
  } else {
    err << "parquill: " << argument << " が見つかりません。\n";
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 2) {
    QTextStream(stderr) << "使い方: parquill [フォルダ|図面.dxf]\n";
    return 2;
  }
  parquill::ui::Form1 form;
  form.show();
  if (arguments.size() == 2) OpenStartingPlace(form, arguments[1]);
  parquill::ui::ArmScreenshotHook(form);
  return QApplication::exec();
}
