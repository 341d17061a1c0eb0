#pragma once

#include <QWidget>

namespace parquill::ui {

// Shows and hides `follower` whenever `leader` is shown or hidden, such as a
// caption with the box it names.
void FollowVisibility(QWidget* follower, QWidget* leader);

}  // namespace parquill::ui
