#include "platform/UserFileWrites.h"

#include "platform/WholeFileWrite.h"

#include <mutex>

namespace {
std::mutex stateLock;
QString firstFolder;
QString firstRefused;
int failures = 0;
}

UserFileWrites* UserFileWrites::Instance()
{
    // Made on first use by whichever thread; it only emits, so the thread it belongs to does not matter.
    static UserFileWrites* instance = new UserFileWrites;
    return instance;
}

bool UserFileWrites::Count(const QString& folder, const QString& refusedFile)
{
    std::lock_guard<std::mutex> locker(stateLock);
    ++failures;
    if (failures > 1)
        return false;
    firstFolder = folder;
    firstRefused = refusedFile;
    return true;
}

void UserFileWrites::Failed(const QString& folder)
{
    // Emitted outside the lock: a receiver in this thread may ask for the folder.
    if (Count(folder, QString()))
        emit Instance()->SigNotKept(folder);
}

void UserFileWrites::NotWritten(const QString& path, const FileWrite& write, const QString& folder)
{
    if (write)
        return;
    if (!write.Refused()) {
        Failed(folder);
        return;
    }
    if (Count(folder, path))
        emit Instance()->SigRefused(path);
}

void UserFileWrites::NotWritten(const QString& path, const QString& folder)
{
    const FileWrite found = CheckWritePath(path);
    if (found.Refused())
        NotWritten(path, found, folder);
    else
        Failed(folder);
}

QString UserFileWrites::FailedFolder() const
{
    std::lock_guard<std::mutex> locker(stateLock);
    return firstFolder;
}

QString UserFileWrites::RefusedFile() const
{
    std::lock_guard<std::mutex> locker(stateLock);
    return firstRefused;
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
    firstRefused.clear();
    failures = 0;
}
