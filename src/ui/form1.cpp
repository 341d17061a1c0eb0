#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <new>

#include "ui/critical_message_box.h"
#include "ui/drive_chooser.h"
#include "ui/dxf_file_list.h"
#include "ui/folder_list.h"
#include "ui/form_placement.h"
#include "ui/layer_list_widget.h"
#include "ui/window_icon.h"
#include "ui/window_step_host.h"

namespace parquill::ui {
namespace {

// Creates a control named `name` at a place given in twips within `parent`.
template <typename Control, typename... Args>
Control* Place(QWidget* parent, const char* name, int left, int top, int width, int height,
               Args&&... args) {
  auto* control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(TwipsRectToPixels(left, top, width, height, parent->logicalDpiX()));
  return control;
}

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
  Form_Load();
}

Form1::Form1(MessageBoxes& boxes, QWidget* parent) : QWidget(parent), boxes_(boxes) {
  CreateControls();
  SetTabOrder();
  ConnectHandlers();
  Form_Load();
}

Form1::~Form1() = default;

void Form1::CreateControls() {
  setWindowIcon(WindowIcon());

  driveChooser = Place<DriveChooser>(this, "Drive1", 240, 240, 2655, 300);
  folderList = Place<FolderList>(this, "Dir1", 240, 720, 2655, 2610);
  fileList = Place<DxfFileList>(this, "File1", 3000, 720, 2415, 2610);
  versionLabel = Place<QLabel>(this, "Label1", 5520, 2880, 2535, 495);
  versionLabel->setWordWrap(true);
  versionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  fileNameFrame = Place<QGroupBox>(this, "Frame4", 240, 3600, 5055, 1815);
  inputNameOption =
      Place<QRadioButton>(fileNameFrame, "Op2_1", 240, 360, 2175, 255, QStringLiteral("入力ファイル名"));
  inputPathEdit = Place<QLineEdit>(fileNameFrame, "Text7", 120, 600, 4815, 270);
  outputNameOption =
      Place<QRadioButton>(fileNameFrame, "Op2_2", 240, 960, 1575, 255, QStringLiteral("出力ファイル名"));
  outputPathEdit = Place<QLineEdit>(fileNameFrame, "Text8", 120, 1320, 4815, 270);
  fileNameOptions = new QButtonGroup(this);
  fileNameOptions->addButton(inputNameOption, 1);
  fileNameOptions->addButton(outputNameOption, 2);

  layerFrame = Place<QGroupBox>(this, "Frame1", 5520, 3720, 2535, 2655);
  layerList = Place<LayerListWidget>(this, "List1", 5640, 3960, 2295, 2160);
  layerList->raise();  // drawn over its frame

  swapCheck = Place<QCheckBox>(this, "Check1", 360, 5520, 2895, 180);
  regionNumberEdit = Place<QLineEdit>(this, "Text1", 3720, 5520, 1575, 270);
  readLayersButton = Place<QPushButton>(this, "Command1", 360, 5760, 1575, 615);
  buildRegionsButton = Place<QPushButton>(this, "Command2", 2040, 5760, 1575, 615);
  attachButton = Place<QPushButton>(this, "Command3", 3720, 5760, 1575, 615);
  for (QPushButton* button : {readLayersButton, buildRegionsButton, attachButton}) button->setAutoDefault(false);
  CreatePreviewControls();
}

void Form1::SetTabOrder() {
  // In the order of the controls' tab positions; labels and frames take no focus.
  QWidget* const order[] = {readLayersButton, driveChooser, folderList,     fileList,    inputNameOption,  inputPathEdit, outputNameOption,
                            outputPathEdit,    layerList,  buildRegionsButton, attachButton, swapCheck, regionNumberEdit};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  readLayersButton->setFocus();
}

void Form1::ConnectHandlers() {
  folderList->setMoveGuard([this] { return !busy_; });
  connect(driveChooser, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
  connect(folderList, &FolderList::pathChanged, this, [this] {
    driveChooser->followFolder(folderList->path());
    Dir1_Change();
  });
  connect(fileList, &DxfFileList::fileClicked, this, &Form1::File1_Click);
  connect(layerList, &LayerListWidget::itemToggled, this, &Form1::List1_Click);
  connect(readLayersButton, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(buildRegionsButton, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(attachButton, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load() {
  SizeAndCenterForm(*this, 0.6, 0.6);
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

  // The folder list starts in the current folder.
  if (folderList->path().isEmpty()) SetFolder(QDir::currentPath());
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
  form.resize(FormSizeFor(area.size(), widthFraction, heightFraction));
  // Centred on the size the window really took.
  form.move(CentredTopLeft(area, form.size()));
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
  File1_Click(fileName);
  return true;
}

Outcome Form1::RunStep(const std::function<Outcome(StepHost&)>& step,
                       const std::string& trapTitle) {
  const BusyFlag busy(busy_);
  Outcome outcome;
  {
    const WaitCursor hourglass;
    WindowStepHost host(*regionNumberEdit, *swapCheck);
    try {
      outcome = step(host);
    } catch (const RuntimeError& error) {
      outcome = Outcome::Trapped(error, trapTitle);
    } catch (const std::bad_alloc&) {
      outcome = Outcome::Trapped(RuntimeError(kOutOfMemory), trapTitle);
    }
  }
  // The boxes come with the normal pointer; the step ends when they are closed.
  ShowMessages(outcome);
  return outcome;
}

void Form1::ShowMessages(const Outcome& outcome) {
  for (const Message& message : outcome.messages) boxes_.ShowCritical(message);
}

LayerSelection Form1::CurrentLayerSelection() const { return layerList->Selection(); }

}  // namespace parquill::ui
