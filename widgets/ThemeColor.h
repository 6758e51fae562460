#pragma once
#include <QString>

// A theme colour of Config.ini group "Option" ("LabelColor", "ButtonColor", ...) as the text
// "r,g,b" of a style sheet's rgb(): the first three entries of the key's list joined with ",".
// A list with fewer entries gives the ones it has (an empty text when the key is missing), so a
// short or missing value leaves the colour to Qt instead of reading past the list.
QString ThemeColor(const QString& key);
