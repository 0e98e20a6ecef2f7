// Draws the program's icon at the sizes of the freedesktop hicolor theme,
// with the art the program itself shows in its windows and About box.
//
// usage: sonoha-icons OUT_DIR ICON_NAME
// writes OUT_DIR/hicolor/NxN/apps/ICON_NAME.png

#include "assets/ButtonArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: sonoha-icons OUT_DIR ICON_NAME\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        QSaveFile file(folder + u'/' + name + QStringLiteral(".png"));
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
            !ButtonArt::appIcon(size).save(&file, "PNG") || !file.commit()) {
            err << "cannot write the icon of " << size << " pixels in " << folder << "\n";
            return 1;
        }
    }
    return 0;
}
