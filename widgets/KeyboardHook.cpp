#include "widgets/KeyboardHook.h"

#include "platform/KeyEventFilter.h"
#include "platform/VirtualKeys.h"

#include <QList>

namespace {

// The installed instances in the order they were installed; the key event filter runs while
// this holds any. Never freed, so that an instance going away at exit can still leave it.
QList<KeyboardHook*>& Installed()
{
    static auto* installed = new QList<KeyboardHook*>;
    return *installed;
}

} // namespace

KeyboardHook& KeyboardHook::MacroRecorder()
{
    static KeyboardHook hook(true);
    return hook;
}

KeyboardHook& KeyboardHook::MacroStepEntry()
{
    static KeyboardHook hook(false);
    return hook;
}

KeyboardHook& KeyboardHook::KeyCombination()
{
    static KeyboardHook hook(false);
    return hook;
}

KeyboardHook::KeyboardHook(bool trackSystemKeys) : TrackSystemKeys(trackSystemKeys) {}

KeyboardHook::~KeyboardHook()
{
    RemoveKeyboardHook();
}

void KeyboardHook::InstallKeyboardHook()
{
    if (installed)
        return;
    installed = true;
    Installed().append(this);
    KeyEventFilter::Start(&KeyboardHook::Feed);
}

void KeyboardHook::RemoveKeyboardHook()
{
    if (!installed)
        return;
    installed = false;
    Installed().removeAll(this);
    if (Installed().isEmpty())
        KeyEventFilter::Stop();
}

void KeyboardHook::SetCallback(Callback replacement)
{
    callback.swap(replacement);
}

KeyboardHook::Report KeyboardHook::Step(int keyCode, int message)
{
    const unsigned key = unsigned(keyCode);
    if (key == lastKey) {
        repeat = true;
    } else {
        repeat = false;
        lastKey = key;
    }
    switch (message) {
    case VirtualKeys::KeyDown:
        down = true;
        break;
    case VirtualKeys::KeyUp:
        down = false;
        repeat = false;
        lastKey = 0;
        break;
    case VirtualKeys::SysKeyDown:
        if (TrackSystemKeys)
            down = true;
        break;
    case VirtualKeys::SysKeyUp:
        if (TrackSystemKeys)
            down = false;
        break;
    default:
        break;
    }
    return Report{keyCode, down, repeat};
}

void KeyboardHook::Feed(int keyCode, int message)
{
    // A copy: a callback may remove its own hook or install another; one removed meanwhile is
    // skipped, one installed meanwhile waits for the next event.
    const QList<KeyboardHook*> hooks = Installed();
    for (KeyboardHook* hook : hooks) {
        if (!hook->installed)
            continue;
        const Report report = hook->Step(keyCode, message);
        if (hook->callback) {
            const Callback call = hook->callback;
            call(report.keyCode, report.down, report.repeat);
        }
    }
}
