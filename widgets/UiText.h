#pragma once
#include <QMultiMap>
#include <QString>
#include <QStringList>
#include <QVector>

// The current UI language: 0 English, 1 Chinese (simplified), 2 Russian. Set by the top-level window
// and the language choices before they emit SigAllLanguage; readers pass it through UiText, which
// reads any other value as 0.
extern int UiLanguage;

// Lookups in the UI text tables (UiTextTables). A missing key, section or language gives an empty text.
class UiText
{
public:
    // The language index to read: the index itself when it is 0, 1 or 2, else 0.
    static int ValidLanguage(int index);

    // A text of a mouse section ("home", "common", "infoTips", ...).
    static QString Text(int language, const QString& section, const QString& key);
    // A text of a keyboard section.
    static QString KeyboardText(int language, const QString& section, const QString& key);

    // A text for a reader class, looked up in the sections the class reads, in their order
    // (the first section that has the key wins). Every key a class reads is listed in Readers().
    static QString ForReader(int language, const QString& className, const QString& key);

    // The labels of a mouse option list for one key, the entry defined last first.
    static QStringList OptionLabels(int language, const QString& list, const QString& key);
    // The label defined last for one key of a mouse option list.
    static QString Option(int language, const QString& list, const QString& key);

    // Which sections a class reads and which keys it looks up there. Pages add their rows here;
    // the shipped-data test checks that every language file has every listed key.
    struct Reader
    {
        QString className;
        QStringList sections;
        QStringList keys;
    };
    static const QVector<Reader>& Readers();
    static const Reader* FindReader(const QString& className);
};
