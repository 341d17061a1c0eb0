#pragma once

#include <QCheckBox>
#include <QLineEdit>

#include "base/step_outcome.h"

namespace parquill::ui {

// What a running step asks of the window: pending events let through, the
// region number shown in the progress field, the X/Y exchange box read anew.
class WindowStepHost : public StepHost {
 public:
  WindowStepHost(QLineEdit& progress, QCheckBox& swapBox)
      : progress_(progress), swapBox_(swapBox) {}

  void LetEventsThrough() override;
  void ShowProgress(int regionNumber) override;
  bool SwapTicked() override;

 private:
  QLineEdit& progress_;
  QCheckBox& swapBox_;
};

}  // namespace parquill::ui
