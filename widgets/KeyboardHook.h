#pragma once
#include <functional>

// Single keystrokes as data rather than typing: the macro recorder, a macro step's key entry and
// the key-combination dialog learn of every key press and release through a KeyboardHook, which
// reports the key's virtual-key code, whether it went down, and whether it repeats the event before
// it. Keys come from the program's key event filter (platform/KeyEventFilter): only keys typed into
// the program's own windows while one of them is active, none consumed or changed.
//
// There are three instances, one per kind of user, living for the whole process; their flags and
// the last key carry over from one installation to the next. Each installed instance sees every
// event, in the order the instances were installed, before the focused widget does.
//
// GUI thread only: the callback runs synchronously inside the key event's delivery.
class KeyboardHook
{
public:
    using Callback = std::function<void(int keyCode, bool downOrUp, bool aotu)>;

    // What one event gives the callback.
    struct Report {
        int keyCode;
        bool down;
        bool repeat;
    };

    // The instance of each user. The macro recorder tracks system keys (Alt, F10, keys while Alt is
    // held) as downs and ups; the two others leave the down flag as it was for them.
    static KeyboardHook& MacroRecorder();
    static KeyboardHook& MacroStepEntry();
    static KeyboardHook& KeyCombination();

    explicit KeyboardHook(bool trackSystemKeys);
    ~KeyboardHook();
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Starts the reports; installing an installed instance changes nothing.
    void InstallKeyboardHook();
    // Stops them; safe any number of times, and before any installation. The callback stays.
    void RemoveKeyboardHook();
    bool IsInstalled() const { return installed; }

    // Swaps the callback in, replacing the one before; the procedure skips an empty callback. Users
    // bind their own member function and must remove the hook (or replace the callback) before they
    // go away.
    void SetCallback(Callback callback);
    bool HasCallback() const { return bool(callback); }

    // The procedure's state machine: one event (a virtual-key code and a Windows key message) in,
    // the report out, whether installed or not.
    Report Step(int keyCode, int message);

    // Hands one event to every installed instance exactly as the key event filter does: each steps
    // its state and, with a callback, calls it.
    static void Feed(int keyCode, int message);

    const bool TrackSystemKeys;

private:
    unsigned lastKey = 0;
    bool repeat = false;
    bool down = false;
    bool installed = false;
    Callback callback;
};
