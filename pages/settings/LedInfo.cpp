#include "pages/settings/LedInfo.h"

#include "device/DeviceDiscovery.h"
#include "device/ModelFeatures.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_LedInfo.h"
#include "widgets/NoticeLook.h"
#include "widgets/ThemeColor.h"

#include <QButtonGroup>

LedInfo::LedInfo(QWidget* parent) : QDialog(parent), ui(new Ui::LedInfo), meanings(new QButtonGroup(this))
{
    ui->setupUi(this);
    NoticeLook::SetNoticeFlags(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/FormSetting/");
    const QString url = QStringLiteral("url(") + pictureFolder;
    const QString labelColor = ThemeColor(QStringLiteral("LabelColor"));
    ui->label_14->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}"));
    ui->TitleButton_7->setStyleSheet(QStringLiteral("#TitleButton_7{border-image: ") + url + QStringLiteral("Title.png);}"));
    for (QCheckBox* box : {ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3}) {
        box->setStyleSheet(QStringLiteral("QCheckBox{color: rgb(") + labelColor + QStringLiteral(");}QCheckBox::indicator:checked{image: ")
                           + url + QStringLiteral("CheckBoxCheck.png);}QCheckBox::indicator:unchecked{image: ") + url
                           + QStringLiteral("CheckBox2.png);}"));
        meanings->addButton(box);
    }
    meanings->setExclusive(true);
    ui->LedInfoFrame->setStyleSheet(QStringLiteral("#LedInfoFrame{border:0px;background-position:center;background-repeat:no-repeat;background-image: ")
                                    + url + QStringLiteral("Back.png);}"));
    for (QTextEdit* text : {ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        text->setStyleSheet(QStringLiteral("QTextEdit{border:0px;background:transparent;color: rgb(") + labelColor + QStringLiteral(");}"));
    ui->CloseButton->setStyleSheet(QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;background-image: ")
                                   + url + QStringLiteral("Close.png);}QToolButton:hover{background-image: ") + url
                                   + QStringLiteral("CloseHover.png);}QToolButton:pressed{background-image: ") + url
                                   + QStringLiteral("CloseClick.png);}"));
    // The report callback emits the record and waits until the dialog has read it.
    connect(PostMsg::Instance(), &PostMsg::SigRGBValue, this, &LedInfo::SlotRGBValue, Qt::BlockingQueuedConnection);
}

LedInfo::~LedInfo()
{
    delete ui;
}

void LedInfo::SlotRGBValue(DongleRGB* Rgb)
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    if (!Rgb || !ModelHasIndicatorMeaning() || device.wired || device.status != 1)
        return;
    for (QWidget* shown : std::initializer_list<QWidget*>{ui->TitleButton_7, ui->label_14, ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3,
                                                          ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        shown->setVisible(true);
    switch (Rgb->bytes[0]) {
    case 1:
        ui->ReUntil->setChecked(true);
        break;
    case 2:
        ui->ReUntil_2->setChecked(true);
        break;
    case 3:
        ui->ReUntil_3->setChecked(true);
        break;
    default:
        break;
    }
}

void LedInfo::SlotAllLanguage(int index)
{
    Q_UNUSED(index)
}

void LedInfo::on_CloseButton_clicked()
{
    emit PostMsg::Instance()->SigButtonCheck();
    close();
}
