#include "ui/form_placement.h"

namespace parquill::ui {
namespace {

// The share of the available area the window takes, and the largest it opens at.
constexpr double kShare = 0.92;
constexpr QSize kLargest(1680, 1050);

}  // namespace

QRect FormPlaceFor(QRect available, QSize least) {
  const QSize share(static_cast<int>(available.width() * kShare),
                    static_cast<int>(available.height() * kShare));
  const QSize size = share.boundedTo(kLargest).expandedTo(least).boundedTo(available.size());
  const QPoint offset((available.width() - size.width()) / 2,
                      (available.height() - size.height()) / 2);
  return QRect(available.topLeft() + offset, size);
}

}  // namespace parquill::ui
