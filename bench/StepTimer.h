#pragma once

#include <QElapsedTimer>

#include <cstdio>
#include <sys/resource.h>

// Clocks of the benchmarks: the peak resident memory and the processor time of the process, and
// a timer that prints one line per step as it ends, so that a long run shows its steps at once.

inline double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Processor time of the process (user and system), in ms: beside the elapsed time it tells a
// step that waits (for the disk, or for a processor shared with others) from one that works.
inline double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

class StepTimer {
public:
    // stepWidth: the width of the step's name column.
    explicit StepTimer(int stepWidth) : stepWidth_(stepWidth) { restart(); }
    void restart()
    {
        elapsed_.start();
        processor_ = processorMs();
    }
    // Prints the step's line (elapsed ms, rows per second, processor ms, peak memory), restarts
    // the timer and returns the elapsed ms.
    double line(const char* step, long long rows)
    {
        const double ms = elapsed_.nsecsElapsed() / 1e6;
        std::printf("%-*s %10.1f ms %12.0f rows/s  (processor %.1f ms, peak memory so far %.1f MB)\n", stepWidth_,
                    step, ms, rows / (ms / 1000.0), processorMs() - processor_, peakMegabytes());
        std::fflush(stdout);
        restart();
        return ms;
    }

private:
    int stepWidth_;
    QElapsedTimer elapsed_;
    double processor_ = 0;
};
