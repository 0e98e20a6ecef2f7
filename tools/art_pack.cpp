// Draws the pictures the program carries ready-made (ArtPack): the loading
// picture, the field's background, the icon, the pointing hand and every look
// of every button, at scale 1, into a pack the program's build embeds.
//
// usage: sonoha-artpack OUT_DIR

#include "assets/ArtPack.h"
#include "assets/ButtonArt.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sonoha-artpack OUT_DIR\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder) || !ArtPack::write(ButtonArt::packContents(), folder)) {
        std::fprintf(stderr, "sonoha-artpack: cannot write the pack into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
