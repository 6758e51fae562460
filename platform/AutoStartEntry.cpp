#include "platform/AutoStartEntry.h"

#include "platform/WholeFileWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A value of type string in a desktop entry: a backslash and the control characters are escaped.
QString EscapeStringValue(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            escaped += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            escaped += QLatin1String("\\r");
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

QString AutoStartEntry::Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

QString AutoStartEntry::Path()
{
    return Folder() + QLatin1Char('/') + QCoreApplication::applicationName() + QStringLiteral(".desktop");
}

QString AutoStartEntry::ExecValue(const QString& programPath)
{
    // The path is one quoted argument: inside the quotes a double quote, backquote, dollar sign and
    // backslash are escaped with a backslash; a percent sign would start a field code and is doubled.
    // The value as a whole is then a string value, whose own escaping doubles every backslash again.
    QString argument;
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            argument += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            argument += QLatin1Char('%');
        argument += c;
    }
    return EscapeStringValue(QLatin1Char('"') + argument + QLatin1Char('"'));
}

bool AutoStartEntry::Write(const QString& programPath)
{
    if (!QDir().mkpath(Folder()))
        return false;
    const QString name = EscapeStringValue(QCoreApplication::applicationName());
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + name
        + QStringLiteral("\nExec=") + ExecValue(programPath)
        + QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    return WriteWholeFile(Path(), entry.toUtf8());
}

bool AutoStartEntry::Remove()
{
    const QString path = Path();
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    return QFile::remove(path);
}

bool AutoStartEntry::Exists()
{
    return QFileInfo::exists(Path());
}
