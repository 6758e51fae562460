#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <QWidget>

namespace Ui {
class Advanced;
}

class StopCloseTime;

// The advanced page: sleep time, 20K-FPS scanning, long-range mode and sensor angle. The page itself
// writes nothing to the device; its panels do. It follows the record the device sends, the model's
// features and the UI language.
class Advanced : public QWidget
{
    Q_OBJECT
public:
    explicit Advanced(QWidget* parent = nullptr);
    ~Advanced() override;

    // The sleep-time row of a record's byte 8 (tens of seconds): 0..7, or -1 when the value has no row.
    static int SleepRowOfCode(int code);

    StopCloseTime* SleepTimePanel() const;
    // What the page last took from the device for its 20K-FPS, long-range and angle panels.
    bool Fps20KChecked() const { return fps20KChecked; }
    bool LongRangeWanted() const { return longRangeWanted; }
    bool LongRangeChecked() const { return longRangeChecked; }
    int SensorAngle() const { return sensorAngle; }

public slots:
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void SlotAllLanguage(int index);
    void SlotFormReset();
    void SlotForm();
    void SlotFormB();
    void SlotLongRangeMode(bool Select);
    void Slot20KOpen(bool Open);
    void SetPos(int index);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void ApplyRecord(const FlashDataMap& record);
    void TakeLongRangeFromModel();
    // Entry 0 of the model's "Adveanced" list is not "-1": the model has a long-range mode.
    static bool ModelHasLongRange();

    Ui::Advanced* ui;
    QString pictureFolder;
    QString labelColor;
    // The long-range panel belongs on the page.
    bool longRangeWanted = false;
    bool longRangeChecked = false;
    bool fps20KChecked = false;
    int sensorAngle = 0;
};
