#include "widgets/UpDateWarning.h"

#include "device/PostMsg.h"
#include "ui_UpDateWarning.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

UpDateWarning::UpDateWarning(QWidget* parent) : QDialog(parent), ui(new Ui::UpDateWarning)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->WarningFrame);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &UpDateWarning::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Return));
    NoticeLook::ScaleFonts(this);
}

UpDateWarning::~UpDateWarning()
{
    delete ui;
}

void UpDateWarning::SetText(const QString& text)
{
    ui->label->setText(text);
}

void UpDateWarning::SlotAllLanguage(int index)
{
    ui->NewHong->setText(UiText::ForReader(index, QStringLiteral("UpDateWarning"), QStringLiteral("OK")));
}

void UpDateWarning::on_NewHong_clicked()
{
    close();
}

void UpDateWarning::on_CloseButton_clicked()
{
    close();
}
