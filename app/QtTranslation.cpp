#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

const char* const QtTranslation::kName = "qtbase_ja";

bool QtTranslation::install(QTranslator& translator, const QString& folder)
{
    if (!translator.load(QString::fromLatin1(kName), folder))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

bool QtTranslation::install(QTranslator& translator)
{
    return install(translator, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
