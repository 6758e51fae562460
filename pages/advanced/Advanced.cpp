#include "pages/advanced/Advanced.h"

#include "device/DeviceDiscovery.h"
#include "device/PostMsg.h"
#include "pages/advanced/AngleMove.h"
#include "pages/advanced/CurvePlotWidget.h"
#include "pages/advanced/KFPS20.h"
#include "pages/advanced/LongMode.h"
#include "pages/advanced/StopCloseTime.h"
#include "platform/AppPaths.h"
#include "ui_Advanced.h"
#include "widgets/ThemeColor.h"
#include "widgets/TipsPlacement.h"
#include "widgets/UiText.h"

#include <QButtonGroup>
#include <QTabBar>
#include <QWheelEvent>

namespace {

// The names of the four curve modes are the option texts of these mode values, in label order.
const char* const ModeOptionKeys[4] = {"1", "2", "3", "0"};

// Tips icons are placed for the language indexes the program has places for; any other index
// leaves them where they are.
bool HasTipsPlaces(int index)
{
    return index >= 0 && index <= 7;
}

} // namespace

Advanced::Advanced(QWidget* parent) : QWidget(parent), ui(new Ui::Advanced)
{
    ui->setupUi(this);
    // The panels are laid out by space alone: their drawn frames would box them on the dark page.
    for (QFrame* panel : {static_cast<QFrame*>(ui->frameClose), static_cast<QFrame*>(ui->FrameFPS),
                          static_cast<QFrame*>(ui->FrameLongMode), static_cast<QFrame*>(ui->FrameAngle)})
        panel->setFrameShape(QFrame::NoFrame);
    // The curves show what a mode does; they are not edited here.
    for (CurvePlotWidget* plot : {ui->PicA, ui->PicB, ui->PicC, ui->PicD})
        plot->editable = 0;
    ui->FrameAngle->hide();

    modeGroup = new QButtonGroup(this);
    modeGroup->setExclusive(true);
    for (QCheckBox* mode : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        modeGroup->addButton(mode);
    ui->AdvancedTab->setCurrentIndex(0);
    ui->ModeTab->setCurrentIndex(0);
    ui->checkBox_3->setChecked(true);

    ui->verticalScrollBar->hide();
    ui->verticalScrollBar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical{width: 12px;background: #3f3f3f;border-radius: 6px;margin: 0px;}"
        "QScrollBar::handle:vertical{background: #5B5B5B;border-radius: 5px;min-height: 20px;}"
        "QScrollBar::handle:vertical:hover{background: #666666;}"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical{height: 0px;}"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical{background: none;}"));
    ui->FrameLongMode->hide();

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Advanced/");
    const QString& folder = pictureFolder;
    ui->TitleButton_5->setStyleSheet(QStringLiteral("#TitleButton_5{border-image: url(") + folder + QStringLiteral("Title.png);}"));
    ui->TitleButton->setStyleSheet(QStringLiteral("#TitleButton{border-image: url(") + folder + QStringLiteral("Title.png);}"));
    const QString paneStyle =
        QStringLiteral("QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}");
    ui->AdvancedTab->setStyleSheet(paneStyle);
    ui->ModeTab->setStyleSheet(paneStyle);

    labelColor = ThemeColor(QStringLiteral("LabelColor"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}");
    for (QLabel* label : {ui->label, ui->label_2, ui->label_4, ui->label_8, ui->label_9, ui->label_10, ui->label_11})
        label->setStyleSheet(labelStyle);
    const auto checkStyle = [&](const QString& checkedImage, const QString& uncheckedImage) {
        return QStringLiteral("QCheckBox{color: rgb(") + labelColor + QStringLiteral(");}QCheckBox:indicator::checked {image: url(")
               + folder + checkedImage + QStringLiteral(");}QCheckBox::indicator::unchecked {image: url(") + folder
               + uncheckedImage + QStringLiteral(");}");
    };
    ui->checkBox_2->setStyleSheet(checkStyle(QStringLiteral("CheckBoxChecked.png"), QStringLiteral("CheckBox.png")));
    const QString modeStyle = checkStyle(QStringLiteral("LODCheck.png"), QStringLiteral("LOD.png"));
    for (QCheckBox* mode : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        mode->setStyleSheet(modeStyle);
    const QString tipsStyle = QStringLiteral("QLabel{border-image: url(") + folder + QStringLiteral("Tips.png);}");
    ui->Error->setStyleSheet(tipsStyle);
    ui->Error_4->setStyleSheet(tipsStyle);

    ui->AdvancedTab->tabBar()->hide();
    ui->ModeTab->tabBar()->hide();

    PostMsg* bus = PostMsg::Instance();
    // The record and form notices come from the Worker and the report callback, which wait here.
    connect(bus, SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotUpDataSenSorUISensor(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
    connect(bus, &PostMsg::SigAllLanguage, this, &Advanced::SlotAllLanguage);
    connect(bus, &PostMsg::SigFormReset, this, &Advanced::SlotFormReset, Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigForm, this, &Advanced::SlotForm, Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigFormB, this, &Advanced::SlotFormB);
    connect(bus, &PostMsg::SigLongRangeMode, this, &Advanced::SlotLongRangeMode, Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::Sig20KOpen, this, &Advanced::Slot20KOpen);
    connect(bus, &PostMsg::SigtVis, this, &Advanced::SetPos);

    SlotAllLanguage(UiLanguage);
    SetModeLabelsActive(0);
    for (QCheckBox* mode : {ui->checkBox_6, ui->checkBox_3, ui->checkBox_4, ui->checkBox_5})
        mode->setEnabled(false);
}

Advanced::~Advanced()
{
    delete ui;
}

StopCloseTime* Advanced::SleepTimePanel() const
{
    return ui->frameClose;
}

KFPS20* Advanced::Fps20KPanel() const
{
    return ui->FrameFPS;
}

LongMode* Advanced::LongRangePanel() const
{
    return ui->FrameLongMode;
}

AngleMove* Advanced::AnglePanel() const
{
    return ui->FrameAngle;
}

bool Advanced::Fps20KChecked() const
{
    return ui->FrameFPS->IsChecked();
}

bool Advanced::LongRangeChecked() const
{
    return ui->FrameLongMode->IsChecked();
}

int Advanced::SensorAngle() const
{
    return CurrentSensorAngle;
}

void Advanced::ApplyRecord(const FlashDataMap& record)
{
    // Byte 15 is a signed angle. The slider holds it within -30..30; text, picture and the
    // program's idea of the device's angle take the value as the device holds it.
    const int angle = int8_t(record.sensorAngle);
    ui->FrameAngle->SetPreviewAngle(angle);
    ui->FrameAngle->SetSliderValue(angle);
    CurrentSensorAngle = angle;
    ui->FrameAngle->SetAngleText(QString::number(angle) + QStringLiteral("°"));

    const int row = StopCloseTime::RowOfCode(record.sleepTime);
    if (row >= 0)
        ui->frameClose->SetCurrentIndex(row);

    ui->FrameFPS->hide();
    ui->FrameFPS->SetChecked(record.sensor20KFps == 1);
    emit PostMsg::Instance()->SigtVis(0);
}

void Advanced::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    // A record from the device ends any refusal the angle slider showed.
    ui->FrameAngle->SetSliderEnabled(true);
    ApplyRecord(DataMap);
}

void Advanced::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    ui->FrameAngle->setEnabled(true);
    ApplyRecord(DataMap);
}

void Advanced::SlotAllLanguage(int index)
{
    const int language = UiText::ValidLanguage(index);
    const QString reader = QStringLiteral("Advanced");
    const auto text = [&](const char* key) { return UiText::ForReader(language, reader, QLatin1String(key)); };

    CurveAxisTextX = text("dpiModeTipsX");
    CurveAxisTextY = text("dpiModeTipsY");
    ui->label_2->setText(text("dpiSensitivityTitle"));
    ui->Error_4->setToolTip(text("dpiSensitivityTips").replace(QLatin1String("\n"), QLatin1String("<br>")));
    ui->label_4->setText(text("dpiModeTitle"));
    QLabel* const modeLabels[4] = {ui->label_8, ui->label_9, ui->label_10, ui->label_11};
    for (int mode = 0; mode < 4; ++mode)
        modeLabels[mode]->setText(
            UiText::Option(language, QStringLiteral("dpiModeOptions"), QLatin1String(ModeOptionKeys[mode])));
    // The texts of the sleep-time rows are the option texts keyed by each row's device code.
    for (int row = 0; row < StopCloseTime::ItemCount; ++row)
        ui->frameClose->SetItemText(row, UiText::Option(language, QStringLiteral("PerformanceOptions"),
                                                        QString::number(StopCloseTime::CodeOfRow(row))));
    ui->label->setText(text("SleepTime"));
    ui->Error->setToolTip(text("SleepTimeTips"));

    if (!HasTipsPlaces(index))
        return;
    // The icons follow their captions' texts, whose widths differ by language and font.
    PlaceTipsAfterCaption(ui->label, ui->Error, 53, ui->AdvancedTab->width());
    ui->FrameFPS->SetTipsPos(ui->FrameFPS->CaptionTipsX(), 6);
    ui->FrameAngle->SetTipsPos(ui->FrameAngle->CaptionTipsX(), 6);
    PlaceTipsAfterCaption(ui->label_2, ui->Error_4, 54, ui->AdvancedTab->width());
}

void Advanced::SlotFormReset()
{
    ui->frameClose->SetCurrentIndex(2);
    ui->FrameLongMode->hide();
    // The next layout shows the long-range panel again.
    longRangeWanted = true;
    ui->FrameFPS->SetChecked(false);
    ui->FrameAngle->SetSliderValue(0);
    CurrentSensorAngle = 0;
    ui->FrameAngle->SetAngleText(QStringLiteral("0°"));
}

void Advanced::TakeLongRangeFromModel()
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    longRangeWanted = LongMode::ModelHasLongRange(device.modelIndex);
    // A mouse on its cable has no receiver to switch.
    if (device.wired)
        longRangeWanted = false;
    ui->FrameLongMode->setVisible(longRangeWanted);
    emit PostMsg::Instance()->SigtVis(0);
}

void Advanced::SlotForm()
{
    TakeLongRangeFromModel();
}

void Advanced::SlotFormB()
{
    TakeLongRangeFromModel();
}

void Advanced::SlotLongRangeMode(bool Select)
{
    // The report callback waits for this slot: the panel only shows the reported mode and never
    // reaches the device library from here.
    if (LongMode::ModelHasLongRange(CurrentDeviceInfo.Get().modelIndex)) {
        ui->FrameLongMode->show();
        ui->FrameLongMode->SetChecked(Select);
        longRangeWanted = true;
    }
    emit PostMsg::Instance()->SigtVis(0);
}

void Advanced::Slot20KOpen(bool Open)
{
    ui->FrameFPS->hide();
    if (!Open)
        ui->FrameFPS->SetChecked(false);
}

void Advanced::SetPos(int index)
{
    // The layout follows the long-range flag alone. The angle panel's tips icon follows its caption,
    // which only a language change moves, so it is not placed again here.
    Q_UNUSED(index)
    ui->FrameFPS->hide();
    ui->FrameAngle->hide();
    if (longRangeWanted) {
        ui->FrameLongMode->show();
        ui->FrameLongMode->move(0, 160);
        ui->FrameAngle->move(0, 263);
    } else {
        ui->FrameLongMode->hide();
        ui->FrameAngle->move(0, 160);
    }
}

void Advanced::SetModeLabelsActive(int active)
{
    const QString style = active == 1 ? QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}")
                                      : QStringLiteral("QLabel{color: rgb(115,115,115);}");
    for (QLabel* label : {ui->label_8, ui->label_9, ui->label_10, ui->label_11})
        label->setStyleSheet(style);
}

void Advanced::on_checkBox_2_clicked(bool checked)
{
    for (QCheckBox* mode : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        mode->setEnabled(checked);
    SetModeLabelsActive(checked ? 1 : 0);
}

void Advanced::ShowModeCurve(int page, bool checked)
{
    if (checked)
        ui->ModeTab->setCurrentIndex(page);
}

void Advanced::on_checkBox_3_clicked(bool checked)
{
    ShowModeCurve(0, checked);
}

void Advanced::on_checkBox_4_clicked(bool checked)
{
    ShowModeCurve(1, checked);
}

void Advanced::on_checkBox_5_clicked(bool checked)
{
    ShowModeCurve(2, checked);
}

void Advanced::on_checkBox_6_clicked(bool checked)
{
    ShowModeCurve(3, checked);
}

void Advanced::on_verticalScrollBar_valueChanged(int value)
{
    if (value == 1)
        ui->AdvancedTab->setCurrentIndex(0);
    else if (value == 2)
        ui->AdvancedTab->setCurrentIndex(1);
}

void Advanced::wheelEvent(QWheelEvent* event)
{
    // A wheel turn over the page neither scrolls it nor reaches the device window. Qt hands the
    // event over ignored, and an ignored wheel goes on to the parent: take it.
    event->accept();
}
