#include "pages/advanced/StopCloseTime.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "ui_StopCloseTime.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"

#include <QSignalBlocker>

const int StopCloseTime::SleepTimeCodes[StopCloseTime::RowCount] = {1, 3, 6, 12, 18, 30, 60, 90, 180, 210, 240};

StopCloseTime::StopCloseTime(QWidget* parent) : QFrame(parent), ui(new Ui::StopCloseTime)
{
    ui->setupUi(this);
    // The panel is only its combo box: a drawn frame would box the empty space beside it.
    setFrameShape(QFrame::NoFrame);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    ApplyComboBoxLook(ui->StopClose, pictureFolder);
    ui->StopClose->setMaxVisibleItems(15);
    currentRow = ui->StopClose->currentIndex();
}

StopCloseTime::~StopCloseTime()
{
    delete ui;
}

int StopCloseTime::CodeOfRow(int row)
{
    return row >= 0 && row < RowCount ? SleepTimeCodes[row] : -1;
}

int StopCloseTime::RowOfCode(int code)
{
    for (int row = 0; row < ItemCount; ++row) {
        if (SleepTimeCodes[row] == code)
            return row;
    }
    return -1;
}

void StopCloseTime::SetCurrentIndex(int row)
{
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setCurrentIndex(row);
    currentRow = row;
}

void StopCloseTime::SetItemText(int row, const QString& text)
{
    ui->StopClose->setItemText(row, text);
}

void StopCloseTime::on_StopClose_activated(int index)
{
    if (!UserWritesEnabled || ButtonPageRefreshing)
        return;
    const int code = CodeOfRow(index);
    if (code < 0)
        return;
    if (SetDeviceSleepTime(uint8_t(code))) {
        currentRow = index;
        return;
    }
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setCurrentIndex(currentRow);
}
