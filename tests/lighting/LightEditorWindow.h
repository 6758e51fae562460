#pragma once
#include "device/DeviceState.h"
#include "pages/lighting/LightModeSet.h"
#include "pages/lighting/MouseLight.h"
#include "pages/lighting/ReceiveLight.h"
#include "support/FindChild.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

#include <memory>

// The three colour editors: the mouse light panel, the receiver light bar panel and the light
// mode editor dialog.
enum LightEditor { MouseEditor, ReceiverEditor, DialogEditor };

inline const char* LightEditorName(int editor)
{
    return editor == MouseEditor ? "mouse panel" : editor == ReceiverEditor ? "receiver panel" : "mode editor";
}

// One editor built on a test window of its own (the program keeps the panels and the dialog out
// of sight), showing its colour group, with its controls found by role.
class LightEditorWindow
{
public:
    explicit LightEditorWindow(int editor) : editor(LightEditor(editor))
    {
        switch (editor) {
        case MouseEditor:
            window.reset(new MouseLight);
            break;
        case ReceiverEditor:
            window.reset(new ReceiveLight);
            break;
        default:
            window.reset(new LightModeSet);
            break;
        }
        // Mode 2 shows the colour group; the page's refresh flag keeps the panels from writing it.
        LightPageRefreshing = true;
        Child<QComboBox>(*window, Name("LightMod"))->setCurrentIndex(2);
        LightPageRefreshing = false;
    }

    QWidget& Window() const { return *window; }
    bool IsPanel() const { return editor != DialogEditor; }
    LightPanel* Panel() const { return IsPanel() ? static_cast<LightPanel*>(window.get()) : nullptr; }

    // A form name in this editor: the receiver panel's carry "_2".
    QByteArray Name(const char* name) const
    {
        return editor == ReceiverEditor ? QByteArray(name) + "_2" : QByteArray(name);
    }
    // Red 0, green 1, blue 2.
    QSpinBox* Box(int component) const
    {
        static const char* names[3] = {"RSpinBox", "GSpinBox", "BSpinBox"};
        return Child<QSpinBox>(*window, Name(names[component]));
    }
    QToolButton* Add(int component) const
    {
        static const char* names[3] = {"AddR", "AddG", "AddB"};
        return Child<QToolButton>(*window, Name(names[component]));
    }
    QToolButton* Reduce(int component) const
    {
        static const char* names[3] = {"ReduceR", "ReduceG", "ReduceB"};
        return Child<QToolButton>(*window, Name(names[component]));
    }
    QToolButton* Preset(char letter) const
    {
        return Child<QToolButton>(*window, Name(QByteArray("toolButtonColor").append(letter)));
    }
    QLabel* Board() const { return Child<QLabel>(*window, editor == ReceiverEditor ? "label_24" : "label_7"); }
    QLabel* Preview() const { return Child<QLabel>(*window, Name("labelPreView")); }
    // Every number box a press elsewhere takes the focus from: the colour's, and the panels'
    // brightness and speed numbers.
    QList<QSpinBox*> Numbers() const
    {
        QList<QSpinBox*> boxes{Box(0), Box(1), Box(2)};
        if (editor == MouseEditor)
            boxes << Child<QSpinBox>(*window, "LightSpinBox_2") << Child<QSpinBox>(*window, "SpeedSpinBox_2");
        else if (editor == ReceiverEditor)
            boxes << Child<QSpinBox>(*window, "LightSpinBox_3") << Child<QSpinBox>(*window, "SpeedSpinBox_3");
        return boxes;
    }

    // Shows a colour as the lighting page does, without a write.
    void ShowColour(int red, int green, int blue) const
    {
        if (LightPanel* panel = Panel()) {
            panel->BlockValueSignals(true);
            panel->SetRGB(red, green, blue);
            panel->BlockValueSignals(false);
            return;
        }
        const int values[3] = {red, green, blue};
        for (int i = 0; i < 3; ++i) {
            const QSignalBlocker blocker(Box(i));
            Box(i)->setValue(values[i]);
        }
    }
    QString ShownColour() const
    {
        return QStringLiteral("%1,%2,%3").arg(Box(0)->value()).arg(Box(1)->value()).arg(Box(2)->value());
    }

    const LightEditor editor;

private:
    std::unique_ptr<QWidget> window;
};
