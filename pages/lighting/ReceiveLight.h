#pragma once
#include "pages/lighting/LightPanel.h"

namespace Ui {
class ReceiveLight;
}

// The receiver light bar panel of the lighting page, a near copy of the mouse light panel without
// the moving-off option. It does not go through the mouse's record: a change is written into the
// receiver's light bar record, which goes to the receiver whole; when the receiver takes it the
// mouse's record is pushed too.
class ReceiveLight : public LightPanel
{
    Q_OBJECT
public:
    explicit ReceiveLight(QWidget* parent = nullptr);
    ~ReceiveLight() override;

private slots:
    void on_LightMod_2_currentIndexChanged(int index);

public slots:
    void SlotAllLanguage(int index);

private:
    // Sends the light bar record; true when the receiver took it.
    static bool SendLightBar();

    Ui::ReceiveLight* ui;
    QString pictureFolder;
};
