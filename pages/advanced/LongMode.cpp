#include "pages/advanced/LongMode.h"

#include "device/ConfigSetting.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_LongMode.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>

LongMode::LongMode(QWidget* parent) : QFrame(parent), ui(new Ui::LongMode)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Advanced/");
    labelColor = ThemeColor(QStringLiteral("LabelColor"));
    const QString& folder = pictureFolder;
    ui->TitleButton_3->setStyleSheet(QStringLiteral("#TitleButton_3{border-image: url(") + folder + QStringLiteral("Title.png);}"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(";);}");
    ui->label_5->setStyleSheet(labelStyle);
    ui->label_6->setStyleSheet(labelStyle);
    ui->checkBox->setStyleSheet(QStringLiteral("QCheckBox{color: rgb(") + labelColor
                                + QStringLiteral(";);}QCheckBox:indicator::checked {image: url(") + folder
                                + QStringLiteral("CheckBoxChecked.png);}QCheckBox::indicator::unchecked {image: url(") + folder
                                + QStringLiteral("CheckBox.png);}"));
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &LongMode::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

LongMode::~LongMode()
{
    delete ui;
}

bool LongMode::ModelHasLongRange(int modelIndex)
{
    const QStringList features = ConfigSetting::Instance()->GetValueList(
        QStringLiteral("Drive") + QString::number(modelIndex + 1), QStringLiteral("Adveanced"));
    return !features.isEmpty() && !features.first().trimmed().isEmpty() && features.first().trimmed() != QLatin1String("-1");
}

void LongMode::SlotAllLanguage(int index)
{
    const int language = UiText::ValidLanguage(index);
    const QString reader = QStringLiteral("LongMode");
    ui->label_5->setText(UiText::ForReader(language, reader, QStringLiteral("LongDistance")));
    ui->label_6->setText(UiText::ForReader(language, reader, QStringLiteral("LongDistanceTips")));
}

void LongMode::SetChecked(bool on)
{
    const QSignalBlocker blocker(ui->checkBox);
    ui->checkBox->setChecked(on);
}

bool LongMode::IsChecked() const
{
    return ui->checkBox->isChecked();
}

void LongMode::on_checkBox_toggled(bool checked)
{
    if (!UserWritesEnabled)
        return;
    const char* device = CurrentDevicePath.load();
    if (!VidEzorarA_GetDeviceOnLine(device)) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        const QSignalBlocker blocker(ui->checkBox);
        ui->checkBox->setChecked(!checked);
        return;
    }
    VidEzorarA_SetLongRangeMode(device, checked ? 1 : 0);
}
