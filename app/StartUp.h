#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

class QWidget;

// The program's start: per-user folders, screen scaling, old-file clean-up, the single-instance
// lock, then the top-level window. Each step is its own function so that it can be run alone.
class StartUp
{
public:
    // Runs the whole start-up and the event loop; returns the program's exit code.
    static int Run(int argc, char* argv[]);

    // The sub-folders of the per-user folder, in the order they are made.
    static const QStringList& UserFolders();
    // Makes the per-user folders that are missing (the per-user folder with them).
    static void MakeUserFolders();
    // Creates an empty "Macro.ini" in the per-user folder when there is none.
    static void CreateEmptyPreferences();

    // The scale factor for a desktop this many physical pixels wide: the whole number of times 1920
    // fits into it (2 for 3840, 1 for 2560); 0, no factor of the program's, at 1920 or less.
    static int ScaleFactorForWidth(int desktopWidth);
    // Scales the program's windows by that factor (in place of a "QT_SCALE_FACTOR" the user set);
    // leaves the scale alone at 1920 or less. With the application object made, before any window.
    static void ApplyScaleFactor(int desktopWidth);
    // The program draws nothing with OpenGL: Qt is told to load no GL integration (on X11 that
    // library alone costs about half the start-up memory) unless the user set
    // "QT_XCB_GL_INTEGRATION", whose value wins. Before the first application object.
    static void LeaveOutGlIntegration();

    // Removes the files of folder (not its sub-folders) last modified more than 7 whole days before
    // now. A file dated after now is removed too. Returns how many files were removed.
    static int RemoveOldFiles(const QString& folder, const QDateTime& now = QDateTime::currentDateTime());

    // The single-instance lock: true when another running copy holds it. Otherwise the lock is
    // taken and held until the process ends. A lock left behind by a copy that died is cleared
    // first, so only a copy that still runs keeps another from starting. The lock is a file named
    // after key in the per-user folder (one running copy per user, whatever its temporary folder)
    // and a shared memory segment under key.
    static bool AnotherCopyRuns(const QString& key);
    // When another copy runs: shows the already-running notice and returns true.
    static bool RefuseSecondCopy(const QString& key);

    // A termination request (SIGTERM, SIGINT, SIGHUP: logout, shutdown, kill) closes window on the
    // GUI thread, so the program quits the way it does when the window is closed.
    static void CloseOnTerminationSignals(QWidget* window);

    // Multiplies the font size of a widget and of every widget below it by factor. A widget named
    // "Receive_2" keeps its font (its children are scaled); a widget named "NoApear" also gives
    // its font to the tool tips. Each widget ends at factor times the size it had.
    static void ScaleWidgetFont(QWidget* widget, double factor);
};
