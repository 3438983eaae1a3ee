#pragma once
// What the benchmarks measure with: elapsed time and resident memory.

#include <QElapsedTimer>
#include <QFile>

inline double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// Resident memory of this process, from /proc (Linux); -1 where it cannot be read.
inline double residentMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}
