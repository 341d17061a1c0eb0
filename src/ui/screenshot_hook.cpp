#include "ui/screenshot_hook.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <functional>

#include "ui/form1.h"

namespace parquill::ui {
namespace {

// Runs `next` once the map has read what it was reading.
void WhenMapReady(Form1& form, std::function<void()> next) {
  QTimer::singleShot(200, &form, [&form, next] {
    if (form.PreviewBusy()) {
      WhenMapReady(form, next);
    } else {
      next();
    }
  });
}

// Toggles the layer named `layer` in the layer list, as a click on it does.
void ClickLayer(Form1& form, const QString& layer) {
  auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
  const auto items = list->findItems(layer, Qt::MatchExactly);
  if (items.isEmpty()) return;
  list->setCurrentItem(items.front(), QItemSelectionModel::Toggle);
  form.List1_Click();
}

void SaveAndQuit(Form1& form, const QString& path) {
  const bool saved = form.grab().save(path, "PNG");
  QApplication::exit(saved ? 0 : 1);
}

}  // namespace

void ArmScreenshotHook(Form1& form) {
  const QString path = qEnvironmentVariable("PARQUILL_SCREENSHOT");
  if (path.isEmpty()) return;
  if (qEnvironmentVariable("PARQUILL_SCREENSHOT_RUN") == QStringLiteral("1")) {
    WhenMapReady(form, [&form, path] {
      form.Command1_Click();
      ClickLayer(form, QStringLiteral("筆界"));
      form.Command2_Click();
      ClickLayer(form, QStringLiteral("地番"));
      form.Command3_Click();
      WhenMapReady(form, [&form, path] { SaveAndQuit(form, path); });
    });
    return;
  }
  QTimer::singleShot(500, &form, [&form, path] {
    form.Command1_Click();
    WhenMapReady(form, [&form, path] {
      QTimer::singleShot(300, &form, [&form, path] { SaveAndQuit(form, path); });
    });
  });
}

}  // namespace parquill::ui
