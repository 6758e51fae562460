#pragma once

class QWidget;

// What the DPI light effect panels share: the brightness codes the mouse takes for the ten steps of
// the brightness slider, and which rows a mode shows.

constexpr int DpiLightStepCount = 10;
// Step 1..10 to the device's brightness code (record byte 0x55).
extern const int DpiLightBrightnessCodes[DpiLightStepCount];
// The code of a step 1..10; -1 outside.
int DpiLightBrightnessCode(int step);
// The step 1..10 of a device code; a code outside the table is passed on as its own step, so that
// the slider's range decides what is shown.
int DpiLightBrightnessStep(int code);

// The controls of the two rows: each slider with its number box, and the flat bar that stands in
// the slider's place while the slider is hidden.
struct DpiLightRows
{
    QWidget* speedSlider;
    QWidget* speedBox;
    QWidget* speedLine;
    QWidget* lightSlider;
    QWidget* lightBox;
    QWidget* lightLine;
};

// Shows the rows of a mode: 0 off shows the two bars, 1 steady the brightness row, 2 breathing the
// speed row. Any other mode changes nothing and gives false.
bool ApplyDpiLightMode(const DpiLightRows& rows, int mode);
