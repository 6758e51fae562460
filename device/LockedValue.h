#pragma once
#include <mutex>

// A value shared by the GUI thread, the Worker and the device library's threads: every read is a
// whole copy taken under the value's own lock, every write replaces it whole.
template <typename T>
class LockedValue
{
public:
    LockedValue() = default;
    explicit LockedValue(const T& initial) : value(initial) {}

    T Get() const
    {
        std::lock_guard<std::mutex> locker(lock);
        return value;
    }
    void Set(const T& replacement)
    {
        std::lock_guard<std::mutex> locker(lock);
        value = replacement;
    }
    // Changes the value in place under the lock; `change` must not call back into this value.
    template <typename Change>
    void Update(Change change)
    {
        std::lock_guard<std::mutex> locker(lock);
        change(value);
    }

private:
    mutable std::mutex lock;
    T value{};
};
