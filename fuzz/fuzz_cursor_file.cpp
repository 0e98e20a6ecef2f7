// Cursor files: any bytes are read or refused, and what is read writes out
// and reads back the same.
#include "FuzzSupport.h"
#include "assets/CursorFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QImage image;
    QPoint hotSpot;
    if (!CursorFile::read(FuzzSupport::bytesOf(data, size), &image, &hotSpot))
        return 0;
    if (image.isNull() || image.width() > 256 || image.height() > 256)
        FuzzSupport::fail("a cursor read with no image or an oversized one");
    QImage again;
    QPoint hotAgain;
    if (!CursorFile::read(CursorFile::write(image, hotSpot), &again, &hotAgain))
        FuzzSupport::fail("a cursor written from a read one cannot be read");
    if (again != image || hotAgain != hotSpot)
        FuzzSupport::fail("a cursor changed on its way through a write");
    return 0;
}
