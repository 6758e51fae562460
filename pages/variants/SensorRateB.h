#pragma once
#include <QFrame>
#include <QString>

class QButtonGroup;
class QCheckBox;

namespace Ui {
class SensorRateB;
}

// The report rate as a row of seven exclusive check boxes, 125 Hz to 8000 Hz. A click writes the
// rate's code into record byte 0 and, once the device took it, tells the sensor page whether a
// fast rate is in force (SigHideModel). The checked box is the panel's only state; a host shows
// the device's rate by checking a box, which writes nothing.
class SensorRateB : public QFrame
{
    Q_OBJECT
public:
    explicit SensorRateB(QWidget* parent = nullptr);
    ~SensorRateB() override;

    // Which fast rates are offered: 0 none, 1 2000/4000, 2 2000, 3 all; others change nothing.
    void SetRateMode(int mode);
    void SetTitleText(const QString& text);

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

    Ui::SensorRateB* ui;
    QString pictureFolder;
    QButtonGroup* group;
};
