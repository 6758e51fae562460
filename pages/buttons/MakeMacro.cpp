#include "pages/buttons/MakeMacro.h"

#include "device/PostMsg.h"
#include "ui_MakeMacro.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

MakeMacro::MakeMacro(QWidget* parent) : QDialog(parent), ui(new Ui::MakeMacro)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->MakeMacroA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &MakeMacro::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
    NoticeLook::ActivateWhenShown(this);
}

MakeMacro::~MakeMacro()
{
    delete ui;
}

void MakeMacro::on_NewHong_clicked()
{
    close();
}

void MakeMacro::on_CloseButton_clicked()
{
    close();
}

void MakeMacro::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("MakeMacro");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("MakeMaro")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
}
