#include "editor/PictureImport.h"

#include "editor/EntryRules.h"
#include "editor/ShiftJisText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

PictureImport::Result refuse(const QString& message)
{
    return PictureImport::Result{false, QString(), message};
}

// The stored name must fit the picture field and the history's encoding.
QString nameProblem(const QString& name)
{
    const QString caption = EntryRules::caption(QStringLiteral("SYASIN"));
    if (const QString bad = ShiftJisText::firstUnencodable(name); !bad.isEmpty())
        return QStringLiteral("画像ファイルの名前「%1」に、ソノハでは使えない文字「%2」があります。\n"
                              "ファイルの名前を変えてから選んでください。")
            .arg(name, bad);
    const int limit = EntryRules::byteLimit(QStringLiteral("SYASIN"));
    if (ShiftJisText::bytes(name) > limit)
        return QStringLiteral("画像ファイルの名前「%1」が長すぎます。\n%2")
            .arg(name, EntryRules::tooLongText(caption, limit));
    return EntryRules::pictureNameProblem(name);
}

// The folders and the name up to the first "." of the file's own name.
QString lookupKey(const QString& storedName)
{
    QString path = storedName;
    path.replace(u'\\', u'/');
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.indexOf(u'.', slash + 1);
    return (dot < 0 ? path : path.left(dot)).toLower();
}

}  // namespace

// The file's name relative to the folder, when it lies inside it.
QString PictureImport::relativeInside(const QString& folder, const QString& file)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (folder.isEmpty() || root.isEmpty())
        return {};
    QString relative = QDir(root).relativeFilePath(file);
    if (relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative))
        return {};
    return relative;
}

PictureImport::Result PictureImport::import(const QString& chosenPath, const QString& dataFolder,
                                            const QString& sharedFolder)
{
    const QFileInfo chosen(chosenPath);
    if (!chosen.isFile() || !chosen.isReadable())
        return refuse(QStringLiteral("画像ファイル「%1」を読めません。").arg(QDir::toNativeSeparators(chosenPath)));
    if (!QDir().mkpath(dataFolder))
        return refuse(QStringLiteral("dataフォルダを作れません。"));
    const QDir data(QFileInfo(dataFolder).canonicalFilePath());
    const QString source = chosen.canonicalFilePath();

    for (const QString& folder : {dataFolder, sharedFolder}) {
        if (const QString relative = relativeInside(folder, source); !relative.isEmpty()) {
            if (const QString why = nameProblem(relative); !why.isEmpty())
                return refuse(why);
            return Result{true, relative, QString()};
        }
    }

    const QString name = chosen.fileName();
    if (const QString why = nameProblem(name); !why.isEmpty())
        return refuse(why);
    const QString target = data.filePath(name);
    for (const QString& taken : {target, sharedFolder.isEmpty() ? QString() : QDir(sharedFolder).filePath(name)}) {
        if (taken.isEmpty() || !QFileInfo::exists(taken))
            continue;
        if (sameContent(source, taken))
            return Result{true, name, QString()};
        return refuse(QStringLiteral("dataフォルダには、同じ名前の別のファイル「%1」があります。\n"
                                     "ファイルの名前を変えてから選んでください。")
                          .arg(name));
    }
    QString error;
    if (!copyInto(source, target, &error))
        return refuse(QStringLiteral("画像ファイルをdataフォルダにコピーできませんでした。\n%1").arg(error));
    return Result{true, name, QString(), true};
}

bool PictureImport::mayName(const QString& storedName, const QString& fileName)
{
    return !storedName.isEmpty() && lookupKey(storedName) == lookupKey(fileName);
}

bool PictureImport::sameContent(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 16) != fb.read(1 << 16))
            return false;
    }
    return true;
}

bool PictureImport::copyInto(const QString& source, const QString& target, QString* error)
{
    // Copy under a temporary name and rename at the end, so that the data
    // folder never holds half a picture under the stored name; the rename
    // does not replace a file that appeared meanwhile.
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/.copy-XXXXXX"));
    if (!out.open()) {
        *error = out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 16);
        if (block.isEmpty() && in.error() != QFile::NoError) {
            *error = in.errorString();
            return false;
        }
        if (out.write(block) != block.size()) {
            *error = out.errorString();
            return false;
        }
    }
    if (!out.flush()) {
        *error = out.errorString();
        return false;
    }
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::ReadOther);
    const QString temporary = out.fileName();
    out.setAutoRemove(false);
    out.close();
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        *error = QStringLiteral("%1 にコピーできません。").arg(QDir::toNativeSeparators(target));
        return false;
    }
    return true;
}
