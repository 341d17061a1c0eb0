#pragma once

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>

#include "base/step_outcome.h"

namespace parquill::ui {

// What a running step asks of the window: pending events let through, the
// region number shown in the progress field, and, for a reading longer than half a second, the share of the drawing read
// in the progress bar (painted at once: no other event is let through).
class WindowStepHost : public StepHost {
 public:
  WindowStepHost(QLineEdit& progress, QProgressBar& shareRead)
      : progress_(progress), shareRead_(shareRead) {
    started_.start();
  }
  ~WindowStepHost() override { shareRead_.setVisible(false); }

  void LetEventsThrough() override;
  void ShowProgress(int regionNumber) override;
  void ShowShareRead(double share) override;

 private:
  static constexpr int kQuietMilliseconds = 500;

  QLineEdit& progress_;
  QProgressBar& shareRead_;
  QElapsedTimer started_;
};

}  // namespace parquill::ui
