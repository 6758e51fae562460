#include "widgets/DpiLightEffect.h"

#include <QWidget>

const int DpiLightBrightnessCodes[DpiLightStepCount] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};

int DpiLightBrightnessCode(int step)
{
    return step >= 1 && step <= DpiLightStepCount ? DpiLightBrightnessCodes[step - 1] : -1;
}

int DpiLightBrightnessStep(int code)
{
    for (int step = 1; step <= DpiLightStepCount; ++step) {
        if (DpiLightBrightnessCodes[step - 1] == code)
            return step;
    }
    return code;
}

bool ApplyDpiLightMode(const DpiLightRows& rows, int mode)
{
    if (mode < 0 || mode > 2)
        return false;
    const bool speed = mode == 2;
    const bool light = mode == 1;
    rows.speedSlider->setVisible(speed);
    rows.speedBox->setVisible(speed);
    rows.speedLine->setVisible(!speed);
    rows.lightSlider->setVisible(light);
    rows.lightBox->setVisible(light);
    rows.lightLine->setVisible(!light);
    return true;
}
