#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class StopCloseTime;
}

// The sleep-time panel of the advanced page: after how long an idle mouse goes to sleep. A choice
// writes record byte 8 through SetDeviceSleepTime; a refused write puts the previous row back.
class StopCloseTime : public QFrame
{
    Q_OBJECT
public:
    explicit StopCloseTime(QWidget* parent = nullptr);
    ~StopCloseTime() override;

    // The device code (tens of seconds) of each row; rows 8..10 have codes but no items.
    static constexpr int RowCount = 11;
    static const int SleepTimeCodes[RowCount];
    // The code of a row, -1 outside 0..10.
    static int CodeOfRow(int row);
    // The row 0..7 (the rows with items) of a device code, -1 for a code without an item.
    static int RowOfCode(int code);
    static constexpr int ItemCount = 8;

    // Shows a row without writing it and takes it as the row in force on the device.
    void SetCurrentIndex(int row);
    void SetItemText(int row, const QString& text);
    // The row last known to be in force on the device.
    int CurrentRow() const { return currentRow; }

private slots:
    void on_StopClose_activated(int index);

private:
    Ui::StopCloseTime* ui;
    QString pictureFolder;
    int currentRow = 0;
};
