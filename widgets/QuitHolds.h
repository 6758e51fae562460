#pragma once
#include <QObject>

#include <functional>

class QWidget;

// Work that must end, or be told about, before the program ends: a macro on its way to the mouse,
// a firmware stage writing. Every way of quitting (the window's close, the tray's Quit, a termination
// signal from the desktop) asks here first, in the GUI thread.
namespace QuitHolds {

// Answers whether the program may end now. It may first finish its work (send what waits) or tell
// the user what will be lost; it returns false when the quit must not happen yet (the user was told
// why, over window).
using Hold = std::function<bool(QWidget* window)>;

// Adds a hold that is asked for as long as owner lives.
void Add(QObject* owner, Hold hold);

// Asks every living hold, in the order they were added, each once; true when all let the program
// end. Every hold is asked even after one refused, so that each can finish or tell its own part.
bool MayQuit(QWidget* window);

} // namespace QuitHolds
