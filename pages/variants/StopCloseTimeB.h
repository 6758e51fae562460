#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class StopCloseTimeB;
}

// The sleep time on an eleven-step slider from 10 seconds to 40 minutes, the chosen time shown as a
// number with its unit beside it. A released slider writes the step's code into record byte 8,
// unless the lighting page is refreshing.
class StopCloseTimeB : public QFrame
{
    Q_OBJECT
public:
    explicit StopCloseTimeB(QWidget* parent = nullptr);
    ~StopCloseTimeB() override;

    // Shows row 0..10 (slider position row + 1) without writing it.
    void SetValue(int index);
    // Takes the unit words from a host's sleep-time texts: row 0's text without its "10" is the
    // seconds unit, row 5's without its "15" the minutes unit; other rows are ignored.
    void SetUnitText(int index, const QString& text);
    // The number shown for a slider position 1..11; 0 outside.
    static int SleepDisplayNumber(int position);

private slots:
    void on_StopClose_sliderMoved(int position);
    void on_StopClose_valueChanged(int value);

private:
    void Show(int position);

    Ui::StopCloseTimeB* ui;
    QString pictureFolder;
    QString secondsSuffix;
    QString minutesSuffix;
};
