#include "app/QuestiondialogB.h"

#include "device/PostMsg.h"
#include "ui_QuestiondialogB.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

QuestiondialogB::QuestiondialogB(QWidget* parent) : QDialog(parent), ui(new Ui::QuestiondialogB)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->QuestionB);
    setFixedSize(width(), height());
    // The frame is 10 pixels shorter than the dialog: the strip below it shows the bottom of the
    // same picture instead of the palette's light window colour.
    setStyleSheet(QStringLiteral("#QuestiondialogB{background-position:bottom;background-repeat:no-repeat;"
                                 "background-image: url(")
                  + pictureFolder + QStringLiteral("BackGround.png);}"));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &QuestiondialogB::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

QuestiondialogB::~QuestiondialogB()
{
    delete ui;
}

void QuestiondialogB::SlotAllLanguage(int index)
{
    ui->label->setText(UiText::ForReader(index, QStringLiteral("QuestiondialogB"), QStringLiteral("ErrorDevice")));
}

void QuestiondialogB::on_CloseButton_clicked()
{
    close();
}
