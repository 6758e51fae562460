#include "pages/sensor/Sensor.h"

#include "device/RefreshingScope.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/MotionSync.h"
#include "pages/sensor/RippeControl.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/SensorFeatures.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/StraightLine.h"
#include "platform/AppPaths.h"
#include "platform/RegularFile.h"
#include "ui_Sensor.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/ThemeColor.h"
#include "widgets/TipsPlacement.h"
#include "widgets/UiText.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QLabel>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QListView>
#include <QSignalBlocker>
#include <QTextStream>
#include <algorithm>

namespace {

const int CordedRow = 2;
const int PerformanceTimeCodes[] = {1, 3, 6, 12, 18, 30, 60, 90, 210, 240};
const char* const PerformanceOptionKeys[] = {"1", "3", "6", "12", "18", "30", "60", "90"};

QString DriveGroup()
{
    return QStringLiteral("Drive") + QString::number(CurrentDeviceInfo.Get().modelIndex + 1);
}

// Receiver kinds that may run the fast rates.
bool IsFastReceiverStatus(int status)
{
    return status == 1 || status == 4 || status == 5;
}

bool IsFastRateCode(int code)
{
    return code == 16 || code == 32 || code == 64;
}

// SensorRate row of a record rate code; -1 for a code without one.
int RateRow(int code)
{
    switch (code) {
    case 8: return 0;
    case 4: return 1;
    case 2: return 2;
    case 1: return 3;
    case 16: return 4;
    case 32: return 5;
    case 64: return 6;
    default: return -1;
    }
}

// SensorRate mode of a connection status; -1 for a status without one.
int RateModeOfStatus(int status)
{
    switch (status) {
    case 0:
    case 2: return 0;
    case 1: return 1;
    case 4: return 2;
    case 3:
    case 5: return 3;
    default: return -1;
    }
}

// A Config.ini model value read as a number; missing or not a number gives 0.
int ModelNumber(const QString& key)
{
    return ConfigSetting::Instance()->GetValue(DriveGroup(), key).trimmed().toInt();
}

} // namespace

Sensor::Sensor(QWidget* parent) : QWidget(parent), ui(new Ui::Sensor)
{
    ui->setupUi(this);
    // The panels are laid out by space alone: their drawn frames would box and cross each other on
    // the dark page.
    for (QFrame* frame : findChildren<QFrame*>()) {
        if (!qobject_cast<QLabel*>(frame) && !qobject_cast<QAbstractScrollArea*>(frame))
            frame->setFrameShape(QFrame::NoFrame);
    }
    ui->frame_3->hide();
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    levelFolder = AppPaths::UserDataFolder() + QStringLiteral("/usersetting/SensorPage");
    QDir().mkpath(levelFolder);

    PostMsg* bus = PostMsg::Instance();
    connect(bus, SIGNAL(SigHideModel(int)), this, SLOT(SlotHideModel(int)));
    ui->frameDpi->SetLevelCount(ReadLevelFile());
    StyleControls();
    SensorFeatures::Instance().ReadHeaderFile();

    // Records, resets and the device's own changes come from the device thread, which waits here.
    connect(bus, SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotUpDataSenSorUISensor(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()), Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)),
            Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)), Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
    connect(bus, SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(UiLanguage);
}

Sensor::~Sensor()
{
    delete ui;
}

int Sensor::PerformanceTimeCode(int index)
{
    if (index < 0 || index >= int(sizeof PerformanceTimeCodes / sizeof PerformanceTimeCodes[0]))
        return -1;
    return PerformanceTimeCodes[index];
}

int Sensor::ReadLevelFile() const
{
    const QString path = levelFolder + QStringLiteral("/Level.ini");
    QFile file(path);
    if (!IsRegularFile(path) || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    const QString line = QTextStream(&file).readLine();
    return line.isEmpty() ? 1 : line.toInt();
}

void Sensor::StyleControls()
{
    // Both lists are disabled at times (no mode choice, full performance off): their text then stays
    // readable, dimmed.
    ApplyComboBoxLook(ui->ModelChoose, pictureFolder, true);
    ApplyComboBoxLook(ui->PerformanceOpen, pictureFolder, true);
    ui->PerformanceOpen->setMaxVisibleItems(5);

    const QString labelColor = ThemeColor(QStringLiteral("LabelColor"));
    if (!labelColor.isEmpty())
        ui->label_5->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}"));
    const QString tips = QStringLiteral("border-image: url(") + pictureFolder + QStringLiteral("Tips.png);");
    ui->label->setStyleSheet(tips);
    ui->label_2->setStyleSheet(tips);
    ui->Performance->setStyleSheet(
        QStringLiteral("QCheckBox{color: rgb(") + (labelColor.isEmpty() ? QStringLiteral("255,255,255") : labelColor)
        + QStringLiteral(");} QCheckBox::indicator:checked{image: url(") + pictureFolder
        + QStringLiteral("CheckBoxChecked.png);} QCheckBox::indicator:unchecked{image: url(") + pictureFolder
        + QStringLiteral("CheckBox.png);}"));
    buttonColor = ConfigSetting::Instance()->GetValueList(QStringLiteral("Option"), QStringLiteral("ButtonColor"));
    buttonColorText = ThemeColor(QStringLiteral("ButtonColor"));
    const QString title = pictureFolder + QStringLiteral("Title.png");
    ui->TitleButton->setStyleSheet(QStringLiteral("#TitleButton{border-image: url(") + title + QStringLiteral(");}"));
    ui->TitleButton_2->setStyleSheet(QStringLiteral("#TitleButton_2{border-image: url(") + title + QStringLiteral(");}"));
    ui->TitleButton_4->setStyleSheet(QStringLiteral("#TitleButton_4{border-image: url(") + title + QStringLiteral(");}"));
    modelView = qobject_cast<QListView*>(ui->ModelChoose->view());
}

void Sensor::ReadModel()
{
    SensorFeatures::Instance().ReadSensorModel(CurrentDeviceInfo.Get().modelIndex);
    if (SensorFeatures::Instance().CurrentSensorModel == QLatin1String("3950"))
        ui->frameLOD->AddItem();
    else
        ui->frameLOD->RemoveItem();
}

bool Sensor::OffersModeChoice() const
{
    return SensorFeatures::Instance().Offers(SensorFeatures::Instance().supportModeSel);
}

void Sensor::ShowSensorMode(int index, bool enabled, bool cordedRowShown)
{
    if (modelView)
        modelView->setRowHidden(CordedRow, !cordedRowShown);
    // A mode byte the combo has no row for leaves the shown mode.
    if (index >= 0 && index < ui->ModelChoose->count()) {
        const QSignalBlocker blocker(ui->ModelChoose);
        ui->ModelChoose->setCurrentIndex(index);
        currentSensorMode = index;
    }
    ui->ModelChoose->setEnabled(enabled);
}

void Sensor::ShowPerformance(bool on)
{
    const QSignalBlocker blocker(ui->Performance);
    ui->Performance->setChecked(on);
    ui->PerformanceOpen->setEnabled(on);
}

void Sensor::ApplyRecord(const FlashDataMap& record)
{
    PostMsg* bus = PostMsg::Instance();
    SensorFeatures& features = SensorFeatures::Instance();
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    SensorDPI* dpi = ui->frameDpi;

    dpi->SetLevelCount(record.dpiLevelCount);
    dpi->SetCurrentLevelIndex(record.currentDpiLevel);

    const int rate = record.reportRate;
    const int rateRow = RateRow(rate);
    if (rateRow >= 0)
        ui->frameRate->SetCurrentRate(rateRow);
    // A cable carries no more than 1000 Hz, whatever the record says.
    if (device.wired && (rate == 16 || rate == 32))
        ui->frameRate->SetCurrentRate(3);

    ReadModel();

    if (!OffersModeChoice()) {
        ui->ModelChoose->setEnabled(false);
    } else if (device.wired || (IsFastReceiverStatus(device.status) && IsFastRateCode(rate))) {
        ShowSensorMode(CordedRow, false, true);
    } else {
        ShowSensorMode(record.sensorMode, true, false);
    }

    ui->frameLOD->SetLOD(int(record.liftOffDistance) - 1);

    ShowPerformance(record.performanceMode != 0);
    emit bus->Sig20KOpen(record.performanceMode != 0);

    const int seconds = record.performanceTime * 10;
    static const int rowSeconds[] = {10, 30, 60, 120, 180, 300, 600, 900};
    for (int row = 0; row < 8; ++row) {
        if (rowSeconds[row] == seconds) {
            const QSignalBlocker blocker(ui->PerformanceOpen);
            ui->PerformanceOpen->setCurrentIndex(row);
            currentPerformanceTime = row;
        }
    }

    ui->frame->SetChecked(record.rippleControl != 0);
    ui->frame_4->SetChecked(record.straightLine != 0);
    ui->frame_3->SetChecked(record.motionSync != 0);

    // The record has eight level entries: a larger grade count of the model is not trusted.
    const int grades = std::clamp(ModelNumber(QStringLiteral("DPIMaxGrade")), 0, DpiLevelCount);
    dpi->BlockLevelCountSignals(true);
    for (int i = 0; i < grades; ++i) {
        const DpiLevelEntry& entry = record.dpiLevels[i];
        dpi->SetLevelColorHex(i, QStringLiteral("#%1%2%3")
                                     .arg(entry.red, 2, 16, QLatin1Char('0'))
                                     .arg(entry.green, 2, 16, QLatin1Char('0'))
                                     .arg(entry.blue, 2, 16, QLatin1Char('0')));
        dpi->InsertLevelCountItem(i, QString::number(i + 1));
    }
    dpi->BlockLevelCountSignals(false);
    dpi->SyncSwatchesToLevel(record.currentDpiLevel);

    const bool compact = ModelNumber(QStringLiteral("XIn1")) == 2;
    for (QWidget* widget : {static_cast<QWidget*>(ui->TitleButton_4), static_cast<QWidget*>(ui->label_5),
                            static_cast<QWidget*>(ui->label_11), static_cast<QWidget*>(ui->ModelChoose),
                            static_cast<QWidget*>(ui->frameLOD), static_cast<QWidget*>(ui->Performance),
                            static_cast<QWidget*>(ui->PerformanceOpen), static_cast<QWidget*>(ui->frame),
                            static_cast<QWidget*>(ui->frame_4)})
        widget->setVisible(!compact);
    ui->frame_3->hide();

    // The slider spans the model's ranges; a model without usable ranges gets the form's span,
    // not the span of the model shown before.
    features.ReadDpiRangeList(ConfigSetting::Instance()->GetValueList(DriveGroup(), QStringLiteral("DPIRange")));
    bool maxOk = false;
    bool minOk = false;
    const int rangeMax = features.rangeMaxText.toInt(&maxOk);
    const int rangeMin = features.rangeMinText.toInt(&minOk);
    if (features.DpiRangeCount > 0 && maxOk && minOk && rangeMin <= rangeMax) {
        dpi->SetSliderMaximum(rangeMax);
        dpi->SetSliderMinimum(rangeMin);
    } else {
        dpi->RestoreSliderSpan();
    }

    for (int i = 0; i < grades; ++i) {
        const DpiLevelEntry& entry = record.dpiLevels[i];
        const int value = features.DecodeDpi(entry.codeX, entry.flags);
        dpi->SetLevelText(i, QString::number(value));
        if (i == record.currentDpiLevel) {
            emit bus->SigAddSensor(value);
            dpi->SetSliderValue(value);
            dpi->SetSpinValue(value);
        }
    }

    dpi->ShowLevelCount(int(record.dpiLevelCount) - 1);
    dpi->SetLevelCountIndex(int(record.dpiLevelCount) - 1);
    dpi->MoveMarkerToLevel(record.currentDpiLevel + 1);
    dpi->SelectLevel(record.currentDpiLevel);

    const int rateMode = RateModeOfStatus(device.status);
    if (rateMode >= 0) {
        ui->frameRate->SetRateMode(rateMode);
        ui->frameLOD->SetEnable(features.Offers(features.supportLodCal));
        // A compact model keeps ripple control hidden even when its sensor has it.
        ui->frame->setVisible(!compact && features.Offers(features.supportRipple));
        ui->frame_4->setVisible(features.Offers(features.supportFixLine));
        ui->frame_3->hide();
    }
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    SensorDPI* dpi = ui->frameDpi;
    dpi->ReleaseSlider();
    dpi->ClearLevelCountItems();
    dpi->BlockSliderSignals(true);
    dpi->SetSliderEnabled(true);
    SensorPageUpdated = false;
    {
        const RefreshingScope refreshing(SensorPageRefreshing);
        ApplyRecord(DataMap);
        dpi->BlockSliderSignals(false);
    }
    SensorPageUpdated = true;
    emit PostMsg::Instance()->SigtVis(0);
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    SensorDPI* dpi = ui->frameDpi;
    dpi->ReleaseSlider();
    dpi->ClearLevelCountItems();
    dpi->BlockSliderSignals(true);
    dpi->SetSliderEnabled(true);
    {
        const RefreshingScope refreshing(SensorPageRefreshing);
        ApplyRecord(DataMap);
        dpi->BlockSliderSignals(false);
    }
    emit PostMsg::Instance()->SigtVis(0);
}

void Sensor::SlotFormReset()
{
    PostMsg* bus = PostMsg::Instance();
    {
        const RefreshingScope refreshing(SensorPageRefreshing);
        SensorDPI* dpi = ui->frameDpi;
        dpi->SetSliderMaximum(24000);
        dpi->SetSliderMinimum(50);
        dpi->LoadDefaultLevels();
        dpi->ClearLevelCountItems();
        for (int i = 0; i < 6; ++i)
            dpi->InsertLevelCountItem(i, QString::number(i + 1));
        dpi->BlockLevelCountSignals(false);
        dpi->ShowLevelCount(5);
        dpi->SetLevelCountIndex(5);
        dpi->MoveMarkerToLevel(2);
        dpi->SelectLevel(1);
        ui->frameLOD->SetLOD(0);
        ui->Performance->setEnabled(true);
        ShowPerformance(true);
        ui->frame_3->SetChecked(true);
        dpi->SetSliderValue(800);
        dpi->SetSpinValue(800);
        emit bus->SigAddSensor(800);

        const DeviceAllInfo device = CurrentDeviceInfo.Get();
        const int status = device.status;
        const int rateMode = RateModeOfStatus(status);
        if (rateMode >= 0) {
            ui->frameRate->SetRateMode(rateMode);
            ui->frameRate->SetCurrentRate(status == 3 || status == 5 ? 6 : 3);
        }
        if (rateMode >= 0 || device.wired) {
            const QSignalBlocker blocker(ui->ModelChoose);
            ui->ModelChoose->setCurrentIndex(0);
            currentSensorMode = 0;
        }
        ReadModel();
        {
            const QSignalBlocker blocker(ui->PerformanceOpen);
            ui->PerformanceOpen->setCurrentIndex(2);
            currentPerformanceTime = 2;
        }
        ui->frameLOD->SetLOD(0);
        ShowPerformance(false);
        emit bus->Sig20KOpen(false);
        ui->frame_3->SetChecked(true);
        ui->frame_4->SetChecked(false);
        ui->frame->SetChecked(false);
    }
    emit bus->SigtVis(0);
}

void Sensor::SlotUpDataDPI(int level)
{
    const bool writesWereEnabled = UserWritesEnabled;
    UserWritesEnabled = false;
    ui->frameDpi->MoveMarkerToLevel(level + 1);
    if (level >= 0 && level < DpiLevelCount) {
        ui->frameDpi->SelectLevel(level);
        ui->frameDpi->SetCurrentLevelIndex(level);
    }
    UserWritesEnabled = writesWereEnabled;
}

void Sensor::SlotUpDataReportRate(int code)
{
    const bool wired = CurrentDeviceInfo.Get().wired;
    const int row = RateRow(code);
    if (row < 0)
        return;
    ui->frameRate->SetCurrentRate(row);
    if (!OffersModeChoice() || wired)
        return;
    if (IsFastRateCode(code))
        ShowSensorMode(CordedRow, false, true);
    else
        ShowSensorMode(DeviceConfigSnapshot().sensorMode, true, false);
}

void Sensor::SlotHideModel(int index)
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    if (!OffersModeChoice())
        return;
    if (index == 0 && !device.wired)
        ShowSensorMode(DeviceConfigSnapshot().sensorMode, true, false);
    else if (index == 1 && IsFastReceiverStatus(device.status))
        ShowSensorMode(CordedRow, false, true);
}

void Sensor::SlotAllLanguage(int language)
{
    if (language >= 0 && language < 8) {
        ui->frameLOD->MoveTips(language);
        ui->frame->MoveTips(language);
        ui->frame_3->MoveTips(language);
        ui->frame_4->MoveTips(language);
    }
    const int index = UiText::ValidLanguage(language);
    const QString reader = QStringLiteral("Sensor");
    auto text = [&](const char* key) { return UiText::ForReader(index, reader, QString::fromLatin1(key)); };
    ui->frameDpi->SetTitleText(text("DPISetting"));
    ui->frameRate->SetText(text("ReportRate"));
    ui->label_5->setText(text("SensorSetting"));
    ui->label_11->setText(text("SensorMode"));
    ui->label->setToolTip(text("SensorModeTips"));
    ui->frameLOD->SetText(text("LOD"));
    ui->frameLOD->SetToolTip(text("LODTips"));
    ui->frame_3->SetText(text("MotionSync"));
    ui->frame_3->SetToolTip(text("MotionSyncTips"));
    ui->Performance->setText(text("Performance"));
    ui->label_2->setToolTip(text("PerformanceTips"));
    ui->frame->SetText(text("Ripple"));
    ui->frame->SetToolTip(text("RippleTips"));
    ui->frame_4->SetText(text("Angle"));
    ui->frame_4->SetToolTip(text("AngleTips"));
    for (int row = 0; row < 8 && row < ui->PerformanceOpen->count(); ++row)
        ui->PerformanceOpen->setItemText(
            row, UiText::Option(index, QStringLiteral("PerformanceOptions"), QString::fromLatin1(PerformanceOptionKeys[row])));
    // Measured after the texts are in: each icon follows its caption and keeps clear of the next
    // panel, whose caption starts at its left edge.
    if (language >= 0 && language < 8) {
        PlaceTipsAfterCaption(ui->label_11, ui->label, 361, ui->frameLOD->x() - TipsGap);
        PlaceTipsAfterCaption(ui->Performance, ui->label_2, 361, ui->frame->x() - TipsGap);
    }
}

void Sensor::on_ModelChoose_currentIndexChanged(int index)
{
    if (!UserWritesEnabled || SensorPageRefreshing || index == CordedRow)
        return;
    if (SetDeviceSensorMode(uint8_t(index))) {
        currentSensorMode = index;
    } else {
        const QSignalBlocker blocker(ui->ModelChoose);
        ui->ModelChoose->setCurrentIndex(currentSensorMode);
    }
}

void Sensor::on_PerformanceOpen_currentIndexChanged(int index)
{
    if (!UserWritesEnabled || SensorPageRefreshing)
        return;
    if (!IsDeviceOnline()) {
        const QSignalBlocker blocker(ui->PerformanceOpen);
        ui->PerformanceOpen->setCurrentIndex(currentPerformanceTime);
        return;
    }
    const int code = PerformanceTimeCode(index);
    if (code < 0)
        return;
    if (SetDevicePerformanceTime(uint8_t(code))) {
        currentPerformanceTime = index;
    } else {
        const QSignalBlocker blocker(ui->PerformanceOpen);
        ui->PerformanceOpen->setCurrentIndex(currentPerformanceTime);
    }
}

void Sensor::on_Performance_clicked(bool checked)
{
    if (UserWritesEnabled && !SensorPageRefreshing) {
        if (SetDevicePerformanceMode(checked ? 1 : 0))
            emit PostMsg::Instance()->Sig20KOpen(checked);
        else
            ShowPerformance(!checked);
    }
    emit PostMsg::Instance()->SigtVis(0);
}

void Sensor::on_Performance_toggled(bool checked)
{
    ui->PerformanceOpen->setEnabled(checked);
}

void Sensor::on_LOD_currentIndexChanged(int)
{
}

void Sensor::changeEvent(QEvent* event)
{
    ui->PerformanceOpen->setEnabled(ui->Performance->isChecked());
    QWidget::changeEvent(event);
}
