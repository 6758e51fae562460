#pragma once
#include <QString>
#include <QStringList>

// The running desktop's own settings program, opened at its mouse page. The desktop is named by
// XDG_CURRENT_DESKTOP; a desktop of the short table whose program is on the PATH has one.
class DesktopMouseSettings
{
public:
    struct Command
    {
        QString program; // the full path found on the PATH; empty when there is none
        QStringList arguments;
    };

    // The first program of the table for the current desktop that is found on the PATH.
    static Command Find();
    static bool Available() { return !Find().program.isEmpty(); }
    // Starts it detached; false when there is none or it could not be started.
    static bool Open();
};
