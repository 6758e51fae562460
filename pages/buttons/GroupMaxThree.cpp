#include "pages/buttons/GroupMaxThree.h"

#include "device/PostMsg.h"
#include "ui_GroupMaxThree.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

GroupMaxThree::GroupMaxThree(QWidget* parent) : QDialog(parent), ui(new Ui::GroupMaxThree)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->MaxThree);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &GroupMaxThree::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    NoticeLook::ActivateWhenShown(this);
}

GroupMaxThree::~GroupMaxThree()
{
    delete ui;
}

void GroupMaxThree::on_NewHong_clicked()
{
    close();
}

void GroupMaxThree::on_CloseButton_clicked()
{
    close();
}

void GroupMaxThree::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("GroupMaxThree");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("MaxThree")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
}
