#include "platform/hidusb/DispatchThread.h"

#include <pthread.h>

DispatchThread::DispatchThread(const char* name, std::atomic<unsigned long>& posted) : posted(posted)
{
    std::lock_guard<std::mutex> locker(lock);
    thread = std::thread([this] { Run(); });
    id = thread.get_id();
    pthread_setname_np(thread.native_handle(), name);
}

DispatchThread::~DispatchThread()
{
    if (thread.joinable())
        Shutdown(std::chrono::milliseconds(0));
}

void DispatchThread::Post(std::function<void()> task, std::chrono::milliseconds delay)
{
    {
        std::lock_guard<std::mutex> locker(lock);
        if (stopping)
            return;
        queue.push_back({Clock::now() + delay, std::move(task)});
        ++posted;
    }
    wake.notify_all();
}

void DispatchThread::Clear()
{
    std::deque<Task> dropped;
    {
        std::lock_guard<std::mutex> locker(lock);
        dropped.swap(queue);
    }
    quiet.notify_all();
}

bool DispatchThread::Idle()
{
    std::lock_guard<std::mutex> locker(lock);
    return queue.empty() && !busy;
}

bool DispatchThread::WaitIdle(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> locker(lock);
    return quiet.wait_until(locker, deadline, [this] { return (queue.empty() && !busy) || ended; });
}

bool DispatchThread::Pause(std::chrono::milliseconds duration)
{
    std::unique_lock<std::mutex> locker(lock);
    return !wake.wait_for(locker, duration, [this] { return stopping; });
}

bool DispatchThread::Shutdown(std::chrono::milliseconds grace)
{
    std::unique_lock<std::mutex> locker(lock);
    stopping = true;
    wake.notify_all();
    const bool done = !OnThisThread() && quiet.wait_for(locker, grace, [this] { return ended; });
    locker.unlock();
    if (!thread.joinable())
        return done;
    if (done) {
        thread.join();
        return true;
    }
    thread.detach();
    return false;
}

void DispatchThread::Run()
{
    std::unique_lock<std::mutex> locker(lock);
    while (!stopping) {
        if (queue.empty()) {
            wake.wait(locker);
            continue;
        }
        const Clock::time_point due = queue.front().due;
        if (Clock::now() < due) {
            wake.wait_until(locker, due);
            continue;
        }
        Task task = std::move(queue.front());
        queue.pop_front();
        busy = true;
        locker.unlock();
        task.run();
        task.run = nullptr; // captures go before the thread counts as quiet
        locker.lock();
        busy = false;
        quiet.notify_all();
    }
    queue.clear();
    ended = true;
    quiet.notify_all();
}
