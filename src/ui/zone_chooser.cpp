#include "ui/zone_chooser.h"

#include <QAbstractItemView>

#include "mif/plane_zone.h"

namespace parquill::ui {
namespace {

// Where each zone applies, as the Geospatial Information Authority of Japan
// lists it (平面直角座標系, 国土交通省告示第九号): prefectures by their
// names without 県, parts of one by their places.
const char* const kZoneAreas[kLastPlaneZone + 1] = {
    "",
    "長崎・鹿児島の一部の島（奄美・トカラなど）",
    "福岡・佐賀・熊本・大分・宮崎・鹿児島（1系の島を除く）",
    "山口・島根・広島",
    "香川・愛媛・徳島・高知",
    "兵庫・鳥取・岡山",
    "京都府・大阪府・福井・滋賀・三重・奈良・和歌山",
    "石川・富山・岐阜・愛知",
    "新潟・長野・山梨・静岡",
    "東京都・福島・栃木・茨城・埼玉・千葉・群馬・神奈川",
    "青森・秋田・山形・岩手・宮城",
    "北海道西部（小樽・函館・伊達・北斗、後志・渡島・檜山、豊浦・壮瞥・洞爺湖）",
    "北海道中央部（11系・13系の区域を除く）",
    "北海道東部（北見・帯広・釧路・網走・根室、十勝・釧路・根室、オホーツクの一部）",
    "東京都 小笠原諸島（沖ノ鳥島・南鳥島を除く）",
    "沖縄 本島など（東経126度から130度）",
    "沖縄 宮古・八重山（東経126度より西）",
    "沖縄 大東諸島（東経130度より東）",
    "東京都 沖ノ鳥島",
    "東京都 南鳥島",
};

// The chooser stays this many characters wide; its list shows the entries whole.
constexpr int kShownCharacters = 16;

}  // namespace

QString ZoneName(int zone) { return QString::fromStdString(PlaneZoneName(zone)); }

QString ZoneEntry(int zone) {
  if (!IsPlaneZone(zone)) return ZoneName(kNoPlaneZone);
  return ZoneName(zone) + u' ' + QString::fromUtf8(kZoneAreas[zone]);
}

ZoneChooser::ZoneChooser(QWidget* parent) : QComboBox(parent) {
  for (int zone = kNoPlaneZone; zone <= kLastPlaneZone; ++zone) addItem(ZoneEntry(zone));
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(kShownCharacters);
  view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth() + 24);
  setCurrentIndex(kNoPlaneZone);
  setToolTip(currentText());
  connect(this, &QComboBox::currentIndexChanged, this, [this] { setToolTip(currentText()); });
}

void ZoneChooser::SetZone(int zone) { setCurrentIndex(IsPlaneZone(zone) ? zone : kNoPlaneZone); }

}  // namespace parquill::ui
