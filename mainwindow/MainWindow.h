#pragma once

#include "mainwindow/MainForm.h"
#include "session/WelcomeLine.h"

#include <QWidget>
#include <functional>
#include <memory>

class AppContext;

// The main window: fixed pixel layout, 676 x 488 including its frame, with
// the attribute panels on the left, the gallery on the right and the two
// strips along the bottom. Its menu is a pop-up opened by the right button.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    static const char* const kCaption;  // "ソノハ Version 3.47"
    static constexpr int kOuterWidth = 676;
    static constexpr int kOuterHeight = 488;

    // setLoadingText shows the set-up's progress on the loading screen.
    MainWindow(AppContext& app, const std::function<void(const QString&)>& setLoadingText = {});
    ~MainWindow() override;

    MainForm& form() { return form_; }
    // Called once the catalogue is in memory.
    void catalogueLoaded();
    // Sizes the inside so that the outer frame is 676 x 488, and centres it.
    void fitOuterFrame();


protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void showEvent(QShowEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadCursors();
    void createPanels();
    void createCommandButtons();
    void createGallery();
    void createStrips();
    void applyFonts();
    void Form1_Timer2_Timer();
    void Form1_Timer3_Timer();
    void Form1_Form_MouseMove();
    void Form1_Form_MouseUp(int button);
    void shutdown();

    AppContext& app_;
    MainForm form_;
    WelcomeLine welcome_;
    QCursor pointingHand_;
    bool shutDown_ = false;
};
