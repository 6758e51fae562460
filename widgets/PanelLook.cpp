#include "widgets/PanelLook.h"

#include "widgets/ThemeColor.h"

namespace PanelLook {

QString NumberBoxStyle()
{
    const QString color = ThemeColor(QStringLiteral("LinEditColorSecond"));
    return QStringLiteral("QSpinBox{background-color: transparent;color: rgb(") + color
        + QStringLiteral(";);border: 1px  solid gray;}QSpinBox:hover{background-color: transparent;color: rgb(") + color
        + QStringLiteral(";);border: 1px  solid gray;}");
}

QString PlainNumberStyle()
{
    return QStringLiteral("QSpinBox{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
        + QStringLiteral(";);background-color: transparent;border: 0px;}");
}

QString MutedNumberStyle()
{
    return QStringLiteral("QSpinBox{color: rgb(") + DimmedTextColor()
        + QStringLiteral(");background-color: transparent;border: 0px;}");
}

QString MenuStyle()
{
    return QStringLiteral("QMenu{background-color: rgb(") + ThemeColor(QStringLiteral("ComboxBackGroundColor"))
        + QStringLiteral(");color: rgb(") + ThemeColor(QStringLiteral("ComboxTextColor"))
        + QStringLiteral(");border: 1px solid rgb(") + FrameLineColor()
        + QStringLiteral(");padding: 4px 0px;}"
                         "QMenu::item{padding: 5px 24px;background-color: transparent;}"
                         "QMenu::item:selected{background-color: rgb(")
        + ThemeColor(QStringLiteral("ComboxSelectColor")) + QStringLiteral(");color: rgb(255, 255, 255);}");
}

QString SlimSliderStyle(const QString& folder)
{
    return QStringLiteral("QSlider::groove:horizontal{height: 2px;background: rgba(0,0,0,50);border-radius: 6px;}"
                          "QSlider::handle:horizontal{width: 5px;height: 50px;margin-top: -20px;margin-bottom: -20px;"
                          "border-image: url(")
        + folder + QStringLiteral("HuaKuai.png);}QSlider::sub-page:horizontal{background-color: rgb(")
        + ThemeColor(QStringLiteral("SliderColor"))
        + QStringLiteral(");}QSlider::add-page:horizontal{background-color: rgb(255, 255, 255);}");
}

QString ChoiceBoxStyle(const QString& folder)
{
    return QStringLiteral("QCheckBox{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
        + QStringLiteral(";);}QCheckBox:indicator::checked {image: url(") + folder
        + QStringLiteral("LODCheck.png);}QCheckBox::indicator::unchecked {image: url(") + folder
        + QStringLiteral("LOD.png);}");
}

QString StepButtonStyle(const QString& objectName, const QString& folder, const QString& picture)
{
    return QStringLiteral("#") + objectName + QStringLiteral("{background-image: url(") + folder + picture
        + QStringLiteral(");border:0px;background-position:center;background-repeat:no-repeat;}");
}

} // namespace PanelLook
