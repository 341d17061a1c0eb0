#include "ui/window_step_host.h"

#include <QCoreApplication>

namespace parquill::ui {

void WindowStepHost::LetEventsThrough() { QCoreApplication::processEvents(); }

void WindowStepHost::ShowProgress(int regionNumber) {
  progress_.setText(QString::number(regionNumber));
  progress_.setVisible(true);
}

void WindowStepHost::ShowShareRead(double share) {
  if (started_.elapsed() < kQuietMilliseconds) return;
  const int value = static_cast<int>(share * shareRead_.maximum());
  if (shareRead_.isVisible() && value == shareRead_.value()) return;
  shareRead_.setValue(value);
  shareRead_.setVisible(true);
  shareRead_.repaint();
}

}  // namespace parquill::ui
