#pragma once
#include "pages/lighting/LightPanel.h"
#include "pages/lighting/ReceiverLightRecords.h"

#include <functional>

namespace Ui {
class ReceiveLight;
}

// The receiver light bar panel of the lighting page, a near copy of the mouse light panel without
// the moving-off option. It does not go through the mouse's record: a change is written into the
// receiver's light bar record, which goes to the receiver whole; when the receiver takes it the
// mouse's record is pushed too. A refused mode, brightness, speed or colour leaves the record as it
// was, as the controls go back, and the user is told (ReceiverRefusalNotice): the next write sends
// what the panel shows.
class ReceiveLight : public LightPanel
{
    Q_OBJECT
public:
    explicit ReceiveLight(QWidget* parent = nullptr);
    ~ReceiveLight() override;

public slots:
    void SlotAllLanguage(int index);

private:
    // Sends the light bar record; true when the receiver took it, and then pushes the mouse's record.
    static bool SendLightBar();
    // Changes the record through change and sends it; a refused change is taken back and told.
    bool SendChange(const std::function<void(DongleRGBBar&)>& change);

    bool WriteMode(int index) override;
    bool WriteLight(int value) override;
    bool WriteSpeed(int value) override;
    bool WriteColour(int red, int green, int blue) override;

    Ui::ReceiveLight* ui;
    QString pictureFolder;
};
