#pragma once
#include <atomic>

// Sets a page-refreshing flag (DeviceState.h) for the life of the scope, also on an early return:
// while a page applies a received record, its panels skip their writes and the setters stay quiet.
class RefreshingScope
{
public:
    explicit RefreshingScope(std::atomic<bool>& flag) : flag(flag) { flag = true; }
    ~RefreshingScope() { flag = false; }
    RefreshingScope(const RefreshingScope&) = delete;
    RefreshingScope& operator=(const RefreshingScope&) = delete;

private:
    std::atomic<bool>& flag;
};
