#pragma once
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QMouseEvent;
class QPoint;
class QSpinBox;
class QToolButton;
class QWidget;

// One of the 14 preset colours, in button order A..N; its button shows "Color" + letter + ".png".
struct PresetColour
{
    char letter;
    int red;
    int green;
    int blue;
};
constexpr int PresetColourCount = 14;
extern const PresetColour PresetColours[PresetColourCount];

// The ratio by which the colour picker scales the pointer's position to the position it grabs at.
// Qt maps a position in the program's coordinates to the screen's pixels by itself (also under the
// scale factor the program sets at start-up), so the position is taken as it is: 1.
double ColourPickScale();

// The colour controls of a light editor, by role.
struct ColourGroupWidgets
{
    QSpinBox* red = nullptr;
    QSpinBox* green = nullptr;
    QSpinBox* blue = nullptr;
    QList<QToolButton*> adds;    // red, green, blue
    QList<QToolButton*> reduces; // red, green, blue
    QList<QToolButton*> presets; // A..N
    QLabel* board = nullptr;     // the colour board: a press on it takes the colour under the pointer
    QLabel* preview = nullptr;   // the colour chosen
    // Number boxes besides the colour's that a press elsewhere in the editor takes the focus from.
    QList<QSpinBox*> otherNumbers;
};

// The colour group the three light editors share: red, green and blue number boxes with their add
// and reduce buttons, the preview, the 14 presets and the colour board. Presets, steps and the
// board only put numbers into the boxes; each change of a box repaints the preview and then goes to
// the editor's sink, which writes it to a device or does nothing. The panels guard their buttons
// and board with the device check: while writes are allowed, a press with the mouse away tells
// the user (unless the page is refreshing) and changes nothing.
class ColourGroup : public QObject
{
    Q_OBJECT
public:
    enum class Guard { None, DeviceOnline };
    using Sink = std::function<void(int red, int green, int blue)>;

    // editor: the widget whose presses reach Press(), and the parent of the group.
    ColourGroup(QWidget* editor, const ColourGroupWidgets& widgets, Guard guard, Sink sink);

    // The pictures of folder ("Add.png", "Reduce.png", "ColorBoard.png", "PreviewColor.png",
    // "ColorA.png".."ColorN.png") and the theme's number colour.
    void ApplyLook(const QString& folder);

    // Shows a colour: the three boxes in the order red, green, blue, then the preview (the boxes'
    // signals are the caller's to block).
    void ShowColour(int red, int green, int blue);
    // The same with the boxes' signals held back: nothing reaches the sink.
    void ShowColourQuietly(int red, int green, int blue);
    void BlockSignals(bool block);

    // A press on the editor: ends a half-typed number elsewhere, and on the board picks the colour
    // under the pointer.
    void Press(QMouseEvent* event);

    const ColourGroupWidgets& Widgets() const { return controls; }

    // The preview square's style for a colour.
    static QString PreviewStyle(int red, int green, int blue);

private:
    // True when the action may go on (see the class comment).
    bool GuardPasses() const;
    void Step(QSpinBox* box, int delta);
    void ChoosePreset(const PresetColour& preset);
    void BoxChanged();
    // Whether the press at position (in the editor) lies on widget.
    bool Holds(const QWidget* widget, const QPoint& position) const;

    QWidget* editor;
    ColourGroupWidgets controls;
    Guard guard;
    Sink sink;
};
