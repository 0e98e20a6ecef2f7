#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace FuzzSupport {

void startQt()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static const auto app = std::make_unique<QCoreApplication>(argc, argv);
}

QString scratchFolder()
{
    // /dev/shm keeps the many small writes of a long run off the disk.
    static const QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/sonoha-fuzz-XXXXXX" : QString());
    if (!dir.isValid())
        fail("no scratch folder");
    return dir.path();
}

QString writeScratch(const QString& name, const QByteArray& bytes)
{
    QString path = scratchFolder() + '/' + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("cannot write a scratch file");
    return path;
}

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void fail(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace FuzzSupport
