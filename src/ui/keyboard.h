#pragma once

#include <QPushButton>

namespace parquill::ui {

// Enter (or Return) presses `button` while it has the focus, as the space bar does.
void LetEnterPress(QPushButton* button);

}  // namespace parquill::ui
