#pragma once
#include <cstdint>
#include <mutex>

// Guards one callback of the program. Every replacement or close starts a new generation; work queued
// for an older generation is dropped. A delivery takes the callback under the gate's lock and calls
// it after letting go, so a callback may call back in, and closing never waits for a running callback,
// yet no callback starts after the close has returned.
template <typename Callback>
class CallbackGate
{
public:
    uint64_t Open(Callback callback)
    {
        std::lock_guard<std::mutex> locker(lock);
        current = callback;
        return ++generation;
    }
    uint64_t Close()
    {
        std::lock_guard<std::mutex> locker(lock);
        current = nullptr;
        return ++generation;
    }
    // The callback when generation is still the current one, else null.
    Callback Take(uint64_t forGeneration)
    {
        std::lock_guard<std::mutex> locker(lock);
        return forGeneration == generation ? current : nullptr;
    }
    Callback Current()
    {
        std::lock_guard<std::mutex> locker(lock);
        return current;
    }

private:
    std::mutex lock;
    Callback current = nullptr;
    uint64_t generation = 0;
};
