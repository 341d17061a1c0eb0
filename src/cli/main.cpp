#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"

namespace {

constexpr const char* kUsage =
    "使い方: parquill-cli COMMAND [ARGS]   (詳しくは man parquill-cli)\n"
    "\n"
    "  version DRAWING   DXF バージョンを表示 (処理できれば終了コード 0、できなければ 3)\n"
    "  layers DRAWING [--from-lines]\n"
    "                    レイヤ一覧を「すべて」から順に表示。図面の文字コードにないバイトは\n"
    "                    \\xHH と表示し、その名前のまま --boundary と --text に指定できます\n"
    "  convert DRAWING --boundary LAYER [--boundary LAYER ...] --text LAYER\n"
    "          [--output PATH] [--no-swap] [--zone N] [--datum D] [--report] [--from-lines]\n"
    "          [--unit mm|m]\n"
    "                    筆界を MIF に、地番を MID に書き、SIMA 共通フォーマットに変換します\n"
    "    --output        既定は図面の横の「名前.Sim」。MIF と MID はその横\n"
    "    --no-swap       X と Y を入れ替えません (既定は入れ替え)\n"
    "    --zone N        MIF の座標系を平面直角座標系の N 系 (1〜19) にします\n"
    "    --datum D       --zone の測地系: jgd2011 (既定) か jgd2000\n"
    "    --report        要約の後に、見直すべき筆や文字を座標付きで 1 行ずつ表示します\n"
    "    --from-lines    筆界の線 (LINE、ポリライン、円弧) が囲む面を筆にします (R12 以降)\n"
    "    --unit mm|m     図面の単位 (既定は m)。mm は座標を 1000 で割って m にします\n"
    "  mapxml INPUT... [--output DIR] [--include-outside] [--datum jgd2011|jgd2000] [--report]\n"
    "          [-j N] [--resume] [--chiban N]... [--oaza NAME] [--neighbours] [--format "
    "sima,mif,dxf] [--unit m|mm]\n"
    "                    登記所備付地図の地図XML (.xml、.zip、ZIP の中の ZIP、フォルダ) を\n"
    "                    SIMA と MIF/MID に変換します (地区外・別図の筆は --include-outside\n"
    "                    のときだけ)\n"
    "    -j N            同時に変換するファイル数 (既定は CPU のコア数)\n"
    "    --resume        選んだ形式の出力がすべて入力より新しいファイルは飛ばします "
    "(止めた続きから)\n"
    "    --chiban N      地番 N の筆だけを書きます (繰り返せます)。ない地番は近い地番を示して失敗\n"
    "    --oaza NAME     --chiban の筆を大字 NAME のものに絞ります\n"
    "    --neighbours    --chiban の筆と筆界点を共有する筆 (隣接地) も書きます\n"
    "    --format F      書くファイル: sima、mif (MID も)、dxf をコンマで (既定は sima,mif)\n"
    "    --unit mm|m     DXF の単位 (既定は m)。Jw_cad には mm\n"
    "\n"
    "終了コード: 0 完了、2 使い方の誤り、3 処理を断った、4 実行時エラー、130 Ctrl+C で中断\n"
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
  if (command == "mapxml") return parquill::cli::RunMapXmlCommand(args);
  return parquill::cli::UsageError("知らないコマンドです: " + command);
}
