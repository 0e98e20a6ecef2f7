#pragma once

#include "catalogue/CatalogueStore.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class AppContext;
class LoadingScreen;
class MainWindow;
class QWindow;

// From the program's start to the main window on screen: the loading
// screen, the main window's set-up and the catalogue.
//
// The start runs in the event loop, in steps: the loading screen is painted
// before anything else happens, and the catalogue is read a slice at a time,
// so the screen can show each slice's last name. Meanwhile the main window
// stays unmapped until the window manager has told its frame, so that it
// appears with its final outer size and place.
class Startup : public QObject {
    Q_OBJECT

public:
    enum class Stage { Idle, Painting, Loading, Placing, Done, Failed };

    explicit Startup(AppContext& app);
    ~Startup() override;

    // Begins the start; finished() follows from the event loop. askFrame
    // asks the window manager for a window's frame before it is mapped
    // (false when it cannot).
    void start(std::function<bool(QWindow*)> askFrame = {});
    Stage stage() const { return stage_; }
    MainWindow* mainWindow() const { return main_.get(); }
    LoadingScreen* loadingScreen() const { return loading_.get(); }

    static QString unreadableCatalogueText(const QString& path, const QString& reason);
    static QString truncatedText(int rows);
    // Why the catalogue could not be used, a sentence naming the file.
    static QString failureReason(const QString& path, const CatalogueStore::LoadResult& result);
    static QString damagedCatalogueText(const QString& path, const QString& sqliteError, int rows);
    static QString endlessCatalogueText(const QString& path, int rows);
    static QString cutTextsText(const QString& path, int fields);

    // The longest a step of the read keeps the event loop waiting, and the
    // most rows it reads, so that names change on the screen while it runs.
    static constexpr int kSliceMs = 10;
    static constexpr int kSliceRows = 100;
    static constexpr int kPaintWaitMs = 1000;
    // How long the main window waits for the window manager's frame.
    static constexpr int kFrameWaitMs = 1500;

signals:
    // ok is false when the program cannot run (the catalogue cannot be
    // read); the user has then been told why.
    void finished(bool ok);

private:
    void setUp();
    void readSlice();
    void loaded();
    void placeWhenFramed();
    void reportShortRead(const QString& path, const CatalogueStore::LoadResult& result);

    AppContext& app_;
    Stage stage_ = Stage::Idle;
    std::unique_ptr<LoadingScreen> loading_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<CatalogueStore::Reading> reading_;
    CatalogueStore::LoadResult result_;
    QString path_;
    QTimer stepper_;
    QElapsedTimer frameWait_;
    std::function<bool(QWindow*)> askFrame_;
};
