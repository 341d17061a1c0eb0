#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <charconv>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/step_outcome.h"
#include "base/text_codec.h"
#include "ui/main_window.h"
#include "ui/result_line.h"

// Window texts as they read in a failed expectation.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace parquill::ui::testing {

// Keeps the messages the window shows instead of opening boxes.
class CapturedBoxes : public MessageBoxes {
 public:
  void ShowCritical(const Message& message) override { shown.push_back(message); }
  std::vector<Message> shown;
};

// A drawing of the given $ACADVER with the given layer records, CR LF ended,
// in the code page of drawings before DXF 2007.
inline std::string Drawing(std::string_view acadVer,
                           std::initializer_list<std::string_view> layers) {
  std::string text;
  auto lines = [&text](std::initializer_list<std::string> add) {
    for (const std::string& line : add) (text += line) += "\r\n";
  };
  lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", std::string(acadVer), "  0",
         "ENDSEC"});
  lines({"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER"});
  for (std::string_view layer : layers) {
    lines({"  0", "LAYER", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord", "  2",
           EncodeText(layer, TextEncoding::kCp932), " 70", "     0"});
  }
  lines({"  0", "ENDTAB", "  0", "ENDSEC", "  0", "EOF"});
  return text;
}

// A square lot: its lower left corner, its side and its 地番.
struct SquareLot {
  double left, bottom, side;
  std::string chiban;
};

// An R2000 drawing of the squares on 筆界, each a closed LWPOLYLINE drawn
// counter-clockwise from its lower left corner, its number a TEXT on 地番 at
// its middle; numbers written shortest ("2", "0.5").
inline std::string SquaresDrawing(const std::vector<SquareLot>& lots) {
  std::string drawing = Drawing("AC1015", {"筆界", "地番"});
  drawing.resize(drawing.size() - std::string("  0\r\nEOF\r\n").size());
  auto lines = [&drawing](std::initializer_list<std::string> add) {
    for (const std::string& line : add) (drawing += line) += "\r\n";
  };
  auto number = [](double value) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
  };
  const std::string boundary = EncodeText("筆界", TextEncoding::kCp932);
  const std::string chiban = EncodeText("地番", TextEncoding::kCp932);
  lines({"  0", "SECTION", "  2", "ENTITIES"});
  for (const SquareLot& lot : lots) {
    const std::string x0 = number(lot.left), x1 = number(lot.left + lot.side);
    const std::string y0 = number(lot.bottom), y1 = number(lot.bottom + lot.side);
    lines({"  0", "LWPOLYLINE", "100", "AcDbEntity",
           "  8", boundary,     "100", "AcDbPolyline",
           " 90", "4",          " 70", "1",
           " 10", x0,           " 20", y0,
           " 10", x1,           " 20", y0,
           " 10", x1,           " 20", y1,
           " 10", x0,           " 20", y1});
    lines({"  0", "TEXT", "100", "AcDbEntity", "  8", chiban, "100", "AcDbText", " 10",
           number(lot.left + lot.side / 2), " 20", number(lot.bottom + lot.side / 2), "  1",
           lot.chiban, "100", "AcDbText"});
  }
  lines({"  0", "ENDSEC", "  0", "EOF"});
  return drawing;
}

// Forgets what earlier windows remembered (the tests' own settings folder).
struct ForgottenSettings {
  ForgottenSettings() { QSettings().clear(); }
};

// A window over a fresh folder of drawings, its messages captured; nothing
// remembered from an earlier window, and folders opened in the desktop's file
// manager only counted.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : form(boxes) {
    SetFolderOpener([this](const QString& folder) { openedFolders << folder; });
  }
  ~WindowTest() override { SetFolderOpener(nullptr); }

  QString Folder() const { return dir.path(); }
  QString PathOf(const QString& name) const { return dir.filePath(name); }
  // Writes a drawing into the folder and returns its name.
  QString WriteFile(const QString& name, const std::string& bytes) const {
    QFile file(PathOf(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return name;
  }
  // Copies the sample drawing into the folder as sample.dxf.
  void CopySample() const {
    ASSERT_TRUE(QFile::copy(QStringLiteral(PARQUILL_SOURCE_DIR "/examples/sample.dxf"),
                            PathOf("sample.dxf")));
  }
  // Opens the folder in the window.
  void OpenFolder() { form.SetFolder(Folder()); }
  // Opens the folder, chooses `drawing`, reads its layers and presses
  // "面生成" with the boundary layer clicked.
  void BuildRegionsOf(const char* drawing, const char* boundary) {
    OpenFolder();
    form.OnDrawingClicked(drawing);
    form.OnReadLayers();
    ClickLayer(boundary);
    form.OnBuildRegions();
  }
  // Lets queued work run until `done` holds, for at most 30 seconds (a
  // loaded machine under the sanitizers): a fault fails the test, it never
  // hangs it.
  template <typename Done>
  bool WaitFor(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 30'000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
  }
  // Waits for the map's readings in the background to end.
  void WaitForMap() {
    EXPECT_TRUE(WaitFor([this] { return !form.PreviewBusy(); }));
  }

  template <typename Control>
  Control* Find(const char* name) {
    auto* control = form.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  // Toggles the layer list's item named `layer` as a click on it does.
  void ClickLayer(const QString& layer) {
    auto* list = Find<QListWidget>("List1");
    const auto items = list->findItems(layer, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << layer.toStdString();
    list->setCurrentItem(items.front(), QItemSelectionModel::Toggle);
    form.OnLayerClicked();
  }
  // Lets the map's background readings end; false when they take beyond `milliseconds`.
  bool WaitForMapReadings(int milliseconds = 30'000) {
    QElapsedTimer waited;
    waited.start();
    while (form.PreviewBusy()) {
      if (waited.elapsed() > milliseconds) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
  }
  QString Text(const char* lineEdit) { return Find<QLineEdit>(lineEdit)->text(); }
  bool Shown(const char* name) { return !Find<QWidget>(name)->isHidden(); }
  QStringList ListItems(const char* name) {
    QStringList items;
    const QListWidget* list = Find<QListWidget>(name);
    for (int row = 0; row < list->count(); ++row) items << list->item(row)->text();
    return items;
  }

  QTemporaryDir dir;
  CapturedBoxes boxes;
  ForgottenSettings forgotten;
  MainWindow form;
  QStringList openedFolders;
};

}  // namespace parquill::ui::testing
