// Start-up and record costs of the program, measured on the simulated devices.
// Prints medians over repeated runs with the machine's core count: figures compare within one run.
#include "FirstPaintFigures.h"
#include "support/SettleDevices.h"
#include "support/RunOnDeviceThread.h"
#include "app/Dialog.h"
#include "app/StartUp.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "platform/AppPaths.h"
#include "platform/WholeFileWrite.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const char* const StartUpChild = "--start-up-child";
// A macro folder far larger than anyone keeps.
constexpr int ManyMacros = 5000;

double Milliseconds(Clock::duration elapsed)
{
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Report(const char* name, const std::vector<double>& runs)
{
    if (runs.empty()) {
        std::printf("%-44s failed\n", name);
        return;
    }
    const auto range = std::minmax_element(runs.begin(), runs.end());
    std::printf("%-44s median %10.3f ms   min %10.3f   max %10.3f   runs %zu\n", name, Median(runs), *range.first,
                *range.second, runs.size());
    std::fflush(stdout);
}

// Runs work repeats times and reports each run's time.
std::vector<double> Measure(int repeats, const std::function<void()>& work)
{
    std::vector<double> runs;
    for (int run = 0; run < repeats; ++run) {
        const auto start = Clock::now();
        work();
        runs.push_back(Milliseconds(Clock::now() - start));
    }
    return runs;
}

// The device library's reports, answers to the reads a whole image asks for, are not part of what
// is measured: the connection's callback drops them, and each run waits until they are delivered.
void DropReports(const uint8_t*, int, const uint8_t*, uint32_t) {}

// The child of the start-up comparison: the program's own start-up, which reports its figures when
// the top-level window has painted for the first time and ends there.
int RunStartUpChild(int argc, char* argv[])
{
    AppPaths::SetProgramFolder(QStringLiteral(KESTRO_BENCH_PROGRAM_DIR));
    qAddPreRoutine([] { ReportFirstPaintOf("DialogMain"); });
    return StartUp::Run(argc, argv);
}

struct StartFigures
{
    std::vector<double> firstWindowMs, memoryMiB, privateMiB, cpuMs;
};

// One start of program (process start to the first paint of its window) in a fresh temporary HOME.
bool StartOnce(const QString& program, const QStringList& arguments, StartFigures* figures)
{
    QTemporaryDir home;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    // The single-instance lock lives in the temporary folder: a copy of the program running
    // elsewhere does not stop the runs, nor do they leave anything behind.
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    // Qt warns on every start without a runtime folder; the temporary folder (mode 0700) serves.
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto start = Clock::now();
    child.start(program, arguments);
    QByteArray output;
    FirstPaintFigures shown;
    bool painted = false;
    while (!painted && child.waitForReadyRead(30000)) {
        output += child.readAll();
        painted = output.contains('\n') && ReadFirstPaintLine(output.left(output.indexOf('\n')), &shown);
    }
    const auto elapsed = Clock::now() - start;
    if (!child.waitForFinished(10000))
        child.kill();
    if (!painted) {
        std::fprintf(stderr, "%s: the window was not shown\n", qPrintable(program));
        return false;
    }
    figures->firstWindowMs.push_back(Milliseconds(elapsed));
    figures->memoryMiB.push_back(shown.memoryKiB / 1024);
    figures->privateMiB.push_back(shown.privateKiB / 1024);
    figures->cpuMs.push_back(shown.cpuMs);
    return true;
}

void ReportStart(const char* name, const StartFigures& figures)
{
    std::printf("  %-30s %10.1f ms %11.1f MiB %9.1f MiB %10.1f ms\n", name, Median(figures.firstWindowMs),
                Median(figures.memoryMiB), Median(figures.privateMiB), Median(figures.cpuMs));
}

double Ratio(const std::vector<double>& program, const std::vector<double>& bare)
{
    const double base = Median(bare);
    return base > 0 ? Median(program) / base : 0;
}

// The program's start against a bare Qt Widgets window (kestro_bench_bare), started in turns in the
// same run so that both meet the same machine.
bool CompareStartUp(const QString& self, int repeats)
{
    const QString bare = QStringLiteral(KESTRO_BENCH_BARE_WINDOW);
    StartFigures program, window;
    for (int run = 0; run < repeats; ++run) {
        // Each takes the first turn every other run.
        const bool programFirst = run % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool ok = (turn == 0) == programFirst
                ? StartOnce(self, {QString::fromLatin1(StartUpChild)}, &program)
                : StartOnce(bare, {}, &window);
            if (!ok)
                return false;
        }
    }
    Report("start-up to the first window painted (process)", program.firstWindowMs);
    Report("bare Qt window, the same (process)", window.firstWindowMs);
    std::printf("start-up at the first paint, medians of %d fresh starts each (platform %s):\n", repeats,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  %-30s %13s %15s %13s %13s\n", "", "first window", "resident", "private", "CPU to start");
    ReportStart("this program", program);
    ReportStart("bare Qt Widgets window", window);
    std::printf("  %-30s %13.2f %15.2f %13.2f %13.2f\n", "ratio program / bare", Ratio(program.firstWindowMs, window.firstWindowMs),
                Ratio(program.memoryMiB, window.memoryMiB), Ratio(program.privateMiB, window.privateMiB),
                Ratio(program.cpuMs, window.cpuMs));
    std::fflush(stdout);
    return true;
}

// The program's debug lines would mix with the figures; warnings still go to stderr.
void DropDebugLines(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(DropDebugLines);
    if (argc > 1 && qstrcmp(argv[1], StartUpChild) == 0)
        return RunStartUpChild(argc - 1, argv + 1);

    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 0;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    std::printf("kestro_bench: %u cores (std::thread::hardware_concurrency)\n", std::thread::hardware_concurrency());
    std::fflush(stdout);

    if (!CompareStartUp(QString::fromLocal8Bit(argv[0]), repeats ? repeats : 7))
        std::printf("%-44s failed\n", "start-up comparison");

    // Everything else runs in this process, in a temporary HOME with the build's program folder.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    AppPaths::SetProgramFolder(QStringLiteral(KESTRO_BENCH_PROGRAM_DIR));
    QApplication application(argc, argv);
    StartUp::MakeUserFolders();
    StartUp::CreateEmptyPreferences();

    QTemporaryDir flash;
    const QByteArray description = (AppPaths::ProgramFolder() + "/simulated/devices.ini").toLocal8Bit();
    SimControl_Reset(description.constData(), flash.path().toLocal8Bit().constData());
    // The wired mouse, opened as the setters open it.
    int mouse = -1;
    for (int device = 0; device < SimControl_DeviceCount() && mouse < 0; ++device) {
        const uint8_t* info = VidEzorarA_GetDeviceInfo(SimControl_DevicePath(device), 0);
        if (info && (info[0] || info[1]) && DeviceAllInfo::IsWiredStatus(info[2]))
            mouse = device;
    }
    if (mouse < 0) {
        std::fprintf(stderr, "no simulated wired mouse in %s\n", description.constData());
        return 1;
    }
    const QByteArray path(SimControl_DevicePath(mouse));
    DeviceAllInfo info;
    if (IdentifyDevice(&info, path.constData()) != 1) {
        std::fprintf(stderr, "the simulated wired mouse was not identified\n");
        return 1;
    }
    CurrentDeviceInfo.Set(info);
    SetCurrentDevicePath(path);
    UsbServerC_Start(path.constData(), path.constData(), DropReports);
    FlashDataMap record{};
    SimControl_GetDeviceRecord(mouse, record.bytes());
    AdoptDeviceConfig(record);
    DeviceWindowActive = 1;

    Report("open the device window (Dialog, 7 pages)", Measure(repeats ? repeats : 15, [] {
        Dialog window;
        QCoreApplication::processEvents();
    }));

    {
        // A macro folder of 5,000 files: the window's start and the page switches that show the
        // button page's macro list (to the button page and back to the macro page).
        const QString folder = MacroBlocks::MacroFolder();
        for (int i = 0; i < ManyMacros; ++i)
            WriteWholeFile(folder + QStringLiteral("/Macro %1.ini").arg(i, 4, 10, QLatin1Char('0')), "1\n0x04 1 0\n10ms\n0x04 1 1\n");
        Report("open the device window, 5,000 macro files", Measure(repeats ? repeats : 5, [] {
            Dialog window;
            QCoreApplication::processEvents();
        }));
        Dialog window;
        window.show();
        QCoreApplication::processEvents();
        const auto switchPages = [&window] {
            QMetaObject::invokeMethod(&window, "on_ButtonMain_clicked");
            QCoreApplication::processEvents();
            QMetaObject::invokeMethod(&window, "on_MacroButton_clicked");
            QCoreApplication::processEvents();
        };
        // The first switch after the files were made reads the folder again (their time is too
        // fresh to trust); the median is a switch with the list as read.
        Report("page switch to the buttons and back, 5,000 macros", Measure(repeats ? repeats : 15, switchPages));
        // The button page as the user may leave it: its function menu open on the macro list,
        // whose 5,000 buttons are then laid out whenever the page shows.
        QMetaObject::invokeMethod(&window, "on_ButtonMain_clicked");
        window.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))
            ->setCurrentWidget(window.findChild<QWidget*>(QStringLiteral("page_2")));
        window.findChild<QStackedWidget*>(QStringLiteral("stackedWidget_2"))
            ->setCurrentWidget(window.findChild<QWidget*>(QStringLiteral("page_5")));
        QCoreApplication::processEvents();
        Report("the same, the macro list open", Measure(repeats ? repeats : 15, switchPages));
        for (int i = 0; i < ManyMacros; ++i)
            QFile::remove(folder + QStringLiteral("/Macro %1.ini").arg(i, 4, 10, QLatin1Char('0')));
    }

    {
        Dialog window;
        window.show();
        SettleDevices();
        QByteArray image(HIDUSB_RAW_IMAGE_SIZE, 0);
        SimControl_EncodeImage(record.bytes(), reinterpret_cast<uint8_t*>(image.data()));
        const char headerBytes[5] = {0, char(HIDUSB_REPORT_PARAMETER), 0, 0, char(HIDUSB_ITEM_IMAGE_OR_RATE)};
        const QByteArray header(headerBytes, 5);
        std::vector<double> runs;
        for (int run = 0; run < (repeats ? repeats : 101); ++run) {
            const auto start = Clock::now();
            DeliverReport(header, image);
            // The pages apply the record when the queued signals reach them.
            QCoreApplication::processEvents();
            runs.push_back(Milliseconds(Clock::now() - start));
            SettleDevices();
        }
        Report("whole image: parse, signals, pages applied", runs);
    }
    SettleDevices();

    // The device window, once gone, leaves no device current: open the mouse again as the setters see it.
    SetCurrentDevicePath(path);
    SimControl_GetDeviceRecord(mouse, record.bytes());
    AdoptDeviceConfig(record);
    ButtonPageRefreshing = LightPageRefreshing = SensorPageRefreshing = false;
    ReloadRequested = false;
    // The call alone, and the call until the device holds the record (the library's queue drained).
    std::vector<double> setterRuns, heldRuns;
    for (int run = 0; run < (repeats ? repeats : 1001); ++run) {
        const uint8_t rate = run % 2 ? 2 : 4;
        const auto start = Clock::now();
        const bool written = SetDeviceReportRate(rate);
        setterRuns.push_back(Milliseconds(Clock::now() - start));
        const bool idle = SimControl_WaitIdle(2000) != 0;
        heldRuns.push_back(Milliseconds(Clock::now() - start));
        FlashDataMap held{};
        SimControl_GetDeviceRecord(mouse, held.bytes());
        if (!written || !idle || held.reportRate != rate) {
            std::fprintf(stderr, "SetDeviceReportRate(%d) did not reach the device (written %d, idle %d, held %d)\n",
                         rate, written, idle, held.reportRate);
            setterRuns.clear();
            heldRuns.clear();
            break;
        }
        SettleDevices();
    }
    Report("setter: SetDeviceReportRate call", setterRuns);
    Report("setter: SetDeviceReportRate until held", heldRuns);

    UsbServer_Exit();
    SettleDevices();
    return 0;
}
