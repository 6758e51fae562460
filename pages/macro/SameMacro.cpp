#include "pages/macro/SameMacro.h"

#include "device/PostMsg.h"
#include "ui_SameMacro.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

SameMacro::SameMacro(QWidget* parent) : QDialog(parent), ui(new Ui::SameMacro)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->SameMacroA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &SameMacro::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

SameMacro::~SameMacro()
{
    delete ui;
}

void SameMacro::SetMessageKey(const QString& key)
{
    messageKey = key;
    SlotAllLanguage(UiLanguage);
}

QString SameMacro::FileFaultKey(MacroBlocks::FileFault fault)
{
    switch (fault) {
    case MacroBlocks::FileFault::NoFile:
        return QStringLiteral("DialogMacroFileMissing");
    case MacroBlocks::FileFault::TooLarge:
        return QStringLiteral("DialogMacroFileTooLarge");
    default:
        return QStringLiteral("DialogMacroFileFailed");
    }
}

void SameMacro::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("SameMacro"), messageKey));
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("SameMacro"), QStringLiteral("OK")));
}

void SameMacro::on_NewHong_clicked()
{
    close();
}

void SameMacro::on_CloseButton_clicked()
{
    close();
}
