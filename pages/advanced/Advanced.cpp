#include "pages/advanced/Advanced.h"

#include "device/ConfigSetting.h"
#include "device/DeviceDiscovery.h"
#include "device/PostMsg.h"
#include "pages/advanced/StopCloseTime.h"
#include "platform/AppPaths.h"
#include "ui_Advanced.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"

#include <QTabBar>

namespace {

// The texts of the sleep-time rows are the option texts keyed by each row's device code.
const char* const SleepRowKeys[8] = {"1", "3", "6", "12", "18", "30", "60", "90"};

QString ModelGroup()
{
    return QStringLiteral("Drive") + QString::number(CurrentDeviceInfo.Get().modelIndex + 1);
}

} // namespace

Advanced::Advanced(QWidget* parent) : QWidget(parent), ui(new Ui::Advanced)
{
    ui->setupUi(this);
    ui->AdvancedTab->setCurrentIndex(0);
    ui->AdvancedTab->tabBar()->hide();

    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Advanced/");
    ui->TitleButton->setStyleSheet(QStringLiteral("#TitleButton{border-image: url(") + pictureFolder
                                   + QStringLiteral("Title.png);}"));
    ui->AdvancedTab->setStyleSheet(
        QStringLiteral("QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}"));
    labelColor = ThemeColor(QStringLiteral("LabelColor"));
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(");}"));
    ui->Error->setStyleSheet(QStringLiteral("QLabel{border-image: url(") + pictureFolder + QStringLiteral("Tips.png);}"));

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
}

Advanced::~Advanced()
{
    delete ui;
}

StopCloseTime* Advanced::SleepTimePanel() const
{
    return ui->frameClose;
}

int Advanced::SleepRowOfCode(int code)
{
    for (int row = 0; row < 8; ++row) {
        if (StopCloseTime::SleepTimeCodes[row] == code)
            return row;
    }
    return -1;
}

void Advanced::ApplyRecord(const FlashDataMap& record)
{
    sensorAngle = record.sensorAngle;
    const int row = SleepRowOfCode(record.sleepTime);
    if (row >= 0)
        ui->frameClose->SetCurrentIndex(row);
    fps20KChecked = record.sensor20KFps == 1;
    emit PostMsg::Instance()->SigtVis(0);
}

void Advanced::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    ApplyRecord(DataMap);
}

void Advanced::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    ApplyRecord(DataMap);
}

void Advanced::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("Advanced");
    for (int row = 0; row < 8; ++row)
        ui->frameClose->SetItemText(row, UiText::Option(index, QStringLiteral("PerformanceOptions"),
                                                        QLatin1String(SleepRowKeys[row])));
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("SleepTime")));
    ui->Error->setToolTip(UiText::ForReader(index, reader, QStringLiteral("SleepTimeTips")));
    // The tips icon follows the caption, whose width differs by language and font.
    ui->Error->move(ui->label->x() + ui->label->fontMetrics().horizontalAdvance(ui->label->text()) + 8, 53);
}

void Advanced::SlotFormReset()
{
    ui->frameClose->SetCurrentIndex(2);
    longRangeWanted = true;
    fps20KChecked = false;
    sensorAngle = 0;
}

bool Advanced::ModelHasLongRange()
{
    const QStringList features = ConfigSetting::Instance()->GetValueList(ModelGroup(), QStringLiteral("Adveanced"));
    return !features.isEmpty() && features.first().trimmed() != QLatin1String("-1");
}

void Advanced::TakeLongRangeFromModel()
{
    longRangeWanted = ModelHasLongRange();
    // A mouse on its cable has no receiver to switch.
    if (CurrentDeviceInfo.Get().wired)
        longRangeWanted = false;
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
    if (ModelHasLongRange()) {
        longRangeWanted = true;
        longRangeChecked = Select;
    }
    emit PostMsg::Instance()->SigtVis(0);
}

void Advanced::Slot20KOpen(bool Open)
{
    if (!Open)
        fps20KChecked = false;
}

void Advanced::SetPos(int index)
{
    Q_UNUSED(index)
    // The 20K-FPS, long-range and angle panels join the page with their own Parts; the layout they
    // take from longRangeWanted starts at y 160 under the sleep-time panel.
}

void Advanced::wheelEvent(QWheelEvent* event)
{
    // A wheel turn over the page neither scrolls it nor reaches the device window.
    Q_UNUSED(event)
}
