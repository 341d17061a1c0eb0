// The window's controls and how they share its room: the controls on the
// left, the map, the result line and the report on the right, a splitter
// between the two. The file lists, the layer list, the map and the report
// take whatever room the window has beyond the least each needs; a control
// that steps show and hide keeps its room, so that nothing moves under the
// pointer.
#include <QBoxLayout>
#include <QGridLayout>
#include <QScreen>
#include <QWindow>

#include "ui/caption_label.h"
#include "ui/drive_chooser.h"
#include "ui/dxf_file_list.h"
#include "ui/folder_list.h"
#include "ui/keyboard.h"
#include "ui/layer_list_widget.h"
#include "ui/main_window.h"
#include "ui/map_preview.h"
#include "ui/named_control.h"
#include "ui/visibility_follower.h"
#include "ui/window_icon.h"

namespace parquill::ui {
namespace {

// The least room of a list, in lines of its font.
constexpr int kLeastListLines = 5;
// The least width of a file list, in widths of "0".
constexpr int kLeastListDigits = 18;
// The width of the region count, in widths of "0".
constexpr int kRegionCountDigits = 8;

QHBoxLayout* Row(std::initializer_list<QWidget*> controls) {
  auto* row = new QHBoxLayout;
  for (QWidget* control : controls) row->addWidget(control);
  return row;
}

void GiveListRoom(QWidget* list, int digits) {
  const QFontMetrics metrics(list->font());
  list->setMinimumSize(digits * metrics.horizontalAdvance(QLatin1Char('0')),
                       kLeastListLines * metrics.lineSpacing());
}

}  // namespace

void MainWindow::CreateControls() {
  setWindowIcon(WindowIcon());
  setAcceptDrops(true);

  driveChooser = MakeNamed<DriveChooser>(this, "Drive1");
  openButton = MakeNamed<QPushButton>(this, "OpenButton", QStringLiteral("開く…"));
  folderList = MakeNamed<FolderList>(this, "Dir1");
  fileList = MakeNamed<DxfFileList>(this, "File1");
  versionLabel = MakeNamed<CaptionLabel>(this, "Label1");
  // The widest verdicts, each sentence on one line.
  versionLabel->setSampleCaptions({QStringLiteral("DXFのバージョンは、R14Jです。処理不可能です。"),
                                   QStringLiteral("DXFのバージョンは、2018です。"),
                                   QStringLiteral("DXFのバージョンは、R2.5です。")});

  fileNameFrame = MakeNamed<QGroupBox>(this, "Frame4");
  inputNameOption =
      MakeNamed<QRadioButton>(fileNameFrame, "Op2_1", QStringLiteral("入力ファイル名"));
  inputPathEdit = MakeNamed<QLineEdit>(fileNameFrame, "Text7");
  outputNameOption =
      MakeNamed<QRadioButton>(fileNameFrame, "Op2_2", QStringLiteral("出力ファイル名"));
  outputPathEdit = MakeNamed<QLineEdit>(fileNameFrame, "Text8");
  browseButton = MakeNamed<QPushButton>(fileNameFrame, "BrowseButton", QStringLiteral("参照…"));
  fileNameOptions = new QButtonGroup(this);
  fileNameOptions->addButton(inputNameOption, 1);
  fileNameOptions->addButton(outputNameOption, 2);

  layerFrame = MakeNamed<QGroupBox>(this, "Frame1");
  layerList = MakeNamed<LayerListWidget>(layerFrame, "List1");

  regionCaption = MakeNamed<QLabel>(this, "RegionCaption", QStringLiteral("領域数:"));
  regionNumberEdit = MakeNamed<QLineEdit>(this, "Text1");
  regionNumberEdit->setReadOnly(true);
  regionCaption->setBuddy(regionNumberEdit);
  readLayersButton = MakeNamed<QPushButton>(this, "Command1");
  buildRegionsButton = MakeNamed<QPushButton>(this, "Command2");
  attachButton = MakeNamed<QPushButton>(this, "Command3");
  mapXmlButton = MakeNamed<QPushButton>(this, "MapXmlButton", QStringLiteral("地図XMLを変換"));
  mapXmlButton->setVisible(false);
  for (QPushButton* button : {readLayersButton, buildRegionsButton, attachButton, mapXmlButton,
                              openButton, browseButton}) {
    button->setAutoDefault(false);
    LetEnterPress(button);
  }
  CreateSettingsControls();
  CreatePreviewControls();
  ArrangeControls();
}

void MainWindow::ArrangeControls() {
  for (QWidget* shownByTheSteps : std::initializer_list<QWidget*>{
           versionLabel, outputNameOption, outputPathEdit, layerFrame, layerList, regionNumberEdit,
           regionCaption, buildRegionsButton, attachButton, shareReadBar, browseButton}) {
    KeepRoomWhenHidden(shownByTheSteps);
  }
  GiveListRoom(folderList, kLeastListDigits);
  GiveListRoom(fileList, kLeastListDigits);
  GiveListRoom(layerList, kLeastListDigits / 2);
  regionNumberEdit->setFixedWidth(
      kRegionCountDigits * regionNumberEdit->fontMetrics().horizontalAdvance(QLatin1Char('0')));

  // Each option on the row of its name: no band of empty room in the frame.
  auto* names = new QGridLayout(fileNameFrame);
  names->addWidget(inputNameOption, 0, 0);
  names->addWidget(inputPathEdit, 0, 1, 1, 2);
  names->addWidget(outputNameOption, 1, 0);
  names->addWidget(outputPathEdit, 1, 1);
  names->addWidget(browseButton, 1, 2);
  names->setColumnStretch(1, 1);
  FollowVisibility(browseButton, outputPathEdit);

  auto* layers = new QVBoxLayout(layerFrame);
  layers->addWidget(layerList);

  auto* controls = MakeNamed<QWidget>(this, "ControlsPanel");
  auto* left = new QVBoxLayout(controls);
  left->setContentsMargins(0, 0, 0, 0);
  QHBoxLayout* drive = Row({driveChooser, openButton});
  drive->setStretch(0, 1);
  left->addLayout(drive);
  QHBoxLayout* lists = Row({folderList, fileList});
  left->addLayout(lists, 3);
  left->addWidget(versionLabel);
  left->addWidget(fileNameFrame);
  QHBoxLayout* choices = Row({layerFrame, settingsFrame});
  choices->setStretch(0, 1);
  left->addLayout(choices, 2);
  QHBoxLayout* steps = Row({readLayersButton, buildRegionsButton, attachButton, mapXmlButton});
  steps->addStretch(1);
  steps->addWidget(regionCaption);
  steps->addWidget(regionNumberEdit);
  left->addLayout(steps);
  FollowVisibility(regionCaption, regionNumberEdit);

  auto* side = MakeNamed<QWidget>(this, "SidePanel");
  auto* right = new QVBoxLayout(side);
  right->setContentsMargins(0, 0, 0, 0);
  QHBoxLayout* top = Row({fitButton, shareReadBar});
  top->setStretch(1, 1);
  right->addLayout(top);
  right->addWidget(siteBar);
  // The report scrolls; the map takes most of the height.
  right->addWidget(mapPreview, 5);
  right->addWidget(resultLine);
  right->addWidget(reportList, 1);

  panelSplitter = MakeNamed<QSplitter>(this, "PanelSplitter", Qt::Horizontal);
  panelSplitter->addWidget(controls);
  panelSplitter->addWidget(side);
  panelSplitter->setChildrenCollapsible(false);
  // The controls keep what they need; the map takes the rest.
  panelSplitter->setStretchFactor(0, 0);
  panelSplitter->setStretchFactor(1, 1);

  auto* window = new QHBoxLayout(this);
  window->addWidget(panelSplitter);
  // The window's least size is set within its screen, not by the layout.
  window->setSizeConstraint(QLayout::SetNoConstraint);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Moved to another screen, the window's least size is bounded by that one.
  if (windowHandle() != nullptr) {
    connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::ApplyLeastSize,
            Qt::UniqueConnection);
  }
}

void MainWindow::ApplyLeastSize() {
  // The style's sizes, as the shown window will have them.
  ensurePolished();
  layout()->invalidate();
  QSize least = layout()->minimumSize();
  if (const QScreen* screen = this->screen()) {
    least = least.boundedTo(screen->availableGeometry().size());
  }
  setMinimumSize(least);
}

}  // namespace parquill::ui
