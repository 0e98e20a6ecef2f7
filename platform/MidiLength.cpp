#include "platform/MidiLength.h"

#include <algorithm>
#include <map>

namespace {

constexpr quint32 kDefaultTempo = 500000;  // microseconds per quarter note: 120 beats a minute

class Reader {
public:
    Reader(const QByteArray& bytes, qsizetype begin, qsizetype end)
        : data_(bytes)
        , at_(begin)
        , end_(end)
    {
    }
    bool atEnd() const { return at_ >= end_; }
    bool byte(quint8& b)
    {
        if (atEnd())
            return false;
        b = quint8(data_.at(at_++));
        return true;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    bool quantity(quint32& v)
    {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            quint8 b = 0;
            if (!byte(b))
                return false;
            v = (v << 7) | (b & 0x7Fu);
            if (!(b & 0x80u))
                return true;
        }
        return false;
    }
    bool skip(quint32 n)
    {
        if (qsizetype(n) > end_ - at_)
            return false;
        at_ += qsizetype(n);
        return true;
    }
    qsizetype at() const { return at_; }

private:
    const QByteArray& data_;
    qsizetype at_;
    qsizetype end_;
};

quint32 big(const QByteArray& d, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | quint8(d.at(at + i));
    return v;
}

// Reads one track: the tick of its last whole event, and its tempo changes.
quint64 readTrack(Reader r, std::map<quint64, qsizetype>& tempos)
{
    quint64 last = 0;
    quint64 tick = 0;
    quint8 running = 0;
    quint32 delta = 0;
    for (; r.quantity(delta); last = tick) {
        tick += delta;
        quint8 status = 0;
        if (!r.byte(status))
            break;
        if (status == 0xFF) {
            quint8 type = 0;
            quint32 length = 0;
            if (!r.byte(type) || !r.quantity(length))
                break;
            const qsizetype data = r.at();
            if (!r.skip(length))
                break;
            if (type == 0x51 && length == 3)
                tempos[tick] = data;
            if (type == 0x2F)
                return tick;  // the end of the track
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            quint32 length = 0;
            if (!r.quantity(length) || !r.skip(length))
                break;
            continue;
        }
        quint8 first = status;
        if (status & 0x80u) {
            running = status;
            if (!r.byte(first))
                break;
        } else if (!running) {
            break;  // data without a status: the track is damaged
        }
        const quint8 kind = running & 0xF0u;
        if (kind != 0xC0 && kind != 0xD0 && !r.skip(1))
            break;
    }
    return last;
}

}  // namespace

qint64 MidiLength::milliseconds(const QByteArray& smf)
{
    if (smf.size() < 14 || !smf.startsWith("MThd"))
        return -1;
    const quint32 headerLength = big(smf, 4, 4);
    if (headerLength < 6 || headerLength > quint32(smf.size() - 8))
        return -1;
    const quint32 tracks = big(smf, 10, 2);
    const quint32 division = big(smf, 12, 2);
    if (division == 0)
        return -1;
    std::map<quint64, qsizetype> tempoAt;  // tick → where the tempo's three bytes are
    quint64 lastTick = 0;
    quint32 found = 0;
    qsizetype at = 8 + qsizetype(headerLength);
    while (found < tracks && smf.size() - at >= 8) {
        const quint32 length = big(smf, at + 4, 4);
        const qsizetype begin = at + 8;
        const qsizetype end = begin + std::min<qsizetype>(qsizetype(length), smf.size() - begin);
        if (smf.mid(at, 4) == "MTrk") {
            lastTick = std::max(lastTick, readTrack(Reader(smf, begin, end), tempoAt));
            ++found;
        }
        at = end;
    }
    if (found == 0)
        return -1;
    if (division & 0x8000u) {
        // SMPTE time: frames a second (the negative high byte) times ticks a frame.
        const int fps = 256 - int(division >> 8);
        const int perFrame = int(division & 0xFFu);
        if (fps <= 0 || perFrame == 0)
            return -1;
        return qint64(lastTick * 1000 / quint64(fps * perFrame));
    }
    double micros = 0;
    quint64 from = 0;
    quint32 tempo = kDefaultTempo;
    for (const auto& [tick, offset] : tempoAt) {
        if (tick >= lastTick)
            break;
        micros += double(tick - from) * tempo / division;
        from = tick;
        tempo = big(smf, offset, 3);
    }
    micros += double(lastTick - from) * tempo / division;
    return qint64(micros / 1000.0);
}
