// A 地図XML ZIP in the window: opened or dropped, its lots on the map with
// their numbers, and "地図XMLを変換" writing its three files beside it.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "ui/map_preview.h"
#include "ui/map_xml_lots.h"
#include "ui/starting_place.h"
#include "window_fixture.h"

namespace parquill::ui::testing {
namespace {

const QString kYakushima =
    QStringLiteral(PARQUILL_SOURCE_DIR "/tests/data/mapxml/46505-3411-1.zip");

TEST(MapXmlLots, TheLotsOfAZipWithTheirNumbersInMapCoordinates) {
  const std::atomic<bool> notCancelled = false;
  const MapXmlLots read = ReadMapXmlLots(kYakushima.toStdString(), notCancelled);
  EXPECT_EQ(read.files, 1);
  EXPECT_TRUE(read.failures.empty());
  EXPECT_EQ(read.leftOut, 6);
  EXPECT_EQ(read.coordinateSystem, "公共座標2系");
  ASSERT_EQ(read.lots.regions.size(), 2u);
  EXPECT_EQ(read.lots.regions[0].chiban, "2740-1");
  EXPECT_EQ(read.lots.regions[1].number, 2);
  const std::vector<PlanePoint>& ring = read.lots.regions[0].ring;
  ASSERT_GT(ring.size(), 100u);
  EXPECT_EQ(ring.front().x, ring.back().x);  // closed

  // Each lot on the map is a lot of the file's model; a file the map shows
  // none of keeps no model.
  for (std::size_t most : {2, 1, 0}) {
    const MapXmlLots kept = ReadMapXmlLots(kYakushima.toStdString(), notCancelled, {most});
    ASSERT_EQ(kept.site.ofRegion.size(), most);
    ASSERT_EQ(kept.site.files.size(), most > 0 ? 1u : 0u);
    for (std::size_t region = 0; region < most; ++region) {
      const SiteLotPlace place = kept.site.ofRegion[region];
      EXPECT_EQ(kept.site.files[place.file].lots->Chiban(place.lot),
                kept.lots.regions[region].chiban);
    }
  }
}

TEST(MapXmlLots, AFileThatCannotBeReadIsOneLine) {
  QTemporaryDir dir;
  QFile empty(dir.filePath("empty.zip"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  const std::atomic<bool> notCancelled = false;
  const MapXmlLots read = ReadMapXmlLots(dir.filePath("empty.zip").toStdString(), notCancelled);
  EXPECT_TRUE(read.lots.regions.empty());
  ASSERT_EQ(read.failures.size(), 1u);
  EXPECT_TRUE(read.failures[0].starts_with(dir.filePath("empty.zip").toStdString() + ": "));
  EXPECT_TRUE(IsMapXmlFileName("a.ZIP"));
  EXPECT_TRUE(IsMapXmlFileName("b.xml"));
  EXPECT_FALSE(IsMapXmlFileName("c.dxf"));
}

class MapXmlWindowTest : public WindowTest {
 protected:
  MapPreview* Map() { return Find<MapPreview>("MapPreview"); }
  void CopyZip() { ASSERT_TRUE(QFile::copy(kYakushima, PathOf("46505-3411-1.zip"))); }
};

TEST_F(MapXmlWindowTest, AnOpenedZipShowsItsLotsAndConvertsBesideIt) {
  CopyZip();
  CopySample();
  EXPECT_FALSE(Shown("MapXmlButton"));
  EXPECT_EQ(OpenStartingPlace(form, PathOf("46505-3411-1.zip")), "");
  EXPECT_EQ(form.Folder(), Folder());
  EXPECT_TRUE(Shown("MapXmlButton"));
  ASSERT_TRUE(WaitForMapReadings());
  ASSERT_TRUE(Map()->HasReport());
  EXPECT_EQ(form.ResultText(), "46505-3411-1.zip の筆 2 を表示しています（除外 6、公共座標2系）");
  Map()->resize(500, 400);
  Map()->FitAll();
  QStringList labels;
  for (const PlacedLabel& label : Map()->ChibanLabels()) labels << label.text;
  EXPECT_TRUE(labels.contains("2740-1")) << labels.join(' ').toStdString();

  Find<QPushButton>("MapXmlButton")->click();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(form.ResultText(),
            "46505-3411-1.xml: 筆 2（除外 6）、筆界点 119、公共座標2系、出力 46505-3411-1.Sim");
  for (const char* name : {"46505-3411-1.Sim", "46505-3411-1.MIF", "46505-3411-1.MID"}) {
    EXPECT_TRUE(QFile::exists(PathOf(name))) << name;
  }

  // A drawing chosen next lets the 地図XML file go.
  ASSERT_TRUE(form.ChooseFile("sample.dxf"));
  EXPECT_FALSE(Shown("MapXmlButton"));
  EXPECT_TRUE(form.MapXmlPath().isEmpty());
  ASSERT_TRUE(WaitForMapReadings());
  EXPECT_TRUE(Map()->HasDrawing());
}

TEST_F(MapXmlWindowTest, ADroppedZipIsOpened) {
  CopyZip();
  QMimeData dropped;
  dropped.setUrls({QUrl::fromLocalFile(PathOf("46505-3411-1.zip"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &drop);
  EXPECT_EQ(form.MapXmlPath(), PathOf("46505-3411-1.zip"));
  EXPECT_TRUE(Shown("MapXmlButton"));
  ASSERT_TRUE(WaitForMapReadings());
  EXPECT_TRUE(Map()->HasReport());
}

}  // namespace
}  // namespace parquill::ui::testing
