#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/step_outcome.h"
#include "convert/conversion_choices.h"
#include "convert/conversion_run.h"
#include "dxf/dxf_version.h"
#include "ui/built_mif.h"
#include "ui/result_line.h"
#include "ui/site_lots.h"

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
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Shows the steps' messages in critical message boxes on screen.
  explicit MainWindow(QWidget* parent = nullptr);
  // Shows them through `boxes` instead (which must outlive the window).
  explicit MainWindow(MessageBoxes& boxes, QWidget* parent = nullptr);
  ~MainWindow() override;

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
  // The datum of the zone chosen under 座標系: JGD2011 or JGD2000.
  PlaneDatum Datum() const;
  // True while "線から筆を作る" is ticked: the lots are built from lines.
  bool FromLines() const;
  // True when 単位 is "mm": the drawing's coordinates are millimetres.
  bool MillimetreUnits() const;
  // What the last step left on disk, as the result line tells it.
  QString ResultText() const { return resultLine->Line(); }
  // The least width of the map beside the controls.
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

  // "開く…": a drawing chosen in the file dialog is opened in its folder and
  // chosen; a 地図XML file or ZIP is opened as OpenMapXml does.
  void OnOpenDrawing();
  // Shows the lots of a 地図XML file or ZIP on the map (read in the background)
  // and offers "地図XMLを変換"; the drawing chosen is let go. Ignored while a step runs.
  void OpenMapXml(const QString& path);
  // "地図XMLを変換": the SIMA, MIF and MID files of each 地図XML file, beside it.
  void OnConvertMapXml();
  // The 地図XML file or ZIP open; empty while none is.
  const QString& MapXmlPath() const { return mapXmlPath_; }
  // "参照…": the output file chosen in the save dialog goes to the output name.
  void OnBrowseOutput();

  // The site tools over the map, on a 地図XML map or a drawing's lots after
  // "属性付加". Enter in the 地番 box (Ctrl+F): the lot with that number
  // chosen and zoomed to, or a list to pick from when several have it.
  void OnSearchChiban();
  // The match of that row of the list picked.
  void OnMatchChosen(int row);
  // A click on the map: the lot alone, or with Ctrl added or taken out.
  void OnLotClicked(int region, Qt::KeyboardModifiers keys);
  // A Shift+drag: the lots it touches added.
  void OnRectangleDrawn(const QRectF& box, Qt::KeyboardModifiers keys);
  // "隣接地も選ぶ": every lot sharing a boundary point with a chosen one added.
  void OnAddNeighbours();
  // "選択した筆を書き出す…": SIMA, MIF/MID and DXF of the chosen lots under
  // the name chosen in the save dialog.
  void OnExportSelection();
  const SiteSelection& Selection() const { return selection_; }

  void ResetWindow();
  // The reset after "属性付加": as ResetWindow, the drawing left chosen, so
  // that "レイア読み込み" can run again at once.
  void ResetAfterRun();
  // Sizes `form` to most of its screen's available area, never below its
  // minimum size nor beyond that area, and centres it there.
  static void SizeAndCenterForm(QWidget& form);
  void ShowError(const QString& message, const QString& title);
  // Says in the result line, in red, what could not be opened at start.
  void ShowProblem(const QString& problem);

  // Opens `folder` in the folder list, which raises OnFolderChanged; ignored while
  // a step runs.
  void SetFolder(const QString& folder);
  // The folder whose files the file list shows.
  QString Folder() const;
  // Selects `fileName` in the file list and raises OnDrawingClicked, as a click on
  // it does; false (and nothing done) when the list does not hold it.
  bool ChooseFile(const QString& fileName);
  // Opens the drawing at `path` in its folder and chooses it, whatever the
  // file-name option says: input mode, the drawing in the input name, its
  // version checked and a new run started. False (its folder open, nothing
  // chosen) when the file list does not hold it.
  bool OpenDrawing(const QString& path);

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  // The group "変換の設定": X/Y exchange, 座標系, 単位 and 線から筆を作る.
  void CreateSettingsControls();
  // The map, its fit button, the result line and the report list.
  void CreatePreviewControls();
  // The controls on the left, the map and the report on the right, a
  // splitter between them.
  void ArrangeControls();
  // The window's minimum size: what its layout needs, within its screen.
  void ApplyLeastSize();
  // The length of one drawing unit in metres, as 単位 says.
  double MetresPerDrawingUnit() const;
  // The length in metres of one unit of the MIF regions and the report: the
  // map's unit. Metres when the core reads millimetres as metres, else the
  // drawing's unit; the drawing is drawn scaled to it.
  double MetresPerOutputUnit() const;
  // What the unit chosen changes: the map's scale, and the drawing scaled anew.
  void FollowUnits();
  void ShowResult(const StepResult& result);
  // Reads the drawing of inputPathEdit for the map in the background (a processable
  // version only); drops whatever the map showed.
  void StartDrawingPreview();
  // Drops the map's readings and whatever the map and the report showed.
  void ClearMap();
  void ShowLayerEmphasis();
  // With "線から筆を作る", reads in the background the lots "面生成" would build
  // from the boundary layers selected, for the map; before "面生成" only.
  void StartLotsToBuild();
  // Lets the 地図XML file go: its button hidden, the map's zone the chooser's again.
  void ForgetMapXml();
  // The datum matters with a zone chosen, or for a 地図XML file (its own zone).
  void UpdateDatumEnabled();
  void StartRegionPreview(const LotModel& lots);
  void StartReport(const ConversionChoices& choices, const AttachSummary& attached);
  // `simaNotWritten`: why the run's SIMA file was not written; empty when it was.
  void ShowReport(const PreparedReport& report, const QString& simaNotWritten);
  void SetTabOrder();
  void ConnectHandlers();
  void CreateSiteControls();
  // Offers the site tools on `lots`, from `folder`; ForgetSite takes them away.
  void OfferSite(std::shared_ptr<const SiteLots> lots, const QString& folder);
  void ForgetSite();
  // The chosen lots on the map and counted.
  void ShowSelection();
  void RunVersionCheck();
  // Ends the run of the drawing chosen before: its layers and their
  // selection, the step buttons and the MIF file "面生成" wrote.
  void ForgetRun();
  // Puts `proposal` in the output name while the box is empty or still holds
  // the previous proposal: a name the user typed or chose stays.
  void ProposeOutput(const QString& proposal);
  // "面生成" once a layer was clicked, "属性付加" once "面生成" wrote its MIF
  // file for this drawing and this output name.
  void ShowStepButtons();

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
  QPushButton* openButton = nullptr;    // "開く…"
  QPushButton* browseButton = nullptr;  // "参照…", beside the output name
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
  QLabel* regionCaption = nullptr;
  QLineEdit* regionNumberEdit = nullptr;
  QPushButton* readLayersButton = nullptr;
  QPushButton* buildRegionsButton = nullptr;
  QPushButton* attachButton = nullptr;
  QPushButton* mapXmlButton = nullptr;  // "地図XMLを変換", while a 地図XML file is open

  MapPreview* mapPreview = nullptr;
  QPushButton* fitButton = nullptr;
  QWidget* siteBar = nullptr;  // the 地番 box, the site buttons and the count
  QLineEdit* chibanSearchEdit = nullptr;
  QPushButton* neighboursButton = nullptr;       // "隣接地も選ぶ"
  QPushButton* exportSelectionButton = nullptr;  // "選択した筆を書き出す…"
  QLabel* selectionLabel = nullptr;
  QListWidget* chibanMatchList = nullptr;  // over the map, when several lots have the number
  std::vector<SiteMatch> matches_;
  SiteSelection selection_;
  QString siteFolder_;  // where the files of a selection are proposed
  QListWidget* reportList = nullptr;
  ResultLine* resultLine = nullptr;
  QGroupBox* settingsFrame = nullptr;
  QLabel* zoneCaption = nullptr;
  ZoneChooser* zoneChooser = nullptr;
  QLabel* datumCaption = nullptr;
  QComboBox* datumChooser = nullptr;
  QLabel* unitCaption = nullptr;
  QComboBox* unitChooser = nullptr;
  QCheckBox* fromLinesCheck = nullptr;
  QProgressBar* shareReadBar = nullptr;  // shown while a long step reads the drawing
  QSplitter* panelSplitter = nullptr;    // between the controls and the map
  BackgroundWork* drawingReading_ = nullptr;
  BackgroundWork* resultReading_ = nullptr;
  BackgroundWork* linesReading_ = nullptr;  // the lots to build from lines
  QTimer* lotsDelay_ = nullptr;             // lets a run of layer clicks end first
  // What the last "面生成" passed over, and the MIF file it wrote.
  RegionBuildSummary lastBuilt_;
  BuiltMif builtMif_;
  QString proposedOutput_;
  QString mapXmlPath_;
  double drawingScale_ = 1;  // map units per drawing unit, as the map's drawing was prepared  //
                             // the last output name the window proposed
  // Why the last run's SIMA file was not written; empty when it was.
  QString simaNotWritten_;
};

}  // namespace parquill::ui
