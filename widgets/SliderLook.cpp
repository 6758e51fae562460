#include "widgets/SliderLook.h"

#include "widgets/ThemeColor.h"

#include <QSlider>

namespace {

QString SettingsSliderStyle(const QString& folder, const QString& handle, const QString& before, const QString& after)
{
    return QStringLiteral("QSlider::groove:horizontal { border-radius: 2px;  height: 5px;background:rgb(") + after
        + QStringLiteral(")}QSlider:handle:horizontal{ border-radius: 2px;width:  6px;height: 18px;  margin-top: -9px;"
                         "margin-left: 0px; margin-bottom: -9px;margin-right: 0px; border-image: url(")
        + folder + handle + QStringLiteral(");} QSlider:sub-page:horizontal{border-radius: 2px;background-color: rgb(")
        + before + QStringLiteral(";);}QSlider:add-page:horizontal{border-radius: 2px;background-color: rgb(") + after
        + QStringLiteral(");}");
}

} // namespace

void ApplySliderLook(QSlider* slider, const QString& folder, const QString& handle)
{
    slider->setStyleSheet(
        SettingsSliderStyle(folder, handle, ThemeColor(QStringLiteral("SliderColor")), QStringLiteral("255, 255, 255")));
}

void ApplyMutedSliderLook(QSlider* slider, const QString& folder)
{
    slider->setStyleSheet(
        SettingsSliderStyle(folder, QStringLiteral("HuaKuai.png"), DimmedTextColor(), FrameLineColor()));
}
