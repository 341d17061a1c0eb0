#pragma once

namespace parquill::ui {

class Form1;

// When PARQUILL_SCREENSHOT names a PNG file: reads the layers of the chosen
// drawing, saves a picture of the window there and quits. For the
// documentation's screenshot.
void ArmScreenshotHook(Form1& form);

}  // namespace parquill::ui
