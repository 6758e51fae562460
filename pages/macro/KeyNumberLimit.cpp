#include "pages/macro/KeyNumberLimit.h"

#include "device/PostMsg.h"
#include "ui_KeyNumberLimit.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

KeyNumberLimit::KeyNumberLimit(QWidget* parent) : QDialog(parent), ui(new Ui::KeyNumberLimit)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->LimitA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &KeyNumberLimit::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

KeyNumberLimit::~KeyNumberLimit()
{
    delete ui;
}

void KeyNumberLimit::on_CloseButton_clicked()
{
    close();
}

void KeyNumberLimit::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("KeyNumberLimit"), QStringLiteral("DialogMaxMacroKey")));
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("KeyNumberLimit"), QStringLiteral("OK")));
}

void KeyNumberLimit::on_NewHong_clicked()
{
    close();
}
