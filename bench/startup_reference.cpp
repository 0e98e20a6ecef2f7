// The yardstick of the start-up benchmark: an empty Qt Widgets window of
// the given title and inner size, shown as soon as the application exists.
//
// usage: startup_reference TITLE WIDTH HEIGHT

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(argv[1]));
    window.resize(QString::fromLatin1(argv[2]).toInt(), QString::fromLatin1(argv[3]).toInt());
    window.show();
    return QApplication::exec();
}
