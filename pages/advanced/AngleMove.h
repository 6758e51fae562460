#pragma once
#include <QFrame>
#include <QString>

namespace Ui {
class AngleMove;
}

// The angle the device holds as far as the program knows: set from every device record (0 on a
// reset) and by the sensor angle panel after each accepted write.
extern int CurrentSensorAngle;

// The sensor angle panel: a slider from -30 to +30 degrees, the angle as text and as a turned
// picture. A released handle writes the angle through SetDeviceAngle; a refused write puts slider,
// text and picture back to CurrentSensorAngle and disables the slider until the next record.
class AngleMove : public QFrame
{
    Q_OBJECT
public:
    explicit AngleMove(QWidget* parent = nullptr);
    ~AngleMove() override;

    void SetSliderValue(int value);
    void SetSliderEnabled(bool enabled);
    void SetTipsPos(int x, int y);
    // Where the tips icon belongs in the current language: just after the caption.
    int CaptionTipsX() const;
    void SetAngleText(const QString& text);
    void SetPreviewAngle(int degrees);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_AngleSet_sliderMoved(int position);
    void on_AngleSet_valueChanged(int value);

private:
    void ShowAngle(int value);

    Ui::AngleMove* ui;
    QString pictureFolder;
    QString labelColor;
};
