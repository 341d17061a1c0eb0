#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"

namespace {

constexpr const char* kUsage =
    "使い方: parquill-cli COMMAND [ARGS]\n"
    "\n"
    "  version DRAWING   図面の DXF バージョンを表示します\n"
    "                    (処理できる版なら終了コード 0、できなければ 3)\n"
    "  layers DRAWING [--from-lines]\n"
    "                    図面のレイヤ一覧を「すべて」から順に表示します\n"
    "                    (--from-lines: 線から筆を作るときの一覧、R12 以降の図面)\n"
    "  convert DRAWING --boundary LAYER [--boundary LAYER ...] --text LAYER\n"
    "          [--output PATH] [--no-swap] [--zone N] [--report] [--from-lines]\n"
    "                    筆界レイヤの閉じたポリラインを MIF に、地番レイヤの文字を MID に書き、\n"
    "                    SIMA 共通フォーマットのファイルに変換します。\n"
    "                    --output の既定は図面と同じフォルダの「名前.Sim」、MIF と MID はその横。\n"
    "                    --no-swap で X と Y を入れ替えません(既定は入れ替え)。\n"
    "                    --zone N で平面直角座標系の N 系 (1〜19) を MIF の座標系にします\n"
    "                    (GIS で経緯度の正しい位置に重なります)。\n"
    "                    --report で、要約の行の後に各筆の問題(閉じていない筆界、地番なし、\n"
    "                    複数の文字、どの領域にも入らない文字、重複した地番)を 1 行ずつ、\n"
    "                    座標付きで表示します。\n"
    "                    --from-lines で、筆界レイヤの線 (LINE、ポリライン、円弧) が囲む面を\n"
    "                    1 筆ずつ領域にします (R12 以降の図面)。筆を囲まない線、穴のある筆、\n"
    "                    弦に分けた円弧の数は --report が示します。\n"
    "\n"
    "  --help            この説明を表示します\n"
    "  --version         プログラムの版を表示します\n"
    "\n"
    "  layers が表示するレイヤ名 (図面の文字コードにないバイトは \\xHH) を、そのまま\n"
    "  --boundary と --text に指定できます。\n"
    "\n"
    "終了コード: 0 完了、2 使い方の誤り、3 処理を断った、4 実行時エラー\n"
    "  (地番の読み取りが実行時エラーで止まったときは、読めた地番で 3 つのファイルを書き、\n"
    "   終了コードは 4 です)\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return parquill::cli::kExitUsage;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return parquill::cli::kExitDone;
  }
  if (command == "--version") {
    std::cout << "parquill-cli " << PARQUILL_VERSION << '\n';
    return parquill::cli::kExitDone;
  }
  if (command == "version") return parquill::cli::RunVersionCommand(args);
  if (command == "layers") return parquill::cli::RunLayersCommand(args);
  if (command == "convert") return parquill::cli::RunConvertCommand(args);
  return parquill::cli::UsageError("知らないコマンドです: " + command);
}
