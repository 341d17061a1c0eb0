#pragma once

#include <QWidget>

#include "base/step_outcome.h"

namespace parquill::ui {

// The critical message box on screen: modal, stop icon, one OK button.
class CriticalMessageBox : public MessageBoxes {
 public:
  explicit CriticalMessageBox(QWidget* parent) : parent_(parent) {}
  void ShowCritical(const Message& message) override;

 private:
  QWidget* parent_;
};

// A message's text as the box shows it: a lone CR, or CR LF, breaks the line.
QString DisplayedMessageText(const std::string& text);

}  // namespace parquill::ui
