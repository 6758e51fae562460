#include "platform/UserFileWrites.h"

#include <mutex>

namespace {
std::mutex stateLock;
QString firstFolder;
int failures = 0;
}

UserFileWrites* UserFileWrites::Instance()
{
    // Made on first use by whichever thread; it only emits, so the thread it belongs to does not matter.
    static UserFileWrites* instance = new UserFileWrites;
    return instance;
}

void UserFileWrites::Failed(const QString& folder)
{
    bool first = false;
    {
        std::lock_guard<std::mutex> locker(stateLock);
        first = failures == 0;
        ++failures;
        if (first)
            firstFolder = folder;
    }
    // Emitted outside the lock: a receiver in this thread may ask for the folder.
    if (first)
        emit Instance()->SigNotKept(folder);
}

QString UserFileWrites::FailedFolder() const
{
    std::lock_guard<std::mutex> locker(stateLock);
    return firstFolder;
}

int UserFileWrites::FailureCount() const
{
    std::lock_guard<std::mutex> locker(stateLock);
    return failures;
}

void UserFileWrites::Forget()
{
    std::lock_guard<std::mutex> locker(stateLock);
    firstFolder.clear();
    failures = 0;
}
