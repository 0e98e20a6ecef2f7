#include "assets/CursorFile.h"

#include <QBuffer>
#include <QDataStream>

namespace CursorFile {

QByteArray write(const QImage& source, QPoint hotSpot)
{
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray bitmap;
    {
        QDataStream s(&bitmap, QIODevice::WriteOnly);
        s.setByteOrder(QDataStream::LittleEndian);
        s << quint32(40) << qint32(w) << qint32(h * 2) << quint16(1) << quint16(32) << quint32(0)
          << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
        for (int y = h - 1; y >= 0; --y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x)
                s << quint32(line[x]);
        }
        for (int y = h - 1; y >= 0; --y) {
            QByteArray row(maskStride, '\0');
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x)
                if (qAlpha(line[x]) == 0)
                    row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            s.writeRawData(row.constData(), int(row.size()));
        }
    }
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(2) << quint16(1);
    s << quint8(w >= 256 ? 0 : w) << quint8(h >= 256 ? 0 : h) << quint8(0) << quint8(0) << quint16(hotSpot.x())
      << quint16(hotSpot.y()) << quint32(bitmap.size()) << quint32(6 + 16);
    s.writeRawData(bitmap.constData(), int(bitmap.size()));
    return out;
}

bool read(const QByteArray& data, QImage* image, QPoint* hotSpot)
{
    QDataStream s(data);
    s.setByteOrder(QDataStream::LittleEndian);
    quint16 reserved, type, count;
    s >> reserved >> type >> count;
    if (s.status() != QDataStream::Ok || reserved != 0 || type != 2 || count < 1)
        return false;
    quint8 w8, h8, colours, zero;
    quint16 hx, hy;
    quint32 size, offset;
    s >> w8 >> h8 >> colours >> zero >> hx >> hy >> size >> offset;
    if (s.status() != QDataStream::Ok || offset >= quint32(data.size()) || size > quint32(data.size()) - offset)
        return false;
    QDataStream b(data.mid(offset, size));
    b.setByteOrder(QDataStream::LittleEndian);
    quint32 headerSize, compression, imageSize;
    qint32 w, h2, xppm, yppm;
    quint16 planes, bits;
    quint32 used, important;
    b >> headerSize >> w >> h2 >> planes >> bits >> compression >> imageSize >> xppm >> yppm >> used >> important;
    const int h = h2 / 2;
    if (b.status() != QDataStream::Ok || headerSize != 40 || bits != 32 || w <= 0 || h <= 0 || w > 256 || h > 256)
        return false;
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = h - 1; y >= 0; --y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            quint32 px;
            b >> px;
            line[x] = px;
        }
    }
    if (b.status() != QDataStream::Ok)
        return false;
    *image = img;
    *hotSpot = QPoint(hx, hy);
    return true;
}

}  // namespace CursorFile
