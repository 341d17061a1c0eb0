#pragma once

namespace parquill::ui {

class MainWindow;

// When PARQUILL_SCREENSHOT names a PNG file: reads the layers of the chosen
// drawing, saves a picture of the window there and quits. With
// PARQUILL_SCREENSHOT_RUN=1 it first makes a complete run instead: the
// boundary layer 筆界 for "面生成", the lot-number layer 地番 for "属性付加",
// and waits for the map and its report. With PARQUILL_SCREENSHOT_CHECK=1 the
// run fails when a control is not whole in the picture. For the
// documentation's pictures.
void ArmScreenshotHook(MainWindow& form);

}  // namespace parquill::ui
