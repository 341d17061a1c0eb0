#pragma once

#include <QSizePolicy>
#include <QString>
#include <QWidget>
#include <utility>

namespace parquill::ui {

// Creates a control of `parent` named `name` (its object name, by which the
// tests and the screenshot check find it).
template <typename Control, typename... Args>
Control* MakeNamed(QWidget* parent, const char* name, Args&&... args) {
  auto* control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

// Keeps a control's room in its layout while it is hidden, so that the
// controls around it do not move as the steps show and hide it.
inline void KeepRoomWhenHidden(QWidget* control) {
  QSizePolicy policy = control->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  control->setSizePolicy(policy);
}

}  // namespace parquill::ui
