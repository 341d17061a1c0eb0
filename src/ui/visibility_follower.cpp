#include "ui/visibility_follower.h"

#include <QEvent>

namespace parquill::ui {
namespace {

class VisibilityFollower : public QObject {
 public:
  VisibilityFollower(QWidget* follower, QWidget* leader) : QObject(leader), follower_(follower) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    // Sent whenever the leader's own visibility changes, shown window or not.
    if (event->type() == QEvent::ShowToParent) follower_->setVisible(true);
    if (event->type() == QEvent::HideToParent) follower_->setVisible(false);
    return false;
  }

 private:
  QWidget* follower_;
};

}  // namespace

void FollowVisibility(QWidget* follower, QWidget* leader) {
  follower->setVisible(!leader->isHidden());
  leader->installEventFilter(new VisibilityFollower(follower, leader));
}

}  // namespace parquill::ui
