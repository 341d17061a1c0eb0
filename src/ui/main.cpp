// parquill [FOLDER|DRAWING.dxf]: the converter's window. With a folder it
// starts there; with a drawing it starts in the drawing's folder with the
// drawing chosen, as a click on it would. Without, in the last folder used
// (or the current folder). --help prints the usage, before any display is
// needed.
#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#include "ui/main_window.h"
#include "ui/screenshot_hook.h"
#include "ui/starting_place.h"

namespace {

constexpr const char* kUsage =
    "使い方: parquill [フォルダ|図面.dxf]\n"
    "\n"
    "DXF 図面の筆を MapInfo の MIF/MID ファイルと SIMA 共通フォーマットのファイルに\n"
    "変換するウィンドウを開きます。\n"
    "\n"
    "  フォルダ      そのフォルダのファイル一覧から始めます\n"
    "  図面.dxf      その図面のフォルダを開き、図面を選んだ状態で始めます\n"
    "  地図XML.zip   地図XML（.xml か .zip）の筆を地図に表示して始めます\n"
    "  -h, --help    この説明を表示して終わります\n"
    "\n"
    "引数がなければ、前回使ったフォルダから始めます。\n"
    "コマンドラインで変換するには parquill-cli を使います（man parquill-cli）。\n";

bool AsksForHelp(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (AsksForHelp(argc, argv)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  QApplication app(argc, argv);
  // Where the window's settings are kept: ~/.config/ORVEK/Parquill.conf.
  QCoreApplication::setOrganizationName(QStringLiteral("ORVEK"));
  QCoreApplication::setApplicationName(QStringLiteral("Parquill"));
  const QStringList arguments = QApplication::arguments();
  QTextStream err(stderr);
  if (arguments.size() > 2) {
    err << "使い方: parquill [フォルダ|図面.dxf]（詳しくは parquill --help）\n";
    return 2;
  }
  parquill::ui::MainWindow form;
  form.show();
  if (arguments.size() == 2) {
    const QString problem = parquill::ui::OpenStartingPlace(form, arguments[1]);
    if (!problem.isEmpty()) err << "parquill: " << problem << "\n";
  }
  parquill::ui::ArmScreenshotHook(form);
  return QApplication::exec();
}
