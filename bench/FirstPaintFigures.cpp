#include "FirstPaintFigures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The kB values of the named fields of a /proc file, summed.
double SumOfFields(const char* path, const QList<QByteArray>& fields)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    double sum = 0;
    bool found = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0 || !fields.contains(line.left(colon)))
            continue;
        sum += line.mid(colon + 1).trimmed().split(' ').value(0).toDouble();
        found = true;
    }
    return found ? sum : -1;
}

double Milliseconds(const timeval& time)
{
    return time.tv_sec * 1000.0 + time.tv_usec / 1000.0;
}

class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(const char* className, QObject* parent) : QObject(parent), className(className) {}
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() && static_cast<QWidget*>(object)->isWindow()
            && object->inherits(className)) {
            QCoreApplication::instance()->removeEventFilter(this);
            // The figures are taken once this paint has been flushed to the screen.
            QTimer::singleShot(0, [] {
                const QByteArray line = FirstPaintLine(FiguresOfThisProcess());
                std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    const char* className;
};

} // namespace

FirstPaintFigures FiguresOfThisProcess()
{
    FirstPaintFigures figures;
    figures.memoryKiB = SumOfFields("/proc/self/smaps_rollup", {"Rss"});
    figures.privateKiB = SumOfFields("/proc/self/smaps_rollup", {"Private_Clean", "Private_Dirty"});
    if (figures.memoryKiB < 0 || figures.privateKiB < 0) {
        // Without smaps_rollup: the anonymous pages stand for the private ones (libraries' private
        // pages are not counted).
        figures.memoryKiB = SumOfFields("/proc/self/status", {"VmRSS"});
        figures.privateKiB = SumOfFields("/proc/self/status", {"RssAnon"});
    }
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        figures.cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    return figures;
}

QByteArray FirstPaintLine(const FirstPaintFigures& figures)
{
    return "shown " + QByteArray::number(figures.memoryKiB, 'f', 0) + ' ' + QByteArray::number(figures.privateKiB, 'f', 0)
        + ' ' + QByteArray::number(figures.cpuMs, 'f', 1) + '\n';
}

bool ReadFirstPaintLine(const QByteArray& line, FirstPaintFigures* figures)
{
    const QList<QByteArray> words = line.trimmed().split(' ');
    if (words.size() != 4 || words.at(0) != "shown")
        return false;
    figures->memoryKiB = words.at(1).toDouble();
    figures->privateKiB = words.at(2).toDouble();
    figures->cpuMs = words.at(3).toDouble();
    return figures->Valid();
}

void ReportFirstPaintOf(const char* className)
{
    // A start-up may make short-lived applications before its own (a probe of the screen): the
    // watch goes with whichever application it watches, so nothing of it is left behind.
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new FirstPaintWatch(className, application));
    QTimer::singleShot(30000, [] { _exit(3); });
}
