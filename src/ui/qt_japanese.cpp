#include "ui/qt_japanese.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace parquill::ui {

bool InstallQtJapanese(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace parquill::ui
