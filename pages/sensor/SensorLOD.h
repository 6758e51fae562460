#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class SensorLOD;
}

// The lift-off distance panel of the sensor page: "1mm" and "2mm", plus "0.7mm" on top for the
// sensors that have it. A choice writes record byte 5 through SetDeviceLOD and tells the summary
// panel the chosen text (SigAddLOD). The two layouts are told apart by the item count alone.
class SensorLOD : public QFrame
{
    Q_OBJECT
public:
    explicit SensorLOD(QWidget* parent = nullptr);
    ~SensorLOD() override;

    // Lift-off values are the device code minus 1: 0 = 1 mm, 1 = 2 mm, 2 = 0.7 mm.
    static QString TextOfValue(int value);

    // Adds "0.7mm" at row 0 when only the two items are there; keeps the shown distance.
    void AddItem();
    // Takes "0.7mm" away when the three items are there.
    void RemoveItem();
    void SetEnable(bool on);
    // Shows a value as the one in force on the device (nothing is written) and announces its text.
    void SetLOD(int value);
    void SetText(const QString& text);
    void SetToolTip(const QString& text);
    // Places the tips icon after the caption, whatever the language index.
    void MoveTips(int languageIndex);
    // The value last known to be in force on the device; -1 before the page first sets it.
    int CurrentLOD() const { return currentLOD; }

public slots:
    void SlotAllLanguage(int language);

private slots:
    void on_LOD_currentIndexChanged(int index);

private:
    bool HasThreeItems() const;
    void PlaceTips();
    // The combo row of a value in the present layout; -1 when it has none.
    int RowOfValue(int value) const;

    Ui::SensorLOD* ui;
    QString pictureFolder;
    int currentLOD = -1;
};
