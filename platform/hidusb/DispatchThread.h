#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// One of the library's own threads: runs posted tasks in order, each not before its due time.
// Callbacks into the program run only here, never inside a caller's call.
class DispatchThread
{
public:
    using Clock = std::chrono::steady_clock;

    // posted counts every task posted on any thread, so that a wait for quiet can tell that none
    // slipped in between two looks.
    // name: at most 15 characters, shown by debuggers and process tools.
    DispatchThread(const char* name, std::atomic<unsigned long>& posted);
    ~DispatchThread();
    DispatchThread(const DispatchThread&) = delete;
    DispatchThread& operator=(const DispatchThread&) = delete;

    void Post(std::function<void()> task, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Drops the tasks not yet started.
    void Clear();
    bool Idle();
    // Waits until no task is queued or running; false at the deadline.
    bool WaitIdle(Clock::time_point deadline);
    bool OnThisThread() const { return std::this_thread::get_id() == id; }
    // A pause inside a task; false as soon as the thread is shutting down.
    bool Pause(std::chrono::milliseconds duration);
    // Stops the thread: true when it ended within grace and was joined; false when a task is still
    // running (a callback that does not return) and the thread was left to end on its own.
    bool Shutdown(std::chrono::milliseconds grace);

private:
    struct Task {
        Clock::time_point due;
        std::function<void()> run;
    };
    void Run();

    std::atomic<unsigned long>& posted;
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable quiet;
    std::deque<Task> queue;
    bool busy = false;
    bool stopping = false;
    bool ended = false;
    std::thread thread;
    std::thread::id id;
};
