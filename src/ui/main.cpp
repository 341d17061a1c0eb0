// parquill [FOLDER|DRAWING.dxf]: the converter's window. With a folder it
// starts there; with a drawing it starts in the drawing's folder with the
// drawing chosen. Without, in the last folder used (or the current folder).
// --help and --version print before any display is needed; an unknown option
// prints the usage on the error output.
#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <optional>
#include <string_view>

#include "ui/main_window.h"
#include "ui/qt_japanese.h"
#include "ui/screenshot_hook.h"
#include "ui/starting_place.h"

namespace {

constexpr int kExitUsage = 2;

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
    "  --version     版を表示して終わります\n"
    "  --            これより後は、- で始まってもファイル名です\n"
    "\n"
    "引数がなければ、前回使ったフォルダから始めます。\n"
    "コマンドラインで変換するには parquill-cli を使います（man parquill-cli）。\n";

// What the command line asks for before the window opens.
struct CommandLine {
  enum class Ask { kWindow, kHelp, kVersion, kUsageError } ask = Ask::kWindow;
  std::optional<QString> place;  // the folder or file named
  std::string problem;           // with kUsageError
};

CommandLine Parse(int argc, char* argv[]) {
  CommandLine line;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      return {CommandLine::Ask::kHelp, {}, {}};
    } else if (options && arg == "--version") {
      return {CommandLine::Ask::kVersion, {}, {}};
    } else if (options && arg.size() > 1 && arg.front() == '-') {
      return {CommandLine::Ask::kUsageError, {}, "知らないオプションです: " + std::string(arg)};
    } else if (line.place) {
      return {CommandLine::Ask::kUsageError, {}, "開くものは 1 つだけ指定してください"};
    } else {
      line.place = QFile::decodeName(argv[i]);
    }
  }
  return line;
}

}  // namespace

int main(int argc, char* argv[]) {
  const CommandLine line = Parse(argc, argv);
  switch (line.ask) {
    case CommandLine::Ask::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case CommandLine::Ask::kVersion:
      std::printf("parquill %s\n", PARQUILL_VERSION);
      return 0;
    case CommandLine::Ask::kUsageError:
      std::fprintf(stderr, "parquill: %s\n\n%s", line.problem.c_str(), kUsage);
      return kExitUsage;
    case CommandLine::Ask::kWindow:
      break;
  }
  QApplication app(argc, argv);
  parquill::ui::InstallQtJapanese(app);
  // Where the window's settings are kept: ~/.config/ORVEK/Parquill.conf.
  QCoreApplication::setOrganizationName(QStringLiteral("ORVEK"));
  QCoreApplication::setApplicationName(QStringLiteral("Parquill"));
  parquill::ui::MainWindow window;
  window.show();
  if (line.place) {
    const QString problem = parquill::ui::OpenStartingPlace(window, *line.place);
    if (!problem.isEmpty()) {
      QTextStream(stderr) << "parquill: " << problem << "\n";
      window.ShowProblem(problem);
    }
  }
  parquill::ui::ArmScreenshotHook(window);
  return QApplication::exec();
}
