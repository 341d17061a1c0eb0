#include "ui/starting_place.h"

#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

class StartingPlaceTest : public WindowTest {};

TEST_F(StartingPlaceTest, AFolderIsOpened) {
  EXPECT_EQ(OpenStartingPlace(form, Folder()), "");
  EXPECT_EQ(form.Folder(), Folder());
  EXPECT_EQ(Text("Text7"), "");
}

TEST_F(StartingPlaceTest, ADrawingIsChosenInItsFolder) {
  WriteFile("Plan.DXF", Drawing("AC1014", {}));
  EXPECT_EQ(OpenStartingPlace(form, PathOf("Plan.DXF")), "");
  EXPECT_EQ(form.Folder(), Folder());
  EXPECT_EQ(Find<QListWidget>("File1")->currentItem()->text(), "Plan.DXF");
  EXPECT_EQ(Text("Text7"), PathOf("Plan.DXF"));
  EXPECT_EQ(form.DxfVersionName(), "R14J");
  EXPECT_TRUE(Shown("Label1"));
}

TEST_F(StartingPlaceTest, WhatCannotBeOpenedIsToldAndTheWindowStaysInTheCurrentFolder) {
  WriteFile("notes.txt", "");
  struct Case {
    QString argument;
    QString problem;
    QString folder;
  };
  const Case cases[] = {
      {PathOf("missing.dxf"), PathOf("missing.dxf") + " が見つかりません。", QDir::currentPath()},
      {PathOf("notes.txt"), PathOf("notes.txt") + " は DXF ファイルではありません。", Folder()},
  };
  for (const Case& c : cases) {
    form.SetFolder(QDir::currentPath());
    EXPECT_EQ(OpenStartingPlace(form, c.argument), c.problem);
    EXPECT_EQ(form.Folder(), c.folder);
    EXPECT_EQ(Text("Text7"), "");
  }
}

}  // namespace
}  // namespace parquill::ui::testing
