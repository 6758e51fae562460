#pragma once
#include <QString>

#include <functional>

class QWidget;

// The modal wait shown while the device's settings are re-read or a configuration file is imported.
// The pages start it here; the application shell installs the dialog that does the work, so that a
// page never reaches up into the shell. GUI thread only.
namespace SettingsWait {

// What ends the wait.
struct Request
{
    // A configuration file imported when the wait ends; empty for none.
    QString importPath;
    // The wait ends when the pages report they applied a freshly read record (a reset or a reload).
    bool waitForPages = false;
};

// Places the wait dialog before it is shown.
using Placement = std::function<void(QWidget* dialog)>;
// Shows the wait for a request and returns when it ended.
using Runner = std::function<void(const Request& request, const Placement& place)>;

// The application shell installs its wait once, before the pages are made.
void Install(Runner runner);
// Shows the installed wait; false (and nothing shown) when none is installed.
bool Run(const Request& request, const Placement& place);

} // namespace SettingsWait
