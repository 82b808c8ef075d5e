// Start-up to the first shown window: QApplication, the program's services,
// Form1, show, and the window's first paint; the window completed after it
// (its other pages and writing aids); then the first ">|" to the last page. Prints the stages in milliseconds and exits. With --empty, the same
// for an empty Qt Widgets window instead. See the README for the loop that runs it.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <QTranslator>

#include "window/programwindow.h"
#include "app/programservices.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time of the whole process so far, its loading included: on a
// busy machine a steadier measure than the time on the clock.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// The time of day, for a caller that times the run from before the process
// was started (paint_at minus its own start).
long long wallClockNs()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

// Notes the first paint of the window and ends the event loop.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(Clock::time_point start) : start_(start) {}
    double ms = -1;
    double cpu = -1;
    long long epochNs = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && ms < 0) {
            ms = msSince(start_);
            cpu = cpuMs();
            epochNs = wallClockNs();
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Clock::time_point start_;
};

}  // namespace

// The yardstick: an empty Qt Widgets window, from the same start to its first paint.
int emptyWindow(int argc, char* argv[], Clock::time_point start)
{
    QApplication app(argc, argv);
    const double appMs = msSince(start);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Vinkring")));
    FirstPaint firstPaint(start);
    window.installEventFilter(&firstPaint);
    window.show();
    QApplication::exec();
    std::printf("platform=%s empty_window application=%.1f ms first_paint=%.1f ms cpu_first_paint=%.1f ms "
                "paint_at=%lld\n",
                qPrintable(QApplication::platformName()), appMs, firstPaint.ms, firstPaint.cpu, firstPaint.epochNs);
    return firstPaint.ms < 0 ? 1 : 0;
}

int main(int argc, char* argv[])
{
    const Clock::time_point start = Clock::now();
    if (argc > 1 && std::strcmp(argv[argc - 1], "--empty") == 0)
        return emptyWindow(argc - 1, argv, start);
    QApplication app(argc, argv);
    const double qtMs = msSince(start);
    // What app/main.cpp does before the window: names, Qt's Dutch texts.
    QTranslator qtDutch;
    vinkring::setUpApplication(qtDutch);
    const double appMs = msSince(start);

    vinkring::ProgramServices program;
    vinkring::holdUntilPainted(program);
    const double servicesMs = msSince(start);
    vinkring::ProgramWindow programWindow(program.services, &program.spellingSheets.dictionary(),
                                          vinkring::Form1::Pages::AfterFirstPaint);
    vinkring::Form1& window = programWindow.form();
    const double constructedMs = msSince(start);
    // The other pages and the writing aids, built right after the first paint.
    double completeMs = -1;
    double completeCpu = -1;
    QObject::connect(&window, &vinkring::Form1::completed, [&] {
        completeMs = msSince(start);
        completeCpu = cpuMs();
    });

    FirstPaint firstPaint(start);
    window.installEventFilter(&firstPaint);
    window.show();
    const double shownMs = msSince(start);
    QApplication::exec();
    if (completeMs < 0)
        QApplication::processEvents();
    vinkring::afterFirstPaint(program);

    // The first arrival at the last page, as the writer's first ">|" after start-up.
    const Clock::time_point lastPageStart = Clock::now();
    window.Command1_Click(3);
    QApplication::processEvents();
    const double lastPageMs = msSince(lastPageStart);

    std::printf("platform=%s qt=%.1f ms application=%.1f ms services=%.1f ms constructed=%.1f ms shown=%.1f ms "
                "first_paint=%.1f ms cpu_first_paint=%.1f ms complete=%.1f ms cpu_complete=%.1f ms "
                "first_last_page=%.2f ms paint_at=%lld\n",
                qPrintable(QApplication::platformName()), qtMs, appMs, servicesMs, constructedMs, shownMs, firstPaint.ms,
                firstPaint.cpu, completeMs, completeCpu, lastPageMs, firstPaint.epochNs);
    return firstPaint.ms < 0 ? 1 : 0;
}
