#include "pages/macro/AddDelayTime.h"

#include "device/PostMsg.h"
#include "ui_AddDelayTime.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

AddDelayTime::AddDelayTime(QWidget* parent) : QDialog(parent), ui(new Ui::AddDelayTime)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->AddDelayTimeA);
    const QString confirm =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    ui->NewHong->setStyleSheet(confirm);
    ui->NewHong_2->setStyleSheet(confirm);
    ui->spinBox->setStyleSheet(NoticeLook::FieldStyle(QStringLiteral("QSpinBox")));
    ui->spinBox->setFocus(Qt::ActiveWindowFocusReason);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &AddDelayTime::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    NoticeLook::ActivateWhenShown(this);
}

AddDelayTime::~AddDelayTime()
{
    delete ui;
}

void AddDelayTime::on_CloseButton_clicked()
{
    Confirmed = false;
    close();
}

void AddDelayTime::on_NewHong_clicked()
{
    Confirmed = true;
    DelayValue = ui->spinBox->value();
    close();
}

void AddDelayTime::on_NewHong_2_clicked()
{
    Confirmed = false;
    close();
}

void AddDelayTime::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("AddDelayTime"), QStringLiteral("EnterDelay")));
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("AddDelayTime"), QStringLiteral("OK")));
    ui->NewHong_2->setText(UiText::ForReader(index, QStringLiteral("AddDelayTime"), QStringLiteral("Cancel")));
}
