#include "pages/settings/RePair.h"

#include "device/PostMsg.h"
#include "ui_RePair.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

RePair::RePair(QWidget* parent) : QDialog(parent), ui(new Ui::RePair)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->RePairA);
    const QString buttonStyle =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    ui->OK->setStyleSheet(buttonStyle);
    ui->Cancel->setStyleSheet(buttonStyle);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &RePair::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

RePair::~RePair()
{
    delete ui;
}

void RePair::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::Text(index, QStringLiteral("home"), QStringLiteral("Repair")));
    ui->OK->setText(UiText::Text(index, QStringLiteral("common"), QStringLiteral("OK")));
    ui->Cancel->setText(UiText::Text(index, QStringLiteral("common"), QStringLiteral("Cancel")));
}

void RePair::on_CloseButton_clicked()
{
    IsConfirm = false;
    close();
}

void RePair::on_OK_clicked()
{
    IsConfirm = true;
    close();
}

void RePair::on_Cancel_clicked()
{
    IsConfirm = false;
    close();
}
