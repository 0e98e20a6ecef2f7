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

// The main window's controls by their names, in window pixel coordinates.
// They only show the session and hand it the user's pointer.
struct MainControls {
    std::array<QLabel*, 5> captions{};  // Label1..Label5
    std::array<std::array<PictureButton*, 12>, 5> attr{};  // panel buttons [category][index]
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
};
