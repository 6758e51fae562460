#pragma once
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
    QSpinBox* red = nullptr;
    QSpinBox* green = nullptr;
    QSpinBox* blue = nullptr;
    QLabel* board = nullptr;   // the colour board
    QLabel* preview = nullptr; // the colour shown
    QList<QToolButton*> adds;    // red, green, blue
    QList<QToolButton*> reduces; // red, green, blue
    QList<QToolButton*> presets; // A..N
    QList<QWidget*> colourGroup; // everything that shows only with a colour
};

// What the two light panels share: their look, the controls each light mode shows, and the
// operations through which the lighting page shows the device's values. None of the operations
// writes to a device; SetLightMode lets the mode list's signal through, so that the panel's mode
// slot runs and shows the mode's controls (it writes nothing while the page refreshes).
class LightPanel : public QFrame
{
    Q_OBJECT
public:
    void BlockValueSignals(bool block);
    void SetLightMode(int mode);
    void SetLightValue(int value);
    void SetSpeedValue(int value);
    void SetLightSpinBox(int value);
    void SetSpeedSpinBox(int value);
    // The three colour boxes in the order red, green, blue, then the preview.
    void SetRGB(int red, int green, int blue);

    // The preview square's style for a colour.
    static QString PreviewStyle(int red, int green, int blue);
    // The light modes the list offers: 0 off .. 6.
    static constexpr int ModeCount = 7;

protected:
    explicit LightPanel(QWidget* parent);
    // Takes the form's controls (after setupUi) and gives them the panels' look from folder.
    void TakeWidgets(const LightPanelWidgets& widgets, const QString& folder);
    // Shows the controls of a mode and hides the others; a mode above 6 changes nothing.
    void ApplyModeRows(int mode);
    const LightPanelWidgets& Widgets() const { return controls; }

private:
    LightPanelWidgets controls;
};
