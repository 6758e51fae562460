#include "pages/settings/ContainReset.h"

#include "device/PostMsg.h"
#include "ui_ContainReset.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

ContainReset::ContainReset(QWidget* parent) : QDialog(parent), ui(new Ui::ContainReset)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->ContainResetA);
    const QString buttonStyle =
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png"));
    ui->OK->setStyleSheet(buttonStyle);
    ui->Cancel->setStyleSheet(buttonStyle);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &ContainReset::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    ui->OK->setShortcut(QKeySequence(Qt::Key_Return));
    NoticeLook::ScaleFonts(this);
}

ContainReset::~ContainReset()
{
    delete ui;
}

void ContainReset::SetText(const QString& text)
{
    ui->label->setText(text);
}

QString ContainReset::Text() const
{
    return ui->label->text();
}

void ContainReset::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("ContainReset");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("DialogRestore")));
    ui->OK->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
    ui->Cancel->setText(UiText::ForReader(index, reader, QStringLiteral("Cancel")));
}

void ContainReset::on_CloseButton_clicked()
{
    IsConfirm = false;
    close();
}

void ContainReset::on_OK_clicked()
{
    IsConfirm = true;
    close();
}

void ContainReset::on_Cancel_clicked()
{
    IsConfirm = false;
    close();
}
