#pragma once
#include <QByteArray>

// What a freshly started program costs at the moment its top-level window has painted for the first
// time: the figures the start-up comparison of the benchmark reads from each of its children.
struct FirstPaintFigures
{
    double memoryKiB = -1;  // resident
    double privateKiB = -1; // resident and not shared with any other process
    double cpuMs = -1;      // user and system time of all threads so far
    bool Valid() const { return memoryKiB >= 0 && privateKiB >= 0 && cpuMs >= 0; }
};

// The figures of the calling process now: memory from /proc/self/smaps_rollup (Rss, Private_Clean +
// Private_Dirty), or from /proc/self/status (VmRSS, RssAnon) on kernels without it; CPU from getrusage.
FirstPaintFigures FiguresOfThisProcess();

// The line a child writes once its window has painted, and its reading in the parent.
QByteArray FirstPaintLine(const FirstPaintFigures& figures);
bool ReadFirstPaintLine(const QByteArray& line, FirstPaintFigures* figures);

// To be run as a pre-routine of the application (qAddPreRoutine) or right after it is made: once a
// top-level widget inheriting className has painted and its picture reached the screen, writes the
// line on standard output and ends the process through the event loop (the program's own way out).
// A window that never paints ends the process with exit code 3 after 30 s.
void ReportFirstPaintOf(const char* className);
