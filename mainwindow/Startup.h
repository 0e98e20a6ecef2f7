#pragma once

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

private:
    AppContext& app_;
    std::unique_ptr<MainWindow> main_;
};
