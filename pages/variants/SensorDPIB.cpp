#include "pages/variants/SensorDPIB.h"

#include "device/ConnectionState.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/SensorFeatures.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_SensorDPIB.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/NoticeLook.h"
#include "widgets/PanelLook.h"
#include "widgets/SliderLook.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QSignalBlocker>

namespace {
const char* const InitialColors[SensorDPIB::LevelCount] = {"#ff0000", "#ffff00", "#ffaa00", "#00ff00",
                                                           "#aaffff", "#aa55ff", "#9f0000", "#00d4d4"};
const char* const DefaultButtonColors[SensorDPIB::LevelCount] = {"#ff0000", "#00ffff", "#00ff00", "#ffffff",
                                                                 "#00ffff", "#ff557d", "#ff00ff", "#00ffff"};

bool ValidLevel(int level)
{
    return level >= 0 && level < SensorDPIB::LevelCount;
}

bool MouseOnline()
{
    return VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;
}

QString ButtonStyle(const QString& colour)
{
    return QStringLiteral("QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
                          "background-color:")
        + colour + QStringLiteral(";}");
}
}

SensorDPIB::SensorDPIB(QWidget* parent) : QFrame(parent), ui(new Ui::SensorDPIB)
{
    ui->setupUi(this);
    rows[0] = {ui->BlueButtonA, ui->MA, ui->horizontalSliderA, ui->spinBoxA};
    rows[1] = {ui->BrightRedButtonA, ui->MB, ui->horizontalSliderB, ui->spinBoxB};
    rows[2] = {ui->RedButtonA, ui->MC, ui->horizontalSliderC, ui->spinBoxC};
    rows[3] = {ui->YellowButtonA, ui->MD, ui->horizontalSliderD, ui->spinBoxD};
    rows[4] = {ui->GreenButtonA, ui->ME, ui->horizontalSliderE, ui->spinBoxE};
    rows[5] = {ui->PurpleButtonA, ui->MF, ui->horizontalSliderF, ui->spinBoxF};
    rows[6] = {ui->LightBlueButtonA, ui->MG, ui->horizontalSliderG, ui->spinBoxG};
    rows[7] = {ui->LightYellowButtonA, ui->MH, ui->horizontalSliderH, ui->spinBoxH};

    colorDialog = new QColorDialog(this);
    connect(colorDialog, &QColorDialog::colorSelected, this, &SensorDPIB::SetColor);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");

    ui->label->setStyleSheet(NoticeLook::LabelStyle());
    ApplyComboBoxLook(ui->ChooseEvent, pictureFolder);
    ui->ChooseEvent->setMaxVisibleItems(5);
    const QString numberStyle = PanelLook::NumberBoxStyle();
    const QString boxStyle = PanelLook::ChoiceBoxStyle(pictureFolder);
    levelGroup = new QButtonGroup(this);
    levelGroup->setExclusive(true);
    for (int level = 0; level < LevelCount; ++level) {
        levelColors[level] = QString::fromLatin1(InitialColors[level]);
        ApplySliderLook(rows[level].slider, pictureFolder);
        rows[level].value->setStyleSheet(numberStyle);
        rows[level].current->setStyleSheet(boxStyle);
        rows[level].colour->setStyleSheet(ButtonStyle(QStringLiteral("rgb(255, 0, 0)")));
        levelGroup->addButton(rows[level].current);
    }
}

SensorDPIB::~SensorDPIB()
{
    delete ui;
}

// ---- Host operations ----

void SensorDPIB::InsertLevelCountItem(int index, const QString& text)
{
    ui->ChooseEvent->insertItem(index, text);
}

void SensorDPIB::ClearLevelCountItems()
{
    const QSignalBlocker blocker(ui->ChooseEvent);
    ui->ChooseEvent->clear();
}

void SensorDPIB::BlockSliderSignals(bool block)
{
    for (const Row& row : rows)
        row.slider->blockSignals(block);
}

void SensorDPIB::EnableSliders(bool enable)
{
    for (const Row& row : rows)
        row.slider->setEnabled(enable);
}

void SensorDPIB::SetSlidersMaximum(int max)
{
    for (const Row& row : rows)
        row.slider->setMaximum(max);
}

void SensorDPIB::SetSlidersMinimum(int min)
{
    for (const Row& row : rows)
        row.slider->setMinimum(min);
}

void SensorDPIB::SetLevelValue(int level, const QString& value)
{
    if (ValidLevel(level))
        ShowLevelValue(level, value.toInt());
}

void SensorDPIB::ShowLevelValue(int level, int value)
{
    rows[level].slider->setValue(value);
    rows[level].value->setValue(value);
}

void SensorDPIB::SetLevelColorText(int level, const QString& colour)
{
    if (ValidLevel(level))
        levelColors[level] = colour;
}

QString SensorDPIB::LevelColorText(int level) const
{
    return ValidLevel(level) ? levelColors[level] : QString();
}

void SensorDPIB::UpdateLevelButtonStyle(int level)
{
    if (ValidLevel(level))
        rows[level].colour->setStyleSheet(ButtonStyle(levelColors[level]));
}

void SensorDPIB::RefreshButtonStyles()
{
    for (int level = 0; level < LevelCount; ++level)
        UpdateLevelButtonStyle(level);
}

void SensorDPIB::SetDefaultButtonStyles()
{
    for (int level = 0; level < LevelCount; ++level)
        rows[level].colour->setStyleSheet(ButtonStyle(QString::fromLatin1(DefaultButtonColors[level])));
}

void SensorDPIB::SetCurrentLevel(int level)
{
    currentLevel = level;
}

void SensorDPIB::SetLevelCount(int count)
{
    levelCount = count;
}

void SensorDPIB::SelectLevel(int level)
{
    if (UserWritesEnabled && !MouseOnline() && !SensorPageRefreshing) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    // The host moves the sliders to the new level's values next: that change is shown, not written.
    firstChangeSeen = false;
    if (ValidLevel(level))
        rows[level].current->setChecked(true);
}

void SensorDPIB::ShowLevelRows(int lastLevel)
{
    if (!ValidLevel(lastLevel))
        return;
    for (int level = 0; level < LevelCount; ++level) {
        const bool shown = level <= lastLevel;
        rows[level].colour->setVisible(shown);
        rows[level].current->setVisible(shown);
        rows[level].slider->setVisible(shown);
        rows[level].value->setVisible(shown);
    }
}

void SensorDPIB::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

// ---- Level values ----

void SensorDPIB::SliderReleased(int level, int value)
{
    if (UserWritesEnabled && !MouseOnline() && !SensorPageRefreshing) {
        rows[level].value->setValue(value);
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    // A value outside every range stays as it is: the host bounds the sliders to the sensor.
    int pageStep = rows[level].slider->pageStep();
    const int quantised = SensorFeatures::Instance().QuantiseDpi(value, &pageStep);
    rows[level].slider->setPageStep(pageStep);
    rows[level].value->setValue(quantised);
    if (!firstChangeSeen) {
        firstChangeSeen = true;
        return;
    }
    if (!SettingsWriteInProgress)
        WriteDPIValue(level, quantised);
}

void SensorDPIB::on_horizontalSliderA_valueChanged(int value) { SliderReleased(0, value); }
void SensorDPIB::on_horizontalSliderB_valueChanged(int value) { SliderReleased(1, value); }
void SensorDPIB::on_horizontalSliderC_valueChanged(int value) { SliderReleased(2, value); }
void SensorDPIB::on_horizontalSliderD_valueChanged(int value) { SliderReleased(3, value); }
void SensorDPIB::on_horizontalSliderE_valueChanged(int value) { SliderReleased(4, value); }
void SensorDPIB::on_horizontalSliderF_valueChanged(int value) { SliderReleased(5, value); }
void SensorDPIB::on_horizontalSliderG_valueChanged(int value) { SliderReleased(6, value); }
void SensorDPIB::on_horizontalSliderH_valueChanged(int value) { SliderReleased(7, value); }

// ---- Current level ----

void SensorDPIB::LevelToggled(int level, bool checked)
{
    if (!checked || !UserWritesEnabled || SensorPageRefreshing)
        return;
    currentLevel = level;
    SetDeviceCurrentDPILevel(uint8_t(level));
}

void SensorDPIB::on_MA_toggled(bool checked) { LevelToggled(0, checked); }
void SensorDPIB::on_MB_toggled(bool checked) { LevelToggled(1, checked); }
void SensorDPIB::on_MC_toggled(bool checked) { LevelToggled(2, checked); }
void SensorDPIB::on_MD_toggled(bool checked) { LevelToggled(3, checked); }
void SensorDPIB::on_ME_toggled(bool checked) { LevelToggled(4, checked); }
void SensorDPIB::on_MF_toggled(bool checked) { LevelToggled(5, checked); }
void SensorDPIB::on_MG_toggled(bool checked) { LevelToggled(6, checked); }
void SensorDPIB::on_MH_toggled(bool checked) { LevelToggled(7, checked); }

// ---- Colours ----

void SensorDPIB::ColourClicked(int level)
{
    colourTarget = level;
    colorDialog->show();
}

void SensorDPIB::SetColor(QColor color)
{
    if (!ValidLevel(colourTarget))
        return;
    const QString text = QStringLiteral("#%1%2%3")
                             .arg(color.red(), 2, 16, QLatin1Char('0'))
                             .arg(color.green(), 2, 16, QLatin1Char('0'))
                             .arg(color.blue(), 2, 16, QLatin1Char('0'));
    levelColors[colourTarget] = text;
    if (UserWritesEnabled && !SensorPageRefreshing)
        SetDeviceDPIColor(colourTarget, uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue()));
    // The button shows the choice even when nothing was written.
    UpdateLevelButtonStyle(colourTarget);
}

void SensorDPIB::on_BlueButtonA_clicked() { ColourClicked(0); }
void SensorDPIB::on_BrightRedButtonA_clicked() { ColourClicked(1); }
void SensorDPIB::on_RedButtonA_clicked() { ColourClicked(2); }
void SensorDPIB::on_YellowButtonA_clicked() { ColourClicked(3); }
void SensorDPIB::on_GreenButtonA_clicked() { ColourClicked(4); }
void SensorDPIB::on_PurpleButtonA_clicked() { ColourClicked(5); }
void SensorDPIB::on_LightBlueButtonA_clicked() { ColourClicked(6); }
void SensorDPIB::on_LightYellowButtonA_clicked() { ColourClicked(7); }

// ---- Level count ----

void SensorDPIB::MoveCurrentLevel(int previous, int index)
{
    BlockSliderSignals(true);
    const QString movedColour = levelColors[previous];
    const int movedValue = rows[previous].value->value();
    const QString keptColour = levelColors[index];
    const int keptValue = rows[index].value->value();
    levelColors[previous] = keptColour;
    UpdateLevelButtonStyle(previous);
    ShowLevelValue(previous, keptValue);
    levelColors[index] = movedColour;
    UpdateLevelButtonStyle(index);
    ShowLevelValue(index, movedValue);
    // The check box's own slot writes the new current level.
    rows[index].current->setChecked(true);
    levelCount = index + 1;
    currentLevel = index;
    if (UserWritesEnabled)
        ExchangeDeviceDPILevels(index, previous);
    BlockSliderSignals(false);
}

void SensorDPIB::on_ChooseEvent_currentIndexChanged(int index)
{
    if (!ValidLevel(index))
        return;
    if (!SensorPageRefreshing) {
        previousLevel = currentLevel;
        if (ValidLevel(previousLevel) && previousLevel > index)
            MoveCurrentLevel(previousLevel, index);
        ShowLevelRows(index);
    }
    if (!UserWritesEnabled || SensorPageRefreshing)
        return;
    if (!MouseOnline()) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    SetDeviceDPILevelCount(uint8_t(index + 1));
}
