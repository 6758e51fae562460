#include "pages/lighting/LightPanel.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/PanelLook.h"
#include "widgets/SliderLook.h"
#include "widgets/ThemeColor.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

LightPanel::LightPanel(QWidget* parent) : QFrame(parent) {}

void LightPanel::TakeWidgets(const LightPanelWidgets& widgets, const QString& folder, const Rules& panelRules)
{
    controls = widgets;
    rules = panelRules;
    controls.title->setStyleSheet(QStringLiteral("#") + controls.title->objectName() + QStringLiteral("{border-image: url(")
                                  + folder + QStringLiteral("Title.png);}"));
    ApplyComboBoxLook(controls.mode, folder);
    controls.mode->setMaxVisibleItems(5);
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + ThemeColor(QStringLiteral("LabelColor"))
                               + QStringLiteral(";);}");
    for (QLabel* label : controls.labels)
        label->setStyleSheet(labelStyle);
    ApplySliderLook(controls.light, folder);
    ApplySliderLook(controls.speed, folder);
    const QString numberStyle = PanelLook::PlainNumberStyle();
    controls.lightBox->setStyleSheet(numberStyle);
    controls.speedBox->setStyleSheet(numberStyle);

    ColourGroupWidgets colourWidgets = controls.colour;
    colourWidgets.otherNumbers = {controls.lightBox, controls.speedBox};
    colour = new ColourGroup(this, colourWidgets, ColourGroup::Guard::DeviceOnline,
                             [this](int red, int green, int blue) { ColourChosen(red, green, blue); });
    colour->ApplyLook(folder);

    lightRow = {controls.light, controls.lightBox, rules.rememberedLight, &LightPanel::WriteLight};
    speedRow = {controls.speed, controls.speedBox, rules.rememberedSpeed, &LightPanel::WriteSpeed};
    connect(controls.mode, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &LightPanel::ModeChosen);
    connect(controls.light, &QSlider::sliderMoved, this, [this](int position) { SliderMoved(lightRow, position); });
    connect(controls.light, &QSlider::valueChanged, this, [this](int value) { SliderValueChanged(lightRow, value); });
    connect(controls.speed, &QSlider::sliderMoved, this, [this](int position) { SliderMoved(speedRow, position); });
    connect(controls.speed, &QSlider::valueChanged, this, [this](int value) { SliderValueChanged(speedRow, value); });
}

void LightPanel::ApplyModeRows(int mode)
{
    LightModeWidgets rows;
    rows.light = {controls.light, controls.lightBox};
    rows.speed = {controls.speed, controls.speedBox};
    rows.lightLine = controls.lightLine;
    rows.speedLine = controls.speedLine;
    rows.colour = controls.colourGroup;
    ApplyLightModeRows(mode, rows);
}

void LightPanel::ModeChosen(int index)
{
    if (UserWritesEnabled && !LightPageRefreshing) {
        if (!WriteMode(index)) {
            // Refused: the list goes back to the mode in force and the controls stay as they are.
            const QSignalBlocker blocker(controls.mode);
            controls.mode->setCurrentIndex(*rules.rememberedMode);
            return;
        }
        *rules.rememberedMode = index;
        ModeTaken(index);
    }
    ApplyModeRows(index);
}

void LightPanel::ColourChosen(int red, int green, int blue)
{
    if (!UserWritesEnabled)
        return;
    if (WriteColour(red, green, blue)) {
        heldColour[0] = red;
        heldColour[1] = green;
        heldColour[2] = blue;
        return;
    }
    // Refused: the boxes and the preview show the colour the device holds. While the page refreshes
    // nothing is put back, as with the other controls: the page shows the device's colour itself.
    if (!LightPageRefreshing)
        colour->ShowColourQuietly(heldColour[0], heldColour[1], heldColour[2]);
}

void LightPanel::SliderMoved(const SliderRow& row, int position)
{
    if (rules.slider == SliderRule::LockAtShownNumber) {
        if (!row.slider->isEnabled())
            return;
        // Without the mouse the slider goes back to the number shown and stays locked. It is locked
        // only then: locking a slider ends its drag, and a drag the mouse answers goes on.
        if (!IsDeviceOnline()) {
            row.slider->setEnabled(false);
            row.slider->setValue(row.box->value());
            return;
        }
    }
    row.box->setValue(position);
}

void LightPanel::SliderValueChanged(const SliderRow& row, int value)
{
    const bool lock = rules.slider == SliderRule::LockAtShownNumber;
    if (lock && !row.slider->isEnabled()) {
        row.slider->setValue(row.box->value());
        return;
    }
    if (!lock)
        row.box->setValue(value);
    if (!UserWritesEnabled || LightPageRefreshing)
        return;
    if ((this->*row.write)(value)) {
        if (lock)
            row.box->setValue(value);
        else
            *row.remembered = value;
        return;
    }
    const QSignalBlocker blocker(row.slider);
    if (lock) {
        row.slider->setEnabled(false);
        row.slider->setValue(row.box->value());
    } else {
        row.slider->setValue(*row.remembered);
        row.box->setValue(*row.remembered);
    }
}

void LightPanel::mousePressEvent(QMouseEvent* event)
{
    colour->Press(event);
}

void LightPanel::BlockValueSignals(bool block)
{
    controls.light->blockSignals(block);
    controls.speed->blockSignals(block);
    colour->BlockSignals(block);
}

void LightPanel::SetLightMode(int mode)
{
    if (mode < 0 || mode >= controls.mode->count())
        return;
    controls.mode->setCurrentIndex(mode);
}

int LightPanel::ShownMode() const
{
    return controls.mode->currentIndex();
}

void LightPanel::SetLightValue(int value)
{
    controls.light->setValue(value);
}

void LightPanel::SetSpeedValue(int value)
{
    controls.speed->setValue(value);
}

void LightPanel::SetLightSpinBox(int value)
{
    controls.lightBox->setValue(value);
}

void LightPanel::SetSpeedSpinBox(int value)
{
    controls.speedBox->setValue(value);
}

void LightPanel::SetRGB(int red, int green, int blue)
{
    colour->ShowColour(red, green, blue);
    // The page shows what the device holds (the boxes keep it within 0..255).
    const ColourGroupWidgets& boxes = colour->Widgets();
    heldColour[0] = boxes.red->value();
    heldColour[1] = boxes.green->value();
    heldColour[2] = boxes.blue->value();
}
