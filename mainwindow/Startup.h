#pragma once

#include "catalogue/CatalogueStore.h"

#include <QString>
#include <memory>

class AppContext;
class MainWindow;

// From the program's start to the main window on screen: screen metrics,
// settings, the loading screen, the main window's set-up and the catalogue.
class Startup {
public:
    explicit Startup(AppContext& app);
    ~Startup();

    // False when the program cannot run (the catalogue cannot be read); the
    // user has been told why.
    bool run();
    MainWindow* mainWindow() const { return main_.get(); }

    static QString unreadableCatalogueText(const QString& path, const QString& reason);
    static QString truncatedText(int rows);
    // Why the catalogue could not be used, in the user's words around SQLite's own.
    static QString failureReason(const CatalogueStore::LoadResult& result);
    static QString damagedCatalogueText(const QString& path, const QString& sqliteError, int rows);
    static QString endlessCatalogueText(const QString& path, int rows);

private:
    void reportShortRead(const QString& path, const CatalogueStore::LoadResult& result);

    AppContext& app_;
    std::unique_ptr<MainWindow> main_;
};
