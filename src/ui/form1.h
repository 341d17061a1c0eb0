#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "convert/conversion_run.h"
#include "dxf/dxf_version.h"
#include "ui/control_layout.h"
#include "ui/result_line.h"

namespace parquill::ui {

class BackgroundWork;
class CaptionLabel;
class DriveChooser;
class DxfFileList;
class FolderList;
class LayerListWidget;
class MapPreview;
class ZoneChooser;
struct PreparedReport;

// The main window. It holds every control the user works with and the state
// that lives between steps; its handlers gather the user's choices from the
// controls, hand them to the steps and show what the steps report.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // Shows the steps' messages in critical message boxes on screen.
  explicit Form1(QWidget* parent = nullptr);
  // Shows them through `boxes` instead (which must outlive the window).
  explicit Form1(MessageBoxes& boxes, QWidget* parent = nullptr);
  ~Form1() override;

  // Window state.
  std::int32_t DxfVersionCode() const { return dxfVersion_.code; }
  QString DxfVersionName() const { return QString::fromStdString(dxfVersion_.name); }
  const QString& OutputFileName() const { return outputFileName_; }
  std::int32_t ListClickCount() const { return listClickCount_; }
  // True while a step runs; the handlers then ignore their events.
  bool Busy() const { return busy_; }
  // True while the map's drawing, regions or report are still being read.
  bool PreviewBusy() const;
  // The coordinate zone chosen beside the map: 0 for 指定なし, else 1 to 19.
  int PlaneZone() const;
  // True while "線から筆を作る" is ticked: the lots are built from lines.
  bool FromLines() const;
  // What the last step left on disk, as the result line tells it.
  QString ResultText() const { return resultLine->Line(); }
  // The least size at which every control is whole beside a map of
  // kLeastMapWidth pixels; the window's minimum size within its screen.
  QSize LeastFormSize() const;
  static constexpr int kLeastMapWidth = 360;

  // Event handlers. Each ignores its event while a step runs.
  void OnLoad();
  void OnDriveChanged();
  void OnFolderChanged();
  void OnDrawingClicked(const QString& fileName);
  void OnLayerClicked();
  void OnReadLayers();
  void OnBuildRegions();
  void OnAttachChibans();

  void ResetWindow();
  // Sizes `form` to fractions of its screen, never below its minimum size
  // nor beyond the screen's available area, and centres it on that screen.
  static void SizeAndCenterForm(QWidget& form, double widthFraction, double heightFraction);
  void ShowError(const QString& message, const QString& title);

  // Opens `folder` in the folder list, which raises OnFolderChanged; ignored while
  // a step runs.
  void SetFolder(const QString& folder);
  // The folder whose files the file list shows.
  QString Folder() const;
  // Selects `fileName` in the file list and raises OnDrawingClicked, as a click on
  // it does; false (and nothing done) when the list does not hold it.
  bool ChooseFile(const QString& fileName);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  // Places the controls for the screen's fonts and sets the window's minimum size.
  void LayOutControls();
  void ShowResult(const StepResult& result);
  // The map, its fit button and the report list, right of and below the
  // controls; they follow the window's size, the controls never move.
  void CreatePreviewControls();
  void PlacePreviewControls();
  // Reads the drawing of inputPathEdit for the map in the background (a processable
  // version only); drops whatever the map showed.
  void StartDrawingPreview();
  void ShowLayerEmphasis();
  void StartRegionPreview(const std::string& outputName);
  void StartReport(const ConversionChoices& choices, const AttachSummary& attached);
  // `simaNotWritten`: why the run's SIMA file was not written; empty when it was.
  void ShowReport(const PreparedReport& report, const QString& simaNotWritten);
  void SetTabOrder();
  void ConnectHandlers();
  void RunVersionCheck();

  // Runs one step with the hourglass, keeping the handlers out until it ends,
  // then shows the boxes it returns. Call only when not Busy().
  void RunStep(const std::function<std::vector<Message>(StepHost&)>& step);
  // The user's choices as the controls hold them now.
  ConversionChoices Choices() const;

  std::unique_ptr<MessageBoxes> ownBoxes_;
  MessageBoxes& boxes_;

  DxfVersionVerdict dxfVersion_;  // of the drawing chosen
  QString outputFileName_;
  std::int32_t listClickCount_ = 0;
  bool busy_ = false;

  DriveChooser* driveChooser = nullptr;
  FolderList* folderList = nullptr;
  DxfFileList* fileList = nullptr;
  CaptionLabel* versionLabel = nullptr;
  QGroupBox* fileNameFrame = nullptr;
  QButtonGroup* fileNameOptions = nullptr;
  QRadioButton* inputNameOption = nullptr;
  QRadioButton* outputNameOption = nullptr;
  QLineEdit* inputPathEdit = nullptr;
  QLineEdit* outputPathEdit = nullptr;
  QGroupBox* layerFrame = nullptr;
  LayerListWidget* layerList = nullptr;
  QCheckBox* swapCheck = nullptr;
  QLineEdit* regionNumberEdit = nullptr;
  QPushButton* readLayersButton = nullptr;
  QPushButton* buildRegionsButton = nullptr;
  QPushButton* attachButton = nullptr;

  MapPreview* mapPreview = nullptr;
  QPushButton* fitButton = nullptr;
  QListWidget* reportList = nullptr;
  ResultLine* resultLine = nullptr;
  QLabel* zoneCaption = nullptr;
  ZoneChooser* zoneChooser = nullptr;
  QCheckBox* fromLinesCheck = nullptr;
  QProgressBar* shareReadBar = nullptr;  // shown while a long step reads the drawing
  ControlLayout controlLayout_;
  QSize controlsExtent_;  // the bottom-right corner of the controls
  BackgroundWork* drawingReading_ = nullptr;
  BackgroundWork* resultReading_ = nullptr;
  // What the last "面生成" passed over, and for which drawing and output.
  RegionBuildSummary lastBuilt_;
  std::string lastBuiltFor_;
  // Why the last run's SIMA file was not written; empty when it was.
  QString simaNotWritten_;
};

}  // namespace parquill::ui
