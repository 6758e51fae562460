#include "app/CrashHandler.h"

#include "platform/AppPaths.h"
#include "platform/WholeFileWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

const int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

// Prepared by Install, read by the handler; never resized after install.
char dumpFolder[4096] = {0};
std::atomic<long> localOffsetSeconds{0};
std::atomic<int> handlerOwner{0};

// Room for the handler when the crash is a stack overflow of the installing thread.
alignas(16) char alternateStack[64 * 1024];

// ---- async-signal-safe helpers ----

size_t Length(const char* text)
{
    size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

void WriteText(int fd, const char* text)
{
    size_t left = Length(text);
    while (left > 0) {
        const ssize_t written = write(fd, text, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text += written;
        left -= static_cast<size_t>(written);
    }
}

// Decimal or hexadecimal text of a number into a 32-byte buffer.
const char* NumberText(unsigned long long value, unsigned base, char (&buffer)[32])
{
    char* end = buffer + sizeof buffer - 1;
    *end = 0;
    char* at = end;
    do {
        const unsigned digit = static_cast<unsigned>(value % base);
        *--at = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        value /= base;
    } while (value && at > buffer);
    return at;
}

void WriteNumber(int fd, long long value)
{
    char buffer[32];
    if (value < 0) {
        WriteText(fd, "-");
        WriteText(fd, NumberText(static_cast<unsigned long long>(-value), 10, buffer));
    } else {
        WriteText(fd, NumberText(static_cast<unsigned long long>(value), 10, buffer));
    }
}

void WriteHex(int fd, unsigned long long value)
{
    char buffer[32];
    WriteText(fd, "0x");
    WriteText(fd, NumberText(value, 16, buffer));
}

const char* SignalName(int signalNumber)
{
    switch (signalNumber) {
    case SIGSEGV: return "SIGSEGV";
    case SIGABRT: return "SIGABRT";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    default: return "signal";
    }
}

void Put(char*& at, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    at += digits;
}

void CopyMemoryMap(int fd)
{
    const int maps = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (maps < 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(maps, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        ssize_t done = 0;
        while (done < got) {
            const ssize_t written = write(fd, buffer + done, static_cast<size_t>(got - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                close(maps);
                return;
            }
            done += written;
        }
    }
    close(maps);
}

} // namespace

QString CrashHandler::DumpFolder()
{
    return AppPaths::UserDataFolder() + QStringLiteral("/Exception");
}

void CrashHandler::DumpFileName(long long localSeconds, char* out)
{
    // Days since 1970 to a civil date (proleptic Gregorian), integer arithmetic only.
    long long days = localSeconds / 86400;
    long long secondsOfDay = localSeconds % 86400;
    if (secondsOfDay < 0) {
        secondsOfDay += 86400;
        --days;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long long year = yearOfEra + era * 400;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    if (month <= 2)
        ++year;
    if (year < 0)
        year = 0;
    if (year > 9999)
        year = 9999;

    char* at = out;
    Put(at, static_cast<int>(year), 4);
    *at++ = '_';
    Put(at, month, 2);
    *at++ = '_';
    Put(at, day, 2);
    *at++ = '_';
    Put(at, static_cast<int>(secondsOfDay / 3600), 2);
    *at++ = '_';
    Put(at, static_cast<int>(secondsOfDay / 60 % 60), 2);
    *at++ = '_';
    Put(at, static_cast<int>(secondsOfDay % 60), 2);
    std::memcpy(at, ".dmp", 5);
}

void CrashHandler::RefreshLocalOffset()
{
    const time_t now = time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local))
        localOffsetSeconds = local.tm_gmtoff;
}

void CrashHandler::Install()
{
    // A handler lives for the whole run and is never freed; kept here, it is not lost memory.
    static std::vector<const CrashHandler*> installed;
    if (std::find(installed.begin(), installed.end(), this) == installed.end())
        installed.push_back(this);

    const QString folder = DumpFolder();
    QDir().mkpath(folder);
    const QByteArray encoded = QFile::encodeName(folder);
    if (static_cast<size_t>(encoded.size()) < sizeof dumpFolder - CrashHandler::DumpNameSize - 2) {
        std::memcpy(dumpFolder, encoded.constData(), static_cast<size_t>(encoded.size()));
        dumpFolder[encoded.size()] = 0;
    }
    RefreshLocalOffset();

    // The first backtrace loads the unwinder, which must not happen inside the handler.
    void* frames[4];
    backtrace(frames, 4);

    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = &CrashHandler::Filter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : FatalSignals)
        sigaction(signalNumber, &action, nullptr);

    static bool timerMade = false;
    if (!timerMade && QCoreApplication::instance()) {
        timerMade = true;
        auto* timer = new QTimer(QCoreApplication::instance());
        QObject::connect(timer, &QTimer::timeout, &CrashHandler::RefreshLocalOffset);
        timer->start(60 * 1000);
    }
}

void CrashHandler::Filter(int signalNumber, siginfo_t* info, void*)
{
    // One thread writes the dump; a second thread crashing meanwhile waits for it to finish
    // (bounded), then ends the process the same way.
    const int self = static_cast<int>(syscall(SYS_gettid));
    int expected = 0;
    if (!handlerOwner.compare_exchange_strong(expected, self) && expected != self) {
        struct timespec pause = {0, 50 * 1000 * 1000};
        for (int i = 0; i < 60; ++i)
            nanosleep(&pause, nullptr);
    } else if (expected == 0 && dumpFolder[0]) {
        mkdir(dumpFolder, 0755);
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        char name[DumpNameSize];
        DumpFileName(static_cast<long long>(now.tv_sec) + localOffsetSeconds.load(), name);

        char path[sizeof dumpFolder + DumpNameSize + 2];
        const size_t folderLength = Length(dumpFolder);
        std::memcpy(path, dumpFolder, folderLength);
        path[folderLength] = '/';
        std::memcpy(path + folderLength + 1, name, DumpNameSize);

        // Written whole beside its place and put there only if nothing but a dump is: a link or a
        // FIFO under the dump's name is left as it is, and the dump is lost (nobody is left to tell).
        WholeFileWriter dump;
        if (dump.Begin(path, LinkRule::Refuse, 0600)) {
            const int fd = dump.Descriptor();
            WriteText(fd, "Kestro plus crash dump\nsignal: ");
            WriteNumber(fd, signalNumber);
            WriteText(fd, " (");
            WriteText(fd, SignalName(signalNumber));
            WriteText(fd, ")\ncode: ");
            WriteNumber(fd, info ? info->si_code : 0);
            WriteText(fd, "\naddress: ");
            WriteHex(fd, info ? reinterpret_cast<unsigned long long>(info->si_addr) : 0);
            WriteText(fd, "\nprocess: ");
            WriteNumber(fd, getpid());
            WriteText(fd, "\nthread: ");
            WriteNumber(fd, self);
            WriteText(fd, "\n\nbacktrace:\n");
            void* frames[128];
            const int count = backtrace(frames, 128);
            backtrace_symbols_fd(frames, count, fd);
            WriteText(fd, "\nmemory map:\n");
            CopyMemoryMap(fd);
            dump.Commit();
        }
    }

    // End as the process would have: the default action of the same signal.
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &unblock, nullptr);
    raise(signalNumber);
}
