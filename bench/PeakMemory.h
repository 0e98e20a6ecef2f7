#pragma once

#include <QByteArray>
#include <QFile>

// The process's peak resident memory so far, in KiB (0 where the kernel
// does not tell).
inline long peakKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}
