#pragma once
#include <QFrame>
#include <QString>

class QButtonGroup;
class QSlider;
class QSpinBox;

namespace Ui {
class SensorEffectB;
}

// The DPI light effect chosen with three exclusive check boxes (steady, breathing, off), with the
// breathing speed and the steady brightness on sliders. It writes the same record bytes as the
// lighting page's DPI light effect panel (0x54 to 0x57) and keeps the user's choice when the mouse
// refuses. A host shows the device's mode with SetModel, which writes nothing.
class SensorEffectB : public QFrame
{
    Q_OBJECT
public:
    explicit SensorEffectB(QWidget* parent = nullptr);
    ~SensorEffectB() override;

    // Checks the box of mode 0 off, 1 steady, 2 breathing and shows that mode's rows, writing
    // nothing; any other mode changes nothing.
    void SetModel(int mode);
    void EnableSliders(bool enable);
    // Text of the box of mode 0, 1 or 2; other indexes are ignored.
    void SetModelItemText(int index, const QString& text);
    void SetTitleText(const QString& text);
    void SetSpeedText(const QString& text);
    void SetLightText(const QString& text);

private slots:
    void on_Model_currentIndexChanged(int index);
    void on_SpeedH_valueChanged(int value);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);
    void on_MM3_clicked(bool checked);
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);

private:
    bool ApplyMode(int mode);
    void ModeClicked(int mode, bool checked);
    static bool WritesAllowed();

    Ui::SensorEffectB* ui;
    QString pictureFolder;
    QButtonGroup* group;
};
