#include "pages/variants/DebouncetimeB.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "ui_DebouncetimeB.h"
#include "widgets/PanelLook.h"

#include <QSignalBlocker>

DebouncetimeB::DebouncetimeB(QWidget* parent) : QFrame(parent), ui(new Ui::DebouncetimeB)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    ui->spinBoxA->setStyleSheet(PanelLook::NumberBoxStyle());
    ui->Debunce->setStyleSheet(PanelLook::SlimSliderStyle(pictureFolder));
}

DebouncetimeB::~DebouncetimeB()
{
    delete ui;
}

void DebouncetimeB::SetValue(int value)
{
    const QSignalBlocker blocker(ui->Debunce);
    ui->Debunce->setValue(value);
    ui->spinBoxA->setValue(value);
}

void DebouncetimeB::SetSuffix(const QString& suffix)
{
    ui->spinBoxA->setSuffix(suffix);
}

void DebouncetimeB::on_Debunce_sliderMoved(int position)
{
    ui->spinBoxA->setValue(position);
}

void DebouncetimeB::on_Debunce_valueChanged(int value)
{
    ui->spinBoxA->setValue(value);
    // A refused write (mouse offline) is told by the setter; the slider keeps the user's value.
    if (UserWritesEnabled)
        SetDeviceDebounceTime(uint8_t(value));
}
