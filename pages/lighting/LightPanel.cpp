#include "pages/lighting/LightPanel.h"

#include "widgets/ComboBoxLook.h"
#include "widgets/PanelLook.h"
#include "widgets/SliderLook.h"
#include "widgets/ThemeColor.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

namespace {

// Which controls a mode shows besides the mode list: brightness row, speed row, colour group, and
// the flat bars in the places of hidden sliders.
struct ModeRows
{
    bool light;
    bool speed;
    bool colour;
    bool lightLine;
    bool speedLine;
};

const ModeRows modeRows[LightPanel::ModeCount] = {
    {false, false, false, true, true}, // 0 off
    {true, true, false, false, false}, // 1
    {true, true, true, false, false},  // 2
    {true, false, true, false, true},  // 3
    {true, true, false, false, false}, // 4
    {true, true, false, false, false}, // 5
    {true, false, false, false, true}, // 6
};

const char presetLetters[] = "ABCDEFGHIJKLMN";

} // namespace

LightPanel::LightPanel(QWidget* parent) : QFrame(parent) {}

QString LightPanel::PreviewStyle(int red, int green, int blue)
{
    return QStringLiteral("QLabel{background-color: rgb(%1,%2,%3);border: 2px solid  rgb(220,220,220);}")
        .arg(red)
        .arg(green)
        .arg(blue);
}

void LightPanel::TakeWidgets(const LightPanelWidgets& widgets, const QString& folder)
{
    controls = widgets;
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
    const QString editColour = ThemeColor(QStringLiteral("LinEditColorSecond"));
    const QString colourBoxStyle = QStringLiteral("QSpinBox{color: rgb(") + editColour
                                   + QStringLiteral(";);background-color: rgb(0, 0, 0);border: 1px solid gray;}"
                                                    "QSpinBox:hover{background-color: transparent;}");
    for (QSpinBox* box : {controls.red, controls.green, controls.blue})
        box->setStyleSheet(colourBoxStyle);
    for (QToolButton* button : controls.adds)
        button->setStyleSheet(PanelLook::StepButtonStyle(button->objectName(), folder, QStringLiteral("Add.png")));
    for (QToolButton* button : controls.reduces)
        button->setStyleSheet(PanelLook::StepButtonStyle(button->objectName(), folder, QStringLiteral("Reduce.png")));
    controls.board->setStyleSheet(QStringLiteral("QLabel{background-image: url(") + folder
                                  + QStringLiteral("ColorBoard.png);}"));
    controls.preview->setStyleSheet(QStringLiteral("QLabel{background-image: url(") + folder
                                    + QStringLiteral("PreviewColor.png);}"));
    for (int i = 0; i < controls.presets.size(); ++i) {
        QToolButton* button = controls.presets.at(i);
        button->setStyleSheet(QStringLiteral("#") + button->objectName() + QStringLiteral("{background-image: url(")
                              + folder + QStringLiteral("Color") + QLatin1Char(presetLetters[i])
                              + QStringLiteral(".png);border: 0px;}"));
    }
}

void LightPanel::ApplyModeRows(int mode)
{
    if (mode < 0 || mode >= ModeCount)
        return;
    const ModeRows& rows = modeRows[mode];
    controls.light->setVisible(rows.light);
    controls.lightBox->setVisible(rows.light);
    controls.speed->setVisible(rows.speed);
    controls.speedBox->setVisible(rows.speed);
    controls.lightLine->setVisible(rows.lightLine);
    controls.speedLine->setVisible(rows.speedLine);
    for (QWidget* widget : controls.colourGroup)
        widget->setVisible(rows.colour);
}

void LightPanel::BlockValueSignals(bool block)
{
    for (QObject* control : std::initializer_list<QObject*>{controls.light, controls.speed, controls.red, controls.green,
                                                            controls.blue})
        control->blockSignals(block);
}

void LightPanel::SetLightMode(int mode)
{
    controls.mode->setCurrentIndex(mode);
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
    controls.red->setValue(red);
    controls.green->setValue(green);
    controls.blue->setValue(blue);
    // The boxes keep a colour within 0..255; the preview shows what they show.
    controls.preview->setStyleSheet(PreviewStyle(controls.red->value(), controls.green->value(), controls.blue->value()));
}
