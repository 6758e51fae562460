#pragma once
#include "pages/lighting/LightPanel.h"

namespace Ui {
class MouseLight;
}

// The mouse light panel of the lighting page: the light's mode, brightness, speed and colour, and
// whether it goes out while the mouse moves. Each change goes to the mouse through the mouse light
// setters; the lighting page shows the mouse's values through the operations of LightPanel and the
// two below.
class MouseLight : public LightPanel
{
    Q_OBJECT
public:
    explicit MouseLight(QWidget* parent = nullptr);
    ~MouseLight() override;

    void EnableSliders(bool enable);
    // Shows the option without writing it (the button answers clicks only).
    void SetRippeControl(bool on);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_RippeControl_clicked(bool checked);

private:
    bool WriteMode(int index) override;
    bool WriteLight(int value) override;
    bool WriteSpeed(int value) override;
    bool WriteColour(int red, int green, int blue) override;
    void ModeTaken(int index) override;

    Ui::MouseLight* ui;
    QString pictureFolder;
};
