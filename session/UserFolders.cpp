#include "session/UserFolders.h"

#include "catalogue/CatalogueStore.h"
#include "settings/AppSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

const char* const UserFolders::kFolderName = "sonoha";

namespace {

QString withSlash(QString p)
{
    if (!p.endsWith(u'/'))
        p += u'/';
    return p;
}

QString xdgFolder(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QDir::homePath() + fallback;
}

#ifndef SONOHA_SHARED_FROM_BIN
#define SONOHA_SHARED_FROM_BIN "../share/sonoha"
#endif

QString catalogueName()
{
    return QString::fromLatin1(CatalogueStore::kFileName);
}

}  // namespace

UserFolders::Environment UserFolders::Environment::fromProcess()
{
    return {xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")),
            xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share"))};
}

UserFolders::UserFolders(QString appPath, QString settingsPath, QString userFolder)
    : appPath_(std::move(appPath))
    , settingsPath_(std::move(settingsPath))
    , userFolder_(std::move(userFolder))
{
}

UserFolders UserFolders::inOneFolder(const QString& appPath)
{
    const QString folder = withSlash(appPath);
    return UserFolders(folder, folder + QString::fromLatin1(AppSettings::kFileName), QString());
}

UserFolders UserFolders::withUserFilesApart(const QString& appPath, const Environment& env)
{
    const QString name = QString::fromLatin1(kFolderName);
    return UserFolders(withSlash(appPath),
                       withSlash(env.configHome) + name + u'/' + QString::fromLatin1(AppSettings::kFileName),
                       withSlash(env.dataHome) + name + u'/');
}

QString UserFolders::applicationFolder(const QString& programDir)
{
    QString own = withSlash(programDir);
    if (QFileInfo::exists(own + catalogueName()))
        return own;
    const QString shared = withSlash(QDir::cleanPath(own + QStringLiteral(SONOHA_SHARED_FROM_BIN)));
    return QFileInfo(shared).isDir() ? shared : own;
}

bool UserFolders::writableFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable() && !QStorageInfo(path).isReadOnly();
}

UserFolders UserFolders::forProgram(const QString& programDir, const Environment& env)
{
    const QString appPath = applicationFolder(programDir);
    // An installed program's shared folder is never the user's, even where
    // the user could write it (root, or a prefix in the user's home).
    const bool ownFolder = appPath == withSlash(programDir);
    if (ownFolder && writableFolder(appPath))
        return inOneFolder(appPath);
    return withUserFilesApart(appPath, env);
}

bool UserFolders::makeSettingsFolder() const
{
    return QDir().mkpath(QFileInfo(settingsPath_).absolutePath());
}

QString UserFolders::sharedCatalogue() const
{
    return appPath_ + catalogueName();
}

QString UserFolders::userCatalogue() const
{
    return apart() ? userFolder_ + catalogueName() : QString();
}

bool UserFolders::hasUserCatalogue() const
{
    return apart() && QFileInfo::exists(userCatalogue());
}

QString UserFolders::cataloguePath() const
{
    return hasUserCatalogue() ? userCatalogue() : sharedCatalogue();
}

bool UserFolders::copyCatalogue(QString* error) const
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!apart())
        return fail(QStringLiteral("the catalogue is in the program's own folder"));
    if (hasUserCatalogue())
        return fail(QStringLiteral("a copy exists already"));
    if (!QDir().mkpath(userFolder_ + QStringLiteral("data")))
        return fail(QStringLiteral("cannot make the folder %1").arg(userFolder_));
    // Made under a name of its own and renamed: the copy is there whole or
    // not at all, and a copy that appeared meanwhile is kept.
    const QString temp =
        userFolder_ + QStringLiteral(".%1.%2.part").arg(catalogueName()).arg(QCoreApplication::applicationPid());
    QFile::remove(temp);
    if (!CatalogueStore::copy(sharedCatalogue(), temp, error))
        return false;
    if (!QFile::rename(temp, userCatalogue())) {
        QFile::remove(temp);
        return fail(QStringLiteral("cannot rename %1 to %2").arg(temp, userCatalogue()));
    }
    return true;
}

QString UserFolders::pictureFolder() const
{
    return apart() ? userFolder_ + QStringLiteral("data/") : appPath_ + QStringLiteral("data/");
}

PictureFiles UserFolders::pictures() const
{
    return apart() ? PictureFiles(appPath_, pictureFolder()) : PictureFiles(appPath_);
}
