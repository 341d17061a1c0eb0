// "属性付加" reads the MIF file that this window's "面生成" wrote, and no
// other; the output name the user typed stays.
#include <QDir>
#include <QFile>

#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const Message kNoMifOfThisRun{"先に「面生成」で MIF ファイルを作ってください。", "ファイル指定"};
const QString kExpected = QStringLiteral(PARQUILL_SOURCE_DIR "/examples/expected/");
// A MIF file left by an earlier run: another drawing's lots.
const QByteArray kOldMif = "Version 300\r\nCharset \"WindowsJapanese\"\r\nData\r\n";

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ThisRunMifTest : public WindowTest {
 protected:
  // The sample and an old MIF file beside it; its layers read.
  void ReadSampleLayers() {
    CopySample();
    WriteFile("sample.MIF", kOldMif.toStdString());
    OpenFolder();
    ASSERT_TRUE(form.ChooseFile("sample.dxf"));
    form.OnReadLayers();
  }
};

TEST_F(ThisRunMifTest, ATypedOutputNameStaysAndItsOwnMifIsRead) {
  ReadSampleLayers();
  ASSERT_TRUE(QDir(Folder()).mkdir("out"));
  ClickLayer("筆界");
  Find<QLineEdit>("Text8")->setText(PathOf("out/sample.Sim"));
  form.OnBuildRegions();
  ClickLayer("地番");
  EXPECT_EQ(Text("Text8"), PathOf("out/sample.Sim"));
  ASSERT_TRUE(Shown("Command3"));
  form.OnAttachChibans();
  EXPECT_TRUE(boxes.shown.empty());
  for (const char* name : {"sample.MIF", "sample.MID", "sample.Sim"}) {
    EXPECT_EQ(Bytes(PathOf(QStringLiteral("out/") + name)), Bytes(kExpected + name)) << name;
  }
  EXPECT_EQ(Bytes(PathOf("sample.MIF")), kOldMif);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));
}

TEST_F(ThisRunMifTest, TheOldMifBesideTheDrawingIsRefused) {
  ReadSampleLayers();
  ClickLayer("筆界");
  Find<QLineEdit>("Text8")->setText(PathOf("out.Sim"));
  form.OnBuildRegions();
  ClickLayer("地番");
  // Back to the name of the old MIF file: not built by this run.
  Find<QLineEdit>("Text8")->setText(PathOf("sample.Sim"));
  EXPECT_FALSE(Shown("Command3"));
  EXPECT_TRUE(Shown("Command2"));
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kNoMifOfThisRun);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));
  EXPECT_FALSE(QFile::exists(PathOf("sample.Sim")));
  EXPECT_TRUE(Shown("List1"));  // the window stays as it was
}

TEST_F(ThisRunMifTest, AMifWrittenAgainOrGoneSinceIsRefused) {
  ReadSampleLayers();
  ClickLayer("筆界");
  form.OnBuildRegions();
  ClickLayer("地番");
  WriteFile("sample.MIF", kOldMif.toStdString());  // another run wrote it meanwhile
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kNoMifOfThisRun);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));

  // "面生成" is offered again.
  EXPECT_TRUE(Shown("Command2"));
  EXPECT_FALSE(Shown("Command3"));

  boxes.shown.clear();
  ClickLayer("地番");
  ClickLayer("筆界");
  form.OnBuildRegions();
  ClickLayer("地番");
  ASSERT_TRUE(QFile::remove(PathOf("sample.MIF")));
  ClickLayer("地番");
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kNoMifOfThisRun);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));
}

TEST_F(ThisRunMifTest, AttachmentIsShownOnlyOnceTheRegionsAreBuilt) {
  ReadSampleLayers();
  ClickLayer("筆界");
  ClickLayer("筆界");  // on, then off
  EXPECT_TRUE(Shown("Command2"));
  EXPECT_FALSE(Shown("Command3"));
  form.OnAttachChibans();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kNoMifOfThisRun);
  EXPECT_EQ(Bytes(PathOf("sample.MIF")), kOldMif);
  EXPECT_FALSE(QFile::exists(PathOf("sample.MID")));

  boxes.shown.clear();
  form.OnBuildRegions();  // no layer selected: refused
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(Shown("Command3"));

  ClickLayer("筆界");
  form.OnBuildRegions();
  EXPECT_FALSE(Shown("Command2"));
  EXPECT_TRUE(Shown("Command3"));
}

}  // namespace
}  // namespace parquill::ui::testing
