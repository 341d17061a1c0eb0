// The group "変換の設定": how the drawing's coordinates are read and written.
#include <QGridLayout>

#include "ui/main_window.h"
#include "ui/map_preview.h"
#include "ui/named_control.h"
#include "ui/window_settings.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

constexpr int kMetres = 0;
constexpr int kMillimetres = 1;
constexpr int kJgd2011 = 0;
constexpr int kJgd2000 = 1;

}  // namespace

void MainWindow::CreateSettingsControls() {
  settingsFrame = MakeNamed<QGroupBox>(this, "SettingsFrame", QStringLiteral("変換の設定"));
  swapCheck = MakeNamed<QCheckBox>(settingsFrame, "Check1");
  zoneCaption = MakeNamed<QLabel>(settingsFrame, "ZoneCaption", QStringLiteral("座標系:"));
  zoneChooser = MakeNamed<ZoneChooser>(settingsFrame, "ZoneChooser");
  zoneCaption->setBuddy(zoneChooser);
  zoneChooser->SetZone(RememberedPlaneZone());
  datumCaption = MakeNamed<QLabel>(settingsFrame, "DatumCaption", QStringLiteral("測地系:"));
  datumChooser = MakeNamed<QComboBox>(settingsFrame, "DatumChooser");
  datumChooser->insertItem(kJgd2011, QStringLiteral("JGD2011"));
  datumChooser->insertItem(kJgd2000, QStringLiteral("JGD2000"));
  datumChooser->setCurrentIndex(RememberedDatum() == PlaneDatum::kJgd2000 ? kJgd2000 : kJgd2011);
  datumChooser->setToolTip(QStringLiteral("MIF ファイルの座標系の測地系（座標系を指定したとき）"));
  datumCaption->setBuddy(datumChooser);
  UpdateDatumEnabled();
  unitCaption = MakeNamed<QLabel>(settingsFrame, "UnitCaption", QStringLiteral("単位:"));
  unitChooser = MakeNamed<QComboBox>(settingsFrame, "unitChooser");
  unitChooser->insertItem(kMetres, QStringLiteral("m"));
  unitChooser->insertItem(kMillimetres, QStringLiteral("mm"));
  unitChooser->setCurrentIndex(RememberedMillimetreUnits() ? kMillimetres : kMetres);
  unitCaption->setBuddy(unitChooser);
  fromLinesCheck = MakeNamed<QCheckBox>(settingsFrame, "FromLinesCheck",
                                        QStringLiteral("線から筆を作る（R12・Jw_cad の図面）"));

  auto* grid = new QGridLayout(settingsFrame);
  // The datum and the unit share a row: the group is no taller than the layer list.
  grid->addWidget(swapCheck, 0, 0, 1, 4);
  grid->addWidget(zoneCaption, 1, 0);
  grid->addWidget(zoneChooser, 1, 1, 1, 3);
  grid->addWidget(datumCaption, 2, 0);
  grid->addWidget(datumChooser, 2, 1, Qt::AlignLeft);
  grid->addWidget(unitCaption, 2, 2, Qt::AlignRight);
  grid->addWidget(unitChooser, 2, 3, Qt::AlignLeft);
  grid->addWidget(fromLinesCheck, 3, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);

  connect(zoneChooser, &QComboBox::currentIndexChanged, this, [this] {
    RememberPlaneZone(PlaneZone());
    UpdateDatumEnabled();
    if (mapPreview != nullptr && mapXmlPath_.isEmpty()) {
      mapPreview->SetZoneName(ZoneName(PlaneZone()));
    }
  });
  connect(datumChooser, &QComboBox::currentIndexChanged, this, [this] { RememberDatum(Datum()); });
  connect(unitChooser, &QComboBox::currentIndexChanged, this, [this] {
    RememberMillimetreUnits(MillimetreUnits());
    FollowUnits();
  });
  // The verdict on the drawing chosen depends on the choice, and so does its map.
  connect(fromLinesCheck, &QCheckBox::toggled, this, [this] {
    if (busy_ || inputPathEdit->text().isEmpty()) return;
    RunVersionCheck();
    StartDrawingPreview();
    ShowStepButtons();
  });
}

int MainWindow::PlaneZone() const { return zoneChooser->Zone(); }

void MainWindow::UpdateDatumEnabled() {
  // Without a zone the MIF file names no datum; a 地図XML file has its own zone.
  datumChooser->setEnabled(PlaneZone() != 0 || !mapXmlPath_.isEmpty());
}

PlaneDatum MainWindow::Datum() const {
  return datumChooser->currentIndex() == kJgd2000 ? PlaneDatum::kJgd2000 : PlaneDatum::kJgd2011;
}

bool MainWindow::FromLines() const { return fromLinesCheck->isChecked(); }

bool MainWindow::MillimetreUnits() const { return unitChooser->currentIndex() == kMillimetres; }

double MainWindow::MetresPerDrawingUnit() const { return MillimetreUnits() ? 0.001 : 1.0; }

// The core reads a drawing in millimetres as metres: what the steps write and
// report is in metres whatever the drawing's unit.
double MainWindow::MetresPerOutputUnit() const { return 1.0; }

void MainWindow::FollowUnits() {
  if (mapPreview == nullptr || !mapXmlPath_.isEmpty()) return;  // a 地図XML file is in metres
  mapPreview->SetMetresPerUnit(MetresPerOutputUnit());
  // The drawing is drawn in the map's unit: read again when that scale changes.
  const double scale = MetresPerDrawingUnit() / MetresPerOutputUnit();
  if (scale != drawingScale_ && !busy_ && !inputPathEdit->text().isEmpty()) StartDrawingPreview();
}

}  // namespace parquill::ui
