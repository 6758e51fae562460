#include "pages/variants/StopCloseTimeB.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/SleepTimeCodes.h"
#include "platform/AppPaths.h"
#include "ui_StopCloseTimeB.h"
#include "widgets/PanelLook.h"

#include <QSignalBlocker>

StopCloseTimeB::StopCloseTimeB(QWidget* parent) : QFrame(parent), ui(new Ui::StopCloseTimeB)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    ui->spinBoxA->setStyleSheet(PanelLook::NumberBoxStyle());
    ui->StopClose->setStyleSheet(PanelLook::SlimSliderStyle(pictureFolder));
}

StopCloseTimeB::~StopCloseTimeB()
{
    delete ui;
}

int StopCloseTimeB::SleepDisplayNumber(int position)
{
    return ::SleepDisplayNumber(position);
}

void StopCloseTimeB::Show(int position)
{
    ui->spinBoxA->setSuffix(SleepDisplayInMinutes(position) ? minutesSuffix : secondsSuffix);
    ui->spinBoxA->setValue(SleepDisplayNumber(position));
}

void StopCloseTimeB::SetValue(int index)
{
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setValue(index + 1);
    Show(index + 1);
}

void StopCloseTimeB::SetUnitText(int index, const QString& text)
{
    if (index == 0)
        secondsSuffix = QString(text).remove(QStringLiteral("10"));
    else if (index == 5)
        minutesSuffix = QString(text).remove(QStringLiteral("15"));
    else
        return;
    Show(ui->StopClose->value());
}

void StopCloseTimeB::on_StopClose_sliderMoved(int position)
{
    Show(position);
}

void StopCloseTimeB::on_StopClose_valueChanged(int value)
{
    Show(value);
    // A refused write (mouse offline) is told by the setter; the slider keeps the new position.
    if (UserWritesEnabled && !LightPageRefreshing)
        SetDeviceSleepTime(uint8_t(SleepTimeCode(value - 1)));
}
