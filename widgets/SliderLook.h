#pragma once
#include <QString>

class QSlider;

// The look of the settings sliders: a white groove 5 px high, the picture folder's handle picture
// (6 x 18; "HuaKuai.png" unless named) and the part before the handle in the theme's "SliderColor".
void ApplySliderLook(QSlider* slider, const QString& pictureFolder, const QString& handle = QStringLiteral("HuaKuai.png"));
