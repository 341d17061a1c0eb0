#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "ui/critical_message_box.h"
#include "ui/file_system_roots.h"
#include "ui/qt_japanese.h"

namespace parquill::ui {
namespace {

TEST(FileSystemRoots, OnlyVolumesTheUserKeepsDrawingsOn) {
  struct Case {
    QString root;
    const char* type;
    bool offered;
  };
  const Case cases[] = {
      {"/", "ext4", false},  // offered first anyway, never twice
      {"/proc", "proc", false},
      {"/sys/fs/cgroup", "cgroup2", false},
      {"/dev/shm", "tmpfs", false},
      {"/run/user/1000", "tmpfs", false},
      {"/snap/core/1", "squashfs", false},
      {QDir::tempPath(), "tmpfs", false},
      {QDir::tempPath(), "ext4", true},
      {"/no/such/volume", "ext4", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsUserVolume(c.root, QString::fromLatin1(c.type)), c.offered) << c.root.toStdString();
  }
}

TEST(FileSystemRoots, RootFirstHomeLastEachOnce) {
  const QStringList roots = FileSystemRoots();
  ASSERT_FALSE(roots.isEmpty());
  EXPECT_EQ(roots.first(), "/");
  EXPECT_TRUE(roots.contains(QDir::homePath()));
  QStringList once = roots;
  EXPECT_EQ(once.removeDuplicates(), 0);
}

TEST(FileSystemRoots, EachRootNamedWithItsPath) {
  const std::pair<const char*, const char*> cases[] = {
      {"/", "コンピュータ（/）"},
      {"/home/kato", "ホーム（/home/kato）"},
      {"/media/kato/USB", "USB（/media/kato/USB）"},
  };
  for (const auto& [root, caption] : cases) {
    EXPECT_EQ(RootCaption(QString::fromUtf8(root), "/home/kato"), QString::fromUtf8(caption));
  }
}

TEST(FileSystemRoots, AFolderBelongsToTheLongestRootHoldingIt) {
  const QStringList roots = {"/", "/media/usb", "/home/kato"};
  const std::pair<const char*, int> cases[] = {
      {"/", 0},           {"/data/area", 0},      {"/media/usb", 1}, {"/media/usb/a", 1},
      {"/media/usb2", 0}, {"/home/kato/測量", 2},
  };
  for (const auto& [folder, index] : cases) {
    EXPECT_EQ(RootIndexOf(roots, QString::fromUtf8(folder)), index) << folder;
  }
  EXPECT_EQ(RootIndexOf({"/home/kato"}, "/data"), -1);
}

TEST(CriticalMessageBox, CarriageReturnsBreakTheShownLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"DXFのバージョンは、R12Jです。\r処理不可能です。",
       "DXFのバージョンは、R12Jです。\n処理不可能です。"},
      {"エラー番号53\r\nファイルが見つかりません。", "エラー番号53\nファイルが見つかりません。"},
      {"入力ファイルが選択されていません。", "入力ファイルが選択されていません。"},
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(DisplayedMessageText(text), QString::fromUtf8(shown));
  }
}

// Qt's own buttons read as the desktop's would in Japanese, whatever the
// locale the tests run in.
TEST(QtJapanese, QtsOwnButtonsAreJapanese) {
  ASSERT_TRUE(InstallQtJapanese(*QCoreApplication::instance()))
      << "qtbase_ja.qm not found (Debian qt6-translations-l10n)";
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Save);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(box.button(QMessageBox::Save)->text(), QStringLiteral("保存"));
}

}  // namespace
}  // namespace parquill::ui
