#pragma once
#include <QString>

class QLabel;
class QWidget;

// The shared look of the frameless notices: window flags, style sheets built from the pictures of
// "/Picture/WarningDialog/" and the theme colours, and the font scaling every dialog ends with.
namespace NoticeLook {

// The program folder's "/Picture/WarningDialog/", with the trailing "/".
QString PictureFolder();

// Qt::SubWindow | BypassWindowManagerHint | FramelessWindowHint | WindowSystemMenuHint |
// WindowMinimizeButtonHint (0x6C12).
void SetNoticeFlags(QWidget* dialog);

// The background picture "BackGround.png" of the frame with this object name.
QString FrameStyle(const QString& frameName, const QString& folder);
// The close button: "Close.png", "CloseHover.png" on hover, "CloseClick.png" pressed.
QString CloseButtonStyle(const QString& folder);
// The confirm button: text in the theme's "ButtonColor" over picture, pressedPicture while pressed.
QString ConfirmButtonStyle(const QString& folder, const QString& picture, const QString& pressedPicture);
// The message label in the theme's "LabelColor".
QString LabelStyle();
// Styles a message label with LabelStyle() and keeps its text off the picture's border.
void StyleMessageLabel(QLabel* label);
// A check box in the theme's "LabelColor" with "CheckBox.png" / "CheckBoxCheck.png" indicators.
QString CheckBoxStyle(const QString& folder);

// The look every notice starts with: its window flags, the message label, the close button (when
// it has one) and the frame's background picture (by the frame's object name). Returns the
// picture folder for the dialog's other styles.
QString StyleNotice(QWidget* dialog, QLabel* message, QWidget* closeButton, QWidget* frame);

// An entry field of a notice ("QLineEdit", "QSpinBox"): the theme's light "ComboxTextColor" on its
// dark "ComboxBackGroundColor", as a combo box shows its entries, framed in the theme's
// "LinEditColorSecond".
QString FieldStyle(const QString& selector);

// ScaleFontTree over the dialog by 96 / the screen's logical DPI; a widget named keepName keeps
// its size.
void ScaleFonts(QWidget* dialog, const QString& keepName = QString());

// Activates the dialog each time it shows. A frameless window that bypasses the window manager gets
// no keyboard on X11 until it is activated, and a notice closes on Escape and the key-combination
// dialog takes its keys only when it has the keyboard.
void ActivateWhenShown(QWidget* dialog);

} // namespace NoticeLook
