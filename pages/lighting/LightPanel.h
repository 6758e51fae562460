#pragma once
#include "pages/lighting/ColourGroup.h"
#include "pages/lighting/LightModeRows.h"

#include <QFrame>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;
class QToolButton;

// The controls that the mouse light panel and the receiver light bar panel have alike, by role.
struct LightPanelWidgets
{
    QToolButton* title = nullptr;
    QComboBox* mode = nullptr;
    QList<QLabel*> labels; // texts in the theme's label colour
    QSlider* light = nullptr;
    QSpinBox* lightBox = nullptr;
    QWidget* lightLine = nullptr; // stands where the brightness slider is hidden
    QSlider* speed = nullptr;
    QSpinBox* speedBox = nullptr;
    QWidget* speedLine = nullptr; // stands where the speed slider is hidden
    ColourGroupWidgets colour;
    QList<QWidget*> colourGroup; // everything that shows only with a colour
};

// What the two light panels share: their look, the controls each light mode shows, the operations
// through which the lighting page shows the device's values, and what a user's change of mode,
// brightness, speed or colour does. Each panel says how a change reaches its device (the Write
// functions) and what a refused slider write puts back (its SliderRule); a mode the device refuses
// puts the list back to the panel's remembered mode, and the mode's controls stay as they were; a
// colour the device refuses puts the boxes and the preview back to the colour it holds (the last
// one shown by the page or taken). Changes are written only while writes are allowed and the page
// is not refreshing (a colour only while writes are allowed: the page holds the colour boxes'
// signals back instead).
//
// None of the page's operations writes to a device; SetLightMode lets the mode list's signal
// through, so that the panel's mode handling runs and shows the mode's controls. A mode the list
// does not hold (a device byte out of range) is not shown: the list keeps the mode it shows, as a
// blank list would be no mode to go back to.
class LightPanel : public QFrame
{
    Q_OBJECT
public:
    void BlockValueSignals(bool block);
    void SetLightMode(int mode);
    // The mode the list shows, 0..6.
    int ShownMode() const;
    void SetLightValue(int value);
    void SetSpeedValue(int value);
    void SetLightSpinBox(int value);
    void SetSpeedSpinBox(int value);
    // The three colour boxes in the order red, green, blue, then the preview.
    void SetRGB(int red, int green, int blue);

    // The preview square's style for a colour.
    static QString PreviewStyle(int red, int green, int blue) { return ColourGroup::PreviewStyle(red, green, blue); }
    // The light modes the list offers: 0 off .. 6.
    static constexpr int ModeCount = LightModeCount;

protected:
    // What a refused brightness or speed write puts back.
    enum class SliderRule {
        // The mouse's: a drag first asks whether the mouse answers; a drag without it, or a refused
        // write, puts the slider back to the number shown and locks it until the page opens it.
        // The number follows only what the mouse took (or a drag, while nothing is written).
        LockAtShownNumber,
        // The receiver's: the number follows the slider; a refused write puts both back to the
        // value remembered for the panel (the last one taken or shown).
        BackToRemembered,
    };
    struct Rules
    {
        SliderRule slider = SliderRule::LockAtShownNumber;
        int* rememberedMode = nullptr;
        int* rememberedLight = nullptr; // BackToRemembered only
        int* rememberedSpeed = nullptr; // BackToRemembered only
    };

    explicit LightPanel(QWidget* parent);
    // Takes the form's controls (after setupUi), gives them the panels' look from folder and
    // connects them. The mode's controls are the caller's to apply.
    void TakeWidgets(const LightPanelWidgets& widgets, const QString& folder, const Rules& rules);
    // Shows the controls of a mode and hides the others; a mode above 6 changes nothing.
    void ApplyModeRows(int mode);
    const LightPanelWidgets& Widgets() const { return controls; }

    // The device writes; true when the device took the change. Light and speed are slider values 1..10.
    virtual bool WriteMode(int index) = 0;
    virtual bool WriteLight(int value) = 0;
    virtual bool WriteSpeed(int value) = 0;
    virtual bool WriteColour(int red, int green, int blue) = 0;
    // After the device took a mode.
    virtual void ModeTaken(int index) { Q_UNUSED(index) }

    void mousePressEvent(QMouseEvent* event) override;

private:
    struct SliderRow
    {
        QSlider* slider;
        QSpinBox* box;
        int* remembered;
        bool (LightPanel::*write)(int);
    };
    void ModeChosen(int index);
    void ColourChosen(int red, int green, int blue);
    void SliderMoved(const SliderRow& row, int position);
    void SliderValueChanged(const SliderRow& row, int value);

    LightPanelWidgets controls;
    Rules rules;
    ColourGroup* colour = nullptr;
    SliderRow lightRow{};
    SliderRow speedRow{};
    int heldColour[3] = {0, 0, 0}; // the colour the device holds as far as the panel knows
};
