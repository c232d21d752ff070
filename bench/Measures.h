// What the benchmarks measure inside their own process: elapsed time and
// the memory figures of /proc/self/status.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <chrono>

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The kB of a line of /proc/self/status ("VmHWM:", "VmRSS:"); -1 when it
// cannot be read.
inline long StatusKb(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLong();
    return -1;
}

inline long PeakResidentKb() {
    return StatusKb("VmHWM:");
}
