#include "pages/lighting/ColourGroup.h"

#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/ScreenInfo.h"
#include "platform/hidusb/HIDUsb.h"
#include "widgets/PanelLook.h"
#include "widgets/ThemeColor.h"

#include <QColor>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

const PresetColour PresetColours[PresetColourCount] = {
    {'A', 255, 0, 0},    {'B', 0, 255, 255},   {'C', 0, 255, 0},    {'D', 255, 0, 255},  {'E', 255, 255, 0},
    {'F', 255, 80, 0},   {'G', 0, 0, 255},     {'H', 227, 0, 127},  {'I', 46, 166, 223}, {'J', 96, 25, 133},
    {'K', 255, 255, 255}, {'L', 139, 178, 36}, {'M', 255, 155, 51}, {'N', 208, 113, 173},
};

double ColourPickScale()
{
    return 1.0;
}

ColourGroup::ColourGroup(QWidget* editor, const ColourGroupWidgets& widgets, Guard guard, Sink sink)
    : QObject(editor), editor(editor), controls(widgets), guard(guard), sink(std::move(sink))
{
    QSpinBox* const boxes[3] = {controls.red, controls.green, controls.blue};
    for (int i = 0; i < 3; ++i) {
        QSpinBox* box = boxes[i];
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &ColourGroup::BoxChanged);
        connect(controls.adds.at(i), &QToolButton::clicked, this, [this, box] { Step(box, 1); });
        connect(controls.reduces.at(i), &QToolButton::clicked, this, [this, box] { Step(box, -1); });
    }
    for (int i = 0; i < PresetColourCount; ++i) {
        const PresetColour& preset = PresetColours[i];
        connect(controls.presets.at(i), &QToolButton::clicked, this, [this, &preset] { ChoosePreset(preset); });
    }
}

QString ColourGroup::PreviewStyle(int red, int green, int blue)
{
    return QStringLiteral("QLabel{background-color: rgb(%1,%2,%3);border: 2px solid  rgb(220,220,220);}")
        .arg(red)
        .arg(green)
        .arg(blue);
}

void ColourGroup::ApplyLook(const QString& folder)
{
    const QString editColour = ThemeColor(QStringLiteral("LinEditColorSecond"));
    const QString boxStyle = QStringLiteral("QSpinBox{background-color: rgb(0,0,0);color: rgb(") + editColour
                             + QStringLiteral(";);border: 1px  solid gray;}QSpinBox:hover{background-color: transparent;color: rgb(")
                             + editColour + QStringLiteral(";);border: 1px  solid gray;}");
    for (QSpinBox* box : {controls.red, controls.green, controls.blue})
        box->setStyleSheet(boxStyle);
    for (QToolButton* button : controls.adds)
        button->setStyleSheet(PanelLook::StepButtonStyle(button->objectName(), folder, QStringLiteral("Add.png")));
    for (QToolButton* button : controls.reduces)
        button->setStyleSheet(PanelLook::StepButtonStyle(button->objectName(), folder, QStringLiteral("Reduce.png")));
    controls.preview->setStyleSheet(QStringLiteral("QLabel{background-image: url(") + folder
                                    + QStringLiteral("PreviewColor.png);}"));
    for (int i = 0; i < PresetColourCount; ++i) {
        QToolButton* button = controls.presets.at(i);
        button->setStyleSheet(QStringLiteral("#") + button->objectName() + QStringLiteral("{background-image: url(")
                              + folder + QStringLiteral("Color") + QLatin1Char(PresetColours[i].letter)
                              + QStringLiteral(".png);border: 0px;}"));
    }
    controls.board->setStyleSheet(QStringLiteral("QLabel{background-image: url(") + folder
                                  + QStringLiteral("ColorBoard.png);}"));
}

void ColourGroup::ShowColour(int red, int green, int blue)
{
    controls.red->setValue(red);
    controls.green->setValue(green);
    controls.blue->setValue(blue);
    // The boxes keep a colour within 0..255; the preview shows what they show.
    controls.preview->setStyleSheet(PreviewStyle(controls.red->value(), controls.green->value(), controls.blue->value()));
}

void ColourGroup::ShowColourQuietly(int red, int green, int blue)
{
    const QSignalBlocker redBlocker(controls.red);
    const QSignalBlocker greenBlocker(controls.green);
    const QSignalBlocker blueBlocker(controls.blue);
    ShowColour(red, green, blue);
}

void ColourGroup::BlockSignals(bool block)
{
    for (QSpinBox* box : {controls.red, controls.green, controls.blue})
        box->blockSignals(block);
}

bool ColourGroup::GuardPasses() const
{
    if (guard == Guard::None || !UserWritesEnabled || VidEzorarA_GetDeviceOnLine(CurrentDevicePath))
        return true;
    // While the page shows the device's values nobody is told; the change goes on.
    if (LightPageRefreshing)
        return true;
    emit PostMsg::Instance()->SigMouseOffLineo(0);
    return false;
}

void ColourGroup::Step(QSpinBox* box, int delta)
{
    if (!GuardPasses())
        return;
    // The box keeps the value within 0..255: a step past the end changes nothing and sends nothing.
    box->setValue(box->value() + delta);
}

void ColourGroup::ChoosePreset(const PresetColour& preset)
{
    if (!GuardPasses())
        return;
    // One box after the other: each box that changes is one change of the colour, carrying the
    // colour as far as it has been set; a box already at its value changes nothing.
    controls.red->setValue(preset.red);
    controls.green->setValue(preset.green);
    controls.blue->setValue(preset.blue);
}

void ColourGroup::BoxChanged()
{
    const int red = controls.red->value();
    const int green = controls.green->value();
    const int blue = controls.blue->value();
    controls.preview->setStyleSheet(PreviewStyle(red, green, blue));
    if (sink)
        sink(red, green, blue);
}

bool ColourGroup::Holds(const QWidget* widget, const QPoint& position) const
{
    return QRect(widget->mapTo(editor, QPoint(0, 0)), widget->size()).contains(position);
}

void ColourGroup::Press(QMouseEvent* event)
{
    // Any button; the second press of a double click comes with another type and does nothing.
    if (event->type() != QEvent::MouseButtonPress)
        return;
    const QPoint position = event->pos();
    // A press outside a number box ends what was half typed there.
    QSpinBox* const colourBoxes[3] = {controls.red, controls.green, controls.blue};
    if (!Holds(controls.red, position) && !Holds(controls.green, position) && !Holds(controls.blue, position)) {
        for (QSpinBox* box : colourBoxes)
            box->clearFocus();
        editor->setFocus(Qt::OtherFocusReason);
    }
    for (QSpinBox* box : controls.otherNumbers) {
        if (!Holds(box, position)) {
            box->clearFocus();
            editor->setFocus(Qt::OtherFocusReason);
        }
    }

    // The board picks only where it shows: a press on the place of a hidden board is a press on
    // the editor's background.
    if (controls.board->isHidden() || !Holds(controls.board, position))
        return;
    if (!GuardPasses())
        return;
    const double scale = ColourPickScale();
    const QPoint pointer = event->globalPos();
    QColor colour;
    // A grab that gives no pixel keeps the colour shown.
    if (!ScreenInfo::PixelAt(QPoint(int(pointer.x() * scale), int(pointer.y() * scale)), &colour))
        return;
    controls.red->setValue(colour.red());
    controls.green->setValue(colour.green());
    controls.blue->setValue(colour.blue());
    controls.preview->setStyleSheet(PreviewStyle(colour.red(), colour.green(), colour.blue()));
}
