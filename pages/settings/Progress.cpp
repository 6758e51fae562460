#include "pages/settings/Progress.h"

#include "device/ConnectionState.h"
#include "device/PostMsg.h"
#include "pages/settings/UpDateRepair.h"
#include "ui_Progress.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

#include <QKeySequence>

Progress::Progress(QWidget* parent) : QDialog(parent), ui(new Ui::Progress)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->AddDelayTimeA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    ui->progressBar_2->setStyleSheet(UpDateRepair::ProgressBarStyle());

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigCloseProgress, this, &Progress::SlotCloseProgress);
    connect(bus, &PostMsg::SigAllLanguage, this, &Progress::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

Progress::~Progress()
{
    delete ui;
}

void Progress::SlotAllLanguage(int index)
{
    const int language = UiText::ValidLanguage(index);
    const QString reader = QStringLiteral("Progress");
    upgradingText = UiText::ForReader(language, reader, QStringLiteral("DialogUpgradeUpgrading"));
    failText = UiText::ForReader(language, reader, QStringLiteral("DialogUpgradeFail"));
    successText = UiText::ForReader(language, reader, QStringLiteral("DialogUpgradeSuccess"));
    ui->NewHong->setText(UiText::ForReader(language, reader, QStringLiteral("OK")));
    ShowState(shown, percent);
}

void Progress::ShowState(Shown state, int value)
{
    shown = state;
    percent = value;
    switch (state) {
    case Shown::Upgrading:
        ui->label->setText(upgradingText + QStringLiteral(": ") + QString::number(value) + QStringLiteral("%"));
        break;
    case Shown::Failed:
        ui->label->setText(failText);
        break;
    case Shown::Succeeded:
        ui->label->setText(successText);
        break;
    }
}

void Progress::SlotProgress(int schedue, int Discrib)
{
    ui->progressBar_2->setValue(schedue);
    switch (Discrib) {
    case 0:
        ShowState(Shown::Upgrading, schedue);
        break;
    case 1:
    case 2:
        ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));
        ShowState(Discrib == 1 ? Shown::Failed : Shown::Succeeded, schedue);
        if (Discrib == 2)
            ui->progressBar_2->setValue(100);
        ui->NewHong->show();
        break;
    case 3:
        ui->NewHong->hide();
        break;
    case 4:
        ui->NewHong->hide();
        ShowState(Shown::Upgrading, 0);
        ui->progressBar_2->setValue(0);
        break;
    default:
        break;
    }
}

void Progress::CloseAndReset()
{
    QDialog::reject();
    ShowState(Shown::Upgrading, 0);
    ui->progressBar_2->setValue(0);
}

void Progress::SlotCloseProgress()
{
    if (FirmwareUpdateInProgress)
        return;
    CloseAndReset();
}

void Progress::Finish()
{
    if (shown == Shown::Failed) {
        emit PostMsg::Instance()->SigChangeMainDialog(0);
        QDialog::reject();
        return;
    }
    CloseAndReset();
    emit PostMsg::Instance()->SigContinue(0);
}

void Progress::on_CloseButton_clicked()
{
    // While the upgrade writes, closing would hide the only sign that it runs.
    if (FirmwareUpdateInProgress)
        return;
    Finish();
}

void Progress::reject()
{
    on_CloseButton_clicked();
}

void Progress::on_NewHong_clicked()
{
    Finish();
}
