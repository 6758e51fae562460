#pragma once
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "support/SimulatedDeviceFixture.h"

#include <QSignalSpy>
#include <QWidget>
#include <QtTest>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

// The simulated wired mouse a panel on a test window writes to: the baseline record the device and
// the working copy hold before an action, the action's situation, and what reached the device.
class PanelBench
{
public:
    using Changes = std::vector<std::pair<int, int>>;

    SimulatedDevices devices;
    int mouse = -1;
    FlashDataMap baseline{};

    // The wired mouse current and connected, writes allowed, no page refreshing, its record in the
    // working copy, and the offline notices counted from here on.
    bool Open()
    {
        mouse = devices.OpenWiredMouse(&baseline);
        offline = std::make_unique<QSignalSpy>(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        return mouse >= 0;
    }

    // Gives record bytes values the tests never write there, so every write shows on the device.
    bool Mark(const Changes& changes)
    {
        for (const auto& change : changes)
            baseline.bytes()[change.first] = uint8_t(change.second);
        AdoptDeviceConfig(baseline);
        PushDeviceConfig();
        return SimControl_WaitIdle(2000) && devices.RecordDifferences(mouse, baseline).isEmpty();
    }

    // Writes allowed or not, a page refreshing or not, the mouse attached or taken away.
    // Returns the device's update count before the action.
    int Situation(bool writes, bool sensorRefreshing, bool online, bool lightRefreshing = false)
    {
        const int updates = SimulatedDevices::Situation(mouse, writes, sensorRefreshing, online);
        LightPageRefreshing = lightRefreshing;
        offline->clear();
        return updates;
    }

    int OfflineNotices() const { return offline->count(); }

    // The mouse opened with the marks laid on its record (Open, Mark), and a panel of the given
    // kind shown on `window`; nullptr when the mouse cannot be opened or marked.
    template <typename Panel>
    Panel* OpenPanel(QWidget& window, const Changes& marks = {})
    {
        if (!Open() || (!marks.empty() && !Mark(marks)))
            return nullptr;
        auto* panel = new Panel(&window);
        window.show();
        return panel;
    }

    // Where the device or the working copy differ from the baseline with `changes` laid over it,
    // or a record count other than `records` since `updatesBefore`; empty when all is as expected.
    QString Differences(int updatesBefore, int records, const Changes& changes)
    {
        if (!SimControl_WaitIdle(2000))
            return QStringLiteral("the device stayed busy");
        FlashDataMap expected = baseline;
        for (const auto& change : changes)
            expected.bytes()[change.first] = uint8_t(change.second);
        QString differences = devices.RecordDifferences(mouse, expected);
        if (SimControl_UpdateCount() != updatesBefore + records)
            differences += QString(" %1 records reached the device, expected %2")
                               .arg(SimControl_UpdateCount() - updatesBefore)
                               .arg(records);
        if (std::memcmp(DeviceConfigSnapshot().bytes(), expected.bytes(), sizeof expected) != 0)
            differences += QStringLiteral(" the working copy differs");
        return differences;
    }

private:
    std::unique_ptr<QSignalSpy> offline;
};

// What the panel test cases share: a temporary HOME and a bench, made when the case starts (from its
// initTestCase) and gone when it ends (from its cleanupTestCase).
class PanelBenchCase
{
protected:
    TestHome home;
    PanelBench* bench = nullptr;

    void StartBench()
    {
        home.MakeUserFolders();
        bench = new PanelBench;
    }
    void StopBench()
    {
        UsbServer_Exit();
        delete bench;
        bench = nullptr;
    }
};

// The device and the working copy hold the baseline with the changes ({{offset, value}, ...}) laid over
// it, and `records` records reached the device since `updates`.
#define EXPECT_DEVICE(bench, updates, records, ...)                                                                  \
    do {                                                                                                             \
        const QString differences_ = (bench).Differences((updates), (records), PanelBench::Changes(__VA_ARGS__));    \
        QVERIFY2(differences_.isEmpty(), qPrintable(differences_));                                                  \
    } while (false)

// When `written`: the changes laid over the baseline and `records` records, as EXPECT_DEVICE; else
// the device and the working copy hold the baseline and no record reached the device.
#define EXPECT_DEVICE_IF(bench, updates, written, records, ...)                                                      \
    EXPECT_DEVICE(bench, updates, (written) ? (records) : 0,                                                         \
                  (written) ? PanelBench::Changes(__VA_ARGS__) : PanelBench::Changes())
