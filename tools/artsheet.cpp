// Renders every painted picture of the main window onto contact sheets, so the
// art can be judged by eye at 1x and 2x without starting the program.
//
//   artsheet SHEET.png [LAYOUT.png]
//
// SHEET gets every button, cursor and large picture in labelled rows;
// LAYOUT gets a mock of the main window built from the same pieces, so the
// palette can be judged as a whole.

#include "assets/ArtPalette.h"
#include "assets/ButtonArt.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstdio>

namespace {

using Look = ButtonArt::AttributeLook;
using Command = ButtonArt::Command;
using CommandLook = ButtonArt::CommandLook;

const Look kLooks[] = {Look::Unselected, Look::Pointed, Look::Pressed, Look::SelectedPointed, Look::Selected};
const char* const kLookNames[] = {"unselected", "pointed", "pressed", "selected+pointed", "selected"};
const Command kCommands[] = {Command::Play, Command::Pause, Command::AllData, Command::Clear, Command::Quit};
const CommandLook kCommandLooks[] = {CommandLook::Idle, CommandLook::Pointed, CommandLook::Pressed,
                                     CommandLook::Latched};
const char* const kCommandLookNames[] = {"idle", "pointed", "pressed", "latched"};
const char* const kCategoryNames[] = {"season", "colour", "petal form", "leaf arrangement", "family"};

// Draws images pixel for pixel, whatever their device pixel ratio.
QImage devicePixels(QImage image)
{
    image.setDevicePixelRatio(1);
    return image;
}

QFont labelFont(int pixelSize)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    return font;
}

class Sheet {
public:
    explicit Sheet(int width)
        : m_image(width, 9000, QImage::Format_ARGB32_Premultiplied)
    {
        m_image.fill(Qt::white);
        m_painter.begin(&m_image);
        m_painter.setRenderHint(QPainter::Antialiasing);
    }

    void heading(const QString& text)
    {
        m_y += 10;
        m_painter.setFont(labelFont(20));
        m_painter.setPen(Qt::black);
        m_painter.drawText(10, m_y + 20, text);
        m_y += 32;
    }

    void row(const QString& label, const QList<QImage>& images, const QColor& tile = Qt::white)
    {
        m_painter.setFont(labelFont(12));
        m_painter.setPen(QColor(80, 80, 80));
        m_painter.drawText(10, m_y + 14, label);
        int x = 190;
        int height = 16;
        for (const QImage& image : images) {
            const QImage pixels = devicePixels(image);
            if (tile != Qt::white)
                m_painter.fillRect(QRect(QPoint(x, m_y), pixels.size()), tile);
            m_painter.drawImage(x, m_y, pixels);
            x += pixels.width() + 6;
            height = std::max(height, pixels.height());
        }
        m_width = std::max(m_width, x);
        m_y += height + 8;
    }

    bool save(const QString& path)
    {
        m_painter.end();
        return m_image.copy(0, 0, std::min(m_width + 10, m_image.width()), m_y + 10).save(path);
    }

private:
    QImage m_image;
    QPainter m_painter;
    int m_y = 0;
    int m_width = 0;
};

// The cursor with its hot spot marked by a red pixel, to check the alignment.
QImage markedCursor(const QImage& cursor, QPoint hotSpot, int scale)
{
    QImage marked = devicePixels(cursor).convertToFormat(QImage::Format_ARGB32);
    for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx)
            marked.setPixel(hotSpot.x() * scale + dx, hotSpot.y() * scale + dy, qRgb(255, 0, 0));
    return marked;
}

void addButtons(Sheet& sheet, int scale)
{
    for (int category = 0; category < 5; ++category) {
        for (int l = 0; l < 5; ++l) {
            QList<QImage> images;
            for (int i = 0; i < ButtonArt::motifCount(category); ++i)
                images << ButtonArt::attributeButton(category, i, kLooks[l], scale);
            sheet.row(QStringLiteral("%1 / %2").arg(kCategoryNames[category], kLookNames[l]), images);
        }
    }
    for (int l = 0; l < 4; ++l) {
        QList<QImage> images;
        for (Command command : kCommands)
            images << ButtonArt::commandButton(command, kCommandLooks[l], scale);
        sheet.row(QStringLiteral("command / %1").arg(kCommandLookNames[l]), images);
    }
}

void addCursors(Sheet& sheet, int scale)
{
    const QList<QImage> cursors = {ButtonArt::pointingHand(scale), ButtonArt::scrollPointerRest(scale),
                                   ButtonArt::scrollPointerMove(scale)};
    sheet.row(QStringLiteral("cursors on grey"), cursors, QColor(150, 160, 150));
    sheet.row(QStringLiteral("cursors on field"), cursors, ArtPalette::fieldBackgroundBase());
    sheet.row(QStringLiteral("hot spots (red)"),
              {markedCursor(cursors[0], ButtonArt::pointingHandHotSpot(), scale),
               markedCursor(cursors[1], ButtonArt::scrollPointerHotSpot(), scale),
               markedCursor(cursors[2], ButtonArt::scrollPointerHotSpot(), scale)},
              QColor(200, 200, 200));
}

bool writeSheet(const QString& path)
{
    Sheet sheet(1200);
    for (int scale : {1, 2}) {
        sheet.heading(QStringLiteral("scale %1").arg(scale));
        addButtons(sheet, scale);
        addCursors(sheet, scale);
    }
    sheet.heading(QStringLiteral("large pictures"));
    sheet.row(QStringLiteral("loading, field"), {ButtonArt::loadingPicture(), ButtonArt::fieldBackground()});
    sheet.row(QStringLiteral("no file"), {ButtonArt::noFilePicture()});
    QList<QImage> icons;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icons << ButtonArt::appIcon(size);
    sheet.row(QStringLiteral("icon 16 .. 256"), icons);
    return sheet.save(path);
}

// ------------------------------------------------------------ layout mock --

struct Panel {
    const char* caption;
    int category;
    int captionY;
    QList<int> rowYs;
};

const Panel kPanels[] = {{"季節", 0, 8, {24}},
                         {"花の色", 1, 72, {88}},
                         {"花の形", 2, 136, {152, 184}},
                         {"葉のつき方", 3, 232, {248}},
                         {"科", 4, 296, {312, 344}}};

// Which buttons the mock shows chosen or pointed at, for a realistic mix.
Look mockLook(int category, int index)
{
    if ((category == 0 && index == 0) || (category == 2 && index == 6) || (category == 4 && index == 4))
        return Look::Selected;
    if (category == 1 && index == 1)
        return Look::SelectedPointed;
    if (category == 3 && index == 2)
        return Look::Pointed;
    return Look::Unselected;
}

void paintLeftColumn(QPainter& p, int scale)
{
    for (const Panel& panel : kPanels) {
        const int bottom = panel.rowYs.last() + 32 + 4;
        p.fillRect(QRect(4, panel.captionY - 4, 200, bottom - panel.captionY + 4), ArtPalette::panelBackground());
        p.setFont(labelFont(12));
        p.setPen(ArtPalette::panelCaption());
        p.drawText(QRect(8, panel.captionY, 192, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(panel.caption));
        for (int i = 0; i < ButtonArt::motifCount(panel.category); ++i) {
            const QPoint at(8 + 32 * (i % 6), panel.rowYs[i / 6]);
            p.drawImage(at, ButtonArt::attributeButton(panel.category, i, mockLook(panel.category, i), scale));
        }
    }
    const Command commands[] = {Command::Play, Command::AllData, Command::Clear, Command::Quit};
    const CommandLook looks[] = {CommandLook::Idle, CommandLook::Latched, CommandLook::Pointed, CommandLook::Idle};
    for (int i = 0; i < 4; ++i)
        p.drawImage(QPoint(8 + 48 * i, 400), ButtonArt::commandButton(commands[i], looks[i], scale));
}

QImage mockPhoto(int index)
{
    QImage photo(100, 85, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&photo);
    QLinearGradient light(0, 0, 0, 85);
    light.setColorAt(0, QColor::fromHsv((index * 37) % 120 + 60, 60, 210));
    light.setColorAt(1, QColor::fromHsv(100, 140, 90));
    p.fillRect(photo.rect(), light);
    QImage flower = ButtonArt::attributeButton(2, index % 9, Look::Unselected, 2);
    flower.setDevicePixelRatio(1);
    p.drawImage(QRect(22, 10, 56, 56), flower.copy(6, 6, 52, 52));
    return photo;
}

void paintField(QPainter& p, QPoint origin)
{
    p.drawImage(origin, ButtonArt::fieldBackground());
    const QStringList names = {"タンポポ",     "スミレ",       "ハコベ",   "ホトケノザ", "カラスノエンドウ",
                               "ヒメジョオン", "エノコログサ", "ナズナ",   "オオバコ",   "ドクダミ",
                               "ツユクサ",     "ヨモギ",       "カタバミ", "ヘビイチゴ"};
    const QColor inks[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(255, 255, 0)};
    const QImage missing = ButtonArt::noFilePicture().scaled(100, 85, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.setFont(labelFont(12));
    for (int i = 0; i < names.size(); ++i) {
        const QPoint cell = origin + QPoint(9 + 109 * (i % 4), 8 + 109 * (i / 4));
        p.drawImage(cell, i == 5 ? missing : mockPhoto(i));
        p.setPen(inks[i % 3]);
        p.drawText(QRect(cell + QPoint(0, 84), QSize(100, 16)), Qt::AlignCenter, names[i]);
    }
}

void paintStrips(QPainter& p)
{
    const QRect strips[] = {QRect(8, 460, 300, 22), QRect(316, 460, 352, 22)};
    const QString texts[] = {QStringLiteral("該当 14 件 / 全 312 件"), QStringLiteral("タンポポ（キク科）　春　黄色")};
    p.setFont(labelFont(12));
    for (int i = 0; i < 2; ++i) {
        p.fillRect(strips[i], ArtPalette::stripBackground());
        p.setPen(ArtPalette::stripText());
        p.drawText(strips[i].adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, texts[i]);
    }
}

bool writeLayout(const QString& path)
{
    QImage mock(676 + 8 + 212 * 2, 488 * 2, QImage::Format_ARGB32_Premultiplied);
    mock.fill(Qt::white);
    QPainter p(&mock);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 676, 488), ArtPalette::windowBackground());
    paintLeftColumn(p, 1);
    paintField(p, QPoint(220, 8));
    paintStrips(p);
    // the left column again at 2x, drawn device pixel for device pixel
    QImage column(212 * 2, 488 * 2, QImage::Format_ARGB32_Premultiplied);
    column.setDevicePixelRatio(2);
    column.fill(ArtPalette::windowBackground());
    {
        QPainter q(&column);
        q.setRenderHint(QPainter::Antialiasing);
        paintLeftColumn(q, 2);
    }
    p.drawImage(684, 0, devicePixels(column));
    p.end();
    return mock.save(path);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: artsheet SHEET.png [LAYOUT.png]\n");
        return 2;
    }
    bool ok = writeSheet(QString::fromLocal8Bit(argv[1]));
    if (argc > 2)
        ok = writeLayout(QString::fromLocal8Bit(argv[2])) && ok;
    return ok ? 0 : 1;
}
