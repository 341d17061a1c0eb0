#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace parquill::ui {

// One axis of the window's design, stretched so that every control gets the
// length its content needs: a control that needs more than its designed
// length grows, and whatever lies beyond its far edge moves on by as much.
class AxisStretch {
 public:
  struct Span {
    int start = 0;  // designed, in pixels
    int end = 0;
    int least = 0;  // the length the content needs
  };
  explicit AxisStretch(std::vector<Span> spans);
  // Where a designed position stands once stretched.
  int Map(int position) const;

 private:
  std::vector<std::pair<int, int>> steps_;  // (designed position, added from there on)
};

// How a control takes its stretched place.
enum class ControlFit {
  kFill,     // the whole place
  kOneLine,  // the place's width, its own height at the place's top
};

// The window's controls at their designed places (in twips), grown where the
// screen's fonts need more room than the design gave.
class ControlLayout {
 public:
  void Add(QWidget* control, QRect twips, ControlFit fit = ControlFit::kFill);
  // Places every control; controls inside another control of the layout (a
  // frame) first, the frame then holds them whole. Returns the bottom-right
  // corner of all the controls within their window, shown or hidden.
  QSize Apply(int logicalDpi);

 private:
  struct Item {
    QWidget* control;
    QRect twips;
    ControlFit fit;
  };
  QSize Place(QWidget* parent, int logicalDpi);

  std::vector<Item> items_;
};

// The least size a control needs to show its caption or its text whole.
QSize LeastSize(const QWidget& control);

}  // namespace parquill::ui
