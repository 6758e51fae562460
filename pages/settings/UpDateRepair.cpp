#include "pages/settings/UpDateRepair.h"

#include "device/ConnectionState.h"
#include "device/PostMsg.h"
#include "pages/settings/UpgradeRunState.h"
#include "ui_UpDateRepair.h"
#include "widgets/NoticeLook.h"
#include "widgets/QuitHolds.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"
#include "widgets/UpDateWarning.h"

#include <QPointer>

UpDateRepair* UpDateRepairInstance = nullptr;

UpDateRepair::UpDateRepair(QWidget* parent) : QDialog(parent), ui(new Ui::UpDateRepair)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::PictureFolder();
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);

    ui->AutoRepair->setStyleSheet(QStringLiteral("#AutoRepair{border-image: url(") + pictureFolder
                                  + QStringLiteral("BackGround.png);}"));
    ui->CloseButton->setStyleSheet(NoticeLook::CloseButtonStyle(pictureFolder));
    ui->ToolText->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
                                + QStringLiteral(");background-color:rgba(0,0,0,0);}"));
    // The dialog says one thing at a time, in its one message line: the warning of a run shows there
    // while the run writes, never beside another message.
    ui->ToolText->hide();
    SetMessageTone(MessageTone::Notice);
    ui->progressBar_2->setStyleSheet(ProgressBarStyle());
    const QString buttonStyle = QStringLiteral("QToolButton{border:0px;color: rgb(")
        + ThemeColor(QStringLiteral("ButtonColor")) + QStringLiteral(");border-image: url(") + pictureFolder
        + QStringLiteral("ok_nr.png);}QToolButton:hover{border-image: url(") + pictureFolder
        + QStringLiteral("ok_enter.png);}");
    ui->NewHong->setStyleSheet(buttonStyle);
    ui->NewHong_2->setStyleSheet(buttonStyle);

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigAutoRepair, this, &UpDateRepair::SlotAutoRepair);
    connect(bus, &PostMsg::SigAutoRepairProgress, this, &UpDateRepair::SlotAutoRepairProgress);
    connect(bus, &PostMsg::SigProgress, this, &UpDateRepair::SlotProgress);
    connect(bus, &PostMsg::SigRepairCheckUpdate, this, &UpDateRepair::SlotRepairCheckUpdate);
    connect(bus, &PostMsg::SigAllLanguage, this, &UpDateRepair::SlotAllLanguage);

    ui->NewHong->hide();
    ui->NewHong_2->hide();
    ui->ToolText_2->hide();
    ui->progressBar_2->hide();
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    HoldQuitWhileRunning();
}

void UpDateRepair::HoldQuitWhileRunning()
{
    // Lives as long as the program: a run may outlive any one dialog's page.
    static QObject* const owner = new QObject;
    static bool added = false;
    if (added)
        return;
    added = true;
    QuitHolds::Add(owner, [](QWidget* window) {
        if (!UpgradeStage::RunUnderWay())
            return true;
        // Quitting now would leave a device half written in its boot loader: the user is told, and
        // the program stays until the run has ended.
        static QPointer<UpDateWarning> notice;
        UpDateWarning::ShowAlone(
            notice,
            [](int language) {
                return UiText::ForReader(language, QStringLiteral("UpDateRepair"), QStringLiteral("UpgradeRunning"));
            },
            window);
        return false;
    });
}

bool UpDateRepair::MayClose()
{
    return !UpgradeRunState.progressSeen && !UpgradeStage::RunUnderWay();
}

void UpDateRepair::reject()
{
    on_CloseButton_clicked();
}

UpDateRepair::~UpDateRepair()
{
    delete ui;
}

QString UpDateRepair::ProgressBarStyle()
{
    // The written part in the theme's accent, as the sliders show a value.
    return QStringLiteral("QProgressBar{border:2px solid grey;border-radius:5px;background-color:rgba(0,0,0,0);"
                          "color:rgb(255,255,255);text-align:center;}"
                          "QProgressBar::chunk{background-color:rgb(")
        + ThemeColor(QStringLiteral("SliderColor")) + QStringLiteral(");width:20px;}");
}

bool UpDateRepair::ShowsRun() const
{
    return !ui->progressBar_2->isHidden();
}

void UpDateRepair::SetShortcuts()
{
    ui->NewHong_2->setShortcut(QKeySequence(Qt::Key_Return));
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Escape));
}

void UpDateRepair::SetMessageTone(MessageTone tone)
{
    // The theme's text colour; red only for a failure or a reason the upgrade cannot go on.
    const QString colour = tone == MessageTone::Warning ? QStringLiteral("255,90,74") : ThemeColor(QStringLiteral("LabelColor"));
    ui->ToolText_2->setStyleSheet(QStringLiteral("#ToolText_2{color: rgb(") + colour
                                  + QStringLiteral(");background-color:rgba(0,0,0,0);}"));
}

void UpDateRepair::ShowButtons(const QString& confirm, bool withCancel)
{
    SetShortcuts();
    ui->NewHong_2->setText(confirm);
    ui->NewHong_2->setEnabled(true);
    ui->NewHong_2->show();
    ui->NewHong->setText(cancelText);
    ui->NewHong->setEnabled(true);
    ui->NewHong->setVisible(withCancel);
    // A lone button stands in the middle, a pair side by side.
    ui->NewHong_2->move(withCancel ? 90 : (ui->AutoRepair->width() - ui->NewHong_2->width()) / 2, ui->NewHong_2->y());
    ui->CloseButton->setEnabled(true);
    ui->CloseButton->show();
}

void UpDateRepair::ResetView()
{
    ShowButtons(startText, true);
    ui->ToolText_2->clear();
    SetMessageTone(MessageTone::Notice);
    ui->ToolText_2->show();
    ui->progressBar_2->setValue(0);
    ui->progressBar_2->hide();
}

void UpDateRepair::ShowReadyView()
{
    ShowButtons(startText, true);
    ui->ToolText_2->setText(readyText);
    SetMessageTone(MessageTone::Notice);
    ui->ToolText_2->show();
    ui->progressBar_2->hide();
}

void UpDateRepair::ShowMessageView(MessageTone tone)
{
    // Nothing to choose: the message and the one button that closes it.
    ShowButtons(okText, false);
    SetMessageTone(tone);
    ui->ToolText_2->show();
    ui->progressBar_2->hide();
}

void UpDateRepair::ShowUpgradingView()
{
    SetShortcuts();
    ui->NewHong_2->hide();
    ui->NewHong->hide();
    ui->NewHong->setEnabled(false);
    ui->CloseButton->setEnabled(false);
    ui->CloseButton->show();
    ui->ToolText_2->setText(warnText);
    SetMessageTone(MessageTone::Notice);
    ui->ToolText_2->show();
    ui->progressBar_2->show();
}

void UpDateRepair::ShowResultView(bool success)
{
    // The run is over: its result and the button that closes the dialog; the bar stays where the
    // run left it.
    ShowButtons(okText, false);
    ui->ToolText_2->setText(success ? successText : failText);
    SetMessageTone(success ? MessageTone::Notice : MessageTone::Warning);
    ui->ToolText_2->show();
    if (success)
        ui->progressBar_2->setValue(100);
}

void UpDateRepair::SetToolText(const QString& text)
{
    ui->ToolText_2->setText(text);
}

void UpDateRepair::SlotAutoRepair(int index)
{
    ShowResultView(index == 0);
}

void UpDateRepair::SlotAutoRepairProgress(int index)
{
    ui->progressBar_2->setValue(index);
}

void UpDateRepair::SlotProgress(int schedue, int Discrib)
{
    switch (Discrib) {
    case 0:
        ui->progressBar_2->setValue(schedue);
        break;
    case 1:
    case 2:
    case 6:
        ShowResultView(Discrib == 2);
        break;
    case 5:
        ShowResultView(false);
        ui->progressBar_2->setValue(50);
        break;
    case 3:
        ui->NewHong->hide();
        break;
    case 4:
        ui->NewHong->hide();
        ui->progressBar_2->setValue(0);
        break;
    default:
        break;
    }
}

void UpDateRepair::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("UpDateRepair");
    auto text = [&](const char* key) { return UiText::ForReader(index, reader, QLatin1String(key)); };
    warnText = text("WarnUpdate");
    ui->ToolText->setText(warnText);
    startText = text("DialogUpgradeStart");
    notDeviceText = text("NotDevice");
    sameDeviceText = text("SameDevice");
    failText = text("DialogUpgradeFail");
    successText = text("DialogUpgradeSuccess");
    cancelText = text("Cancel");
    okText = text("OK");
    noReceiverText = text("NoRecieve");
    noUsbText = text("NoUSB");
    error1Text = text("Error1");
    errorText = text("Error");
    errorFileText = text("ErrorFile");
    multiDongleText = text("MultiDongle");
    multiMouseText = text("MultiMouse");
    readyText = text("ReadyUpdate");
}

void UpDateRepair::on_CloseButton_clicked()
{
    // A stage that writes a device is not left behind: the dialog stays until its result.
    if (!MayClose())
        return;
    if (!ui->progressBar_2->isHidden()) {
        if (ui->progressBar_2->value() >= 100)
            emit PostMsg::Instance()->SigSetNewVer();
        else if (DeviceWindowActive == 1)
            emit PostMsg::Instance()->SigChangeMainDialog(0);
    }
    // As a close would end, without coming back here through it.
    QDialog::reject();
}

void UpDateRepair::on_NewHong_clicked()
{
    on_CloseButton_clicked();
}

void UpDateRepair::on_NewHong_2_clicked()
{
    if (!MayClose())
        return;
    if (!ui->progressBar_2->isHidden() || ui->NewHong_2->text() == okText) {
        on_CloseButton_clicked();
        return;
    }
    if (DeviceWindowActive == 1)
        emit PostMsg::Instance()->SigUpdateStart();
    else
        StartUpgrade();
}
