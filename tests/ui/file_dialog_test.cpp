// Files reached as in any desktop program: "開く…" and "参照…" through the
// file dialogs (answered here by the test), folders opened by one click or
// Enter, and the window's --help without a display.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>

#include "ui/file_dialogs.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

// The file dialogs answered with `answer`; each question kept.
class FileDialogTest : public WindowTest {
 protected:
  FileDialogTest() {
    SetFileAsker([this](QWidget*, const FileQuestion& question) {
      asked.push_back(question);
      return answer;
    });
  }
  ~FileDialogTest() override { SetFileAsker(nullptr); }

  QString answer;
  std::vector<FileQuestion> asked;
};

TEST_F(FileDialogTest, OpenChoosesTheDrawingInItsFolder) {
  ASSERT_TRUE(QDir(Folder()).mkdir("area"));
  WriteFile("area/Plan.DXF", Drawing("AC1015", {}));
  OpenFolder();
  answer = PathOf("area/Plan.DXF");
  Find<QPushButton>("OpenButton")->click();

  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].kind, FileQuestion::Kind::kOpen);
  EXPECT_EQ(asked[0].start, Folder());  // the folder shown
  EXPECT_TRUE(asked[0].filter.contains("*.dxf"));
  EXPECT_TRUE(asked[0].filter.contains("*.xml *.XML *.zip *.ZIP"));  // 地図XML beside DXF
  EXPECT_EQ(form.Folder(), PathOf("area"));
  EXPECT_EQ(Text("Text7"), PathOf("area/Plan.DXF"));
  EXPECT_EQ(form.DxfVersionName(), "2000");
}

TEST_F(FileDialogTest, CancelledDialogsChangeNothing) {
  OpenFolder();
  answer.clear();
  Find<QPushButton>("OpenButton")->click();
  form.OnBrowseOutput();
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(form.Folder(), Folder());
  EXPECT_EQ(Text("Text7"), "");
  EXPECT_EQ(Text("Text8"), "");
}

TEST_F(FileDialogTest, BrowseSetsTheOutputNameWithTheSimaSuffix) {
  WriteFile("SAMPLE.DXF", Drawing("AC1015", {"筆界"}));
  OpenFolder();
  form.OnDrawingClicked("SAMPLE.DXF");
  form.OnReadLayers();
  ClickLayer("筆界");
  EXPECT_TRUE(Shown("BrowseButton"));  // beside the output name, shown with it

  const std::pair<QString, QString> cases[] = {
      {PathOf("out/lots.Sim"), PathOf("out/lots.Sim")},
      {PathOf("out/lots"), PathOf("out/lots.Sim")},
  };
  for (const auto& [chosen, output] : cases) {
    answer = chosen;
    Find<QPushButton>("BrowseButton")->click();
    EXPECT_EQ(Text("Text8"), output);
  }
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].kind, FileQuestion::Kind::kSave);
  EXPECT_EQ(asked[0].start, PathOf("SAMPLE.Sim"));  // the name proposed
  EXPECT_TRUE(asked[0].filter.contains("*.Sim"));
}

TEST_F(FileDialogTest, AFolderOpensWithOneClickOrEnter) {
  ASSERT_TRUE(QDir(Folder()).mkpath("lots-a/lots-b"));
  OpenFolder();
  form.show();
  auto* dir1 = Find<QListWidget>("Dir1");
  const auto a = dir1->findItems("lots-a", Qt::MatchEndsWith | Qt::MatchCaseSensitive);
  ASSERT_EQ(a.size(), 1);
  const QPoint middle = dir1->visualItemRect(a.front()).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent click(type, middle, dir1->viewport()->mapToGlobal(middle), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(dir1->viewport(), &click);
  }
  EXPECT_TRUE(WaitFor([&] { return form.Folder() == PathOf("lots-a"); }));

  dir1->setCurrentItem(
      dir1->findItems("lots-b", Qt::MatchEndsWith | Qt::MatchCaseSensitive).value(0));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(dir1, &enter);
  EXPECT_EQ(form.Folder(), PathOf("lots-a/lots-b"));
}

// What the command line asks for before any window, without a display.
TEST(WindowCommandLine, HelpVersionAndUnknownOptionsWithoutADisplay) {
  struct Case {
    QStringList arguments;
    int status;
    QString out;  // how it starts
    QString err;
  };
  const QString usage = QStringLiteral("使い方: parquill [フォルダ|図面.dxf]");
  const Case cases[] = {
      {{"--help"}, 0, usage, ""},
      {{"-h"}, 0, usage, ""},
      {{"--version"}, 0, "parquill " PARQUILL_VERSION "\n", ""},
      {{"--no-such-option"},
       2,
       "",
       "parquill: 知らないオプションです: --no-such-option\n\n" + usage},
      {{"a.dxf", "b.dxf"}, 2, "", "parquill: 開くものは 1 つだけ指定してください\n\n" + usage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(QString::fromLatin1(name));
    }
    window.setProcessEnvironment(environment);
    window.start(QStringLiteral(PARQUILL_WINDOW_PATH), c.arguments);
    ASSERT_TRUE(window.waitForFinished(10000));
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window.exitCode(), c.status);
    const QString out = QString::fromUtf8(window.readAllStandardOutput());
    const QString err = QString::fromUtf8(window.readAllStandardError());
    EXPECT_TRUE(c.out.isEmpty() ? out.isEmpty() : out.startsWith(c.out)) << out.toStdString();
    EXPECT_TRUE(c.err.isEmpty() ? err.isEmpty() : err.startsWith(c.err)) << err.toStdString();
  }
}

}  // namespace
}  // namespace parquill::ui::testing
