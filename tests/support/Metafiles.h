#pragma once

#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QFile>
#include <QSize>
#include <QString>

namespace Metafiles {

// A placeable Windows metafile of one filled rectangle over its whole
// picture, size pixels at 96 dots per inch.
inline bool write(const QString& path, QSize size, QColor fill)
{
    QByteArray body;
    QDataStream b(&body, QIODevice::WriteOnly);
    b.setByteOrder(QDataStream::LittleEndian);
    const qint16 w = qint16(size.width()), h = qint16(size.height());
    auto record = [&](quint32 words, quint16 function) { b << words << function; };
    // clang-format off
    record(5, 0x020B); b << qint16(0) << qint16(0);  // window origin
    record(5, 0x020C); b << h << w;                  // window extent
    record(7, 0x02FC); b << quint16(0) << quint8(fill.red()) << quint8(fill.green()) << quint8(fill.blue())
                         << quint8(0) << quint16(0);  // solid brush
    record(4, 0x012D); b << quint16(0);              // select it
    record(7, 0x041B); b << h << w << qint16(0) << qint16(0);  // the rectangle
    record(3, 0x0000);                               // end
    // clang-format on
    QByteArray out;
    QDataStream o(&out, QIODevice::WriteOnly);
    o.setByteOrder(QDataStream::LittleEndian);
    const quint16 head[10] = {0xCDD7, 0x9AC6, 0, 0, 0, quint16(w), quint16(h), 96, 0, 0};
    quint16 sum = 0;
    for (quint16 word : head) {
        o << word;
        sum ^= word;
    }
    o << sum;
    o << quint16(1) << quint16(9) << quint16(0x0300) << quint32(9 + body.size() / 2) << quint16(1) << quint32(7)
      << quint16(0);
    out += body;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}

}  // namespace Metafiles
