// The result line after each step and the honesty of the report: what was
// written, where and how much; which file was not written and why.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>

#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const QString kNoProblems = QStringLiteral("問題は見つかりませんでした");

class ResultLineTest : public WindowTest {
 protected:
  void SetUp() override {
    CopySample();
    OpenFolder();
    form.OnDrawingClicked("sample.dxf");
    form.OnReadLayers();
  }
  void OpenTheFolder() { Find<QPushButton>("OpenFolderButton")->click(); }
};

TEST_F(ResultLineTest, EachStepTellsWhatItWroteAndTheFolderOpensOnRequest) {
  EXPECT_EQ(form.ResultText(), "sample.dxf のレイヤ 8 件を読みました");
  ClickLayer("筆界");
  form.OnBuildRegions();
  EXPECT_EQ(form.ResultText(), "sample.MIF に 12 領域を書きました");
  OpenTheFolder();
  EXPECT_EQ(openedFolders, QStringList({Folder()}));

  ClickLayer("地番");
  form.OnAttachChibans();
  EXPECT_EQ(form.ResultText(), "sample.MID 12 行（地番あり 12）、sample.Sim 座標点 23・筆 12");
  WaitForMap();
  EXPECT_TRUE(ListItems("ReportList").contains(kNoProblems));
}

TEST_F(ResultLineTest, AFileNotWrittenIsNamedWithTheReasonAndTheReportSaysSo) {
  struct Case {
    const char* name;
    std::function<void()> run;
    QString line;
    bool report;  // the run went on to the report
  };
  const Case cases[] = {
      {"the text reader refuses",
       [this] {
         ClickLayer("筆界");
         form.OnBuildRegions();
         ClickLayer("地番");
         ClickLayer("筆界");
         form.OnAttachChibans();
       },
       "sample.MID は書かれませんでした: レイアが複数選択されています。", false},
      {"the SIMA file cannot be created",
       [this] {
         ClickLayer("筆界");
         form.OnBuildRegions();
         ClickLayer("地番");
         ASSERT_TRUE(QDir(Folder()).mkdir("sample.Sim"));
         form.OnAttachChibans();
       },
       "sample.MID 12 行（地番あり 12）、sample.Sim は書かれませんでした: ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.OnDrawingClicked("sample.dxf");
    form.OnReadLayers();
    c.run();
    EXPECT_TRUE(form.ResultText().startsWith(c.line)) << form.ResultText().toStdString();
    if (!c.report) continue;
    WaitForMap();
    const QStringList report = ListItems("ReportList");
    EXPECT_FALSE(report.contains(kNoProblems));
    ASSERT_GE(report.size(), 2);
    EXPECT_TRUE(report[1].startsWith("sample.Sim は書かれませんでした: "))
        << report[1].toStdString();
  }
}

// A drawing that does not end with EOF may be cut short: both steps say so.
TEST_F(ResultLineTest, ADrawingWithoutEofIsToldAfterEachStep) {
  QFile sample(PathOf("sample.dxf"));
  ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
  QByteArray bytes = sample.readAll();
  bytes.chop(bytes.size() - bytes.lastIndexOf("EOF"));
  WriteFile("cut.dxf", bytes.toStdString());
  form.OnDrawingClicked("cut.dxf");
  form.OnReadLayers();
  ClickLayer("筆界");
  form.OnBuildRegions();
  EXPECT_TRUE(form.ResultText().contains("[図面の終わり]")) << form.ResultText().toStdString();
  ClickLayer("地番");
  form.OnAttachChibans();
  EXPECT_TRUE(form.ResultText().contains("[図面の終わり]")) << form.ResultText().toStdString();
}

TEST_F(ResultLineTest, ALongResultWrapsOntoAsManyLinesAsItNeeds) {
  form.setMinimumSize(0, 0);
  form.resize(form.layout()->minimumSize());
  form.show();
  auto* line = Find<QWidget>("ResultLine");
  auto* text = Find<QLabel>("ResultText");
  const QString lines[] = {
      QStringLiteral("sample.MID 12 行（地番あり 12）"),
      QStringLiteral(
          "sample.MID 12 行（地番あり 12）、sample.Sim は書かれませんでした: "
          "座標が、15000点を超えました。SIMA 共通フォーマットの座標点は 15000 点までです。"
          "図面を分けて変換してください。エラー番号 75 パス名が無効です。"),
  };
  for (const QString& result : lines) {
    form.findChild<ResultLine*>("ResultLine")->Show({result, {}, true});
    QCoreApplication::sendPostedEvents();
    form.layout()->activate();
    EXPECT_GE(text->height(), text->heightForWidth(text->width())) << result.toStdString();
    EXPECT_TRUE(QRect(QPoint(0, 0), form.size())
                    .contains(QRect(line->mapTo(&form, QPoint(0, 0)), line->size())));
  }
  EXPECT_GT(text->heightForWidth(text->width()), 3 * text->fontMetrics().lineSpacing());
}

}  // namespace
}  // namespace parquill::ui::testing
