#pragma once
#include <QFrame>
#include <QString>

class QButtonGroup;
class QToolButton;

namespace Ui {
class SensorRate;
}

// The report-rate panel of the sensor page: seven exclusive rate buttons, 125 Hz to 8000 Hz.
// A click writes record byte 0 through SetDeviceReportRate and tells the summary panel the rate
// (SigAddReport) and the sensor page whether a fast rate is in force (SigHideModel).
class SensorRate : public QFrame
{
    Q_OBJECT
public:
    explicit SensorRate(QWidget* parent = nullptr);
    ~SensorRate() override;

    static constexpr int RowCount = 7;
    // Rate in hertz and device code of each row; -1 outside 0..6.
    static int RateOfRow(int row);
    static int CodeOfRow(int row);
    // Whether a row is one of the fast rates (above 1000 Hz) that SigHideModel(1) announces.
    static bool IsFastRow(int row);
    // Shows or hides the 2000, 4000 and 8000 Hz controls of any rate panel for a rate mode (table
    // of SetRateMode); any other mode changes nothing.
    static void ShowFastRates(int mode, QWidget* rate2000, QWidget* rate4000, QWidget* rate8000);

    // Shows the rate of a row as the one in force on the device (nothing is written) and
    // announces it; any other value is only stored.
    void SetCurrentRate(int row);
    // Which fast rates the device offers: 0 none, 1 2000/4000, 2 2000, 3 all; others change nothing.
    void SetRateMode(int mode);
    void SetText(const QString& text);
    // The row last known to be in force on the device; -1 before the page first sets it.
    int CurrentRate() const { return currentRate; }

public slots:
    void SlotAllLanguage(int language);

private slots:
    void on_Button125HZ_clicked(bool checked);
    void on_Button250HZ_clicked(bool checked);
    void on_Button500HZ_clicked(bool checked);
    void on_Button1000HZ_clicked(bool checked);
    void on_Button2000HZ_clicked(bool checked);
    void on_Button4000HZ_clicked(bool checked);
    void on_Button8000HZ_clicked(bool checked);

private:
    void RateClicked(int row, bool checked);
    QToolButton* ButtonOfRow(int row) const;

    Ui::SensorRate* ui;
    QString pictureFolder;
    QButtonGroup* group;
    int currentRate = -1;
};
