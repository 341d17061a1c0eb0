#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace parquill::ui {

// Twips (1/1440 inch) to pixels on a screen of `logicalDpi` dots per inch:
// 15 twips are one pixel at 96 dpi.
int TwipsToPixels(int twips, int logicalDpi);

// A rectangle given in twips, in pixels.
QRect TwipsRectToPixels(int left, int top, int width, int height, int logicalDpi);

// The window's size as fractions of the screen's, computed in single precision.
QSize FormSizeFor(QSize screen, double widthFraction, double heightFraction);

// The top-left corner that centres a window of `form` size on the screen
// whose area is `screen`.
QPoint CentredTopLeft(QRect screen, QSize form);

}  // namespace parquill::ui
