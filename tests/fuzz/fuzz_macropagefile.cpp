// The macro files as the macro page reads them into its event list and writes them back.
#include "FuzzSupport.h"
#include "pages/macro/MacroFile.h"

#include <QStringList>

namespace {

bool SameLines(const MacroFile::Content& a, const MacroFile::Content& b)
{
    if (a.lines.size() != b.lines.size())
        return false;
    for (int i = 0; i < a.lines.size(); ++i) {
        if (MacroFile::LineText(a.lines.at(i)) != MacroFile::LineText(b.lines.at(i))
            || a.lines.at(i).delay != b.lines.at(i).delay)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    const MacroFile::Content content = MacroFile::Parse(text);
    QStringList lines;
    for (const MacroFile::Line& line : content.lines) {
        // Every line the page keeps is one line of its file again: no line end, and a key has its
        // three fields.
        const QString written = MacroFile::LineText(line);
        if (written.contains(QLatin1Char('\n')) || (!line.delay && written.split(QLatin1Char(' ')).size() != 3))
            std::abort();
        lines << written;
    }
    // What the page writes reads back as the same lines.
    const MacroFile::Content again = MacroFile::Parse(MacroFile::FileText(QString::number(content.repeatMode), lines));
    if (!SameLines(content, again) || (content.hasRepeatMode && again.repeatMode != content.repeatMode))
        std::abort();
    return 0;
}
