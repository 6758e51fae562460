#pragma once
#include <QString>

class QSlider;

// The look of the settings sliders: a white groove 5 px high, the picture folder's "HuaKuai.png"
// handle (6 x 18) and the part before the handle in the theme's "SliderColor".
void ApplySliderLook(QSlider* slider, const QString& pictureFolder);
