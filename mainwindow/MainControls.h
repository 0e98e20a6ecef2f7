#pragma once

#include <array>

class QLabel;
class QScrollBar;
class QWidget;
class PictureButton;
class PrintSurface;
class HelpBox;
class GalleryField;
class ThumbnailCell;
class NameLabel;
class ProgressBox;
class Announcer;

// The main window's controls, in window pixel coordinates. They only show
// the session and hand it the user's pointer.
struct MainControls {
    std::array<QLabel*, 5> captions{};  // the panels' titles
    std::array<std::array<PictureButton*, 12>, 5> attr{};  // panel buttons [category][index]
    PictureButton* thumbnailButton = nullptr;
    PictureButton* allDataButton = nullptr;
    PictureButton* clearButton = nullptr;
    PictureButton* quitButton = nullptr;
    GalleryField* galleryField = nullptr;
    QScrollBar* galleryScroll = nullptr;
    std::array<ThumbnailCell*, 16> cellPictures{};
    std::array<NameLabel*, 16> cellNames{};
    PrintSurface* messageStrip = nullptr;
    QWidget* conditionFrame = nullptr;
    PrintSurface* conditionStrip = nullptr;
    ProgressBox* progressBar = nullptr;
    HelpBox* helpBox = nullptr;
    Announcer* announcer = nullptr;  // unseen: what a screen reader is told unasked
};
