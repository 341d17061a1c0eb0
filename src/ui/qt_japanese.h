#pragma once

#include <QCoreApplication>

namespace parquill::ui {

// Puts Qt's own texts (the buttons of message boxes and file dialogs, the
// menus of text fields) into Japanese whatever the desktop's language, from
// the translations Debian installs with Qt (qt6-translations-l10n). False
// when they are not installed: the texts stay English.
bool InstallQtJapanese(QCoreApplication& application);

}  // namespace parquill::ui
