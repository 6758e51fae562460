#include "pages/buttons/DebounceTime.h"

#include "widgets/LessThree.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_DebounceTime.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"

#include <QSignalBlocker>

DebounceTime::DebounceTime(QWidget* parent) : QFrame(parent), ui(new Ui::DebounceTime)
{
    ui->setupUi(this);
    // The panel is only its combo box: a drawn frame would box the empty space beside it.
    setFrameShape(QFrame::NoFrame);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Buttoninterface/");
    ApplyComboBoxLook(ui->Debunce, pictureFolder);
    ui->Debunce->setMaxVisibleItems(5);
}

DebounceTime::~DebounceTime()
{
    delete ui;
}

int DebounceTime::CurrentIndex() const
{
    return ui->Debunce->currentIndex();
}

QString DebounceTime::CurrentText() const
{
    return ui->Debunce->currentText();
}

void DebounceTime::SetItemText(int index, const QString& suffix)
{
    ui->Debunce->setItemText(index, QString::number(index) + suffix);
}

void DebounceTime::SetIndex(int index)
{
    // A value the panel has no item for is not shown: the combo would otherwise lose its choice.
    if (index < 0 || index >= ItemCount)
        return;
    lastAccepted = index;
    ui->Debunce->setCurrentIndex(index);
    emit PostMsg::Instance()->SigDebunce(ui->Debunce->currentText());
}

void DebounceTime::on_Debunce_currentIndexChanged(int index)
{
    if (!UserWritesEnabled || index < 0)
        return;
    if (!SetDeviceDebounceTime(uint8_t(index))) {
        const QSignalBlocker blocker(ui->Debunce);
        ui->Debunce->setCurrentIndex(lastAccepted);
        return;
    }
    lastAccepted = index;
    emit PostMsg::Instance()->SigDebunce(ui->Debunce->currentText());
    // The mouse needs a moment to take a short debounce time.
    if (index <= 7 && !ButtonPageRefreshing)
        ShowWaitNotice();
}

void DebounceTime::ShowWaitNotice()
{
    LessThree notice;
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    notice.move(corner.x() + (width() - notice.width()) / 2 - 409, corner.y() + (height() - notice.height()) / 2 - 202);
    notice.exec();
}
