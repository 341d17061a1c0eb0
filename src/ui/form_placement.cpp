#include "ui/form_placement.h"

#include <cmath>

namespace parquill::ui {
namespace {

int ToPixels(float value) { return static_cast<int>(std::lround(value)); }

}  // namespace

int TwipsToPixels(int twips, int logicalDpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * logicalDpi / 1440.0));
}

QRect TwipsRectToPixels(int left, int top, int width, int height, int logicalDpi) {
  return QRect(TwipsToPixels(left, logicalDpi), TwipsToPixels(top, logicalDpi),
               TwipsToPixels(width, logicalDpi), TwipsToPixels(height, logicalDpi));
}

QSize FormSizeFor(QSize screen, double widthFraction, double heightFraction) {
  const float width = static_cast<float>(screen.width()) * static_cast<float>(widthFraction);
  const float height = static_cast<float>(screen.height()) * static_cast<float>(heightFraction);
  return QSize(ToPixels(width), ToPixels(height));
}

QPoint CentredTopLeft(QRect screen, QSize form) {
  const float left = (static_cast<float>(screen.width()) - static_cast<float>(form.width())) / 2;
  const float top = (static_cast<float>(screen.height()) - static_cast<float>(form.height())) / 2;
  return screen.topLeft() + QPoint(ToPixels(left), ToPixels(top));
}

}  // namespace parquill::ui
