#include "ui/window_step_host.h"

#include <QCoreApplication>

namespace parquill::ui {

void WindowStepHost::LetEventsThrough() { QCoreApplication::processEvents(); }

void WindowStepHost::ShowProgress(int regionNumber) {
  progress_.setText(QString::number(regionNumber));
  progress_.setVisible(true);
}

bool WindowStepHost::SwapTicked() { return swapBox_.isChecked(); }

}  // namespace parquill::ui
