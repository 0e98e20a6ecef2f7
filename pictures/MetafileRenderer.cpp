#include "pictures/MetafileRenderer.h"

#include "pictures/MetafileBudget.h"
#include "pictures/WmfLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

// libwmf keeps font and player state that is not known to be safe across
// threads; the read-ahead decodes on several, so drawings take turns.
std::mutex& turns()
{
    static std::mutex m;
    return m;
}

// Owns one player and closes it whatever happens.
class Player {
public:
    explicit Player(const WmfLibrary& wmf)
        : wmf_(wmf)
    {
        wmfAPI_Options options{};
        options.function = wmf.wmf_gd_function;
        // A damaged metafile is shown as unreadable; libwmf's own reports of
        // it on the terminal would tell the user nothing more.
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf.wmf_api_create(&api_, flags, &options) != wmf_E_None)
            api_ = nullptr;
    }
    ~Player()
    {
        if (api_)
            wmf_.wmf_api_destroy(api_);
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;
    wmfAPI* api() const { return api_; }
    // Destroying the player writes the drawing out.
    void finish()
    {
        wmf_.wmf_api_destroy(api_);
        api_ = nullptr;
    }

private:
    const WmfLibrary& wmf_;
    wmfAPI* api_ = nullptr;
};

}  // namespace

bool MetafileRenderer::isMetafile(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("wmf"), Qt::CaseInsensitive) == 0;
}

QImage MetafileRenderer::render(const QString& path, const std::function<QSize(QSize)>& sizeFor, QSize* natural)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() > kMaxBytes || !file.open(QIODevice::ReadOnly))
        return QImage();
    QByteArray bytes = file.readAll();
    const WmfLibrary* wmf = WmfLibrary::get();
    if (!wmf)
        return QImage();
    std::lock_guard lock(turns());
    Player player(*wmf);
    wmfAPI* api = player.api();
    if (!api || !(WMF_GD_GetData(api)->flags & WMF_GD_SUPPORTS_PNG))
        return QImage();
    if (wmf->wmf_mem_open(api, reinterpret_cast<unsigned char*>(bytes.data()), long(bytes.size())) != wmf_E_None)
        return QImage();
    wmfD_Rect bbox{};
    unsigned int w = 0, h = 0;
    if (wmf->wmf_scan(api, 0, &bbox) != wmf_E_None || wmf->wmf_display_size(api, &w, &h, 96, 96) != wmf_E_None || !w ||
        !h)
        return QImage();
    if (natural)
        *natural = QSize(int(w), int(h));
    const QSize target = sizeFor(QSize(int(w), int(h)));
    if (target.isEmpty())
        return QImage();

    char* buffer = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&buffer, &length);
    if (!out)
        return QImage();
    wmf_gd_t* device = WMF_GD_GetData(api);
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_FILE;
    device->file = out;
    device->bbox = bbox;
    device->width = unsigned(target.width());
    device->height = unsigned(target.height());
    const MetafileBudget budget(*wmf, api, target.width() / (double(bbox.BR.x) - bbox.TL.x),
                                target.height() / (double(bbox.BR.y) - bbox.TL.y),
                                double(target.width()) * target.height());
    // A drawing cut short by its budget is no picture.
    const bool played = wmf->wmf_play(api, 0, &bbox) == wmf_E_None && !budget.exhausted();
    player.finish();
    std::fclose(out);
    QImage image;
    if (played && buffer && length > 0)
        image.loadFromData(reinterpret_cast<const uchar*>(buffer), int(length), "PNG");
    std::free(buffer);
    return image;
}
