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

  Drive1 = Place<DriveChooser>(this, "Drive1", 240, 240, 2655, 300);
  Dir1 = Place<FolderList>(this, "Dir1", 240, 720, 2655, 2610);
  File1 = Place<DxfFileList>(this, "File1", 3000, 720, 2415, 2610);
  Label1 = Place<QLabel>(this, "Label1", 5520, 2880, 2535, 495);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Frame4 = Place<QGroupBox>(this, "Frame4", 240, 3600, 5055, 1815);
  Op2_1 =
      Place<QRadioButton>(Frame4, "Op2_1", 240, 360, 2175, 255, QStringLiteral("入力ファイル名"));
  Text7 = Place<QLineEdit>(Frame4, "Text7", 120, 600, 4815, 270);
  Op2_2 =
      Place<QRadioButton>(Frame4, "Op2_2", 240, 960, 1575, 255, QStringLiteral("出力ファイル名"));
  Text8 = Place<QLineEdit>(Frame4, "Text8", 120, 1320, 4815, 270);
  Op2 = new QButtonGroup(this);
  Op2->addButton(Op2_1, 1);
  Op2->addButton(Op2_2, 2);

  Frame1 = Place<QGroupBox>(this, "Frame1", 5520, 3720, 2535, 2655);
  List1 = Place<LayerListWidget>(this, "List1", 5640, 3960, 2295, 2160);
  List1->raise();  // drawn over its frame

  Check1 = Place<QCheckBox>(this, "Check1", 360, 5520, 2895, 180);
  Text1 = Place<QLineEdit>(this, "Text1", 3720, 5520, 1575, 270);
  Command1 = Place<QPushButton>(this, "Command1", 360, 5760, 1575, 615);
  Command2 = Place<QPushButton>(this, "Command2", 2040, 5760, 1575, 615);
  Command3 = Place<QPushButton>(this, "Command3", 3720, 5760, 1575, 615);
  for (QPushButton* button : {Command1, Command2, Command3}) button->setAutoDefault(false);
  CreatePreviewControls();
}

void Form1::SetTabOrder() {
  // In the order of the controls' tab positions; labels and frames take no focus.
  QWidget* const order[] = {Command1, Drive1, Dir1,     File1,    Op2_1,  Text7, Op2_2,
                            Text8,    List1,  Command2, Command3, Check1, Text1};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  Command1->setFocus();
}

void Form1::ConnectHandlers() {
  Dir1->setMoveGuard([this] { return !busy_; });
  connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
  connect(Dir1, &FolderList::pathChanged, this, [this] {
    Drive1->followFolder(Dir1->path());
    Dir1_Change();
  });
  connect(File1, &DxfFileList::fileClicked, this, &Form1::File1_Click);
  connect(List1, &LayerListWidget::itemToggled, this, &Form1::List1_Click);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load() {
  SizeAndCenterForm(*this, 0.6, 0.6);
  setWindowTitle(QStringLiteral("ORVEK PARQUILL"));
  Op2_1->setChecked(true);
  Frame4->setTitle(QStringLiteral("入出力ファイル名指定"));
  Text7->clear();
  Text8->clear();
  Op2_2->setVisible(false);
  Text8->setVisible(false);
  File1->setPattern(QStringLiteral("*.DXF"));
  List1->clear();
  List1->setVisible(false);
  Frame1->setTitle(QStringLiteral("抽出レイヤ選択"));
  Frame1->setVisible(false);
  Command1->setText(QStringLiteral("レイア読み込み"));
  Command2->setText(QStringLiteral("面生成"));
  Command2->setVisible(false);
  Command3->setText(QStringLiteral("属性付加"));
  Command3->setVisible(false);
  Label1->clear();
  Label1->setVisible(false);
  Check1->setText(QStringLiteral("XY座標を入れ替え(通常)"));
  Check1->setChecked(true);
  Text1->clear();
  Text1->setVisible(false);
  listClickCount_ = 0;

  // The folder list starts in the current folder.
  if (Dir1->path().isEmpty()) SetFolder(QDir::currentPath());
}

void Form1::ResetWindow() {
  Op2_1->setChecked(true);
  Text7->clear();
  Text8->clear();
  Op2_2->setVisible(false);
  Text8->setVisible(false);
  List1->clear();
  List1->setVisible(false);
  Frame1->setTitle(QStringLiteral("抽出レイヤ選択"));
  Frame1->setVisible(false);
  Command2->setVisible(false);
  Command3->setVisible(false);
  Label1->clear();
  Label1->setVisible(false);
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
  Dir1->setPath(folder);
}

QString Form1::Folder() const { return File1->folder(); }

bool Form1::ChooseFile(const QString& fileName) {
  if (!File1->selectFile(fileName)) return false;
  File1_Click(fileName);
  return true;
}

Outcome Form1::RunStep(const std::function<Outcome(StepHost&)>& step,
                       const std::string& trapTitle) {
  const BusyFlag busy(busy_);
  Outcome outcome;
  {
    const WaitCursor hourglass;
    WindowStepHost host(*Text1, *Check1);
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

LayerSelection Form1::CurrentLayerSelection() const { return List1->Selection(); }

}  // namespace parquill::ui
