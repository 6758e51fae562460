#include "pages/macro/MacroFile.h"

namespace MacroFile {

namespace {

// A line with its end as "\n", whichever end it had (CR LF, or a CR where a file was cut after
// it); a last line without one stays without.
QString NormalizedLine(const QByteArray& raw)
{
    // With its length: a NUL inside the line must not cut its end off.
    QString line = QString::fromUtf8(raw.constData(), raw.size());
    const bool ended = line.endsWith(QLatin1Char('\n'));
    if (ended)
        line.chop(1);
    while (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    if (ended)
        line += QLatin1Char('\n');
    return line;
}

} // namespace

Content Parse(const QByteArray& text)
{
    Content content;
    int start = 0;
    bool first = true;
    while (start < text.size()) {
        int end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end + 1;
        const QString line = NormalizedLine(text.mid(start, end - start));
        start = end;
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (first) {
            first = false;
            content.hasRepeatMode = true;
            content.repeatMode = parts.isEmpty() ? 0 : parts.first().trimmed().toInt(nullptr, 10);
            continue;
        }
        if (parts.size() == 3) {
            // The line end belongs to the third field: without it the line was cut short.
            const QString action = parts.at(2);
            if (action != QLatin1String("0\n") && action != QLatin1String("1\n"))
                continue;
            Line key;
            key.usage = parts.at(0);
            key.kind = parts.at(1).toInt(nullptr, 10);
            key.release = action == QLatin1String("1\n");
            content.lines << key;
        } else if (parts.size() == 1) {
            Line delay;
            delay.delay = true;
            delay.text = QString(parts.at(0)).remove(QLatin1Char('\n'));
            // A CR before the blank that ended the line belongs to no text either.
            while (delay.text.endsWith(QLatin1Char('\r')))
                delay.text.chop(1);
            content.lines << delay;
        }
    }
    return content;
}

QString LineText(const Line& line)
{
    if (line.delay)
        return line.text;
    return line.usage + QLatin1Char(' ') + QString::number(line.kind) + QLatin1Char(' ')
        + (line.release ? QLatin1Char('1') : QLatin1Char('0'));
}

QByteArray FileText(const QString& repeatLine, const QStringList& lines)
{
    QByteArray text = repeatLine.toUtf8() + '\n';
    for (const QString& line : lines)
        text += line.toUtf8() + '\n';
    return text;
}

} // namespace MacroFile
