#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <QWidget>

namespace Ui {
class Advanced;
}

class AngleMove;
class KFPS20;
class LongMode;
class QButtonGroup;
class StopCloseTime;

// The advanced page: sleep time and, for models that have it, the receiver's long-range mode.
// The 20K-FPS and sensor angle panels are built and kept in step with every record but stay
// hidden, and the page of mode curves behind them cannot be reached. The page itself writes
// nothing to the device; its panels do. It follows the record the device sends, the model's
// features and the UI language.
class Advanced : public QWidget
{
    Q_OBJECT
public:
    explicit Advanced(QWidget* parent = nullptr);
    ~Advanced() override;

    StopCloseTime* SleepTimePanel() const;
    KFPS20* Fps20KPanel() const;
    LongMode* LongRangePanel() const;
    AngleMove* AnglePanel() const;
    // What the page shows of the device's 20K-FPS, long-range and angle state.
    bool Fps20KChecked() const;
    bool LongRangeWanted() const { return longRangeWanted; }
    bool LongRangeChecked() const;
    int SensorAngle() const;

    // The names of the four curve modes in the theme's label colour (1) or greyed (any other value).
    void SetModeLabelsActive(int active);

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

private slots:
    void on_verticalScrollBar_valueChanged(int value);
    void on_checkBox_3_clicked(bool checked);
    void on_checkBox_4_clicked(bool checked);
    void on_checkBox_5_clicked(bool checked);
    void on_checkBox_6_clicked(bool checked);
    void on_checkBox_2_clicked(bool checked);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void ApplyRecord(const FlashDataMap& record);
    void TakeLongRangeFromModel();
    void ShowModeCurve(int page, bool checked);

    Ui::Advanced* ui;
    QString pictureFolder;
    QButtonGroup* modeGroup;
    // The long-range panel belongs on the page.
    bool longRangeWanted = false;
    QString labelColor;
};
