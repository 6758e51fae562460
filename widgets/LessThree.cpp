#include "widgets/LessThree.h"

#include "device/PostMsg.h"
#include "ui_LessThree.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

LessThree::LessThree(QWidget* parent) : QDialog(parent), ui(new Ui::LessThree)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->LessThreeframe);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &LessThree::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

LessThree::~LessThree()
{
    delete ui;
}

void LessThree::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("LessThree");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("DialogDebounceTips")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
}

void LessThree::on_NewHong_clicked()
{
    close();
}

void LessThree::on_CloseButton_clicked()
{
    close();
}
