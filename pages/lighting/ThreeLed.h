#pragma once
#include <QFrame>
#include <QString>

class QComboBox;

namespace Ui {
class ThreeLed;
}

// The receiver indicator LEDs panel: what each of the receiver's three LEDs shows (the first item,
// signal quality, battery level or report rate), with a legend of the colours each kind uses. A
// change goes to the receiver as the whole indicator LED record; when the receiver takes it, the
// mouse's record is pushed too. A refused change puts the LED's list and its byte of the record
// back and tells the user.
class ThreeLed : public QFrame
{
    Q_OBJECT
public:
    explicit ThreeLed(QWidget* parent = nullptr);
    ~ThreeLed() override;

    // Show an LED's item without sending it. An item the list does not hold (a receiver byte out
    // of range) is not shown: the list keeps the item it shows.
    void SetLed1Mode(int index);
    void SetLed2Mode(int index);
    void SetLed3Mode(int index);
    // The item LED 0..2 shows.
    int ShownLedMode(int led) const;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_LightMod_3_currentIndexChanged(int index);
    void on_LightMod_4_currentIndexChanged(int index);
    void on_LightMod_5_currentIndexChanged(int index);

private:
    QComboBox* Led(int led) const;
    void ShowQuietly(int led, int index);
    void Chosen(int led, int index);

    Ui::ThreeLed* ui;
    QString pictureFolder;
};
