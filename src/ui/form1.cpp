#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
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
#include "ui/starting_place.h"
#include "ui/window_icon.h"
#include "ui/window_settings.h"
#include "ui/window_step_host.h"

namespace parquill::ui {
namespace {

// Creates a control named `name` at its designed place, given in twips
// within `parent`; the layout grows it where the fonts need more room.
template <typename Control, typename... Args>
Control* Place(ControlLayout& layout, QWidget* parent, const char* name, QRect twips,
               ControlFit fit, Args&&... args) {
  auto* control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(TwipsRectToPixels(twips.x(), twips.y(), twips.width(), twips.height(),
                                         parent->logicalDpiX()));
  layout.Add(control, twips, fit);
  return control;
}

constexpr ControlFit kFill = ControlFit::kFill;
constexpr ControlFit kOneLine = ControlFit::kOneLine;

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

Form1::Form1(QWidget* parent)
    : QWidget(parent), ownBoxes_(std::make_unique<CriticalMessageBox>(this)), boxes_(*ownBoxes_) {
  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  OnLoad();
}

Form1::Form1(MessageBoxes& boxes, QWidget* parent) : QWidget(parent), boxes_(boxes) {
  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  OnLoad();
}

Form1::~Form1() = default;

void Form1::CreateControls() {
  setWindowIcon(WindowIcon());
  setAcceptDrops(true);
  ControlLayout& at = controlLayout_;

  driveChooser = Place<DriveChooser>(at, this, "Drive1", {240, 240, 2655, 300}, kOneLine);
  folderList = Place<FolderList>(at, this, "Dir1", {240, 720, 2655, 2610}, kFill);
  fileList = Place<DxfFileList>(at, this, "File1", {3000, 720, 2415, 2610}, kFill);
  versionLabel = Place<CaptionLabel>(at, this, "Label1", {5520, 2880, 2535, 495}, kFill);
  // The widest verdicts, each sentence on one line.
  versionLabel->setSampleCaptions({QStringLiteral("DXFのバージョンは、R14Jです。処理不可能です。"),
                                   QStringLiteral("DXFのバージョンは、2018です。"),
                                   QStringLiteral("DXFのバージョンは、R2.5です。")});

  fileNameFrame = Place<QGroupBox>(at, this, "Frame4", {240, 3600, 5055, 1815}, kFill);
  inputNameOption = Place<QRadioButton>(at, fileNameFrame, "Op2_1", {240, 360, 2175, 255}, kOneLine,
                                        QStringLiteral("入力ファイル名"));
  inputPathEdit = Place<QLineEdit>(at, fileNameFrame, "Text7", {120, 600, 4815, 270}, kOneLine);
  outputNameOption = Place<QRadioButton>(at, fileNameFrame, "Op2_2", {240, 960, 1575, 255},
                                         kOneLine, QStringLiteral("出力ファイル名"));
  outputPathEdit = Place<QLineEdit>(at, fileNameFrame, "Text8", {120, 1320, 4815, 270}, kOneLine);
  fileNameOptions = new QButtonGroup(this);
  fileNameOptions->addButton(inputNameOption, 1);
  fileNameOptions->addButton(outputNameOption, 2);

  layerFrame = Place<QGroupBox>(at, this, "Frame1", {5520, 3720, 2535, 2655}, kFill);
  layerList = Place<LayerListWidget>(at, this, "List1", {5640, 3960, 2295, 2160}, kFill);
  layerList->raise();  // drawn over its frame

  swapCheck = Place<QCheckBox>(at, this, "Check1", {360, 5520, 2895, 180}, kOneLine);
  regionNumberEdit = Place<QLineEdit>(at, this, "Text1", {3720, 5520, 1575, 270}, kOneLine);
  readLayersButton = Place<QPushButton>(at, this, "Command1", {360, 5760, 1575, 615}, kFill);
  buildRegionsButton = Place<QPushButton>(at, this, "Command2", {2040, 5760, 1575, 615}, kFill);
  attachButton = Place<QPushButton>(at, this, "Command3", {3720, 5760, 1575, 615}, kFill);
  for (QPushButton* button : {readLayersButton, buildRegionsButton, attachButton}) {
    button->setAutoDefault(false);
    LetEnterPress(button);
  }
  CreatePreviewControls();
}

void Form1::LayOutControls() {
  controlsExtent_ = controlLayout_.Apply(logicalDpiX());
  const QScreen* screen = this->screen();
  QSize least = LeastFormSize();
  if (screen != nullptr) least = least.boundedTo(screen->availableGeometry().size());
  setMinimumSize(least);
  PlacePreviewControls();
}

void Form1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    if (!controlsExtent_.isEmpty()) LayOutControls();
  }
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && event->mimeData() != nullptr && !DroppedDrawing(*event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void Form1::dropEvent(QDropEvent* event) {
  if (busy_ || event->mimeData() == nullptr) return;
  const QString drawing = DroppedDrawing(*event->mimeData());
  if (drawing.isEmpty()) return;
  event->acceptProposedAction();
  // As when the drawing is named on the command line.
  OpenStartingPlace(*this, drawing);
}

void Form1::SetTabOrder() {
  // In the order of the controls' tab positions; labels and frames take no focus.
  QWidget* const order[] = {readLayersButton, driveChooser,       folderList,       fileList,
                            inputNameOption,  inputPathEdit,      outputNameOption, outputPathEdit,
                            layerList,        buildRegionsButton, attachButton,     swapCheck,
                            regionNumberEdit};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  readLayersButton->setFocus();
}

void Form1::ConnectHandlers() {
  folderList->setMoveGuard([this] { return !busy_; });
  connect(driveChooser, &QComboBox::currentIndexChanged, this, [this] { OnDriveChanged(); });
  connect(folderList, &FolderList::pathChanged, this, [this] {
    driveChooser->followFolder(folderList->path());
    OnFolderChanged();
  });
  connect(fileList, &DxfFileList::fileClicked, this, &Form1::OnDrawingClicked);
  connect(layerList, &LayerListWidget::itemToggled, this, &Form1::OnLayerClicked);
  connect(readLayersButton, &QPushButton::clicked, this, &Form1::OnReadLayers);
  connect(buildRegionsButton, &QPushButton::clicked, this, &Form1::OnBuildRegions);
  connect(attachButton, &QPushButton::clicked, this, &Form1::OnAttachChibans);
}

void Form1::OnLoad() {
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
  LayOutControls();
  SizeAndCenterForm(*this, 0.6, 0.6);

  // The folder list starts in the last folder used, or the current folder.
  if (folderList->path().isEmpty()) SetFolder(StartingFolder());
}

void Form1::ResetWindow() {
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
}

void Form1::SizeAndCenterForm(QWidget& form, double widthFraction, double heightFraction) {
  const QScreen* screen = form.screen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const QRect available = screen->availableGeometry();
  form.resize(FormSizeFor(area.size(), widthFraction, heightFraction)
                  .expandedTo(form.minimumSize())
                  .boundedTo(available.size()));
  // Centred on the size the window really took, on the part of the screen
  // left to windows when centring on the whole screen would leave it.
  QPoint topLeft = CentredTopLeft(area, form.size());
  if (!available.contains(QRect(topLeft, form.size()))) {
    topLeft = CentredTopLeft(available, form.size());
  }
  form.move(topLeft);
}

void Form1::ShowError(const QString& message, const QString& title) {
  boxes_.ShowCritical({message.toStdString(), title.toStdString()});
}

void Form1::SetFolder(const QString& folder) {
  if (busy_) return;
  folderList->setPath(folder);
}

QString Form1::Folder() const { return fileList->folder(); }

bool Form1::ChooseFile(const QString& fileName) {
  if (!fileList->selectFile(fileName)) return false;
  OnDrawingClicked(fileName);
  return true;
}

void Form1::RunStep(const std::function<std::vector<Message>(StepHost&)>& step) {
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

ConversionChoices Form1::Choices() const {
  ConversionChoices choices;
  choices.drawing = FileSystemPath(inputPathEdit->text());
  choices.output = FileSystemPath(outputPathEdit->text());
  // One list for both: the boundary layers before "面生成", the lot-number
  // layer before "属性付加".
  choices.boundary = layerList->Selection();
  choices.chiban = choices.boundary;
  choices.swapXY = swapCheck->isChecked();
  choices.planeZone = PlaneZone();
  choices.fromLines = FromLines();
  choices.report = true;
  choices.encoding = DxfTextEncoding(dxfVersion_.code);
  return choices;
}

}  // namespace parquill::ui
