#include "pages/buttons/LeftButtonOnly.h"

#include "device/PostMsg.h"
#include "ui_LeftButtonOnly.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

LeftButtonOnly::LeftButtonOnly(QWidget* parent) : QDialog(parent), ui(new Ui::LeftButtonOnly)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->ButtonOnly);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &LeftButtonOnly::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    NoticeLook::ActivateWhenShown(this);
}

LeftButtonOnly::~LeftButtonOnly()
{
    delete ui;
}

void LeftButtonOnly::on_CloseButton_clicked()
{
    close();
}

void LeftButtonOnly::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("LeftButtonOnly"), QStringLiteral("DialogKeepLeftKey")));
}
