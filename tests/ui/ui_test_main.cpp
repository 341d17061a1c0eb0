// The window tests need one application object for the whole run. They run
// without a screen unless told otherwise (test discovery runs them too).
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // The window's settings go to a folder of their own, never the user's.
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QCoreApplication::setOrganizationName(QStringLiteral("ParquillTests"));
  QCoreApplication::setApplicationName(QStringLiteral("parquill_ui_tests"));
  return RUN_ALL_TESTS();
}
