#include "ui/file_names.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

class FileChoiceTest : public WindowTest {
 protected:
  QColor LabelColour() { return Find<QLabel>("Label1")->palette().color(QPalette::WindowText); }
  void SelectOutputMode() { Find<QRadioButton>("Op2_2")->setChecked(true); }
};

TEST(FileNames, JoiningFolderAndName) {
  struct Case {
    const char* folder;
    const char* name;
    const char* joined;
  };
  const Case cases[] = {
      {"/", "a.dxf", "/a.dxf"},
      {"/data", "SAMPLE.DXF", "/data/SAMPLE.DXF"},
      {"/data/", "SAMPLE.DXF", "/data/SAMPLE.DXF"},
      {"/data/測量", "SAMPLE.Sim", "/data/測量/SAMPLE.Sim"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinFolderAndName(QString::fromUtf8(c.folder), QString::fromUtf8(c.name)),
              QString::fromUtf8(c.joined));
  }
}

TEST(FileNames, OutputNameIsTheFileNameUpToItsFirstDotAndSim) {
  const std::pair<const char*, const char*> cases[] = {
      {"SAMPLE.DXF", "SAMPLE.Sim"}, {"plan.v2.final.dxf", "plan.Sim"},  {".dxf", ".Sim"},
      {"図面.dxf", "図面.Sim"},     {"noextension", "noextension.Sim"},
  };
  for (const auto& [name, output] : cases) {
    EXPECT_EQ(OutputFileNameFor(QString::fromUtf8(name)), QString::fromUtf8(output)) << name;
  }
}

TEST(FileNames, FolderPartEndsAtTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {{"/data/SAMPLE.DXF", "/data/"},
                                                       {"/a.dxf", "/"},
                                                       {"SAMPLE.DXF", ""},
                                                       {"", ""},
                                                       {"/data/sub/", "/data/sub/"}};
  for (const auto& [path, folder] : cases) {
    EXPECT_EQ(FolderPartOf(QString::fromUtf8(path)), QString::fromUtf8(folder)) << path;
  }
}

TEST_F(FileChoiceTest, ClickInInputModeFillsTheInputNameAndProposesTheOutputName) {
  OpenFolder();
  WriteFile("SAMPLE.DXF", Drawing("AC1015", {}));
  Find<QLineEdit>("Text1")->setText("12");

  form.OnDrawingClicked("SAMPLE.DXF");

  EXPECT_EQ(Text("Text7"), PathOf("SAMPLE.DXF"));
  EXPECT_EQ(form.OutputFileName(), "SAMPLE.Sim");
  EXPECT_EQ(Text("Text8"), "");  // only a list click or a folder change fills it
  EXPECT_EQ(Text("Text1"), "");
  EXPECT_EQ(form.DxfVersionCode(), 2000);
}

TEST_F(FileChoiceTest, ClickInOutputModeKeepsTheInputNameAndChecksItsVersion) {
  OpenFolder();
  WriteFile("old.dxf", Drawing("AC1009", {}));
  WriteFile("new.v2.dxf", Drawing("AC1015", {}));
  form.OnDrawingClicked("old.dxf");
  SelectOutputMode();

  form.OnDrawingClicked("new.v2.dxf");

  EXPECT_EQ(Text("Text7"), PathOf("old.dxf"));
  EXPECT_EQ(form.OutputFileName(), "new.Sim");
  EXPECT_EQ(form.DxfVersionName(), "R12J");  // the check ran on the unchanged input name
  EXPECT_EQ(Text("Text8"), "");
}

TEST_F(FileChoiceTest, ClickInTheRootFolderGivesOneSeparator) {
  form.SetFolder("/");
  form.OnDrawingClicked("a.dxf");
  EXPECT_EQ(Text("Text7"), "/a.dxf");
}

TEST_F(FileChoiceTest, VersionVerdictInTheStatusLabel) {
  struct Case {
    const char* acadVer;
    int code;
    const char* name;
    QColor colour;
    const char* caption;
  };
  const Case cases[] = {
      {"AC1009", 12, "R12J", kRed, "DXFのバージョンは、R12Jです。処理不可能です。"},
      {"AC1014", 14, "R14J", kBlue, "DXFのバージョンは、R14Jです。"},
      {"AC1015", 2000, "2000", kBlue, "DXFのバージョンは、2000です。"},
      {"AC1032", 2018, "2018", kBlue, "DXFのバージョンは、2018です。"},
      {"AC1001", 0, "不明", kRed, "DXFのバージョンは、不明です。処理不可能です。"},
  };
  OpenFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.acadVer);
    const QString name = WriteFile(QString("v%1.dxf").arg(c.acadVer), Drawing(c.acadVer, {}));
    form.OnDrawingClicked(name);
    EXPECT_EQ(form.DxfVersionCode(), c.code);
    EXPECT_EQ(form.DxfVersionName(), c.name);
    EXPECT_EQ(LabelColour(), c.colour);
    EXPECT_EQ(Find<QLabel>("Label1")->text(), QString::fromUtf8(c.caption));
    EXPECT_TRUE(Shown("Label1"));
  }
}

TEST_F(FileChoiceTest, FileListShowsTheDrawingsWhateverTheirLetterCase) {
  for (const char* name : {"b.DXF", "a.dxf", "c.Dxf", "notes.txt", "d.dxf.bak"}) {
    WriteFile(name, "");
  }
  OpenFolder();
  EXPECT_EQ(ListItems("File1"), QStringList({"a.dxf", "b.DXF", "c.Dxf"}));
}

TEST_F(FileChoiceTest, ChoosingAFileSelectsItAndRaisesTheClick) {
  WriteFile("SAMPLE.DXF", Drawing("AC1014", {}));
  OpenFolder();
  EXPECT_TRUE(form.ChooseFile("SAMPLE.DXF"));
  EXPECT_EQ(Find<QListWidget>("File1")->currentItem()->text(), "SAMPLE.DXF");
  EXPECT_EQ(Text("Text7"), PathOf("SAMPLE.DXF"));
  EXPECT_FALSE(form.ChooseFile("missing.dxf"));
}

TEST_F(FileChoiceTest, FolderChangeFillsTheOutputNameOnlyInOutputMode) {
  WriteFile("SAMPLE.DXF", Drawing("AC1015", {}));
  ASSERT_TRUE(QDir(Folder()).mkdir("out"));
  OpenFolder();
  form.OnDrawingClicked("SAMPLE.DXF");

  form.SetFolder(PathOf("out"));  // input mode
  EXPECT_EQ(Text("Text8"), "");

  SelectOutputMode();
  form.SetFolder(Folder());
  EXPECT_EQ(Text("Text8"), PathOf("SAMPLE.Sim"));
  form.SetFolder("/");
  EXPECT_EQ(Text("Text8"), "/SAMPLE.Sim");
  EXPECT_EQ(Text("Text7"), PathOf("SAMPLE.DXF"));
}

TEST_F(FileChoiceTest, FolderListEntersASubfolderAndGoesUp) {
  ASSERT_TRUE(QDir(Folder()).mkdir("area1"));
  WriteFile("area1/lots.dxf", "");
  OpenFolder();
  auto* dir1 = Find<QListWidget>("Dir1");
  const auto subfolders = dir1->findItems("area1", Qt::MatchEndsWith);
  ASSERT_EQ(subfolders.size(), 1);

  emit dir1->itemActivated(subfolders.first());
  EXPECT_EQ(form.Folder(), PathOf("area1"));
  EXPECT_EQ(ListItems("File1"), QStringList({"lots.dxf"}));

  // The line above the current folder is its parent.
  emit dir1->itemActivated(dir1->item(dir1->currentRow() - 1));
  EXPECT_EQ(form.Folder(), Folder());
}

TEST_F(FileChoiceTest, AFolderThatIsGoneLeavesEmptyListsAndAUsableWindow) {
  const QString gone = PathOf("gone");
  form.SetFolder(gone);
  EXPECT_EQ(form.Folder(), gone);
  EXPECT_TRUE(ListItems("File1").isEmpty());

  WriteFile("SAMPLE.DXF", Drawing("AC1015", {}));
  OpenFolder();
  EXPECT_EQ(ListItems("File1"), QStringList({"SAMPLE.DXF"}));
}

TEST_F(FileChoiceTest, AnotherDriveOpensThatDrivesCurrentFolder) {
  OpenFolder();
  auto* drive1 = Find<QComboBox>("Drive1");
  const int tempDrive = drive1->currentIndex();
  const int homeDrive = drive1->findData(QDir::homePath());
  if (homeDrive == tempDrive || QDir::currentPath().startsWith(QDir::homePath())) {
    GTEST_SKIP() << "the home folder already has a current folder of its own";
  }

  drive1->setCurrentIndex(homeDrive);
  EXPECT_EQ(form.Folder(), QDir::homePath());

  drive1->setCurrentIndex(tempDrive);
  EXPECT_EQ(form.Folder(), Folder());  // the folder last shown on that drive
}

}  // namespace
}  // namespace parquill::ui::testing
