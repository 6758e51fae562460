#include "pages/macro/DeleteConfirm.h"

#include "device/PostMsg.h"
#include "ui_DeleteConfirm.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

DeleteConfirm::DeleteConfirm(QWidget* parent) : QDialog(parent), ui(new Ui::DeleteConfirm)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->DeleteConfirmA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &DeleteConfirm::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

DeleteConfirm::~DeleteConfirm()
{
    delete ui;
}

void DeleteConfirm::on_NewHong_clicked()
{
    Confirmed = true;
    close();
}

void DeleteConfirm::on_CloseButton_clicked()
{
    Confirmed = false;
    close();
}

void DeleteConfirm::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("DeleteConfirm"), QStringLiteral("DialogDeleteMacro")));
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("DeleteConfirm"), QStringLiteral("OK")));
}
