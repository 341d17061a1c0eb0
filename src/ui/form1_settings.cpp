// The group "変換の設定": how the drawing's coordinates are read and written.
#include <QGridLayout>

#include "ui/form1.h"
#include "ui/map_preview.h"
#include "ui/named_control.h"
#include "ui/window_settings.h"
#include "ui/zone_chooser.h"

namespace parquill::ui {
namespace {

constexpr int kMetres = 0;
constexpr int kMillimetres = 1;

}  // namespace

void Form1::CreateSettingsControls() {
  settingsFrame = MakeNamed<QGroupBox>(this, "SettingsFrame", QStringLiteral("変換の設定"));
  swapCheck = MakeNamed<QCheckBox>(settingsFrame, "Check1");
  zoneCaption = MakeNamed<QLabel>(settingsFrame, "ZoneCaption", QStringLiteral("座標系:"));
  zoneChooser = MakeNamed<ZoneChooser>(settingsFrame, "ZoneChooser");
  zoneCaption->setBuddy(zoneChooser);
  zoneChooser->SetZone(RememberedPlaneZone());
  unitCaption = MakeNamed<QLabel>(settingsFrame, "UnitCaption", QStringLiteral("単位:"));
  unitChooser = MakeNamed<QComboBox>(settingsFrame, "unitChooser");
  unitChooser->insertItem(kMetres, QStringLiteral("m"));
  unitChooser->insertItem(kMillimetres, QStringLiteral("mm"));
  unitChooser->setCurrentIndex(RememberedMillimetreUnits() ? kMillimetres : kMetres);
  unitCaption->setBuddy(unitChooser);
  fromLinesCheck = MakeNamed<QCheckBox>(settingsFrame, "FromLinesCheck",
                                        QStringLiteral("線から筆を作る（R12・Jw_cad の図面）"));

  auto* grid = new QGridLayout(settingsFrame);
  grid->addWidget(swapCheck, 0, 0, 1, 2);
  grid->addWidget(zoneCaption, 1, 0);
  grid->addWidget(zoneChooser, 1, 1);
  grid->addWidget(unitCaption, 2, 0);
  grid->addWidget(unitChooser, 2, 1, Qt::AlignLeft);
  grid->addWidget(fromLinesCheck, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);

  connect(zoneChooser, &QComboBox::currentIndexChanged, this, [this] {
    RememberPlaneZone(PlaneZone());
    if (mapPreview != nullptr) mapPreview->SetZoneName(ZoneName(PlaneZone()));
  });
  connect(unitChooser, &QComboBox::currentIndexChanged, this, [this] {
    RememberMillimetreUnits(MillimetreUnits());
    if (mapPreview != nullptr) mapPreview->SetMetresPerUnit(MetresPerDrawingUnit());
  });
  // The verdict on the drawing chosen depends on the choice, and so does its map.
  connect(fromLinesCheck, &QCheckBox::toggled, this, [this] {
    if (busy_ || inputPathEdit->text().isEmpty()) return;
    RunVersionCheck();
    StartDrawingPreview();
    ShowStepButtons();
  });
}

int Form1::PlaneZone() const { return zoneChooser->Zone(); }

bool Form1::FromLines() const { return fromLinesCheck->isChecked(); }

bool Form1::MillimetreUnits() const { return unitChooser->currentIndex() == kMillimetres; }

double Form1::MetresPerDrawingUnit() const { return MillimetreUnits() ? 0.001 : 1.0; }

}  // namespace parquill::ui
