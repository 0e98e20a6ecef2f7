#pragma once

#include "session/History.h"
#include "search/SearchEngine.h"
#include "search/SearchState.h"

#include <QCursor>
#include <array>
#include <functional>

class AppContext;
class QLabel;
class QScrollBar;
class QTimer;
class QWidget;
class PictureButton;
class PrintSurface;
class HelpBox;
class GalleryField;
class ThumbnailCell;
class NameLabel;
class ProgressBox;
class SearchController;
class SearchStatus;
class AttributePanels;
class CommandButtons;
class Gallery;
class PhotoWindows;
class MainMenu;

// Everything of the main window that its handlers share: the controls, the
// search state and the controllers that implement the handlers.
struct MainForm {
    MainForm(AppContext& app, QWidget* window);

    AppContext& app;
    QWidget* window;

    // Controls, in window pixel coordinates.
    std::array<QLabel*, 5> captions{};                          // Label1..Label5
    std::array<std::array<PictureButton*, 12>, 5> attr{};       // panel buttons [category][index]
    PictureButton* imgSam = nullptr;
    PictureButton* imgAll = nullptr;
    PictureButton* imgClear = nullptr;
    PictureButton* imgQuit = nullptr;
    GalleryField* pctFIELD = nullptr;
    QScrollBar* VScroll1 = nullptr;
    std::array<ThumbnailCell*, 16> pctPicture{};
    std::array<NameLabel*, 16> lblNAMAE{};
    PrintSurface* pctMsg = nullptr;
    QWidget* pctContena = nullptr;
    PrintSurface* pctKensaku = nullptr;
    ProgressBox* pctProg = nullptr;
    HelpBox* txtKaisetu = nullptr;
    QTimer* Timer2 = nullptr;  // welcome line
    QTimer* Timer3 = nullptr;  // pointer watch
    QCursor pointingHand;
    QCursor scrollRest;   // "H_point.cur"
    QCursor scrollMove;   // "H_move.cur"

    SearchState search;
    SearchEngine engine;
    History history;

    // Controllers.
    SearchController* searcher = nullptr;
    SearchStatus* status = nullptr;
    AttributePanels* panels = nullptr;
    CommandButtons* commands = nullptr;
    Gallery* gallery = nullptr;
    PhotoWindows* photos = nullptr;
    MainMenu* menu = nullptr;

    // The main window's release handling over its background (opens the
    // pop-up menu on the right button); idle buttons and the field call it too.
    std::function<void(int button)> Form1_Form_MouseUp;

    bool welcomeRunning() const;
    // Prints on the message strip unless the welcome line owns it.
    void printMessage(const QString& text, bool repaintNow = false);
};
