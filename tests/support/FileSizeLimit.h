#pragma once
#include <csignal>
#include <sys/resource.h>

// While it lives, no file of this process can grow past bytes: a write past the limit fails as on a
// full disk (the signal the system would send for it is ignored). Any user can set it, and it
// touches no file system.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Active() const { return active; }

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
    bool active = false;
};
