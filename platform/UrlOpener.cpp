#include "platform/UrlOpener.h"

#include <QDesktopServices>

namespace {

UrlOpener::Opener& Current()
{
    static UrlOpener::Opener opener;
    return opener;
}

} // namespace

bool UrlOpener::Open(const QUrl& url)
{
    if (Current())
        return Current()(url);
    return QDesktopServices::openUrl(url);
}

void UrlOpener::SetOpener(Opener opener)
{
    Current() = std::move(opener);
}
