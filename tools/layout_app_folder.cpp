// Lays out the application folder beside the built program: the sample
// catalogue (only when no catalogue exists: the user's catalogue is never
// replaced), one illustration per sample record drawn from its form
// description, the placeholder picture, the cursors and the sounds. A record
// without a description is drawn from its search attributes alone and named;
// sonoha-check fails it. The help page is made after it, from a window over
// the shipped catalogue (sonoha-helpshots).
//
// usage: sonoha-layout APP_DIR CATALOGUE_SOURCE_DIR FORMS_DIR
//        sonoha-layout --catalogue FILE CATALOGUE_SOURCE_DIR
// The second form makes the sample catalogue alone, afresh, as the program
// is installed with it (the application folder's may hold the user's edits).

#include "assets/ButtonArt.h"
#include "assets/CursorFile.h"
#include "catalogue/CatalogueStore.h"
#include "generators/AttributeForm.h"
#include "generators/CatalogueSource.h"
#include "generators/FlowerIllustrator.h"
#include "generators/FormSource.h"
#include "generators/SoundSynth.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>
#include <atomic>
#include <thread>

namespace {

// Marks the pictures this tool made, so that a picture the user put in their
// place is never overwritten.
const char* const kMarker = "sonoha sample illustration v2";

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(bytes);
    return f.commit();
}

bool ownedOrMissing(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    QImageReader reader(path);
    return reader.text(QStringLiteral("Description")).startsWith(QLatin1String("sonoha sample illustration"));
}

bool saveJpeg(const QImage& image, const QString& path, bool marked)
{
    QImageWriter w(path + QStringLiteral(".part"), "jpg");
    w.setQuality(88);
    if (marked)
        w.setText(QStringLiteral("Description"), QString::fromLatin1(kMarker));
    if (!w.write(image))
        return false;
    QFile::remove(path);
    return QFile::rename(path + QStringLiteral(".part"), path);
}

int drawIllustrations(const QVector<FlowerRecord>& records, const QHash<QString, PlantForm>& forms,
                      const QString& dataDir)
{
    QStringList undescribed;
    for (const FlowerRecord& r : records)
        if (!forms.contains(r.NAMAE))
            undescribed << r.NAMAE;
    if (!undescribed.isEmpty())
        err() << "drawn from the search attributes, no form description: " << undescribed.join(u' ') << "\n";
    QElapsedTimer timer;
    timer.start();
    std::atomic<int> next{0}, made{0}, failed{0};
    auto worker = [&] {
        for (int i = next++; i < records.size(); i = next++) {
            const FlowerRecord& r = records[i];
            const QString path = dataDir + u'/' + r.SYASIN;
            if (r.SYASIN.isEmpty() || r.SYASIN.contains(u'/') || !ownedOrMissing(path))
                continue;
            const auto form = forms.constFind(r.NAMAE);
            const QImage img = FlowerIllustrator::draw(r, form != forms.constEnd() ? *form : AttributeForm::guess(r));
            if (saveJpeg(img, path, true))
                ++made;
            else
                ++failed;
        }
    };
    std::thread a(worker), b(worker);
    a.join();
    b.join();
    err() << "illustrations: " << made << " drawn, " << failed << " failed, in " << timer.elapsed() << " ms\n";
    return failed;
}

bool writeCursors(const QString& appDir)
{
    const QPoint hot = ButtonArt::scrollPointerHotSpot();
    return writeFile(appDir + QStringLiteral("/H_point.cur"), CursorFile::write(ButtonArt::scrollPointerRest(), hot)) &&
           writeFile(appDir + QStringLiteral("/H_move.cur"), CursorFile::write(ButtonArt::scrollPointerMove(), hot));
}

bool writeSounds(const QString& soundDir)
{
    bool ok = true;
    const QStringList clicks = SoundSynth::clickFileNames();
    for (int i = 0; i < clicks.size(); ++i)
        ok = writeFile(soundDir + u'/' + clicks[i], SoundSynth::clickWav(i)) && ok;
    const QStringList pieces = SoundSynth::midiFileNames();
    for (int i = 0; i < pieces.size(); ++i)
        ok = writeFile(soundDir + u'/' + pieces[i], SoundSynth::midiPiece(i)) && ok;
    return ok;
}

bool makeCatalogue(const QVector<FlowerRecord>& records, const QString& path)
{
    if (QFileInfo::exists(path)) {
        err() << "catalogue exists, left as it is: " << path << "\n";
        return true;
    }
    // Built beside the final name and renamed, so a failed build leaves nothing half-made.
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    QString error;
    if (!CatalogueStore::createNew(temp, &error) || !CatalogueStore::insert(temp, records, &error)) {
        err() << "cannot build the catalogue: " << error << "\n";
        QFile::remove(temp);
        return false;
    }
    if (QFileInfo::exists(path) || !QFile::rename(temp, path)) {
        QFile::remove(temp);
        return QFileInfo::exists(path);
    }
    err() << "catalogue built: " << records.size() << " records\n";
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--catalogue") {
        const CatalogueSource::Result source = CatalogueSource::readFolder(QString::fromLocal8Bit(argv[3]));
        for (const QString& e : source.errors)
            err() << e << "\n";
        const QString path = QString::fromLocal8Bit(argv[2]);
        QFile::remove(path);
        return source.errors.isEmpty() && makeCatalogue(source.records, path) ? 0 : 1;
    }
    if (argc != 4) {
        err() << "usage: sonoha-layout APP_DIR CATALOGUE_SOURCE_DIR FORMS_DIR\n"
                 "       sonoha-layout --catalogue FILE CATALOGUE_SOURCE_DIR\n";
        return 2;
    }
    const QString appDir = QString::fromLocal8Bit(argv[1]);
    const QString sourceDir = QString::fromLocal8Bit(argv[2]);
    const QString formsDir = QString::fromLocal8Bit(argv[3]);
    for (const char* sub : {"data", "sound"})
        QDir().mkpath(appDir + u'/' + QLatin1String(sub));

    const CatalogueSource::Result source = CatalogueSource::readFolder(sourceDir);
    for (const QString& e : source.errors)
        err() << e << "\n";
    if (!source.errors.isEmpty())
        return 1;

    bool ok = makeCatalogue(source.records, appDir + QStringLiteral("/SNH347.mdb"));
    const FormSource::Result forms = FormSource::readFolder(formsDir);
    for (const QString& e : forms.errors)
        err() << e << "\n";
    ok = drawIllustrations(source.records, forms.byName(), appDir + QStringLiteral("/data")) == 0 && ok;
    ok = saveJpeg(ButtonArt::noFilePicture(), appDir + QStringLiteral("/NoFile.jpg"), false) && ok;
    ok = writeCursors(appDir) && ok;
    ok = writeSounds(appDir + QStringLiteral("/sound")) && ok;
    return ok ? 0 : 1;
}
