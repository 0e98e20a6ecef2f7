// Any bytes as a picture file: the loader gives a picture or refuses it,
// within the allocation limit, and the cover never passes its cell.
#include "FuzzSupport.h"
#include "pictures/PictureLoader.h"

namespace {

// A metafile is known by its name; its two header forms pick the name, so
// that both readers get their share of the inputs.
QString nameFor(const QByteArray& bytes)
{
    if (bytes.startsWith("\xD7\xCD\xC6\x9A") || bytes.startsWith(QByteArray("\x01\x00\x09\x00", 4)) ||
        bytes.startsWith(QByteArray("\x02\x00\x09\x00", 4)))
        return "picture.wmf";
    return "picture.jpg";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startQt();
    PictureLoader::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytesOf(data, size);
    const QString path = FuzzSupport::writeScratch(nameFor(bytes), bytes);

    const PictureLoader::Result whole = PictureLoader::load(path);
    if (whole.status == PictureLoader::Status::Ok && (whole.image.isNull() || whole.size != whole.image.size()))
        FuzzSupport::fail("a loaded picture has no image or the wrong size");

    // Cells of the gallery's shapes and odd ones, chosen by the input.
    const QSize cell(8 + int(size % 181), 8 + int((size / 3) % 137));
    const PictureLoader::Result cover = PictureLoader::loadCover(path, cell);
    if (cover.status == PictureLoader::Status::Ok &&
        (cover.image.isNull() || cover.image.width() > cell.width() || cover.image.height() > cell.height()))
        FuzzSupport::fail("a cover passes its cell");
    return 0;
}
