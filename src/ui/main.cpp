// parquill [FOLDER|DRAWING.dxf]: the converter's window. With a folder it
// starts there; with a drawing it starts in the drawing's folder with the
// drawing chosen, as a click on it would. Without, in the last folder used
// (or the current folder).
#include <QApplication>
#include <QTextStream>

#include "ui/form1.h"
#include "ui/screenshot_hook.h"
#include "ui/starting_place.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Where the window's settings are kept: ~/.config/ORVEK/Parquill.conf.
  QCoreApplication::setOrganizationName(QStringLiteral("ORVEK"));
  QCoreApplication::setApplicationName(QStringLiteral("Parquill"));
  const QStringList arguments = QApplication::arguments();
  QTextStream err(stderr);
  if (arguments.size() > 2) {
    err << "使い方: parquill [フォルダ|図面.dxf]\n";
    return 2;
  }
  parquill::ui::Form1 form;
  form.show();
  if (arguments.size() == 2) {
    const QString problem = parquill::ui::OpenStartingPlace(form, arguments[1]);
    if (!problem.isEmpty()) err << "parquill: " << problem << "\n";
  }
  parquill::ui::ArmScreenshotHook(form);
  return QApplication::exec();
}
