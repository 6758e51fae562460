#pragma once
#include <QString>

// Qt's own texts in the program's language: the file dialogs, the standard buttons of a button box,
// the context menu of an entry field. The program's texts come from its language files; Qt's come
// from the translations the system keeps for Qt ("qtbase_zh_CN", "qtbase_ru" in Qt's translations
// folder). English needs none. Where a translation is not installed, Qt's texts stay English and
// nothing else changes.
namespace QtTranslation {

// The translation of a language index (0 English, 1 Chinese, 2 Russian; any other reads as
// English): "qtbase_zh_CN", "qtbase_ru", or an empty text for English.
QString FileName(int language);

// Puts Qt's translation of the language in place of the one in use. True when Qt's texts now speak
// that language (always for English). Qt's announcement of the change to every window is held
// back: the windows take their texts from the language files when SigAllLanguage reaches them,
// and the forms' own retranslation would bring back their placeholder texts.
bool Follow(int language);

} // namespace QtTranslation
