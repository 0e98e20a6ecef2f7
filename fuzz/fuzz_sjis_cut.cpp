// The cut of Shift-JIS (and of UTF-8 in a file saved so) to a byte limit:
// a prefix, within the limit, never half a character, and no shorter than
// it must be.
#include "FuzzSupport.h"
#include "settings/ProfileLines.h"
#include "settings/SettingsFile.h"

namespace {

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

void checkShiftJis(const QByteArray& text, int maxBytes)
{
    const QByteArray cut = SettingsFile::cutBytes(text, maxBytes);
    if (!text.startsWith(cut))
        FuzzSupport::fail("the cut is not a prefix");
    if (text.size() <= maxBytes) {
        if (cut != text)
            FuzzSupport::fail("a text within the limit was cut");
        return;
    }
    if (cut.size() > maxBytes)
        FuzzSupport::fail("the cut passes the limit");
    // Walking the characters from the start must land on the cut.
    qsizetype i = 0;
    while (i < cut.size())
        i += isLeadByte(uchar(text[i])) ? 2 : 1;
    if (i != cut.size())
        FuzzSupport::fail("the cut splits a character");
    const qsizetype next = isLeadByte(uchar(text[i])) ? 2 : 1;
    if (i + next <= maxBytes)
        FuzzSupport::fail("the cut drops a character that fits");
}

void checkUtf8(const QByteArray& text, int maxBytes)
{
    const ProfileLines lines(QByteArray("\xEF\xBB\xBF[a]\r\n"));
    const QByteArray cut = lines.cut(text, maxBytes);
    if (!text.startsWith(cut))
        FuzzSupport::fail("the UTF-8 cut is not a prefix");
    if (cut.size() > std::max(maxBytes, 0) && text.size() > maxBytes)
        FuzzSupport::fail("the UTF-8 cut passes the limit");
    if (text.size() > cut.size() && QString::fromUtf8(text).toUtf8() == text) {
        // In valid UTF-8 the byte after the cut starts a character.
        if ((uchar(text[cut.size()]) & 0xC0) == 0x80)
            FuzzSupport::fail("the UTF-8 cut splits a character");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The limit from the first two bytes, small ones most often.
    const int maxBytes = (data[0] | (data[1] << 8)) % 2048;
    const QByteArray text = FuzzSupport::bytesOf(data + 2, size - 2);
    checkShiftJis(text, maxBytes);
    checkUtf8(text, maxBytes);
    return 0;
}
