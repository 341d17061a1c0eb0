#pragma once

#include <QComboBox>
#include <QString>

namespace parquill::ui {

// The plane rectangular zone of the drawing: "指定なし", then "1系" to "19系",
// each with the prefectures (or parts of them) it serves, so that surveyors
// find theirs: "9系 東京都・福島・栃木・…".
class ZoneChooser : public QComboBox {
  Q_OBJECT

 public:
  explicit ZoneChooser(QWidget* parent = nullptr);
  // 0 for 指定なし, else 1 to 19.
  int Zone() const { return currentIndex() < 0 ? 0 : currentIndex(); }
  void SetZone(int zone);
};

// "指定なし" for 0, "9系" for 9.
QString ZoneName(int zone);

// The chooser's entry: "9系 東京都・福島・栃木・茨城・埼玉・千葉・群馬・神奈川";
// "指定なし" for 0.
QString ZoneEntry(int zone);

}  // namespace parquill::ui
