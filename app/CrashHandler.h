#pragma once
#include <QString>

#include <csignal>
#include <ctime>

// Leaves a crash dump in the per-user "Exception" folder when the program dies of a fatal signal
// (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL): a text file named after the moment of the crash,
// "yyyy_MM_dd_hh_mm_ss.dmp", holding the signal, a backtrace and the memory map for resolving it.
// The process then ends as it would have without the handler (default action, so a core dump
// still follows where the system makes one).
//
// Everything the handler needs is prepared by Install: the folder path, the local time offset and
// the backtrace machinery. In the handler only async-signal-safe calls run; the file's time is the
// wall clock (clock_gettime) shifted by the local offset known at install, refreshed every minute
// by a timer of the GUI thread so that a daylight-saving change is followed.
class CrashHandler
{
public:
    // Installs the handler for the fatal signals of every thread and prepares the dump folder.
    // Installing again refreshes the prepared values.
    void Install();

    // The dump folder: the per-user folder's "/Exception".
    static QString DumpFolder();

    // Writes the dump file name of a moment into out (at least DumpNameSize bytes, NUL-terminated):
    // the local time seconds since 1970 (wall clock plus local offset) as "yyyy_MM_dd_hh_mm_ss.dmp".
    // Async-signal-safe.
    static constexpr int DumpNameSize = 24;
    static void DumpFileName(long long localSeconds, char* out);

    // Re-reads the local time offset; Install and the refresh timer call it.
    static void RefreshLocalOffset();

private:
    static void Filter(int signalNumber, siginfo_t* info, void* context);
};
