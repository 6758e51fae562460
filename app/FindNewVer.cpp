#include "app/FindNewVer.h"

#include "device/PostMsg.h"
#include "ui_FindNewVer.h"
#include "widgets/NoticeLook.h"
#include "widgets/UiText.h"

FindNewVer::FindNewVer(QWidget* parent) : QDialog(parent), ui(new Ui::FindNewVer)
{
    ui->setupUi(this);
    pictureFolder = NoticeLook::StyleNotice(this, ui->label, ui->CloseButton, ui->SameMacroA);
    ui->NewHong->setStyleSheet(
        NoticeLook::ConfirmButtonStyle(pictureFolder, QStringLiteral("Confirm.png"), QStringLiteral("ConfirmClick.png")));
    // Without a colour of its own the box's text would be the palette's dark text on the dark picture.
    ui->NoApear->setStyleSheet(NoticeLook::CheckBoxStyle(pictureFolder));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &FindNewVer::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

FindNewVer::~FindNewVer()
{
    delete ui;
}

bool FindNewVer::DontShowAgain() const
{
    return ui->NoApear->isChecked();
}

void FindNewVer::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("FindNewVer");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("UpgradeTips")));
    ui->NewHong->setText(UiText::ForReader(index, reader, QStringLiteral("OK")));
    ui->NoApear->setText(UiText::ForReader(index, reader, QStringLiteral("NoApear")));
}

void FindNewVer::on_NewHong_clicked()
{
    close();
}

void FindNewVer::on_CloseButton_clicked()
{
    close();
}
