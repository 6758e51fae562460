#include "pages/advanced/KFPS20.h"

#include "device/DeviceParamSetters.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_KFPS20.h"
#include "widgets/ThemeColor.h"
#include "widgets/TipsPlacement.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>

KFPS20::KFPS20(QWidget* parent) : QFrame(parent), ui(new Ui::KFPS20)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Advanced/");
    labelColor = ThemeColor(QStringLiteral("LabelColor"));
    const QString& folder = pictureFolder;
    ui->TitleButton_2->setStyleSheet(QStringLiteral("#TitleButton_2{border-image: url(") + folder + QStringLiteral("Title.png);}"));
    ui->label_3->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(";);}"));
    ui->KFPS->setStyleSheet(QStringLiteral("#KFPS{color: rgb(255, 255, 255);border:0px;background-position:center;background-repeat:no-repeat;background-image: url(")
                            + folder + QStringLiteral("Close.png);}#KFPS:checked {background-image: url(") + folder
                            + QStringLiteral("Open.png);}"));
    ui->Error_2->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + folder + QStringLiteral("Tips.png);}"));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &KFPS20::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

KFPS20::~KFPS20()
{
    delete ui;
}

void KFPS20::SlotAllLanguage(int index)
{
    const int language = UiText::ValidLanguage(index);
    const QString reader = QStringLiteral("KFPS20");
    ui->label_3->setText(UiText::ForReader(language, reader, QStringLiteral("scanningTitle")));
    ui->Error_2->setToolTip(UiText::ForReader(language, reader, QStringLiteral("scanningTips")));
}

int KFPS20::CaptionTipsX() const
{
    return TipsXAfterCaption(ui->label_3, ui->Error_2, width());
}

void KFPS20::SetTipsPos(int x, int y)
{
    ui->Error_2->move(x, y);
}

void KFPS20::SetChecked(bool on)
{
    const QSignalBlocker blocker(ui->KFPS);
    ui->KFPS->setChecked(on);
}

bool KFPS20::IsChecked() const
{
    return ui->KFPS->isChecked();
}

void KFPS20::on_KFPS_clicked(bool checked)
{
    if (SetDevice20KFps(checked ? 1 : 0))
        return;
    const QSignalBlocker blocker(ui->KFPS);
    ui->KFPS->setChecked(!checked);
}
