#include "pages/sensor/Sensor.h"

#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/SensorFeatures.h"
#include "ui_Sensor.h"

namespace {

// Sets a page-refreshing flag for the life of the scope, also on an early return.
class RefreshingScope
{
public:
    explicit RefreshingScope(std::atomic<bool>& flag) : flag(flag) { flag = true; }
    ~RefreshingScope() { flag = false; }
    RefreshingScope(const RefreshingScope&) = delete;
    RefreshingScope& operator=(const RefreshingScope&) = delete;

private:
    std::atomic<bool>& flag;
};

} // namespace

Sensor::Sensor(QWidget* parent) : QWidget(parent), ui(new Ui::Sensor)
{
    ui->setupUi(this);
    SensorFeatures::Instance().ReadHeaderFile();

    PostMsg* bus = PostMsg::Instance();
    // Records and the reset notice come from the Worker and the report callback, which wait here.
    connect(bus, SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotUpDataSenSorUISensor(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigFormReset, this, &Sensor::SlotFormReset, Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
}

Sensor::~Sensor()
{
    delete ui;
}

void Sensor::ApplyRecord(const FlashDataMap& record)
{
    PostMsg* bus = PostMsg::Instance();
    const int modelIndex = CurrentDeviceInfo.Get().modelIndex;
    SensorFeatures& features = SensorFeatures::Instance();
    features.ReadSensorModel(modelIndex);
    features.ReadDpiRanges(modelIndex);

    emit bus->Sig20KOpen(record.performanceMode != 0);

    const int level = record.currentDpiLevel;
    if (level < DpiLevelCount) {
        const DpiLevelEntry& entry = record.dpiLevels[level];
        emit bus->SigAddSensor(features.DecodeDpi(entry.codeX, entry.flags));
    }
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap)
{
    SensorPageUpdated = false;
    {
        const RefreshingScope refreshing(SensorPageRefreshing);
        ApplyRecord(DataMap);
    }
    SensorPageUpdated = true;
    emit PostMsg::Instance()->SigtVis(0);
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap DataMap)
{
    {
        const RefreshingScope refreshing(SensorPageRefreshing);
        ApplyRecord(DataMap);
    }
    emit PostMsg::Instance()->SigtVis(0);
}

void Sensor::SlotFormReset()
{
    {
        const RefreshingScope refreshing(SensorPageRefreshing);
        PostMsg* bus = PostMsg::Instance();
        emit bus->SigAddSensor(800);
        SensorFeatures::Instance().ReadSensorModel(CurrentDeviceInfo.Get().modelIndex);
        emit bus->Sig20KOpen(false);
    }
    emit PostMsg::Instance()->SigtVis(0);
}
