#include "platform/DesktopMouseSettings.h"

#include <QProcess>
#include <QStandardPaths>
#include <QVector>

namespace {

struct Candidate
{
    const char* desktop; // an entry of XDG_CURRENT_DESKTOP, compared without case
    const char* program;
    QStringList arguments;
};

// Common desktops and their settings programs at the mouse page; where a desktop has had two
// programs, the newer comes first.
const QVector<Candidate>& Table()
{
    static const QVector<Candidate> table = {
        {"GNOME", "gnome-control-center", {QStringLiteral("mouse")}},
        {"Unity", "unity-control-center", {QStringLiteral("mouse")}},
        {"Unity", "gnome-control-center", {QStringLiteral("mouse")}},
        {"Budgie", "budgie-control-center", {QStringLiteral("mouse")}},
        {"Budgie", "gnome-control-center", {QStringLiteral("mouse")}},
        {"KDE", "systemsettings", {QStringLiteral("kcm_mouse")}},
        {"KDE", "systemsettings5", {QStringLiteral("kcm_mouse")}},
        {"XFCE", "xfce4-mouse-settings", {}},
        {"X-Cinnamon", "cinnamon-settings", {QStringLiteral("mouse")}},
        {"Cinnamon", "cinnamon-settings", {QStringLiteral("mouse")}},
        {"MATE", "mate-mouse-properties", {}},
        {"LXQt", "lxqt-config-input", {}},
    };
    return table;
}

} // namespace

DesktopMouseSettings::Command DesktopMouseSettings::Find()
{
    // The variable names the desktop and the desktops it derives from, most specific first.
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        for (const Candidate& candidate : Table()) {
            if (desktop.compare(QLatin1String(candidate.desktop), Qt::CaseInsensitive) != 0)
                continue;
            const QString program = QStandardPaths::findExecutable(QLatin1String(candidate.program));
            if (!program.isEmpty())
                return {program, candidate.arguments};
        }
    }
    return {};
}

bool DesktopMouseSettings::Open()
{
    const Command command = Find();
    return !command.program.isEmpty() && QProcess::startDetached(command.program, command.arguments);
}
