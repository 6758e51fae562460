#include "app/MouseOffLine.h"

#include "device/PostMsg.h"
#include "ui_MouseOffLine.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

int MouseOffLineKind = 0;

MouseOffLine::MouseOffLine(QWidget* parent) : QDialog(parent), ui(new Ui::MouseOffLine)
{
    ui->setupUi(this);
    connect(PostMsg::Instance(), &PostMsg::SigCloseOffOnline, this, &MouseOffLine::on_CloseButton_clicked);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->MouseOffLineA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("ConFirm.png"), QStringLiteral("ConFirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &MouseOffLine::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

MouseOffLine::~MouseOffLine()
{
    delete ui;
}

void MouseOffLine::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("MouseOffLine");
    if (MouseOffLineKind == 0)
        ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("DialogOffline")));
    else if (MouseOffLineKind == 1)
        ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("TimeOut")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
}

void MouseOffLine::on_NewHong_clicked()
{
    close();
}

void MouseOffLine::on_CloseButton_clicked()
{
    close();
}
