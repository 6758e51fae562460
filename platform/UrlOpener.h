#pragma once
#include <QUrl>

#include <functional>

// Opens a web address in the user's browser. Tests put a stand-in in place of the desktop.
class UrlOpener
{
public:
    using Opener = std::function<bool(const QUrl&)>;
    // False when the desktop could not open it.
    static bool Open(const QUrl& url);
    // Replaces the desktop's opener; an empty function puts it back.
    static void SetOpener(Opener opener);
};
