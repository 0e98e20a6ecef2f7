#include "mainwindow/MainMenu.h"

#include "session/AppContext.h"
#include "mainwindow/MainForm.h"
#include "about/AboutBox.h"
#include "mainwindow/Gallery.h"
#include "mainwindow/PhotoWindows.h"
#include "widgets/ProgressBox.h"
#include "platform/DocumentOpener.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPlayer.h"
#include "mainwindow/CommandButtons.h"
#include "mainwindow/Looks.h"
#include "widgets/PictureButton.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QStorageInfo>
#include <QWidget>

namespace {
const char* const kClickSounds[3] = {"Pi!.wav", "Pipi.wav", "Tyui.wav"};
}

MainMenu::MainMenu(MainForm& form)
    : f_(form)
{
    build();
}

MainMenu::~MainMenu()
{
    delete mnuMain;
}

void MainMenu::build()
{
    mnuMain = new QMenu(QStringLiteral("メニュー"));
    mnuSam = mnuMain->addAction(QStringLiteral("サムネイルの表示"));
    mnuAll = mnuMain->addAction(QStringLiteral("全サムネイルの表示"));
    mnuClear = mnuMain->addAction(QStringLiteral("すべてをクリア"));
    mnuMain->addSeparator();
    mnuSHOW = mnuMain->addMenu(QStringLiteral("スライドショー"));
    mnuSLD[0] = mnuSHOW->addAction(QStringLiteral("五十音順"));
    mnuSLD[1] = mnuSHOW->addAction(QStringLiteral("ランダム"));
    mnuMain->addSeparator();
    mnuSamuneilu = mnuMain->addMenu(QStringLiteral("サムネイルの表示方法"));
    mnuHyouji[0] = mnuSamuneilu->addAction(
        QStringLiteral("サムネイル表示ボタン（左下のボタン）またはShift+クリックで表示"));
    mnuHyouji[1] = mnuSamuneilu->addAction(QStringLiteral("クリックと同時に表示"));
    mnuSettei = mnuMain->addMenu(QStringLiteral("サムネイルのクリック音"));
    const char* sounds[4] = {"ピッ！", "ピピッ！", "チュイ", "なし"};
    for (int i = 0; i < 4; ++i)
        mnuSound[size_t(i)] = mnuSettei->addAction(QString::fromUtf8(sounds[i]));
    for (QAction* a : mnuHyouji)
        a->setCheckable(true);
    for (QAction* a : mnuSound)
        a->setCheckable(true);
    mnuDATA = mnuMain->addAction(QStringLiteral("データの編集..."));
    mnuMain->addSeparator();
    mnuREADME = mnuMain->addAction(QStringLiteral("ヘルプ"));
    mnuVER = mnuMain->addAction(QStringLiteral("バージョン情報..."));
    mnuMain->addSeparator();
    for (int n = 0; n < 8; ++n)
        mnuHis[size_t(n)] = mnuMain->addAction(QString::number(n + 1));
    mnuMain->addSeparator();
    mnuEnd = mnuMain->addAction(QStringLiteral("ソノハの終了(&X)"));
}

bool MainMenu::selectionExists() const
{
    for (int k = 0; k < 5; ++k)
        if (f_.search.lstHANA.anyIn(k))
            return true;
    return false;
}

bool MainMenu::folderWritable(const QString& appPath)
{
    // A read-only medium or mount, or a folder without write permission,
    // cannot take the editor's changes.
    const QFileInfo info(appPath);
    return info.isWritable() && !QStorageInfo(appPath).isReadOnly();
}

void MainMenu::prepare()
{
    const SearchState& s = f_.search;
    const bool selection = selectionExists();
    const bool resultEmpty = s.lstKOUHO.isEmpty();
    const bool interruptLook = f_.imgSam->isLookVisible(SamLook::OFF1);
    const bool latched = f_.imgAll->isLookVisible(CmdLook::on2);

    if (resultEmpty && !selection && f_.photos->OpenPhotoCount() == 0)
        mnuClear->setEnabled(false);
    else
        mnuClear->setEnabled(!interruptLook);

    mnuDATA->setEnabled(resultEmpty && !selection && folderWritable(f_.app.GetAppPath()));

    if (selection || s.AllMode || f_.photos->OpenPhotoCount() != 0 || latched) {
        mnuSettei->setEnabled(false);
        mnuDATA->setEnabled(false);
        mnuSamuneilu->setEnabled(false);
    } else {
        mnuSettei->setEnabled(true);
        mnuSamuneilu->setEnabled(true);
        AppContext& app = f_.app;
        app.SoundNo = app.settings().readClickSound();
        app.SamMode = app.settings().readThumbnailMode();
        for (int i = 0; i < 4; ++i)
            mnuSound[size_t(i)]->setChecked(i == app.SoundNo);
        for (int i = 0; i < 2; ++i)
            mnuHyouji[size_t(i)]->setChecked(i == app.SamMode);
    }

    for (int n = 0; n < 8; ++n) {
        mnuHis[size_t(n)]->setText(f_.history.caption(n));
        mnuHis[size_t(n)]->setEnabled(f_.history.itemEnabled(n, f_.gallery->DrawnCount));
    }

    mnuSam->setText(f_.pctProg->isVisible() ? QStringLiteral("継続") : QStringLiteral("サムネイルの表示"));
    mnuSam->setEnabled(!resultEmpty);
    mnuAll->setEnabled(!latched);
}

void MainMenu::popup(QPoint globalPos)
{
    prepare();
    if (QAction* chosen = mnuMain->exec(globalPos))
        run(chosen);
}

void MainMenu::run(QAction* a)
{
    CommandButtons* c = f_.commands;
    const QPoint inside(1, 1);
    if (a == mnuSam)
        c->Form1_imgSam_MouseUp(0, 1, 1, inside);
    else if (a == mnuAll)
        c->Form1_imgAll_MouseUp(1, 1, inside);
    else if (a == mnuClear)
        c->Form1_imgClear_MouseUp(1, 1, inside);
    else if (a == mnuSLD[0] || a == mnuSLD[1]) {
        SldMode = a == mnuSLD[0] ? 0 : 1;
        StartSlideShow();
    } else if (a == mnuHyouji[0] || a == mnuHyouji[1])
        f_.app.settings().writeThumbnailMode(a == mnuHyouji[0] ? 0 : 1);
    else if (a == mnuDATA)
        Form1_mnuDATA_Click();
    else if (a == mnuREADME)
        f_.app.platform().documents.open(f_.app.pathOf(QStringLiteral("help/help.htm")));
    else if (a == mnuVER)
        Form1_mnuVER_Click();
    else if (a == mnuEnd)
        f_.window->close();
    for (int i = 0; i < 4; ++i)
        if (a == mnuSound[size_t(i)])
            Form1_mnuSound_Click(i);
    for (int n = 0; n < 8; ++n)
        if (a == mnuHis[size_t(n)])
            f_.photos->Form1_mnuHis_Click(n);
}

void MainMenu::Form1_mnuSound_Click(int i)
{
    AppContext& app = f_.app;
    if (i <= 2)
        app.platform().sound.play(app.pathOf(QStringLiteral("sound/")) + QString::fromUtf8(kClickSounds[i]));
    else
        app.platform().sound.stopAll();
    app.settings().writeClickSound(i);
}

void MainMenu::Form1_mnuDATA_Click()
{
    f_.app.platform().messages.show(f_.window, QStringLiteral("データの編集は、まだ準備中です。"),
                                    MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information);
}

void MainMenu::StartSlideShow()
{
    f_.app.platform().messages.show(f_.window, QStringLiteral("スライドショーは、まだ準備中です。"),
                                    MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information);
}

void MainMenu::Form1_mnuVER_Click()
{
    AboutBox box(f_.app, f_.window);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        box.move(g.x() + (g.width() - box.width()) / 2, g.y() + (g.height() - box.height()) / 2);
    }
    box.exec();
}
