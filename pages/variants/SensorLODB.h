#pragma once
#include <QFrame>
#include <QString>

class QButtonGroup;

namespace Ui {
class SensorLODB;
}

// The lift-off distance as three exclusive check boxes, 0.7 mm (hidden at start), 1 mm and 2 mm.
// A click writes the box's code into record byte 5; no bus message. A host shows or hides the
// 0.7 mm box and gives the texts; nothing checks a box from the device.
class SensorLODB : public QFrame
{
    Q_OBJECT
public:
    explicit SensorLODB(QWidget* parent = nullptr);
    ~SensorLODB() override;

    // Shows the 0.7 mm box first in the row: 0.7, 1, 2 mm at x 80, 165, 250.
    void ShowZeroOption();
    // Hides the 0.7 mm box: 1 and 2 mm at x 80 and 165.
    void HideZeroOption();
    // Enables or disables the 1 and 2 mm boxes (the 0.7 mm box stays as it is).
    void EnableOptions(bool enable);
    void SetText(const QString& text);
    void SetToolTip(const QString& text);

private slots:
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);
    void on_MM0_clicked(bool checked);

private:
    void Choose(uint8_t code);

    Ui::SensorLODB* ui;
    QString pictureFolder;
    QButtonGroup* group;
};
