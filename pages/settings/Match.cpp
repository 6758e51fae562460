#include "pages/settings/Match.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DialogChangeLists.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Match.h"
#include "widgets/NoticeLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QEvent>

std::atomic<int> PairResult{0};
std::atomic<bool> PairingActive{false};
std::atomic<bool> SavedDeviceWindowFlag{false};

namespace {

enum PairState { Idle = 0, Pairing = 1, Paired = 2, Failed = 3 };

// A receiver that stays attached and never answers must not keep the user in the dialog.
int attemptTimeLimitMs = 60000;

// The device window was active when the attempt started: it is active again now that the attempt ended.
void GiveDeviceWindowFlagBack()
{
    if (SavedDeviceWindowFlag.exchange(false))
        DeviceWindowActive = 1;
}

// Ends the running attempt with its result. The receiver answers every status read until the
// connection closes, and the dialog's own checks run beside its answers: the first result of an
// attempt is its result, and false tells a later one that the attempt had ended already.
// The attempt is marked over only once the result is written, so whoever sees it over sees its result.
bool EndAttempt(PairState result, bool giveDeviceWindowBack)
{
    int running = Pairing;
    if (!PairResult.compare_exchange_strong(running, result))
        return false;
    if (giveDeviceWindowBack)
        GiveDeviceWindowFlagBack();
    else
        SavedDeviceWindowFlag = false;
    PairingActive = false;
    return true;
}

} // namespace

void PairStatusCallback(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t dataLength)
{
    const int code = header && headerLength > 1 ? header[1] : 0;
    qCDebug(kestroTrace) << "in2" << code;
    if (code != HIDUSB_REPORT_PAIR_STATUS || !data || dataLength < 1)
        return;
    const int status = data[0];
    if (status != 2 && status != 3)
        return;
    // The state is written before the dialog is told, so that its slots see the attempt ended.
    if (!PairingActive || !EndAttempt(status == 3 ? Paired : Failed, true))
        return;
    qCDebug(kestroTrace) << (status == 3 ? "success" : "fail");
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigTimerStop();
    emit bus->SigButtonEnable(status == 3 ? 1 : 0);
}

Match::Match(QWidget* parent) : QDialog(parent), ui(new Ui::Match)
{
    ui->setupUi(this);
    NoticeLook::SetNoticeFlags(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(width(), height());

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Setting/");
    buttonColour = ThemeColor(QStringLiteral("ButtonColor"));
    const QString labelColour = ThemeColor(QStringLiteral("LabelColor"));
    const QString plain =
        QStringLiteral("border:0px;background-position:center;background-repeat:no-repeat;background-image: url(");
    ui->MatchA->setStyleSheet(QStringLiteral("#MatchA{") + plain + pictureFolder + QStringLiteral("BackSecondPage.png);}"));
    ui->toolButton_2->setStyleSheet(QStringLiteral("QToolButton{") + plain + pictureFolder
                                    + QStringLiteral("Picture.png);color: rgb(255, 255, 255);}"));
    ui->CloseButton->setStyleSheet(QStringLiteral("QToolButton{") + plain + pictureFolder
                                   + QStringLiteral("CloseSecondPage.png);}QToolButton:hover{background-image: url(")
                                   + pictureFolder + QStringLiteral("CloseSecondPageHover.png);}"
                                                                    "QToolButton:pressed{background-image: url(")
                                   + pictureFolder + QStringLiteral("CloseSecondPageClick.png);}"));
    ui->MatchButton->setStyleSheet(ButtonStyle(QStringLiteral("Pair.png"), buttonColour));
    ui->textEdit->setStyleSheet(QStringLiteral("QTextEdit{border:0px;background:transparent;color: rgb(") + labelColour
                                + QStringLiteral(");}"));
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColour + QStringLiteral(");}"));
    ui->textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->textEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    currentPath = CurrentDeviceInfo.Get().path;
    deviceTimer.setInterval(100);
    pairStatusTimer.setInterval(1000);
    textTimer.setInterval(500);
    attemptLimit.setSingleShot(true);
    connect(&deviceTimer, &QTimer::timeout, this, &Match::onUSBTimeupDestroy);
    connect(&pairStatusTimer, &QTimer::timeout, this, &Match::onPairTimeupDestroy);
    connect(&textTimer, &QTimer::timeout, this, &Match::onTextTimeupDestroy);
    connect(&attemptLimit, &QTimer::timeout, this, &Match::onAttemptTimeLimit);

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigTimerStop, this, &Match::SlotStopTimer);
    connect(bus, &PostMsg::SigButtonEnable, this, &Match::SlotButtonenable);
    connect(bus, &PostMsg::SigAllLanguage, this, &Match::SlotAllLanguage);
    connect(ui->CloseButton, &QToolButton::clicked, this, &Match::WindowClosedSet);
    NoticeLook::ScaleFonts(this);
    buttonFont = ui->MatchButton->font();
    SlotAllLanguage(UiLanguage);
    ui->label->hide();
    ui->textEdit->hide();
}

Match::~Match()
{
    // Nothing leaves an attempt running behind a dialog that is gone.
    if (PairingActive.exchange(false))
        GiveDeviceWindowFlagBack();
    delete ui;
}

void Match::Open(bool fromDeviceWindow, const std::function<void(QWidget* dialog)>& place)
{
    PairFromDeviceWindow = fromDeviceWindow;
    bool deviceWindowShows = fromDeviceWindow;
    {
        Match pairing(nullptr);
        // The device can leave while the dialog is open, and the shell then shows the selection page,
        // which has its own notices: the device window is not to be given back then.
        connect(PostMsg::Instance(), &PostMsg::SigChangeMainDialog, &pairing, [&deviceWindowShows](int index) {
            if (index == 0) {
                deviceWindowShows = false;
                SavedDeviceWindowFlag = false;
            }
        });
        pairing.InitPairDevice();
        if (place)
            place(&pairing);
        pairing.exec();
    }
    // An attempt hands the library PairStatusCallback for the device's reports.
    if (deviceWindowShows)
        GiveDeviceWindowCallbacksBack();
    else
        GiveSelectionPageCallbacksBack();
}

void Match::SetAttemptTimeLimit(int milliseconds)
{
    attemptTimeLimitMs = milliseconds;
}

int Match::AttemptTimeLimit()
{
    return attemptTimeLimitMs;
}

QString Match::ButtonStyle(const QString& picture, const QString& colour) const
{
    return QStringLiteral("QPushButton{border:0px;background-position:center;background-repeat:no-repeat;"
                          "background-image: url(")
        + pictureFolder + picture + QStringLiteral(");color: rgb(") + colour + QStringLiteral(");}");
}

void Match::ShowButton(const QString& text, const QString& picture, const QString& colour)
{
    const QString style = ButtonStyle(picture, colour);
    // The device tick repeats the look ten times a second: only a change restyles the button.
    if (ui->MatchButton->styleSheet() != style)
        ui->MatchButton->setStyleSheet(style);
    if (!text.isNull())
        SetButtonText(text);
}

void Match::SetButtonText(const QString& text)
{
    // The button keeps its size: a longer text (the Russian fail and success texts) gets a smaller font.
    QFont font = buttonFont;
    const int room = ui->MatchButton->width() - 10;
    while (font.pointSize() > 7 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSize(font.pointSize() - 1);
    if (ui->MatchButton->font() != font)
        ui->MatchButton->setFont(font);
    ui->MatchButton->setText(text);
}

void Match::ShowFailed()
{
    ShowButton(failText, QStringLiteral("PairFail.png"), buttonColour);
}

void Match::InitPairDevice()
{
    ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
    textStep = 0;
    PairResult = Idle;
    // Whatever an earlier dialog left, this one starts with no attempt running.
    PairingActive = false;
    SavedDeviceWindowFlag = false;
    pairingPossible = false;
    ui->MatchButton->setEnabled(true);
    ShowButton(startText, QStringLiteral("Pair.png"), buttonColour);

    DeviceAllInfo device;
    if (DeviceWindowActive == 1) {
        device = CurrentDeviceInfo.Get();
        device.path = currentPath;
    } else if (PairDeviceChosen) {
        device = PairDeviceInfo;
    } else if (!ListedDevices.isEmpty()) {
        device = ListedDevices.first();
    }
    pairPath = device.path;
    pairVid = device.VID;
    pairPid = device.PID;
    pairWired = device.wired;
    cid = static_cast<uint8_t>(ConfigSetting::Instance()->GetValue(QStringLiteral("Option"), QStringLiteral("CID")).toInt());
    deviceTimer.start();
}

void Match::onUSBTimeupDestroy()
{
    if (!PairingActive) {
        // A device on its cable cannot be paired (nor can no device): the note shows instead of the
        // instructions.
        pairingPossible = !pairWired && !pairPath.isEmpty();
        ui->label->setVisible(!pairingPossible);
        ui->textEdit->setVisible(pairingPossible);
    }
    ui->MatchButton->setEnabled(pairingPossible);
    if (!pairingPossible)
        ShowButton(QString(), QStringLiteral("Pair.png"), QStringLiteral("0,0,0"));
}

void Match::on_MatchButton_clicked()
{
    if (PairResult == Paired || !pairingPossible)
        return;
    PairResult = Pairing;
    textTimer.start();
    ShowButton(pairingText, QStringLiteral("Pair.png"), buttonColour);
    // The device connection leaves the device alone while the receiver pairs.
    if (DeviceWindowActive == 1) {
        DeviceWindowActive = 0;
        SavedDeviceWindowFlag = true;
    }
    // Each press is a new attempt, with a connection of its own.
    PairingActive = false;
    StartPairing();
}

void Match::StartPairing()
{
    if (!PairingActive) {
        qCDebug(kestroTrace) << "Enter";
        PairingActive = true;
        pairStatusTimer.start();
        attemptLimit.start(attemptTimeLimitMs);
        const QByteArray path = pairPath.toUtf8();
        UsbServerC_Start(path.constData(), path.constData(), PairStatusCallback);
    }
    UsbServer_EnterDonglePairOnlyCid(cid);
}

void Match::onPairTimeupDestroy()
{
    const bool asked = UsbServer_ReadDonglePairStatus() != 0;
    const QByteArray vid = pairVid.toLatin1();
    const QByteArray pid = pairPid.toLatin1();
    int count = 5;
    const char* const* paths = VidEzorarA_FindHidDevicesByDefaultDeviceId(vid.constData(), pid.constData(), &count);
    bool present = false;
    for (int i = 0; paths && i < count && i < 5 && !present; ++i)
        present = paths[i] && QString::fromLocal8Bit(paths[i]) == pairPath;
    if (present && asked)
        return;
    // The mouse or the receiver was taken away: the attempt failed, and the device window is not made
    // active again, its device is gone. A receiver that is there but does not take the read was
    // unplugged and plugged back in between two reads (or the attempt's connection was closed): it is
    // not in pairing mode and its answer would never come. That attempt failed too; the device window,
    // whose device is there, is active again.
    FailAttempt(present);
}

void Match::onAttemptTimeLimit()
{
    if (PairingActive)
        qCDebug(kestroTrace) << "no answer";
    FailAttempt(true);
}

void Match::FailAttempt(bool giveDeviceWindowBack)
{
    if (!PairingActive || !EndAttempt(Failed, giveDeviceWindowBack))
        return;
    StopAttemptTimers();
    ShowFailed();
}

void Match::onTextTimeupDestroy()
{
    if (textStep == 4)
        textStep = 0;
    SetButtonText(pairingText + QString(int(textStep), QLatin1Char('.')));
    ++textStep;
}

void Match::StopAttemptTimers()
{
    pairStatusTimer.stop();
    textTimer.stop();
    attemptLimit.stop();
}

void Match::SlotStopTimer()
{
    // A stop that arrives after a new press belongs to the attempt before it.
    if (PairingActive)
        return;
    StopAttemptTimers();
}

void Match::SlotButtonenable(int index)
{
    if (PairingActive)
        return;
    if (index == 0) {
        ShowFailed();
    } else if (index == 1) {
        ShowButton(successText, QStringLiteral("PairSuccess.png"), buttonColour);
        ui->MatchButton->setEnabled(false);
    }
}

void Match::WindowClosedSet()
{
    // While an attempt runs the dialog stays: every attempt ends by itself.
    if (PairingActive)
        return;
    deviceTimer.stop();
    StopAttemptTimers();
    QDialog::reject();
}

void Match::reject()
{
    WindowClosedSet();
}

void Match::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        // The form's own texts are placeholders: the language in use stays shown.
        SlotAllLanguage(UiLanguage);
    }
}

void Match::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("Match");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("NoPair")));
    // At the size of the form's own instructions.
    ui->textEdit->setHtml(QStringLiteral("<span style=\" font-size:10pt;\">")
                          + UiText::ForReader(index, reader, QStringLiteral("DialogPairTips")).toHtmlEscaped()
                          + QStringLiteral("</span>"));
    startText = UiText::ForReader(index, reader, QStringLiteral("StartPair"));
    SetButtonText(startText);
    pairingText = UiText::ForReader(index, reader, QStringLiteral("Pairing"));
    failText = UiText::ForReader(index, reader, QStringLiteral("PairFail"));
    successText = UiText::ForReader(index, reader, QStringLiteral("PairSuccess"));
}
