#pragma once
#include <QFrame>
#include <QString>

class QSlider;
class QSpinBox;

namespace Ui {
class SensorEffect;
}

// The DPI light effect panel of the lighting page: whether the DPI indicator light is off, steady or
// breathing, how fast it breathes and how bright it shines. A user change goes straight to the
// device through the DPI light setters; the lighting page shows the device's values through the
// operations below, none of which writes.
class SensorEffect : public QFrame
{
    Q_OBJECT
public:
    explicit SensorEffect(QWidget* parent = nullptr);
    ~SensorEffect() override;

    // Shows a mode 0 off, 1 steady, 2 breathing without writing it, with the rows of that mode, and
    // takes it as the mode in force on the device. Any other mode changes nothing.
    void SetModel(int mode);
    void SetSpeedValue(int speed);
    // The brightness step 1..10, not the device code.
    void SetLightValue(int step);
    void EnableSliders(bool enable);
    // Enables both sliders and lets their signals through again.
    void UnlockSliders();
    void SetModelItemText(int index, const QString& text);
    void SetTitleText(const QString& text);
    void SetSpeedText(const QString& text);
    void SetLightText(const QString& text);

    // The mode last accepted by the device or shown by the page.
    int RememberedMode() const { return rememberedMode; }

private slots:
    void on_Model_currentIndexChanged(int index);
    void on_SpeedH_valueChanged(int value);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);

private:
    void ApplyMode(int mode);
    // A row of the panel in use or only showing its value.
    void ShowRow(QSlider* slider, QSpinBox* box, bool inUse);
    void Dragged(QSlider* slider, QSpinBox* box, int position);
    // The write of a released slider; write is the setter call for the slider's value.
    template <typename Write>
    void Released(QSlider* slider, QSpinBox* box, int value, Write write);
    static bool WritesAllowed();

    Ui::SensorEffect* ui;
    QString pictureFolder;
    int rememberedMode = 0;
};
