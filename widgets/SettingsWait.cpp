#include "widgets/SettingsWait.h"

#include <utility>

namespace SettingsWait {

namespace {

Runner& InstalledRunner()
{
    static Runner runner;
    return runner;
}

} // namespace

void Install(Runner runner)
{
    InstalledRunner() = std::move(runner);
}

bool Run(const Request& request, const Placement& place)
{
    // A copy: the wait runs an event loop in which the shell may install again.
    const Runner runner = InstalledRunner();
    if (!runner)
        return false;
    runner(request, place);
    return true;
}

} // namespace SettingsWait
