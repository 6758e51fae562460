#include "pages/variants/DebouncetimeC.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "ui_DebouncetimeC.h"
#include "widgets/PanelLook.h"

namespace {
const int Shortest = 1;
const int Longest = 20;
}

DebouncetimeC::DebouncetimeC(QWidget* parent) : QFrame(parent), ui(new Ui::DebouncetimeC)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    ui->spinBoxA->setStyleSheet(PanelLook::NumberBoxStyle());
    ui->ReduceLevelA->setStyleSheet(PanelLook::StepButtonStyle(QStringLiteral("ReduceLevelA"), pictureFolder, QStringLiteral("Reduce.png")));
    ui->AddLevelA->setStyleSheet(PanelLook::StepButtonStyle(QStringLiteral("AddLevelA"), pictureFolder, QStringLiteral("Add.png")));
}

DebouncetimeC::~DebouncetimeC()
{
    delete ui;
}

void DebouncetimeC::SetSuffix(const QString& suffix)
{
    ui->spinBoxA->setSuffix(suffix);
}

void DebouncetimeC::Show(int value)
{
    ui->spinBoxA->setValue(value);
    // A refused write (mouse offline) is told by the setter; the box keeps the new number.
    if (UserWritesEnabled)
        SetDeviceDebounceTime(uint8_t(value));
}

void DebouncetimeC::on_AddLevelA_clicked()
{
    const int value = ui->spinBoxA->value();
    if (value >= Longest)
        return;
    Show(value + 1);
}

void DebouncetimeC::on_ReduceLevelA_clicked()
{
    // The box starts at 0, which is never a debounce time: less does nothing until it shows 2.
    const int value = ui->spinBoxA->value();
    if (value <= Shortest)
        return;
    Show(value - 1);
}
