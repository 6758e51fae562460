#pragma once
#include <QString>

// A theme colour of Config.ini group "Option" ("LabelColor", "ButtonColor", ...) as the text
// "r,g,b" of a style sheet's rgb(): the first three entries of the key's list joined with ",".
// A list with fewer entries gives the ones it has instead of reading past the list. A missing key
// gives the shipped dark theme's colour (empty for a key the theme does not know), so that a
// damaged model list still leaves every text readable.
QString ThemeColor(const QString& key);

// The colour of the shipped dark theme for key (the value the shipped Config.ini holds), empty for a
// key the theme does not know.
QString ShippedThemeColor(const QString& key);

// Text that is shown but not in use (a disabled list, a row the mode does not use), "r,g,b": three
// quarters of the way from the theme's list ground "ComboxBackGroundColor" to its list text
// "ComboxTextColor", readable on the dark ground and plainly dimmer than the text in use.
QString DimmedTextColor();

// The dark grey of a line that frames or underlies something on the dark pages (a menu's edge, the
// groove of a slider out of use), "r,g,b".
QString FrameLineColor();
