#pragma once
#include <QString>

class QSlider;

// The look of the settings sliders: a white groove 5 px high, the picture folder's handle picture
// (6 x 18; "HuaKuai.png" unless named) and the part before the handle in the theme's "SliderColor".
void ApplySliderLook(QSlider* slider, const QString& pictureFolder, const QString& handle = QStringLiteral("HuaKuai.png"));

// The same slider greyed out, for a value that is shown but not in use: the part before the handle in
// DimmedTextColor, the rest in the dark grey of a frame.
void ApplyMutedSliderLook(QSlider* slider, const QString& pictureFolder);
