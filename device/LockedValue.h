#pragma once
#include <QMutex>
#include <QMutexLocker>

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
        QMutexLocker locker(&lock);
        return value;
    }
    void Set(const T& replacement)
    {
        QMutexLocker locker(&lock);
        value = replacement;
    }
    // Changes the value in place under the lock; `change` must not call back into this value.
    template <typename Change>
    void Update(Change change)
    {
        QMutexLocker locker(&lock);
        change(value);
    }

private:
    mutable QMutex lock;
    T value{};
};
