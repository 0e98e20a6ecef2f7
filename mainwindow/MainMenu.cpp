#include "mainwindow/MainMenu.h"

#include "about/AboutBox.h"
#include "editor/RecordEditor.h"
#include "mainwindow/PhotoWindows.h"
#include "platform/Beeper.h"
#include "platform/DocumentOpener.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/SoundPlayer.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/MenuRules.h"
#include "settings/AppSettings.h"
#include "slideshow/SlideshowLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QStorageInfo>
#include <QWidget>

MainMenu::MainMenu(BrowserSession& session, PhotoWindows& photos, QWidget* mainWindow,
                   std::function<void(bool)> pointerWatch)
    : session_(session)
    , photos_(photos)
    , window_(mainWindow)
    , pointerWatch_(std::move(pointerWatch))
    , shows_(std::make_unique<SlideshowLauncher>())
{
    build();
}

MainMenu::~MainMenu() = default;

void MainMenu::build()
{
    menu_ = std::make_unique<QMenu>(QStringLiteral("メニュー"));
    mnuMain = menu_.get();
    mnuSam = mnuMain->addAction(QStringLiteral("サムネイルの表示"));
    mnuAll = mnuMain->addAction(QStringLiteral("全サムネイルの表示"));
    mnuClear = mnuMain->addAction(QStringLiteral("すべてをクリア"));
    mnuMain->addSeparator();
    mnuSHOW = mnuMain->addMenu(QStringLiteral("スライドショー"));
    mnuSLD[0] = mnuSHOW->addAction(QStringLiteral("五十音順"));
    mnuSLD[1] = mnuSHOW->addAction(QStringLiteral("ランダム"));
    mnuMain->addSeparator();
    mnuSamuneilu = mnuMain->addMenu(QStringLiteral("サムネイルの表示方法"));
    mnuHyouji[0] =
        mnuSamuneilu->addAction(QStringLiteral("サムネイル表示ボタン（左下のボタン）またはShift+クリックで表示"));
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

bool MainMenu::folderWritable(const QString& appPath)
{
    // A read-only medium or mount, or a folder without write permission,
    // cannot take the editor's changes.
    const QFileInfo info(appPath);
    return info.isDir() && info.isWritable() && !QStorageInfo(appPath).isReadOnly();
}

void MainMenu::prepare()
{
    AppContext& app = session_.app();
    // The editor writes the catalogue where it is, or in the copy it offers
    // to make for a user whose catalogue is installed read-only.
    const bool editable =
        app.folders().offersCatalogueCopy() || folderWritable(QFileInfo(app.folders().cataloguePath()).absolutePath());
    const MenuState m = MenuRules::prepare(session_, editable);
    mnuClear->setEnabled(m.clearEnabled);
    // A show counts its slides at its start; the editor waits until it ends.
    mnuDATA->setEnabled(m.editorEnabled && !shows_->running());
    mnuSettei->setEnabled(m.settingsMenusEnabled);
    mnuSamuneilu->setEnabled(m.settingsMenusEnabled);
    if (m.settingsMenusEnabled) {
        // The file, not a copy, is the reference: a hand edit shows at once.
        app.SoundNo = app.settings().readClickSound();
        app.SamMode = app.settings().readThumbnailMode();
        for (int i = 0; i < 4; ++i)
            mnuSound[size_t(i)]->setChecked(i == app.SoundNo);
        for (int i = 0; i < 2; ++i)
            mnuHyouji[size_t(i)]->setChecked(i == app.SamMode);
    }
    for (int n = 0; n < 8; ++n) {
        mnuHis[size_t(n)]->setText(m.historyCaptions[size_t(n)]);
        mnuHis[size_t(n)]->setEnabled(m.historyEnabled[size_t(n)]);
    }
    mnuSam->setText(m.thumbnailsText);
    mnuSam->setEnabled(m.thumbnailsEnabled);
    mnuAll->setEnabled(m.allEnabled);
}

void MainMenu::popup(QPoint globalPos)
{
    prepare();
    if (QAction* chosen = mnuMain->exec(globalPos))
        run(chosen);
}

void MainMenu::run(QAction* a)
{
    AppContext& app = session_.app();
    if (a == mnuSam)
        session_.showThumbnails();
    else if (a == mnuAll)
        session_.showAll();
    else if (a == mnuClear)
        session_.clear();
    else if (a == mnuSLD[0] || a == mnuSLD[1])
        StartSlideShow(a == mnuSLD[0] ? 0 : 1);
    else if (a == mnuHyouji[0] || a == mnuHyouji[1])
        app.settings().writeThumbnailMode(a == mnuHyouji[0] ? 0 : 1);
    else if (a == mnuDATA)
        Form1_mnuDATA_Click();
    else if (a == mnuREADME)
        Form1_mnuREADME_Click();
    else if (a == mnuVER)
        Form1_mnuVER_Click();
    else if (a == mnuEnd)
        session_.quit();
    for (int i = 0; i < 4; ++i)
        if (a == mnuSound[size_t(i)])
            Form1_mnuSound_Click(i);
    for (int n = 0; n < 8; ++n)
        if (a == mnuHis[size_t(n)])
            photos_.Form1_mnuHis_Click(n);
}

void MainMenu::Form1_mnuSound_Click(int i)
{
    AppContext& app = session_.app();
    if (i <= 2)
        app.platform().sound.play(app.pathOf(QStringLiteral("sound/")) +
                                  QString::fromUtf8(AppSettings::kClickSounds[i]));
    else
        app.platform().sound.stopAll();
    app.settings().writeClickSound(i);
}

QString MainMenu::helpMissingText(const QString& page)
{
    return QStringLiteral("ヘルプのページが見つかりません。\n%1").arg(QDir::toNativeSeparators(page));
}

QString MainMenu::helpUnopenedText(const QString& page)
{
    return QStringLiteral("ヘルプのページを開くプログラムが見つかりません。\n"
                          "ブラウザで次のファイルを開いてください。\n\n%1")
        .arg(QDir::toNativeSeparators(page));
}

void MainMenu::Form1_mnuREADME_Click()
{
    AppContext& app = session_.app();
    const QString page = app.pathOf(QStringLiteral("help/help.htm"));
    // The opener may find out only later that nothing could show the page
    // (xdg-open without a browser); the user is told then.
    QPointer<QWidget> owner = window_;
    MessageBoxes& messages = app.platform().messages;
    const QString text = QFileInfo(page).isFile() ? helpUnopenedText(page) : helpMissingText(page);
    auto tell = [owner, &messages, text] {
        messages.show(owner, text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
    };
    if (!app.platform().documents.open(page, tell))
        tell();
}

void MainMenu::Form1_mnuDATA_Click()
{
    if (shows_->running()) {
        session_.app().platform().beeper.beep();
        return;
    }
    if (!RecordEditor::run(session_.app(), window_))
        return;
    // The catalogue was read again and may be renumbered: nothing may refer to old slots.
    session_.catalogueReloaded();
}

void MainMenu::StartSlideShow(int order)
{
    shows_->start(session_.app(), order, window_,
                  {[this] {
                       session_.ResetSearch();
                       pointerWatch_(false);
                   },
                   [this] { pointerWatch_(true); }});
}

void MainMenu::Form1_mnuVER_Click()
{
    AboutBox box(session_.app(), window_);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        box.move(g.x() + (g.width() - box.width()) / 2, g.y() + (g.height() - box.height()) / 2);
    }
    box.exec();
}
