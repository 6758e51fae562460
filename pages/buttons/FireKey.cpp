#include "pages/buttons/FireKey.h"

#include "device/PostMsg.h"
#include "ui_FireKey.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

FireKey::FireKey(QWidget* parent) : QDialog(parent), ui(new Ui::FireKey)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::PictureFolder();
    NoticeLook::SetNoticeFlags(this);
    // The background is stretched over the frame: the dialog is larger than the notices' picture.
    ui->FireKeyA->setStyleSheet(QStringLiteral("#FireKeyA{border:0px;border-image: url(") + pictureFolder
                                + QStringLiteral("BackGround.png);}"));
    for (QLabel* label : {ui->label, ui->label_2, ui->label_3})
        label->setStyleSheet(NoticeLook::LabelStyle());
    for (QSpinBox* field : {ui->Count, ui->Time})
        field->setStyleSheet(NoticeLook::FieldStyle(QStringLiteral("QSpinBox")));
    const QString confirm =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    ui->NewHong->setStyleSheet(confirm);
    ui->NewHong_2->setStyleSheet(confirm);
    ui->CloseButton->setStyleSheet(NoticeLook::CloseButtonStyle(pictureFolder));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &FireKey::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    NoticeLook::ActivateWhenShown(this);
}

FireKey::~FireKey()
{
    delete ui;
}

void FireKey::SetInterval(int value)
{
    ui->Time->setValue(value);
}

void FireKey::SetCount(int value)
{
    ui->Count->setValue(value);
}

void FireKey::on_CloseButton_clicked()
{
    IsOk = false;
    close();
}

void FireKey::on_NewHong_2_clicked()
{
    IsOk = false;
    close();
}

void FireKey::on_NewHong_clicked()
{
    IsOk = true;
    FireInterval = ui->Time->value();
    FireCount = ui->Count->value();
    close();
}

void FireKey::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("FireKey");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("DialogFireKeyTimes")));
    ui->label_2->setText(UiText::ForReader(index, reader, QStringLiteral("DialogFireKeyInterval")));
    ui->label_3->setText(UiText::ForReader(index, reader, QStringLiteral("DialogFireKeyTips")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
    ui->NewHong_2->setText(UiText::ForReader(index, reader, QStringLiteral("Cancel")));
}
