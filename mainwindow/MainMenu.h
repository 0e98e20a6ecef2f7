#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class AppContext;
class BrowserSession;
class QWidget;
class QAction;
class QMenu;
class SlideshowLauncher;

// The main window's whole menu, opened as a pop-up by the right button. Just
// before it opens, every entry's state is worked out again from the current
// state, so that only commands that make sense now can be chosen; the
// commands run after the menu has closed.
class MainMenu {
public:
    // pointerWatch switches the main window's pointer watch, which rests
    // while the slideshow shows.
    MainMenu(AppContext& app, BrowserSession& session, QWidget* mainWindow, std::function<void(bool)> pointerWatch);
    ~MainMenu();

    // Prepares the entries, shows the menu at the pointer and runs the choice.
    void popup(QPoint globalPos);
    // The preparation alone (steps in the order the menu needs them).
    void prepare();
    // Runs the command of an entry.
    void run(QAction* entry);

    // Whether the application folder can be written (the editor needs it).
    static bool folderWritable(const QString& appPath);
    // What the user is told when no program could open the help page, and
    // when the page itself is missing.
    static QString helpUnopenedText(const QString& page);
    static QString helpMissingText(const QString& page);
    // A history entry's menu text: its caption ("1 ハコベ") with the number as
    // its access key.
    static QString historyText(const QString& caption);

    QMenu* topMenu = nullptr;
    QAction* thumbnailsEntry = nullptr;
    QAction* allDataEntry = nullptr;
    QAction* clearEntry = nullptr;
    QAction* nearMissesEntry = nullptr;
    QMenu* slideshowMenu = nullptr;
    std::array<QAction*, 2> slideshowEntries{};
    QMenu* thumbnailModeMenu = nullptr;
    std::array<QAction*, 2> thumbnailModeEntries{};
    QMenu* clickSoundMenu = nullptr;
    std::array<QAction*, 4> clickSoundEntries{};
    QAction* editorEntry = nullptr;
    QAction* helpEntry = nullptr;
    QAction* aboutEntry = nullptr;
    std::array<QAction*, 8> historyEntries{};
    QAction* quitEntry = nullptr;

private:
    void build();
    void chooseClickSound(int i);
    void openHelp();
    void editCatalogue();
    void showAbout();
    void startSlideshow(int order);

    AppContext& app_;
    BrowserSession& session_;
    QWidget* window_;
    std::function<void(bool)> pointerWatch_;
    // Kept for the whole run: a later show goes on from where the random
    // steps of an earlier one stopped.
    std::unique_ptr<SlideshowLauncher> shows_;
    std::unique_ptr<QMenu> menu_;  // topMenu; its entries and submenus are its children
};
