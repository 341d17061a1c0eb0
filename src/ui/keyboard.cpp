#include "ui/keyboard.h"

#include <QKeyEvent>

namespace parquill::ui {
namespace {

class EnterPresses : public QObject {
 public:
  explicit EnterPresses(QPushButton* button) : QObject(button), button_(button) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != button_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (!button_->isHidden() && button_->isEnabled()) button_->click();
    return true;
  }

 private:
  QPushButton* button_;
};

}  // namespace

void LetEnterPress(QPushButton* button) { button->installEventFilter(new EnterPresses(button)); }

}  // namespace parquill::ui
