#include "widgets/SliderLook.h"

#include "widgets/ThemeColor.h"

#include <QSlider>

void ApplySliderLook(QSlider* slider, const QString& folder, const QString& handle)
{
    slider->setStyleSheet(
        QStringLiteral("QSlider::groove:horizontal { border-radius: 2px;  height: 5px;background:#ffffff}"
                       "QSlider:handle:horizontal{ border-radius: 2px;width:  6px;height: 18px;  margin-top: -9px;"
                       "margin-left: 0px; margin-bottom: -9px;margin-right: 0px; border-image: url(")
        + folder + handle + QStringLiteral(");} QSlider:sub-page:horizontal{border-radius: 2px;background-color: rgb(")
        + ThemeColor(QStringLiteral("SliderColor"))
        + QStringLiteral(";);}QSlider:add-page:horizontal{border-radius: 2px;background-color: rgb(255, 255, 255);}"));
}
