// The site tools over the map: a lot found by its 地番, lots chosen by
// clicks and rectangles with their neighbours, and the SIMA, MIF/MID and DXF
// files of the chosen lots.
#include <QFileInfo>
#include <QGridLayout>
#include <QShortcut>

#include "base/output_file_names.h"
#include "sima/lot_files.h"
#include "ui/file_dialogs.h"
#include "ui/file_names.h"
#include "ui/keyboard.h"
#include "ui/lot_choice.h"
#include "ui/main_window.h"
#include "ui/map_preview.h"
#include "ui/named_control.h"

namespace parquill::ui {
namespace {

const QString kSimaFilter = QStringLiteral("SIMA 共通フォーマット (*.Sim *.sim *.SIM)");
const QString kSimaSuffix = QStringLiteral(".Sim");
// The most matches the list shows before it scrolls.
constexpr int kMatchRowsShown = 8;
constexpr int kMatchListWidth = 320;

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A 地番 as part of a file name: the characters no file name may hold as "_".
QString FileNamePart(const std::string& chiban) {
  QString part = Text(chiban);
  for (QChar& c : part) {
    if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
  }
  return part.isEmpty() ? QStringLiteral("選択した筆") : part;
}

}  // namespace

void MainWindow::CreateSiteControls() {
  siteBar = MakeNamed<QWidget>(this, "SiteBar");
  chibanSearchEdit = MakeNamed<QLineEdit>(siteBar, "ChibanSearchEdit");
  chibanSearchEdit->setPlaceholderText(QStringLiteral("地番で探す（Ctrl+F）"));
  chibanSearchEdit->setClearButtonEnabled(true);
  neighboursButton =
      MakeNamed<QPushButton>(siteBar, "NeighboursButton", QStringLiteral("隣接地も選ぶ"));
  exportSelectionButton = MakeNamed<QPushButton>(siteBar, "ExportSelectionButton",
                                                 QStringLiteral("選択した筆を書き出す…"));
  for (QPushButton* button : {neighboursButton, exportSelectionButton}) {
    button->setAutoDefault(false);
    LetEnterPress(button);
  }
  selectionLabel = MakeNamed<QLabel>(siteBar, "SelectionLabel");
  selectionLabel->setWordWrap(true);
  auto* grid = new QGridLayout(siteBar);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(chibanSearchEdit, 0, 0);
  grid->addWidget(neighboursButton, 0, 1);
  grid->addWidget(exportSelectionButton, 0, 2);
  grid->addWidget(selectionLabel, 1, 0, 1, 3);
  grid->setColumnStretch(0, 1);
  siteBar->setVisible(false);

  // Over the map's top left corner, while a number has several lots.
  chibanMatchList = MakeNamed<QListWidget>(mapPreview, "ChibanMatchList");
  chibanMatchList->setVisible(false);

  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    if (siteBar->isHidden()) return;
    chibanSearchEdit->setFocus();
    chibanSearchEdit->selectAll();
  });
  connect(chibanSearchEdit, &QLineEdit::returnPressed, this, &MainWindow::OnSearchChiban);
  connect(chibanMatchList, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OnMatchChosen(chibanMatchList->row(item)); });
  connect(chibanMatchList, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { OnMatchChosen(chibanMatchList->row(item)); });
  connect(mapPreview, &MapPreview::LotClicked, this, &MainWindow::OnLotClicked);
  connect(mapPreview, &MapPreview::RectangleDrawn, this, &MainWindow::OnRectangleDrawn);
  connect(neighboursButton, &QPushButton::clicked, this, &MainWindow::OnAddNeighbours);
  connect(exportSelectionButton, &QPushButton::clicked, this, &MainWindow::OnExportSelection);
}

void MainWindow::OfferSite(std::shared_ptr<const SiteLots> lots, const QString& folder) {
  selection_.Reset(std::move(lots));
  siteFolder_ = folder;
  matches_.clear();
  chibanMatchList->setVisible(false);
  siteBar->setVisible(selection_.Available());
  ShowSelection();
}

void MainWindow::ForgetSite() {
  if (siteBar == nullptr) return;
  selection_.Reset(nullptr);
  matches_.clear();
  chibanMatchList->setVisible(false);
  siteBar->setVisible(false);
  mapPreview->SetSelectedRegions({});
}

void MainWindow::ShowSelection() {
  mapPreview->SetSelectedRegions(selection_.Regions());
  if (selection_.Empty()) {
    selectionLabel->setText(
        QStringLiteral("筆をクリックで選択（Ctrl+クリックで追加・解除、Shift+ドラッグで範囲）"));
    return;
  }
  selectionLabel->setText(QStringLiteral("選択: 筆 %1、筆界点 %2、地積合計 %3")
                              .arg(selection_.Count())
                              .arg(selection_.Points())
                              .arg(SquareMetresText(selection_.SquareMetres())));
}

void MainWindow::OnSearchChiban() {
  if (busy_ || !selection_.Available()) return;
  const std::string chiban = chibanSearchEdit->text().trimmed().toStdString();
  chibanMatchList->setVisible(false);
  if (chiban.empty()) return;
  matches_ = selection_.Find(chiban);
  if (matches_.empty()) {
    QStringList nearest;
    for (const std::string& number : selection_.Nearest(chiban)) nearest << Text(number);
    QString line = QStringLiteral("地番 %1 の筆は地図にありません").arg(Text(chiban));
    if (!nearest.isEmpty())
      line += QStringLiteral("。近い地番: ") + nearest.join(QStringLiteral("、"));
    ShowResult({line, {}, true});
    return;
  }
  if (matches_.size() == 1) {
    OnMatchChosen(0);
    return;
  }
  chibanMatchList->clear();
  for (const SiteMatch& match : matches_) chibanMatchList->addItem(Text(match.name));
  const int rows = std::min(static_cast<int>(matches_.size()), kMatchRowsShown);
  chibanMatchList->setGeometry(
      4, 4, std::min(kMatchListWidth, mapPreview->width() - 8),
      rows * chibanMatchList->sizeHintForRow(0) + 2 * chibanMatchList->frameWidth());
  chibanMatchList->setCurrentRow(0);
  chibanMatchList->setVisible(true);
  chibanMatchList->raise();
  chibanMatchList->setFocus();
  ShowResult({QStringLiteral("地番 %1 の筆は %2 あります。一覧から選んでください")
                  .arg(Text(chiban))
                  .arg(matches_.size()),
              {},
              false});
}

void MainWindow::OnMatchChosen(int row) {
  if (busy_ || row < 0 || static_cast<std::size_t>(row) >= matches_.size()) return;
  const SiteMatch match = matches_[static_cast<std::size_t>(row)];
  chibanMatchList->setVisible(false);
  selection_.Choose(match.region);
  ShowSelection();
  mapPreview->ZoomToRegions({match.region});
  ShowResult({QStringLiteral("地番 %1 を選びました").arg(Text(match.name)), {}, false});
}

void MainWindow::OnLotClicked(int region, Qt::KeyboardModifiers keys) {
  if (busy_ || !selection_.Available()) return;
  chibanMatchList->setVisible(false);
  const bool adding = (keys & (Qt::ControlModifier | Qt::ShiftModifier)) != 0;
  if (region < 0 || !selection_.Holds(static_cast<std::size_t>(region))) {
    if (!adding) selection_.Clear();  // a click beside the lots lets them go
  } else if (!adding) {
    selection_.Choose(static_cast<std::size_t>(region));
  } else if (!selection_.Toggle(static_cast<std::size_t>(region))) {
    ShowResult({QStringLiteral("選べるのは一つの地図XMLファイルの筆だけです（選択中: %1）")
                    .arg(Text(selection_.File().source)),
                {},
                true});
  }
  ShowSelection();
}

void MainWindow::OnRectangleDrawn(const QRectF& box, Qt::KeyboardModifiers keys) {
  if (busy_ || !selection_.Available()) return;
  chibanMatchList->setVisible(false);
  if (!(keys & Qt::ControlModifier)) selection_.Clear();
  std::vector<std::size_t> touched = mapPreview->RegionsTouching(box);
  std::erase_if(touched, [this](std::size_t region) { return !selection_.Holds(region); });
  if (!selection_.Add(touched)) {
    ShowResult(
        {QStringLiteral("選べるのは一つの地図XMLファイルの筆だけです。%1 の筆だけを選びました")
             .arg(Text(selection_.File().source)),
         {},
         true});
  }
  ShowSelection();
}

void MainWindow::OnAddNeighbours() {
  if (busy_ || selection_.Empty()) return;
  const std::size_t before = selection_.Count();
  selection_.AddNeighbours();
  ShowSelection();
  mapPreview->ZoomToRegions(selection_.Regions());  // the site whole in the map
  ShowResult(
      {QStringLiteral("隣接地 %1 筆を加えました").arg(selection_.Count() - before), {}, false});
}

void MainWindow::OnExportSelection() {
  if (busy_) return;
  if (selection_.Empty()) {
    ShowError(QStringLiteral(
                  "書き出す筆が選ばれていません。地図で筆をクリックするか、地番で探してください。"),
              QStringLiteral("選択した筆を書き出す"));
    return;
  }
  const std::vector<std::string> chibans = selection_.Chibans();
  QString name = FileNamePart(chibans.front());
  if (chibans.size() > 1) name += QStringLiteral("ほか%1筆").arg(chibans.size() - 1);
  QString chosen =
      AskForFile(this, {FileQuestion::Kind::kSave, QStringLiteral("選択した筆を書き出す"),
                        JoinFolderAndName(siteFolder_, name + kSimaSuffix), kSimaFilter});
  if (chosen.isEmpty()) return;
  if (QFileInfo(chosen).suffix().isEmpty()) chosen += kSimaSuffix;

  const SiteFile& file = selection_.File();
  LotFileChoices files;
  files.output = FileSystemPath(chosen);
  files.formats = kLotSima | kLotMif | kLotDxf;
  files.swapXY = file.swapXY;
  files.millimetres = MillimetreUnits();
  files.place = file.place;
  files.place.datum = Datum();
  files.source = QFileInfo(Text(file.source)).fileName().toStdString();
  files.attribution = file.attribution;

  // None of the four files may be written over the input.
  const OutputFileNames names = OutputFileNamesFor(files.output);
  const std::string dxf = DxfPathFor(files.output);
  const std::string input =
      FileSystemPath(mapXmlPath_.isEmpty() ? inputPathEdit->text() : mapXmlPath_);
  for (const std::string& path : {names.sima, names.mif, names.mid, dxf}) {
    if (!input.empty() && NamesSameFile(path, input)) {
      ShowError(QStringLiteral("%1 は入力のファイルです。別の名前を選んでください。")
                    .arg(QFileInfo(QFile::decodeName(path.c_str())).fileName()),
                QStringLiteral("選択した筆を書き出す"));
      return;
    }
  }

  const LotModel site = selection_.Selected();
  Outcome outcome;
  RunStep([&](StepHost&) {
    outcome = WriteLotFiles(site, files);
    return outcome.messages;
  });
  const QString folder = QFileInfo(chosen).absolutePath();
  if (!outcome.done()) {
    QStringList why;
    for (const Message& message : outcome.messages) why << Text(message.text);
    ShowResult(
        {QStringLiteral("選択した筆は書き出せませんでした: %1").arg(why.join(' ')), {}, true});
    return;
  }
  QStringList written;
  for (const std::string& path : {names.sima, names.mif, names.mid, dxf}) {
    written << QFileInfo(QFile::decodeName(path.c_str())).fileName();
  }
  ShowResult({QStringLiteral("選択した筆 %1（筆界点 %2）を書きました: %3（DXF は %4 単位）")
                  .arg(site.lots.size())
                  .arg(site.boundaryPoints.size())
                  .arg(written.join(QStringLiteral("、")),
                       files.millimetres ? QStringLiteral("mm") : QStringLiteral("m")),
              folder, false});
}

}  // namespace parquill::ui
