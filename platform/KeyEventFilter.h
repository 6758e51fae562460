#pragma once
#include <functional>

// The program's stand-in for a low-level keyboard hook: one filter on the application object that
// sees every key press and release typed into the program's own windows while one of them is
// active, before the focused widget does, and hands each on as a virtual-key code and a message
// (VirtualKeys). It reads no other program's keys (no grab, no input device) and never consumes an
// event. Each key event is reported once although an event that no widget accepts passes from the
// window to the widget and up its parents; the release half of an auto-repeat pair is dropped, so a
// held key gives repeated downs and one up.
//
// GUI thread only: the sink runs synchronously inside the event's delivery.
namespace KeyEventFilter {

using Sink = std::function<void(int virtualKey, int message)>;

// Installs the filter on the application object (replacing the sink when it runs already). Without
// an application object nothing is installed.
void Start(Sink sink);
// Removes the filter; safe to call when it is not running.
void Stop();
bool Running();

} // namespace KeyEventFilter
