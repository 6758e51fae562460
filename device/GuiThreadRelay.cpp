#include "device/GuiThreadRelay.h"

#include <deque>
#include <mutex>

namespace {
std::mutex callsLock;
// The calls posted and not yet run, oldest first: one Carry() for each.
std::deque<std::function<void()>> calls;
GuiThreadRelay relay;
} // namespace

GuiThreadRelay::GuiThreadRelay()
{
    connect(
        this, &GuiThreadRelay::Carry, this,
        [] {
            std::function<void()> call;
            {
                std::lock_guard<std::mutex> locker(callsLock);
                if (calls.empty())
                    return;
                call = std::move(calls.front());
                calls.pop_front();
            }
            call();
        },
        Qt::QueuedConnection);
}

void GuiThreadRelay::Post(std::function<void()> call)
{
    // Queued together, so that the calls run in the order of their announcements.
    std::lock_guard<std::mutex> locker(callsLock);
    calls.push_back(std::move(call));
    emit relay.Carry();
}

QObject* GuiThreadRelay::Context()
{
    return &relay;
}
