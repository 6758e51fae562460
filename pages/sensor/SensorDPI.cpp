#include "pages/sensor/SensorDPI.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/SensorFeatures.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_SensorDPI.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/PanelLook.h"
#include "widgets/SliderLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QCoreApplication>
#include <QMouseEvent>
#include <mutex>

namespace {

const char* const DefaultLevelColors[8] = {"255,0,0",   "0,0,255",   "0,255,0", "255,255,0",
                                           "0,255,255", "255,0,255", "159,0,0", "0,212,252"};

// A drop d pixels away from the current level's marker slot moves it `steps` levels.
struct DropRow {
    int from;
    int to;
    int steps;
};
const DropRow DropTable[] = {
    {78, 129, 1},   {-102, -51, -1}, {168, 214, 2},  {-192, -144, -2}, {264, 317, 3},
    {-284, -236, -3}, {361, 389, 4}, {-369, -327, -4}, {443, 495, 5},  {-465, -411, -5},
    {538, 591, 6},  {-556, -504, -6}, {623, 669, 7},  {-646, -599, -7},
};
const int MarkerStep = 91; // slot to slot, as far as the drop table is concerned

// With n + 1 levels in use, a drop right of this x would land beyond the last level.
const int DropLimits[7] = {69, 160, 251, 342, 433, 524, 612};

bool ValidLevel(int level) { return level >= 0 && level < 8; }

bool MouseOnline() { return VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0; }

bool WritesAllowed() { return UserWritesEnabled && !SensorPageRefreshing; }

// "#rrggbb" -> "r,g,b" in decimal.
QString HexToColorText(const QString& text)
{
    const int r = text.mid(1, 2).toInt(nullptr, 16);
    const int g = text.mid(3, 2).toInt(nullptr, 16);
    const int b = text.mid(5, 2).toInt(nullptr, 16);
    return QString("%1,%2,%3").arg(r).arg(g).arg(b);
}

} // namespace

SensorDPI::SensorDPI(QWidget* parent) : QFrame(parent), ui(new Ui::SensorDPI)
{
    ui->setupUi(this);
    formSliderMinimum = ui->horizontalSliderC->minimum();
    formSliderMaximum = ui->horizontalSliderC->maximum();
    levelButtons[0] = ui->BlueButton;
    levelButtons[1] = ui->BrightRedButton;
    levelButtons[2] = ui->RedButton;
    levelButtons[3] = ui->YellowButton;
    levelButtons[4] = ui->GreenButton;
    levelButtons[5] = ui->PurpleButton;
    levelButtons[6] = ui->LightBlueButton;
    levelButtons[7] = ui->LightYellowButton;
    swatches[0] = ui->BlueButtonA;
    swatches[1] = ui->BrightRedButtonA;
    swatches[2] = ui->RedButtonA;
    swatches[3] = ui->YellowButtonA;
    swatches[4] = ui->GreenButtonA;
    swatches[5] = ui->PurpleButtonA;
    swatches[6] = ui->LightBlueButtonA;
    swatches[7] = ui->LightYellowButtonA;

    pictureDir = AppPaths::ProgramFolder() + "/Picture/Sensor/";
    const QString labelColor = ThemeColor("LabelColor");

    static const int xs[8] = {27, 118, 209, 300, 391, 483, 573, 664};
    for (int level = 0; level < 8; ++level) {
        markerPoints[level] = QPoint(xs[level], 154);
        levelColors[level] = DefaultLevelColors[level];
    }

    ui->label->setStyleSheet("QLabel{color: rgb(0,255,255);}");
    levelGroup = new QButtonGroup(this);
    levelGroup->setExclusive(true);
    swatchGroup = new QButtonGroup(this);
    swatchGroup->setExclusive(true);
    colorDialog = new QColorDialog(this);
    connect(colorDialog, &QColorDialog::colorSelected, this, &SensorDPI::SetColor);
    ui->label->setStyleSheet("QLabel{color: rgb(" + labelColor + ";);}");

    ui->label_8->setStyleSheet(
        "#label_8{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" + pictureDir
        + "Level.png" + ");}#label_8:hover{border:0px;background-position:center;background-repeat:no-repeat;"
        "background-image: url(" + pictureDir + "LevelHover.png" + ");}");
    ApplyComboBoxLook(ui->ChooseEvent, pictureDir);
    ui->ChooseEvent->setMaxVisibleItems(5);

    ApplySliderLook(ui->horizontalSliderC, pictureDir);
    ui->spinBoxA->setStyleSheet(PanelLook::NumberBoxStyle());
    ui->ReduceLevelA->setStyleSheet(PanelLook::StepButtonStyle("ReduceLevelA", pictureDir, "Reduce.png"));
    ui->AddLevelA->setStyleSheet(PanelLook::StepButtonStyle("AddLevelA", pictureDir, "Add.png"));

    buttonColorList = ConfigSetting::Instance()->GetValueList("Option", "ButtonColor");
    buttonColor = ThemeColor("ButtonColor");
    for (int level = 0; level < 8; ++level) {
        LevelButton(level)->setStyleSheet(
            "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" + buttonColor
            + ";);background-image: url(" + pictureDir + "MinA.png" + ");}");
        Swatch(level)->setStyleSheet(
            "#" + Swatch(level)->objectName()
            + "{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
              "background-color: rgb(255, 0, 0);background-image: url(" + pictureDir + "MinB.png" + ");}");
    }

    // Hidden levels keep their places, so the visible ones stay under their marker slots.
    QList<QWidget*> keepSize = {ui->horizontalSliderC, ui->spinBoxA, ui->ReduceLevelA, ui->AddLevelA};
    for (int level = 0; level < 8; ++level)
        keepSize.append(LevelButton(level));
    for (QWidget* widget : keepSize) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }

    for (int level = 0; level < 8; ++level) {
        levelButtonRects[level] = LevelButton(level)->geometry();
        swatchRects[level] = Swatch(level)->geometry();
    }
    for (int level = 0; level < 8; ++level) {
        levelGroup->addButton(LevelButton(level));
        swatchGroup->addButton(Swatch(level));
    }
    dragArea = QRect(0, 0, 728, 194);

    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &SensorDPI::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

SensorDPI::~SensorDPI()
{
    delete ui;
}

void SensorDPI::SlotAllLanguage(int index)
{
    const QString title = UiText::ForReader(index, "SensorDPI", "DPILevels");
    if (!title.isEmpty())
        SetTitleText(title);
}

// ---- Operations of the sensor page ----

void SensorDPI::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

void SensorDPI::BlockLevelCountSignals(bool block)
{
    ui->ChooseEvent->blockSignals(block);
}

void SensorDPI::ClearLevelCountItems()
{
    ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    ui->ChooseEvent->blockSignals(false);
}

void SensorDPI::InsertLevelCountItem(int index, const QString& text)
{
    if (ui->ChooseEvent->count() >= 8)
        return;
    ui->ChooseEvent->insertItem(index, text);
}

void SensorDPI::FillLevelCountItems(int count)
{
    count = qBound(1, count, 8);
    const bool blocked = ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    for (int item = 0; item < count; ++item)
        ui->ChooseEvent->addItem(QString::number(item + 1));
    ui->ChooseEvent->blockSignals(blocked);
}

void SensorDPI::SetLevelCountIndex(int index)
{
    levelCountIndex = index;
    ui->ChooseEvent->setCurrentIndex(index);
}

void SensorDPI::ShowLevelCount(int index)
{
    if (!ValidLevel(index))
        return;
    for (int level = 0; level < 8; ++level) {
        LevelButton(level)->setVisible(level <= index);
        Swatch(level)->setVisible(level <= index);
    }
}

void SensorDPI::SetLevelCount(int n)
{
    levelCount = qBound(1, n, 8);
}

void SensorDPI::SetCurrentLevelIndex(int level)
{
    // A current level the device or a file reports outside 0..7 is ignored.
    if (ValidLevel(level))
        currentLevel = level;
}

void SensorDPI::MoveMarkerToLevel(int number)
{
    if (number < 1 || number > 8)
        return;
    currentLevel = number - 1;
    ui->label_8->move(markerPoints[currentLevel]);
}

void SensorDPI::SelectLevel(int level)
{
    if (!ValidLevel(level))
        return;
    LevelButton(level)->setChecked(true);
    // The swatch handlers run directly below; checking the swatch here keeps the colour dialog
    // on this level even when the caller blocked the level buttons' signals.
    const bool blocked = Swatch(level)->blockSignals(true);
    Swatch(level)->setChecked(true);
    Swatch(level)->blockSignals(blocked);
    for (int other = 0; other < 8; ++other)
        SwatchToggled(other, other == level);
    emit PostMsg::Instance()->SigAddSensor(LevelValue(level));
}

void SensorDPI::SetLevelText(int level, const QString& text)
{
    if (ValidLevel(level))
        LevelButton(level)->setText(text);
}

void SensorDPI::SetLevelColorHex(int level, const QString& text)
{
    if (ValidLevel(level))
        levelColors[level] = HexToColorText(text);
}

void SensorDPI::SyncSwatchesToLevel(int level)
{
    for (int other = 0; other < 8; ++other)
        StyleSwatch(other, other == level, other != level);
}

void SensorDPI::LoadDefaultLevels()
{
    const QString group = "Drive" + QString::number(CurrentDeviceInfo.Get().modelIndex + 1);
    ConfigSetting* config = ConfigSetting::Instance();
    const QStringList colors = config->GetValueList(group, "DPIColor");
    for (int triple = 0; triple < 8 && 3 * triple + 2 < colors.size(); ++triple)
        levelColors[triple] = colors.at(3 * triple) + "," + colors.at(3 * triple + 1) + "," + colors.at(3 * triple + 2);

    const QStringList grades = config->GetValueList(group, "DPIGrade");
    if (grades.size() < 8)
        return;
    for (int level = 0; level < 8; ++level) {
        StyleSwatch(level, false, true);
        LevelButton(level)->setText(grades.at(level));
    }
}

QString SensorDPI::LevelColor(int level) const
{
    return ValidLevel(level) ? levelColors[level] : QString();
}

QString SensorDPI::LevelText(int level) const
{
    return ValidLevel(level) ? LevelButton(level)->text() : QString();
}

void SensorDPI::BlockSliderSignals(bool block)
{
    ui->horizontalSliderC->blockSignals(block);
}

void SensorDPI::SetSliderEnabled(bool on)
{
    ui->horizontalSliderC->setEnabled(on);
}

void SensorDPI::ReleaseSlider()
{
    ui->horizontalSliderC->setEnabled(true);
    ui->horizontalSliderC->blockSignals(false);
}

void SensorDPI::SetSliderMaximum(int value)
{
    ui->horizontalSliderC->setMaximum(value);
}

void SensorDPI::SetSliderMinimum(int value)
{
    ui->horizontalSliderC->setMinimum(value);
}

void SensorDPI::RestoreSliderSpan()
{
    ui->horizontalSliderC->setRange(formSliderMinimum, formSliderMaximum);
}

void SensorDPI::SetSliderValue(int value)
{
    ui->horizontalSliderC->setValue(value);
}

void SensorDPI::SetSpinValue(int value)
{
    ui->spinBoxA->setValue(value);
}

// ---- Looks ----

void SensorDPI::StyleLevelButton(int level, bool current)
{
    const QRect& r = levelButtonRects[level];
    QToolButton* button = LevelButton(level);
    if (current)
        button->setGeometry(r.x() - 7, r.y() - 7, 68, 70);
    else
        button->setGeometry(r.x(), r.y(), 54, 56);
    button->setStyleSheet(
        "QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;color: rgb("
        + buttonColor + ";);background-image: url(" + pictureDir + (current ? "MaxA.png" : "MinA.png") + ");}");
}

void SensorDPI::StyleSwatch(int level, bool current, bool moveToo)
{
    QToolButton* swatch = Swatch(level);
    if (moveToo) {
        const QRect& s = swatchRects[level];
        if (current)
            swatch->setGeometry(s.x() - 8, s.y() + 6, 66, 14);
        else
            swatch->setGeometry(s.x(), s.y(), 50, 12);
    }
    swatch->setStyleSheet(
        "QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
        "background-color:rgb(" + levelColors[level] + ");background-image: url(" + pictureDir
        + (current ? "MaxB.png" : "MinB.png") + ");}");
}

void SensorDPI::UpdateSwatchStyle(int level)
{
    if (ValidLevel(level))
        StyleSwatch(level, Swatch(level)->isChecked(), false);
}

void SensorDPI::ShowLevelSelected(int level)
{
    QList<bool> blocked;
    for (int other = 0; other < 8; ++other) {
        blocked.append(LevelButton(other)->blockSignals(true));
        blocked.append(Swatch(other)->blockSignals(true));
    }
    if (ValidLevel(level)) {
        const bool sliderBlocked = ui->horizontalSliderC->blockSignals(true);
        ui->horizontalSliderC->setValue(LevelValue(level));
        ui->horizontalSliderC->blockSignals(sliderBlocked);
        // No change notification follows the blocked move: the user's next change is written.
        sliderChangeArmed = 1;
        LevelButton(level)->setChecked(true);
        Swatch(level)->setChecked(true);
        for (int other = 0; other < 8; ++other) {
            StyleLevelButton(other, other == level);
            StyleSwatch(other, other == level, true);
        }
        ui->label_8->move(markerPoints[level]);
    }
    for (int other = 0; other < 8; ++other) {
        LevelButton(other)->blockSignals(blocked.at(2 * other));
        Swatch(other)->blockSignals(blocked.at(2 * other + 1));
    }
}

void SensorDPI::ResetOtherSwatches(int level)
{
    if (!ValidLevel(level))
        return;
    for (int other = 0; other < 8; ++other) {
        if (other != level)
            StyleSwatch(other, false, true);
    }
}

// ---- Level and swatch buttons ----

int SensorDPI::LevelValue(int level) const
{
    return LevelButton(level)->text().toInt(nullptr, 10);
}

int SensorDPI::CheckedLevel() const
{
    for (int level = 0; level < 8; ++level) {
        if (LevelButton(level)->isChecked())
            return level;
    }
    return -1;
}

void SensorDPI::ShowValueOnSlider(int value)
{
    MySlider* slider = ui->horizontalSliderC;
    const int bounded = qBound(slider->minimum(), value, slider->maximum());
    const bool notifies = !slider->signalsBlocked() && bounded != slider->value();
    sliderChangeArmed = notifies ? 0 : 1;
    slider->setValue(value);
}

void SensorDPI::LevelToggled(int level, bool checked)
{
    StyleLevelButton(level, checked);
    if (!checked || !WritesAllowed())
        return;
    previousLevel = currentLevel;
    currentLevel = level;
    if (!SetDeviceCurrentDPILevel(uint8_t(level))) {
        ShowLevelSelected(previousLevel);
        currentLevel = previousLevel;
        return;
    }
    ResetOtherSwatches(level);
    Swatch(level)->setChecked(true);
    currentLevel = previousLevel = level;
    ui->label_8->move(markerPoints[level]);
    emit PostMsg::Instance()->SigAddSensor(LevelValue(level));
}

void SensorDPI::SwatchToggled(int level, bool checked)
{
    StyleSwatch(level, checked, true);
    if (!checked)
        return;
    LevelButton(level)->setChecked(true);
    ShowValueOnSlider(LevelValue(level));
}

void SensorDPI::OpenColorDialog()
{
    colorDialog->show();
}

void SensorDPI::SetColor(QColor color)
{
    if (!IsDeviceOnline())
        return;
    const QString hex = QString("#%1%2%3")
                            .arg(color.red(), 2, 16, QChar('0'))
                            .arg(color.green(), 2, 16, QChar('0'))
                            .arg(color.blue(), 2, 16, QChar('0'));
    int level = -1;
    for (int other = 0; other < 8 && level < 0; ++other) {
        if (Swatch(other)->isChecked())
            level = other;
    }
    if (level < 0)
        return;
    levelColors[level] = HexToColorText(hex);
    if (WritesAllowed())
        SetDeviceDPIColor(level, uint8_t(color.red()), uint8_t(color.green()), uint8_t(color.blue()));
    UpdateSwatchStyle(level);
}

// ---- Level count ----

void SensorDPI::on_ChooseEvent_currentIndexChanged(int index)
{
    if (!IsDeviceOnline()) {
        const bool blocked = ui->ChooseEvent->blockSignals(true);
        ui->ChooseEvent->setCurrentIndex(levelCountIndex);
        ui->ChooseEvent->blockSignals(blocked);
        return;
    }
    if (!ValidLevel(index))
        return;
    levelCountIndex = index;
    if (!SensorPageRefreshing) {
        savedLevel = currentLevel;
        if (ValidLevel(savedLevel) && savedLevel > index) {
            // The current level would lie beyond the new last level: it moves into the last slot.
            qSwap(levelColors[savedLevel], levelColors[index]);
            const QString text = LevelButton(savedLevel)->text();
            LevelButton(savedLevel)->setText(LevelButton(index)->text());
            LevelButton(index)->setText(text);
            UpdateSwatchStyle(savedLevel);
            UpdateSwatchStyle(index);
            ui->label_8->move(markerPoints[index]);
            LevelButton(index)->setChecked(true);
            currentLevel = index;
            if (UserWritesEnabled)
                ExchangeDeviceDPILevels(index, savedLevel);
        }
        ShowLevelCount(index);
    }
    if (!UserWritesEnabled)
        return;
    if (!MouseOnline()) {
        if (!SensorPageRefreshing)
            emit PostMsg::Instance()->SigMouseOffLineo(0);
        return;
    }
    if (SensorPageRefreshing)
        return;
    {
        std::lock_guard<std::mutex> locker(DeviceConfigLock);
        DeviceConfigImage.dpiLevelCount = uint8_t(index + 1);
    }
    levelCount = index + 1;
    PushDeviceConfig();
}

// ---- Slider and step buttons ----

void SensorDPI::on_horizontalSliderC_sliderMoved(int position)
{
    const int value = SensorFeatures::Instance().QuantiseDpi(position);
    if (!MouseOnline() && !SensorPageRefreshing) {
        ui->horizontalSliderC->blockSignals(true);
        ui->horizontalSliderC->setEnabled(false);
        ui->horizontalSliderC->setValue(ui->spinBoxA->value());
        return;
    }
    ui->spinBoxA->setValue(value);
}

void SensorDPI::on_horizontalSliderC_valueChanged(int value)
{
    MySlider* slider = ui->horizontalSliderC;
    if (UserWritesEnabled && !SensorPageRefreshing && !MouseOnline()) {
        // Stays disabled and silent until the page shows the next record (ReleaseSlider).
        slider->blockSignals(true);
        slider->setEnabled(false);
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        slider->setValue(ui->spinBoxA->value());
        return;
    }
    int pageStep = slider->pageStep();
    const int quantised = SensorFeatures::Instance().QuantiseDpi(value, &pageStep);
    slider->setPageStep(pageStep);
    if (quantised != value) {
        const bool blocked = slider->blockSignals(true);
        slider->setValue(quantised);
        slider->blockSignals(blocked);
    }
    const int level = CheckedLevel();
    if (level >= 0)
        LevelButton(level)->setText(QString::number(quantised));
    ui->spinBoxA->setValue(quantised);
    if (!sliderChangeArmed) {
        sliderChangeArmed = 1;
        return;
    }
    // A page reset or a record being shown moves the slider too: only the user's changes are written.
    if (SettingsWriteInProgress || !WritesAllowed() || level < 0)
        return;
    if (WriteDPIValue(level, quantised))
        emit PostMsg::Instance()->SigAddSensor(quantised);
}

bool SensorDPI::RefusedWhileOffline()
{
    if (UserWritesEnabled && !MouseOnline()) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return true;
    }
    return false;
}

void SensorDPI::on_AddLevelA_clicked()
{
    StepShownValue(true);
}

void SensorDPI::on_ReduceLevelA_clicked()
{
    StepShownValue(false);
}

void SensorDPI::StepShownValue(bool up)
{
    if (RefusedWhileOffline())
        return;
    const SensorFeatures& features = SensorFeatures::Instance();
    const int ranges = features.UsableDpiRangeCount();
    int value = ui->spinBoxA->value();
    for (int r = 0; r < ranges; ++r) {
        const int minimum = features.DpiRangeMinimums.at(r);
        const int maximum = features.DpiRangeMaximums.at(r);
        const int step = qMax(features.DpiRangeSteps.at(r), 0);
        const bool last = r == ranges - 1;
        // One step inside a range; up from the top of a range but the last goes on below.
        if (minimum <= value && (up && !last ? value < maximum : value <= maximum)) {
            value += up ? step : -step;
            break;
        }
        // From a range's top or between two ranges: up to the next range's start; down (only
        // between them) to the lower range's top.
        if (!last && (up ? maximum <= value : maximum < value) && value < features.DpiRangeMinimums.at(r + 1)) {
            value = up ? features.DpiRangeMinimums.at(r + 1) : maximum;
            break;
        }
    }
    sliderChangeArmed = 1;
    ui->horizontalSliderC->setValue(value);
}

void SensorDPI::on_pushButton_clicked()
{
    const bool blocked = ui->horizontalSliderC->blockSignals(true);
    ui->horizontalSliderC->setValue(5000);
    ui->horizontalSliderC->blockSignals(blocked);
}

// ---- Marker drag ----

bool SensorDPI::SelectLevelFromMarker(int level)
{
    if (UserWritesEnabled && !MouseOnline() && !SensorPageRefreshing) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return false;
    }
    if (!ValidLevel(level))
        return true;
    if (!LevelButton(level)->isChecked())
        sliderChangeArmed = 0;
    LevelButton(level)->setChecked(true);
    return true;
}

void SensorDPI::SnapMarkerBack()
{
    if (ValidLevel(currentLevel))
        ui->label_8->move(markerPoints[currentLevel]);
}

void SensorDPI::mousePressEvent(QMouseEvent* event)
{
    if (ui->label_8->geometry().contains(event->pos()) && IsDeviceOnline()) {
        dragging = 1;
        dragOffset = event->pos() - ui->label_8->pos();
    }
    QFrame::mousePressEvent(event);
}

void SensorDPI::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging && event->buttons() != Qt::NoButton) {
        if (dragArea.contains(event->pos())) {
            ui->label_8->move(event->pos() - dragOffset);
        } else {
            // Leaving the editor ends the drag there.
            QMouseEvent release(QEvent::MouseButtonRelease, event->localPos(), event->windowPos(), event->screenPos(),
                                Qt::LeftButton, Qt::NoButton, event->modifiers());
            mouseReleaseEvent(&release);
            return;
        }
    }
    QFrame::mouseMoveEvent(event);
}

void SensorDPI::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    dragging = 0;
    if (!ValidLevel(currentLevel))
        return;
    const QPoint pos = event->pos();
    const int x = pos.x();
    const QPoint slot = markerPoints[currentLevel];
    const int countIndex = ui->ChooseEvent->currentIndex();
    if (!ui->label_8->geometry().contains(pos) || x < 15 || x > 706) {
        SnapMarkerBack();
        return;
    }
    if (countIndex >= 0 && countIndex <= 6 && x > DropLimits[countIndex]) {
        SnapMarkerBack();
        if (UserWritesEnabled)
            SetDeviceCurrentDPILevel(uint8_t(currentLevel));
        return;
    }
    const int d = x - slot.x();
    int steps = 0;
    for (const DropRow& row : DropTable) {
        if (row.from <= d && d <= row.to) {
            steps = row.steps;
            break;
        }
    }
    const int target = currentLevel + steps;
    if (steps == 0 || !ValidLevel(target)) {
        SnapMarkerBack();
        return;
    }
    const int before = currentLevel;
    ui->label_8->move(slot.x() + steps * MarkerStep, slot.y());
    if (!SelectLevelFromMarker(target) || currentLevel != target) {
        // The device still has the level it had: show that one again.
        currentLevel = before;
        previousLevel = before;
        ShowLevelSelected(before);
        return;
    }
    if (UserWritesEnabled)
        SetDeviceCurrentDPILevel(uint8_t(currentLevel));
}
