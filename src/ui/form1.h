#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "dxf/layer_selection.h"
#include "convert/region_build_step.h"
#include "base/step_outcome.h"

namespace parquill::ui {

class BackgroundWork;
class DriveChooser;
class DxfFileList;
class FolderList;
class LayerListWidget;
class MapPreview;
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
  std::int32_t DxfVersionCode() const { return dxfVersionCode_; }
  const QString& DxfVersionName() const { return dxfVersionName_; }
  const QString& OutputFileName() const { return outputFileName_; }
  std::int32_t ListClickCount() const { return listClickCount_; }
  // True while a step runs; the handlers then ignore their events.
  bool Busy() const { return busy_; }
  // True while the map's drawing, regions or report are still being read.
  bool PreviewBusy() const;

  // Event handlers. Each ignores its event while a step runs.
  void Form_Load();
  void Drive1_Change();
  void Dir1_Change();
  void File1_Click(const QString& fileName);
  void List1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

  // The MIF-to-SIMA conversion; runs inside the step of Command3_Click.
  void ConvertMifToSima();

  void ResetWindow();
  // Sizes `form` to fractions of its screen and centres it on that screen.
  static void SizeAndCenterForm(QWidget& form, double widthFraction, double heightFraction);
  void ShowError(const QString& message, const QString& title);

  // Opens `folder` in the folder list, which raises Dir1_Change; ignored while
  // a step runs.
  void SetFolder(const QString& folder);
  // The folder whose files the file list shows.
  QString Folder() const;
  // Selects `fileName` in the file list and raises File1_Click, as a click on
  // it does; false (and nothing done) when the list does not hold it.
  bool ChooseFile(const QString& fileName);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  // The map, its fit button and the report list, right of and below the
  // controls; they follow the window's size, the controls never move.
  void CreatePreviewControls();
  void PlacePreviewControls();
  // Reads the drawing of Text7 for the map in the background (a processable
  // version only); drops whatever the map showed.
  void StartDrawingPreview();
  void ShowLayerEmphasis();
  void StartRegionPreview(const std::string& outputName);
  void StartReport(const std::string& dxfPath, const std::string& outputName,
                   const LayerSelection& textSelection, TextEncoding encoding);
  void ShowReport(const PreparedReport& report);
  void SetTabOrder();
  void ConnectHandlers();
  void RunVersionCheck();

  // Runs one step with the hourglass, keeping the handlers out until it ends,
  // then shows the step's messages. Call only when not Busy(). A run-time
  // error that escapes the step is trapped under `trapTitle`.
  Outcome RunStep(const std::function<Outcome(StepHost&)>& step, const std::string& trapTitle);
  void ShowMessages(const Outcome& outcome);
  // The selection of the layer list, names exactly as the drawing gave them.
  LayerSelection CurrentLayerSelection() const;

  std::unique_ptr<MessageBoxes> ownBoxes_;
  MessageBoxes& boxes_;

  std::int32_t dxfVersionCode_ = 0;
  QString dxfVersionName_;
  QString outputFileName_;
  std::int32_t listClickCount_ = 0;
  bool busy_ = false;

  DriveChooser* Drive1 = nullptr;
  FolderList* Dir1 = nullptr;
  DxfFileList* File1 = nullptr;
  QLabel* Label1 = nullptr;
  QGroupBox* Frame4 = nullptr;
  QButtonGroup* Op2 = nullptr;
  QRadioButton* Op2_1 = nullptr;
  QRadioButton* Op2_2 = nullptr;
  QLineEdit* Text7 = nullptr;
  QLineEdit* Text8 = nullptr;
  QGroupBox* Frame1 = nullptr;
  LayerListWidget* List1 = nullptr;
  QCheckBox* Check1 = nullptr;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;

  MapPreview* Map = nullptr;
  QPushButton* FitButton = nullptr;
  QListWidget* ReportList = nullptr;
  BackgroundWork* drawingReading_ = nullptr;
  BackgroundWork* resultReading_ = nullptr;
  // What the last "面生成" passed over, and for which drawing and output.
  RegionBuildSummary lastBuilt_;
  std::string lastBuiltFor_;
};

}  // namespace parquill::ui
