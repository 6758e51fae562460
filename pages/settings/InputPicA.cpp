#include "pages/settings/InputPicA.h"

#include "device/PostMsg.h"
#include "pages/settings/ClockSyncFrame.h"
#include "pages/settings/ScreenPictureLook.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_InputPicA.h"

#include <QButtonGroup>
#include <QTimer>

InputPicA::InputPicA(QWidget* parent)
    : QDialog(parent), ui(new Ui::InputPicA), pictureSlots(new QButtonGroup(this)), clockTimer(new QTimer(this))
{
    ui->setupUi(this);
    pictureFolder = StyleScreenPictureDialog(this, pictureSlots);
    clockTimer->setInterval(ClockTickMs);
    connect(clockTimer, &QTimer::timeout, this, &InputPicA::onEraseChipTimeTimer);
}

InputPicA::~InputPicA()
{
    clockTimer->stop();
    thread.requestInterruption();
    thread.wait();
    delete ui;
}

void InputPicA::StartClockSync(bool start)
{
    if (!start)
        return;
    clockPaused = false;
    clockTicks = 0;
    clockTimer->start();
    StartUsbChanged(FindReceiverDevicesCallback, 600);
}

bool InputPicA::ClockSyncRunning() const
{
    return clockTimer->isActive();
}

std::optional<QByteArray> InputPicA::SendClockSyncPacket(const QByteArray& frame)
{
    return ExchangeClockSyncFrame(frame, LibraryClockSyncExchange);
}

void InputPicA::onEraseChipTimeTimer()
{
    if (clockPaused) {
        clockTicks = 0;
        return;
    }
    if (++clockTicks < ClockTicksPerSync)
        return;
    clockTicks = 0;
    const QStringList paths = ReceiverPathList.Get();
    // No receiver known or none that opens: this round sends nothing; the next is ten seconds on.
    if (paths.isEmpty() || !VidEzorarA_OpenDevice(paths.first().toLatin1().constData()))
        return;
    SendClockSyncPacket(ClockSyncFrame(QDateTime::currentDateTime()));
}

void InputPicA::SlotAllLanguage(int index)
{
    Q_UNUSED(index)
}

void InputPicA::on_CloseButton_clicked()
{
    emit PostMsg::Instance()->SigButtonCheck();
    close();
}

void InputPicA::on_Input_clicked() {}
