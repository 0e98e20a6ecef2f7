#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class BrowserSession;
class PhotoWindows;
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
    MainMenu(BrowserSession& session, PhotoWindows& photos, QWidget* mainWindow,
             std::function<void(bool)> pointerWatch);
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

    QMenu* mnuMain = nullptr;
    QAction* mnuSam = nullptr;
    QAction* mnuAll = nullptr;
    QAction* mnuClear = nullptr;
    QMenu* mnuSHOW = nullptr;
    std::array<QAction*, 2> mnuSLD{};
    QMenu* mnuSamuneilu = nullptr;
    std::array<QAction*, 2> mnuHyouji{};
    QMenu* mnuSettei = nullptr;
    std::array<QAction*, 4> mnuSound{};
    QAction* mnuDATA = nullptr;
    QAction* mnuREADME = nullptr;
    QAction* mnuVER = nullptr;
    std::array<QAction*, 8> mnuHis{};
    QAction* mnuEnd = nullptr;

private:
    void build();
    void Form1_mnuSound_Click(int i);
    void Form1_mnuREADME_Click();
    void Form1_mnuDATA_Click();
    void Form1_mnuVER_Click();
    void StartSlideShow(int order);

    BrowserSession& session_;
    PhotoWindows& photos_;
    QWidget* window_;
    std::function<void(bool)> pointerWatch_;
    // Kept for the whole run: a later show goes on from where the random
    // steps of an earlier one stopped.
    std::unique_ptr<SlideshowLauncher> shows_;
    std::unique_ptr<QMenu> menu_;  // mnuMain; its entries and submenus are its children
};
