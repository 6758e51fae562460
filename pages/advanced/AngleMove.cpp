#include "pages/advanced/AngleMove.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_AngleMove.h"
#include "widgets/ThemeColor.h"
#include "widgets/TipsPlacement.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>

int CurrentSensorAngle = 0;

AngleMove::AngleMove(QWidget* parent) : QFrame(parent), ui(new Ui::AngleMove)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Advanced/");
    labelColor = ThemeColor(QStringLiteral("LabelColor"));
    const QString& folder = pictureFolder;
    ui->TitleButton_4->setStyleSheet(QStringLiteral("#TitleButton_4{border-image: url(") + folder + QStringLiteral("Title.png);}"));
    ui->Keydown_6->setStyleSheet(QStringLiteral("QLabel{background-color: transparent;color: rgb(") + labelColor
                                 + QStringLiteral(";);border-image: url(") + folder + QStringLiteral("Level.png);}"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(";);}");
    for (QLabel* label : {ui->Keydown_3, ui->Keydown_5, ui->Keydown_4, ui->label_7})
        label->setStyleSheet(labelStyle);
    const QString sliderColor = ThemeColor(QStringLiteral("SliderColor"));
    ui->AngleSet->setStyleSheet(
        QStringLiteral("QSlider:groove:horizontal{height:3px;left: 0px;right: 0px;border:0px;border-radius:0px;background:rgba(0,0,0,50);}"
                       "QSlider:handle:horizontal{ width:  14px;height: 14px;  margin-top: -6px;margin-left: 0px; margin-bottom: -6px;margin-right: 0px; border-image: url(")
        + folder + QStringLiteral("HuaKuai.png);} QSlider:sub-page:horizontal{background-color: rgb(") + sliderColor
        + QStringLiteral(";);}QSlider:add-page:horizontal{background-color: rgb(136, 148, 158);}"));
    ui->widget->SetImagePath(folder + QStringLiteral("Back.png"));
    ui->widget_2->SetImagePath(folder + QStringLiteral("Component.png"));
    ui->widget->setStyleSheet(QStringLiteral("#widget{border:0px;background-position:center;background-repeat:no-repeat;border-image: url(")
                              + folder + QStringLiteral("Back.png);}"));
    ui->widget_2->setStyleSheet(QStringLiteral("#widget_2{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
                                + folder + QStringLiteral("Component.png);}"));
    ui->Error_3->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + folder + QStringLiteral("Tips.png);}"));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &AngleMove::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

AngleMove::~AngleMove()
{
    delete ui;
}

void AngleMove::SlotAllLanguage(int index)
{
    const int language = UiText::ValidLanguage(index);
    const QString reader = QStringLiteral("AngleMove");
    ui->label_7->setText(UiText::ForReader(language, reader, QStringLiteral("AngularMode")));
    ui->Error_3->setToolTip(UiText::ForReader(language, reader, QStringLiteral("AngularModeTips")));
}

void AngleMove::SetSliderValue(int value)
{
    const QSignalBlocker blocker(ui->AngleSet);
    ui->AngleSet->setValue(value);
}

void AngleMove::SetSliderEnabled(bool enabled)
{
    ui->AngleSet->setEnabled(enabled);
}

int AngleMove::CaptionTipsX() const
{
    return TipsXAfterCaption(ui->label_7, ui->Error_3, width());
}

void AngleMove::SetTipsPos(int x, int y)
{
    ui->Error_3->move(x, y);
}

void AngleMove::SetAngleText(const QString& text)
{
    ui->Keydown_6->setText(text);
}

void AngleMove::SetPreviewAngle(int degrees)
{
    ui->widget_2->SetAngle(degrees);
}

void AngleMove::ShowAngle(int value)
{
    ui->widget_2->SetAngle(value);
    ui->Keydown_6->setText(QString::number(value) + QStringLiteral("°"));
}

void AngleMove::on_AngleSet_sliderMoved(int position)
{
    ShowAngle(position);
}

void AngleMove::on_AngleSet_valueChanged(int value)
{
    ShowAngle(value);
    if (!ui->AngleSet->isEnabled()) {
        // A disabled slider holds what the device holds; this call shows it again.
        ui->AngleSet->setValue(CurrentSensorAngle);
        return;
    }
    if (!UserWritesEnabled || SensorPageRefreshing)
        return;
    if (SetDeviceAngle(uint8_t(value))) {
        CurrentSensorAngle = value;
        return;
    }
    const QSignalBlocker blocker(ui->AngleSet);
    ui->AngleSet->setEnabled(false);
    ShowAngle(CurrentSensorAngle);
    ui->AngleSet->setValue(CurrentSensorAngle);
}
