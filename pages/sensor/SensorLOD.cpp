#include "pages/sensor/SensorLOD.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_SensorLOD.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/TipsPlacement.h"
#include "widgets/UiText.h"

#include <QIcon>
#include <QSignalBlocker>

SensorLOD::SensorLOD(QWidget* parent) : QFrame(parent), ui(new Ui::SensorLOD)
{
    ui->setupUi(this);
    setFrameShape(QFrame::NoFrame);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    const QString& folder = pictureFolder;
    const QString label = ThemeColor(QStringLiteral("LabelColor"));
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + label + QStringLiteral(";);}"));
    ui->label_2->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + folder + QStringLiteral("Tips.png") + QStringLiteral(");}"));
    ApplyComboBoxLook(ui->LOD, folder, true);

    SlotAllLanguage(UiLanguage);
    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &SensorLOD::SlotAllLanguage);
}

SensorLOD::~SensorLOD()
{
    delete ui;
}

QString SensorLOD::TextOfValue(int value)
{
    switch (value) {
    case 0: return QStringLiteral("1mm");
    case 1: return QStringLiteral("2mm");
    case 2: return QStringLiteral("0.7mm");
    default: return QString();
    }
}

bool SensorLOD::HasThreeItems() const
{
    return ui->LOD->count() == 3;
}

int SensorLOD::RowOfValue(int value) const
{
    if (HasThreeItems()) {
        static const int rows[3] = {1, 2, 0};
        return value >= 0 && value <= 2 ? rows[value] : -1;
    }
    return value == 0 || value == 1 ? value : -1;
}

void SensorLOD::AddItem()
{
    if (ui->LOD->count() != 2)
        return;
    const QSignalBlocker blocker(ui->LOD);
    ui->LOD->insertItem(0, QIcon(), QStringLiteral("0.7mm"));
}

void SensorLOD::RemoveItem()
{
    if (ui->LOD->count() != 3)
        return;
    const QSignalBlocker blocker(ui->LOD);
    ui->LOD->removeItem(0);
}

void SensorLOD::SetEnable(bool on)
{
    ui->LOD->setEnabled(on);
}

void SensorLOD::SetLOD(int value)
{
    currentLOD = value;
    if (HasThreeItems() && (value < 0 || value > 2))
        return;
    {
        const QSignalBlocker blocker(ui->LOD);
        ui->LOD->setCurrentIndex(RowOfValue(value));
    }
    emit PostMsg::Instance()->SigAddLOD(value == 0 || HasThreeItems() ? TextOfValue(value) : TextOfValue(1));
}

void SensorLOD::SetText(const QString& text)
{
    ui->label->setText(text);
    PlaceTips();
}

void SensorLOD::SetToolTip(const QString& text)
{
    ui->label_2->setToolTip(text);
}

void SensorLOD::MoveTips(int)
{
    PlaceTips();
}

void SensorLOD::PlaceTips()
{
    PlaceTipsAfterCaption(ui->label, ui->label_2, 1, width());
}

void SensorLOD::SlotAllLanguage(int language)
{
    const int index = UiText::ValidLanguage(language);
    SetText(UiText::ForReader(index, QStringLiteral("SensorLOD"), QStringLiteral("LOD")));
    SetToolTip(UiText::ForReader(index, QStringLiteral("SensorLOD"), QStringLiteral("LODTips")));
    MoveTips(index);
}

void SensorLOD::on_LOD_currentIndexChanged(int row)
{
    if (!UserWritesEnabled || SensorPageRefreshing)
        return;
    int value = -1;
    if (HasThreeItems()) {
        static const int values[3] = {2, 0, 1};
        if (row >= 0 && row <= 2)
            value = values[row];
    } else if (row == 0 || row == 1) {
        value = row;
    }
    if (value < 0)
        return;
    if (SetDeviceLOD(uint8_t(value + 1))) {
        currentLOD = value;
        emit PostMsg::Instance()->SigAddLOD(TextOfValue(value));
        return;
    }
    // Refused: show the distance in force, or none when the present layout cannot show it.
    const QSignalBlocker blocker(ui->LOD);
    ui->LOD->setCurrentIndex(RowOfValue(currentLOD));
}
