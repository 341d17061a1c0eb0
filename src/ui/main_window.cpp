#include "ui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>

#include "ui/caption_label.h"
#include "ui/critical_message_box.h"
#include "ui/drive_chooser.h"
#include "ui/dropped_drawing.h"
#include "ui/dxf_file_list.h"
#include "ui/file_names.h"
#include "ui/folder_list.h"
#include "ui/form_placement.h"
#include "ui/keyboard.h"
#include "ui/layer_list_widget.h"
#include "ui/map_preview.h"
#include "ui/starting_place.h"
#include "ui/window_icon.h"
#include "ui/window_settings.h"
#include "ui/window_step_host.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

// The hourglass for the whole application while a step works, the normal
// pointer again however the step ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

class BusyFlag {
 public:
  explicit BusyFlag(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyFlag() { busy_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& busy_;
};

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), ownBoxes_(std::make_unique<CriticalMessageBox>(this)), boxes_(*ownBoxes_) {
  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  OnLoad();
}

MainWindow::MainWindow(MessageBoxes& boxes, QWidget* parent) : QWidget(parent), boxes_(boxes) {
  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  OnLoad();
}

MainWindow::~MainWindow() = default;

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    if (layout() != nullptr) ApplyLeastSize();
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (busy_ || event->mimeData() == nullptr) return;
  const QMimeData& dropped = *event->mimeData();
  if (!DroppedDrawing(dropped).isEmpty() || !DroppedMapXml(dropped).isEmpty()) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (busy_ || event->mimeData() == nullptr) return;
  // A drawing first; else a 地図XML file or ZIP.
  QString file = DroppedDrawing(*event->mimeData());
  if (file.isEmpty()) file = DroppedMapXml(*event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  // As when the file is named on the command line.
  OpenStartingPlace(*this, file);
}

void MainWindow::SetTabOrder() {
  // In the order of the controls' tab positions, the settings after the X/Y
  // exchange and the side panel last; labels and frames take no focus.
  QWidget* const order[] = {
      readLayersButton, driveChooser,     openButton,       folderList,
      fileList,         inputNameOption,  inputPathEdit,    outputNameOption,
      outputPathEdit,   browseButton,     layerList,        buildRegionsButton,
      attachButton,     mapXmlButton,     swapCheck,        zoneChooser,
      datumChooser,     unitChooser,      fromLinesCheck,   regionNumberEdit,
      fitButton,        chibanSearchEdit, neighboursButton, exportSelectionButton,
      mapPreview,       reportList};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  readLayersButton->setFocus();
}

void MainWindow::ConnectHandlers() {
  folderList->setMoveGuard([this] { return !busy_; });
  connect(driveChooser, &QComboBox::currentIndexChanged, this, [this] { OnDriveChanged(); });
  connect(folderList, &FolderList::pathChanged, this, [this] {
    driveChooser->followFolder(folderList->path());
    OnFolderChanged();
  });
  connect(fileList, &DxfFileList::fileClicked, this, &MainWindow::OnDrawingClicked);
  connect(layerList, &LayerListWidget::itemToggled, this, &MainWindow::OnLayerClicked);
  connect(openButton, &QPushButton::clicked, this, &MainWindow::OnOpenDrawing);
  connect(browseButton, &QPushButton::clicked, this, &MainWindow::OnBrowseOutput);
  connect(readLayersButton, &QPushButton::clicked, this, &MainWindow::OnReadLayers);
  connect(buildRegionsButton, &QPushButton::clicked, this, &MainWindow::OnBuildRegions);
  connect(attachButton, &QPushButton::clicked, this, &MainWindow::OnAttachChibans);
  connect(mapXmlButton, &QPushButton::clicked, this, &MainWindow::OnConvertMapXml);
  // Another name after "面生成" is another output: its MIF file is not built yet.
  for (QLineEdit* path : {inputPathEdit, outputPathEdit}) {
    connect(path, &QLineEdit::textChanged, this, [this] { ShowStepButtons(); });
  }
}

void MainWindow::OnLoad() {
  setWindowTitle(QStringLiteral("ORVEK PARQUILL"));
  inputNameOption->setChecked(true);
  fileNameFrame->setTitle(QStringLiteral("入出力ファイル名指定"));
  inputPathEdit->clear();
  outputPathEdit->clear();
  outputNameOption->setVisible(false);
  outputPathEdit->setVisible(false);
  fileList->setPattern(QStringLiteral("*.DXF"));
  layerList->clear();
  layerList->setVisible(false);
  layerFrame->setTitle(QStringLiteral("抽出レイヤ選択"));
  layerFrame->setVisible(false);
  readLayersButton->setText(QStringLiteral("レイア読み込み"));
  buildRegionsButton->setText(QStringLiteral("面生成"));
  buildRegionsButton->setVisible(false);
  attachButton->setText(QStringLiteral("属性付加"));
  attachButton->setVisible(false);
  versionLabel->clear();
  versionLabel->setVisible(false);
  swapCheck->setText(QStringLiteral("XY座標を入れ替え(通常)"));
  swapCheck->setChecked(true);
  regionNumberEdit->clear();
  regionNumberEdit->setVisible(false);
  listClickCount_ = 0;
  ApplyLeastSize();
  SizeAndCenterForm(*this);

  // The folder list starts in the last folder used, or the current folder.
  if (folderList->path().isEmpty()) SetFolder(StartingFolder());
}

void MainWindow::ResetWindow() {
  inputNameOption->setChecked(true);
  inputPathEdit->clear();
  outputPathEdit->clear();
  outputNameOption->setVisible(false);
  outputPathEdit->setVisible(false);
  layerList->clear();
  layerList->setVisible(false);
  layerFrame->setTitle(QStringLiteral("抽出レイヤ選択"));
  layerFrame->setVisible(false);
  buildRegionsButton->setVisible(false);
  attachButton->setVisible(false);
  versionLabel->clear();
  versionLabel->setVisible(false);
  regionNumberEdit->clear();
  regionNumberEdit->setVisible(false);
}

void MainWindow::ResetAfterRun() {
  const QString drawing = inputPathEdit->text();
  const QString verdict = versionLabel->text();
  ResetWindow();
  // The drawing stays chosen, as the file list still shows it.
  inputPathEdit->setText(drawing);
  versionLabel->setText(verdict);
  versionLabel->setVisible(!verdict.isEmpty());
}

void MainWindow::SizeAndCenterForm(QWidget& form) {
  const QScreen* screen = form.screen();
  if (screen == nullptr) return;
  const QRect place = FormPlaceFor(screen->availableGeometry(), form.minimumSize());
  form.resize(place.size());
  form.move(place.topLeft());
}

void MainWindow::ShowError(const QString& message, const QString& title) {
  boxes_.ShowCritical({message.toStdString(), title.toStdString()});
}

void MainWindow::ShowProblem(const QString& problem) { ShowResult({problem, {}, true}); }

void MainWindow::SetFolder(const QString& folder) {
  if (busy_) return;
  folderList->setPath(folder);
}

QString MainWindow::Folder() const { return fileList->folder(); }

bool MainWindow::ChooseFile(const QString& fileName) {
  if (!fileList->selectFile(fileName)) return false;
  OnDrawingClicked(fileName);
  return true;
}

void MainWindow::RunStep(const std::function<std::vector<Message>(StepHost&)>& step) {
  const BusyFlag busy(busy_);
  std::vector<Message> shown;
  {
    const WaitCursor hourglass;
    WindowStepHost host(*regionNumberEdit, *shareReadBar);
    shown = step(host);
  }
  // The boxes come with the normal pointer; the step ends when they are closed.
  for (const Message& message : shown) boxes_.ShowCritical(message);
}

bool MainWindow::OpenDrawing(const QString& path) {
  if (busy_) return false;
  const QFileInfo drawing(path);
  inputNameOption->setChecked(true);
  SetFolder(drawing.absolutePath());
  return ChooseFile(drawing.fileName());
}

ConversionChoices MainWindow::Choices() const {
  ConversionChoices choices;
  choices.drawing = FileSystemPath(inputPathEdit->text());
  choices.output = FileSystemPath(outputPathEdit->text());
  // One list for both: the boundary layers before "面生成", the lot-number
  // layer before "属性付加".
  choices.boundary = layerList->Selection();
  choices.chiban = choices.boundary;
  choices.swapXY = swapCheck->isChecked();
  choices.planeZone = PlaneZone();
  choices.datum = Datum();
  choices.fromLines = FromLines();
  choices.millimetres = MillimetreUnits();
  choices.report = true;
  choices.ReadTextAs(dxfVersion_);
  return choices;
}

}  // namespace parquill::ui
