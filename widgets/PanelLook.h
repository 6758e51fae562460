#pragma once
#include <QString>

// Style sheets the settings panels share, built from the theme colours of Config.ini group "Option"
// and pictures of the panel's picture folder (with its trailing "/").
namespace PanelLook {

// A read-only number box: transparent, text in "LinEditColorSecond", a thin grey border.
QString NumberBoxStyle();
// A number box without a frame: transparent, text in "LabelColor".
QString PlainNumberStyle();
// The same for a number that is shown but not in use: text in DimmedTextColor.
QString MutedNumberStyle();
// A context menu on the dark pages: the theme's list ground and text, the hovered entry in the
// selection colour.
QString MenuStyle();
// A slim slider: a 2 px dark groove, the tall "HuaKuai.png" handle, the part before the handle in
// "SliderColor" and the rest white.
QString SlimSliderStyle(const QString& folder);
// A choice check box: text in "LabelColor", "LODCheck.png" when checked and "LOD.png" when not.
QString ChoiceBoxStyle(const QString& folder);

// A small step button named objectName showing picture ("Add.png", "Reduce.png") without a border.
QString StepButtonStyle(const QString& objectName, const QString& folder, const QString& picture);

} // namespace PanelLook
