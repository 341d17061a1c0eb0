#pragma once

#include <QComboBox>
#include <QString>

namespace parquill::ui {

// The zones (系) of the plane rectangular coordinate system: 1 to 19; 0 for none.
inline constexpr int kNoZone = 0;
inline constexpr int kLastZone = 19;
constexpr bool IsZone(int zone) { return zone >= 1 && zone <= kLastZone; }

// The coordinate zone of the drawing: "指定なし", then "1系" to "19系".
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

}  // namespace parquill::ui
