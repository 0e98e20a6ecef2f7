#include "mainwindow/MainMenu.h"

#include "about/AboutBox.h"
#include "editor/RecordEditor.h"
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

MainMenu::MainMenu(AppContext& app, BrowserSession& session, QWidget* mainWindow,
                   std::function<void(bool)> pointerWatch)
    : app_(app)
    , session_(session)
    , window_(mainWindow)
    , pointerWatch_(std::move(pointerWatch))
    , shows_(std::make_unique<SlideshowLauncher>())
{
    build();
}

MainMenu::~MainMenu() = default;

namespace {

// The entry's access key as Japanese menus write it, after the caption and
// before a trailing "...": "データの編集(&E)...".
QString keyed(const QString& caption, char key)
{
    const QString dots = QStringLiteral("...");
    const QString mark = QStringLiteral("(&%1)").arg(QLatin1Char(key));
    if (caption.endsWith(dots))
        return caption.chopped(dots.size()) + mark + dots;
    return caption + mark;
}

QString keyed(const char* caption, char key)
{
    return keyed(QString::fromUtf8(caption), key);
}

// The ▶ entry keeps its key whichever of its two captions it shows.
constexpr char kThumbnailsKey = 'T';

}  // namespace

void MainMenu::build()
{
    // Every entry has an access key, unique in its menu, so that a keyboard
    // user does not count Down presses through entries the state disables.
    menu_ = std::make_unique<QMenu>(QStringLiteral("メニュー"));
    topMenu = menu_.get();
    thumbnailsEntry = topMenu->addAction(keyed("サムネイルの表示", kThumbnailsKey));
    allDataEntry = topMenu->addAction(keyed("全サムネイルの表示", 'A'));
    clearEntry = topMenu->addAction(keyed("すべてをクリア", 'C'));
    nearMissesEntry = topMenu->addAction(keyed("近い草花を表示", 'K'));
    topMenu->addSeparator();
    slideshowMenu = topMenu->addMenu(keyed("スライドショー", 'S'));
    slideshowEntries[0] = slideshowMenu->addAction(keyed("五十音順", 'G'));
    slideshowEntries[1] = slideshowMenu->addAction(keyed("ランダム", 'R'));
    topMenu->addSeparator();
    thumbnailModeMenu = topMenu->addMenu(keyed("サムネイルの表示方法", 'M'));
    thumbnailModeEntries[0] =
        thumbnailModeMenu->addAction(keyed("サムネイル表示ボタン（左下のボタン）またはShift+クリックで表示", 'B'));
    thumbnailModeEntries[1] = thumbnailModeMenu->addAction(keyed("クリックと同時に表示", 'C'));
    clickSoundMenu = topMenu->addMenu(keyed("サムネイルのクリック音", 'O'));
    const char* sounds[4] = {"ピッ！", "ピピッ！", "チュイ", "なし"};
    const char soundKeys[4] = {'1', '2', '3', 'N'};
    for (int i = 0; i < 4; ++i)
        clickSoundEntries[size_t(i)] = clickSoundMenu->addAction(keyed(sounds[i], soundKeys[i]));
    for (QAction* a : thumbnailModeEntries)
        a->setCheckable(true);
    for (QAction* a : clickSoundEntries)
        a->setCheckable(true);
    editorEntry = topMenu->addAction(keyed("データの編集...", 'E'));
    topMenu->addSeparator();
    helpEntry = topMenu->addAction(keyed("ヘルプ", 'H'));
    aboutEntry = topMenu->addAction(keyed("バージョン情報...", 'V'));
    topMenu->addSeparator();
    for (int n = 0; n < 8; ++n)
        historyEntries[size_t(n)] = topMenu->addAction(historyText(QString::number(n + 1)));
    topMenu->addSeparator();
    quitEntry = topMenu->addAction(keyed("ソノハの終了", 'X'));
}

QString MainMenu::historyText(const QString& caption)
{
    // The leading number is the key, as in a list of recent files; an "&"
    // in a flower's name is shown, not taken for a key.
    return u'&' + QString(caption).replace(u'&', QStringLiteral("&&"));
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
    AppContext& app = app_;
    // The editor writes the catalogue where it is, or in the copy it offers
    // to make for a user whose catalogue is installed read-only.
    const bool editable =
        app.folders().offersCatalogueCopy() || folderWritable(QFileInfo(app.folders().cataloguePath()).absolutePath());
    const MenuState m = MenuRules::prepare(session_, editable);
    clearEntry->setEnabled(m.clearEnabled);
    nearMissesEntry->setEnabled(m.nearMissesEnabled);
    // A show counts its slides at its start; the editor waits until it ends.
    editorEntry->setEnabled(m.editorEnabled && !shows_->running());
    clickSoundMenu->setEnabled(m.settingsMenusEnabled);
    thumbnailModeMenu->setEnabled(m.settingsMenusEnabled);
    if (m.settingsMenusEnabled) {
        // The file, not a copy, is the reference: a hand edit shows at once.
        const int sound = app.settings().readClickSound();
        const int mode = app.settings().readThumbnailMode();
        for (int i = 0; i < 4; ++i)
            clickSoundEntries[size_t(i)]->setChecked(i == sound);
        for (int i = 0; i < 2; ++i)
            thumbnailModeEntries[size_t(i)]->setChecked(i == mode);
    }
    for (int n = 0; n < 8; ++n) {
        historyEntries[size_t(n)]->setText(historyText(m.historyCaptions[size_t(n)]));
        historyEntries[size_t(n)]->setEnabled(m.historyEnabled[size_t(n)]);
    }
    thumbnailsEntry->setText(keyed(m.thumbnailsText, kThumbnailsKey));
    thumbnailsEntry->setEnabled(m.thumbnailsEnabled);
    allDataEntry->setEnabled(m.allEnabled);
}

void MainMenu::popup(QPoint globalPos)
{
    prepare();
    if (QAction* chosen = topMenu->exec(globalPos))
        run(chosen);
}

void MainMenu::run(QAction* a)
{
    AppContext& app = app_;
    if (a == thumbnailsEntry)
        session_.showThumbnails();
    else if (a == allDataEntry)
        session_.showAll();
    else if (a == clearEntry)
        session_.clear();
    else if (a == nearMissesEntry)
        session_.showNearMisses();
    else if (a == slideshowEntries[0] || a == slideshowEntries[1])
        startSlideshow(a == slideshowEntries[0] ? 0 : 1);
    else if (a == thumbnailModeEntries[0] || a == thumbnailModeEntries[1])
        app.settings().writeThumbnailMode(a == thumbnailModeEntries[0] ? 0 : 1);
    else if (a == editorEntry)
        editCatalogue();
    else if (a == helpEntry)
        openHelp();
    else if (a == aboutEntry)
        showAbout();
    else if (a == quitEntry)
        session_.quit();
    for (int i = 0; i < 4; ++i)
        if (a == clickSoundEntries[size_t(i)])
            chooseClickSound(i);
    for (int n = 0; n < 8; ++n)
        if (a == historyEntries[size_t(n)])
            session_.openFromHistory(n);
}

void MainMenu::chooseClickSound(int i)
{
    AppContext& app = app_;
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

void MainMenu::openHelp()
{
    AppContext& app = app_;
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

void MainMenu::editCatalogue()
{
    if (shows_->running()) {
        app_.platform().beeper.beep();
        return;
    }
    if (!RecordEditor::run(app_, window_))
        return;
    // The catalogue was read again and may be renumbered: nothing may refer to old slots.
    session_.catalogueReloaded();
}

void MainMenu::startSlideshow(int order)
{
    shows_->start(app_, order, window_,
                  {[this] {
                       session_.resetSearch();
                       pointerWatch_(false);
                   },
                   [this] { pointerWatch_(true); }});
}

void MainMenu::showAbout()
{
    AboutBox box(app_, window_);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        box.move(g.x() + (g.width() - box.width()) / 2, g.y() + (g.height() - box.height()) / 2);
    }
    box.exec();
}
