#pragma once
#include <QString>
#include <QStringList>

// Reads an Exec value back as a session would: the string value's escapes first (\s \n \t \r \\),
// then the arguments (double quotes with \" \` \$ \\ inside, blanks between), then "%%" as "%".
// Gives {"<error>"} for a value the rules do not allow.
inline QStringList SplitDesktopEntryExec(const QString& value)
{
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value.at(i) != QLatin1Char('\\') || i + 1 == value.size()) {
            unescaped += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        if (next == QLatin1Char('s'))
            unescaped += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            unescaped += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            unescaped += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            unescaped += QLatin1Char('\r');
        else if (next == QLatin1Char('\\'))
            unescaped += QLatin1Char('\\');
        else
            unescaped += QLatin1Char('\\') + QString(next);
    }
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (int i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\')) {
                if (i + 1 == unescaped.size())
                    return {QStringLiteral("<error>")};
                const QChar next = unescaped.at(++i);
                if (QStringLiteral("\"`$\\").contains(next))
                    current += next;
                else
                    return {QStringLiteral("<error>")};
            } else if (c == QLatin1Char('%')) {
                if (i + 1 < unescaped.size() && unescaped.at(i + 1) == QLatin1Char('%'))
                    ++i;
                current += c;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char(' ')) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inArgument = true;
        } else {
            // Outside quotes the reserved characters are not allowed.
            if (QStringLiteral("\t\n\"'\\><~|&;$*?#()`").contains(c))
                return {QStringLiteral("<error>")};
            if (c == QLatin1Char('%')) {
                if (i + 1 < unescaped.size() && unescaped.at(i + 1) == QLatin1Char('%'))
                    ++i;
                else
                    return {QStringLiteral("<error>")};
            }
            current += c;
            inArgument = true;
        }
    }
    if (quoted)
        return {QStringLiteral("<error>")};
    if (inArgument)
        arguments << current;
    return arguments;
}

// The Exec value of a desktop entry's text; empty when it has none.
inline QString ExecOf(const QString& entry)
{
    for (const QString& line : entry.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return QString();
}
