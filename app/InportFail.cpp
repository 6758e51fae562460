#include "app/InportFail.h"

#include "app/UpDataParam.h"
#include "device/PostMsg.h"
#include "ui_InportFail.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

InportFail::InportFail(QWidget* parent) : QDialog(parent), ui(new Ui::InportFail)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->InportFailA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(UiLanguage);
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));
    NoticeLook::ScaleFonts(this);
}

InportFail::~InportFail()
{
    delete ui;
}

void InportFail::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("InportFail");
    if (ImportResult == 1)
        ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("DialogConfigError")));
    else if (ImportResult == 2)
        ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("DialogEConfigMismatch")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
}

void InportFail::on_NewHong_clicked()
{
    close();
}

void InportFail::on_CloseButton_clicked()
{
    close();
}
