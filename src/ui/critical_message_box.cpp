#include "ui/critical_message_box.h"

#include <QMessageBox>

namespace parquill::ui {

QString DisplayedMessageText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(u'\r', u'\n');
  return shown;
}

void CriticalMessageBox::ShowCritical(const Message& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(message.title),
                  DisplayedMessageText(message.text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace parquill::ui
