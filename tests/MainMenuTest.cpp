#include "mainwindow/MainMenu.h"
#include "about/AboutBox.h"
#include "catalogue/CategoryTables.h"
#include "mainwindow/PhotoWindows.h"
#include "session/GalleryModel.h"
#include "slideshow/SlideshowWindow.h"
#include "tests/support/MainWindowFixture.h"
#include "widgets/NameLabel.h"
#include "widgets/PrintSurface.h"
#include "widgets/ProgressBox.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using TestCatalogues::record;
using MWF = MainWindowFixture;

namespace {

QVector<FlowerRecord> catalogue()
{
    QVector<FlowerRecord> recs;
    for (int i = 0; i < 30; ++i)
        recs << record(QStringLiteral("ハナ%1").arg(i, 2, 10, QLatin1Char('0')), i % 2 ? "春" : "夏");
    return recs;
}

// A compact picture of the menu's state: one letter per entry, upper case
// when enabled, '*' after a checked one.
QString menuStates(const MainMenu& m)
{
    auto s = [](const QAction* a, char c) {
        QString t = a->isEnabled() ? QString(QChar(c).toUpper()) : QString(QChar(c));
        return a->isChecked() ? t + u'*' : t;
    };
    QString out;
    out += s(m.thumbnailsEntry, 's') + s(m.allDataEntry, 'a') + s(m.clearEntry, 'c') + u' ';
    out += s(m.slideshowMenu->menuAction(), 'w') + s(m.thumbnailModeMenu->menuAction(), 'm') +
           s(m.clickSoundMenu->menuAction(), 'k') + s(m.editorEntry, 'd') + u' ';
    for (QAction* a : m.thumbnailModeEntries)
        out += s(a, 'h');
    out += u' ';
    for (QAction* a : m.clickSoundEntries)
        out += s(a, 'o');
    out += u' ' + s(m.helpEntry, 'r') + s(m.aboutEntry, 'v') + s(m.quitEntry, 'e');
    return out;
}

// An entry's text as the menu shows it: "(&K)" and a lone "&" are the
// access key's marks, "&&" is an "&".
QString shownText(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

}  // namespace

class MainMenuTest : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void states_data()
    {
        QTest::addColumn<QString>("situation");
        // Disabled submenus keep the check marks they had (none before a first opening).
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing selected, no results") << "idle" << "sAc WMKD H*H OO*OO RVE";
        QTest::newRow("one attribute selected") << "selected" << "SAC Wmkd HH OOOO RVE";
        QTest::newRow("photo window open") << "photo" << "SaC Wmkd HH OOOO RVE";
        QTest::newRow("sound 2 in the file") << "sound2" << "sAc WMKD H*H OOO*O RVE";
        QTest::newRow("mode 1 in the file") << "mode1" << "sAc WMKD HH* OO*OO RVE";
        // The show counts its slides at its start: no editing while it runs.
        QTest::newRow("slideshow running") << "show" << "sAc WMKd H*H OO*OO RVE";
    }
    // clang-format on
    void states()
    {
        QFETCH(QString, situation);
        QFETCH(QString, expected);
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        if (situation == "selected")
            MWF::click(f.attr[0][0]);
        if (situation == "photo") {
            MWF::click(f.allDataButton);
            MWF::click(f.cellNames[0]);
            QCOMPARE(fx.window->session().photos().openCount(), 1);
        }
        if (situation == "sound2")
            fx.context->settings().writeClickSound(2);
        if (situation == "mode1")
            fx.context->settings().writeThumbnailMode(1);
        if (situation == "show")
            fx.window->menu().run(fx.window->menu().slideshowEntries[0]);
        fx.window->menu().prepare();
        QCOMPARE(menuStates(fx.window->menu()), expected);
        if (auto* show = fx.window->findChild<SlideshowWindow*>())
            show->quit();
        QCOMPARE(fx.window->menu().quitEntry->text(), QStringLiteral("ソノハの終了(&X)"));
    }

    // Every entry of every menu has an access key of its own in that menu,
    // whatever captions the state gives the entries; the captions shown stay
    // as they were.
    // clang-format off
    void accessKeys_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("thumbnails");  // the ▶ entry as shown
        QTest::addColumn<QString>("history");     // the first history entry as shown
        QTest::newRow("at start") << "idle" << "サムネイルの表示" << "1 ";
        QTest::newRow("drawing interrupted") << "interrupted" << "継続" << "1 ";
        QTest::newRow("a name with &") << "history" << "サムネイルの表示" << "1 ハナ&ミツ";
    }
    // clang-format on
    void accessKeys()
    {
        QFETCH(QString, situation);
        QFETCH(QString, thumbnails);
        QFETCH(QString, history);
        QVector<FlowerRecord> recs = catalogue();
        recs << record(QStringLiteral("ハナ&ミツ"), "春");
        MWF fx(recs);
        const MainControls& f = fx.form();
        if (situation == "interrupted") {
            MWF::click(f.attr[0][0]);
            MWF::move(f.thumbnailButton);
            MWF::press(f.thumbnailButton);
            MWF::release(f.thumbnailButton);
            fx.session().interrupt();
            fx.waitForDrawing();
        }
        if (situation == "history") {
            MWF::click(f.allDataButton);
            fx.waitForDrawing();
            const int cell = int(fx.session().results().indexOf(QStringLiteral("ハナ&ミツ")));
            QVERIFY(cell >= 0 && cell < 16);
            MWF::click(f.cellNames[size_t(cell)]);
        }
        MainMenu& m = fx.window->menu();
        m.prepare();
        for (const QMenu* menu : {m.topMenu, m.slideshowMenu, m.thumbnailModeMenu, m.clickSoundMenu}) {
            QSet<QString> keys;
            for (const QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                const QString key = QKeySequence::mnemonic(a->text()).toString();
                QVERIFY2(!key.isEmpty(), qPrintable(a->text()));
                QVERIFY2(!keys.contains(key), qPrintable(a->text()));
                keys.insert(key);
            }
        }
        QCOMPARE(shownText(m.thumbnailsEntry->text()), thumbnails);
        QCOMPARE(shownText(m.historyEntries[0]->text()), history);
        QCOMPARE(shownText(m.editorEntry->text()), QStringLiteral("データの編集..."));
    }

    // The key chooses its entry in the open menu.
    void aKeyChoosesItsEntry()
    {
        MWF fx(catalogue());
        MWF::click(fx.form().attr[0][0]);
        MainMenu& m = fx.window->menu();
        m.prepare();
        QSignalSpy chosen(m.topMenu, &QMenu::triggered);
        m.topMenu->popup(fx.window->mapToGlobal(QPoint(50, 50)));
        QVERIFY(QTest::qWaitForWindowExposed(m.topMenu));
        QTest::keyClick(m.topMenu, Qt::Key_C);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).value<QAction*>(), m.clearEntry);
        QTRY_VERIFY(!m.topMenu->isVisible());
    }

    // The menu's slideshow entry while a show runs behind the main window
    // brings that show to the front; no second show starts.
    void runningShowComesToTheFront()
    {
        MWF fx(catalogue());
        MainMenu& m = fx.window->menu();
        m.run(m.slideshowEntries[0]);
        auto* show = fx.window->findChild<SlideshowWindow*>();
        QVERIFY(show);
        // A window counts as active while its transient child is: the
        // application's active window tells which of the two has the focus.
        QTRY_COMPARE(QApplication::activeWindow(), show);
        fx.window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), fx.window.get());
        m.run(m.slideshowEntries[1]);
        QTRY_COMPARE(QApplication::activeWindow(), show);
        QCOMPARE(fx.window->findChildren<SlideshowWindow*>().size(), 1);
        QCOMPARE(show->sequence().order(), SlideOrder::Kana);
        show->quit();
    }

    void interruptedDrawingReadsContinue()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        MWF::move(f.thumbnailButton);
        MWF::press(f.thumbnailButton);
        MWF::release(f.thumbnailButton);
        s.interrupt();  // before the first thumbnail
        fx.waitForDrawing();
        QVERIFY(s.suspended());
        fx.window->menu().prepare();
        QCOMPARE(fx.window->menu().thumbnailsEntry->text(), QStringLiteral("継続(&T)"));
        QVERIFY(fx.window->menu().thumbnailsEntry->isEnabled());
        fx.window->menu().run(fx.window->menu().thumbnailsEntry);  // continues the drawing
        fx.waitForDrawing();
        QCOMPARE(s.gallery().drawnCount(), 15);
        fx.window->menu().prepare();
        QCOMPARE(fx.window->menu().thumbnailsEntry->text(), QStringLiteral("サムネイルの表示(&T)"));
    }

    void releaseDuringDrawingBeeps()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        MWF::move(f.thumbnailButton);
        MWF::press(f.thumbnailButton);
        MWF::release(f.thumbnailButton);  // a drawing runs and is not suspended
        QVERIFY(s.drawing());
        MWF::release(fx.window.get(), Qt::LeftButton, QPoint(300, 470));
        MWF::release(fx.window.get(), Qt::RightButton, QPoint(300, 470));
        QCOMPARE(fx.fake.beeper.count, 2);
        fx.waitForDrawing();
    }

    // clang-format off
    void soundEntries_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("heard");
        QTest::newRow("ピッ！") << 0 << "play:Pi!.wav";
        QTest::newRow("チュイ") << 2 << "play:Tyui.wav";
        QTest::newRow("なし stops the sound") << 3 << "stop";
    }
    // clang-format on
    void soundEntries()
    {
        QFETCH(int, entry);
        QFETCH(QString, heard);
        MWF fx(catalogue());
        fx.window->menu().prepare();
        fx.window->menu().run(fx.window->menu().clickSoundEntries[size_t(entry)]);
        QCOMPARE(fx.fake.sound.log, QStringList{heard});
        QCOMPARE(fx.context->settings().readClickSound(), entry);
        fx.window->menu().prepare();
        QVERIFY(fx.window->menu().clickSoundEntries[size_t(entry)]->isChecked());
    }

    void historyEntriesOnlyWithAnEmptyGallery()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.allDataButton);
        MWF::click(f.cellNames[1]);
        MWF::click(f.cellNames[3]);
        fx.window->menu().prepare();
        QCOMPARE(fx.window->menu().historyEntries[0]->text(), QStringLiteral("&1 ハナ03"));
        QCOMPARE(fx.window->menu().historyEntries[1]->text(), QStringLiteral("&2 ハナ01"));
        QCOMPARE(fx.window->menu().historyEntries[2]->text(), QStringLiteral("&3 "));
        QVERIFY(!fx.window->menu().historyEntries[0]->isEnabled());  // thumbnails in the gallery
        fx.window->menu().run(fx.window->menu().clearEntry);
        QCOMPARE(fx.window->session().photos().openCount(), 0);
        fx.window->menu().prepare();
        QVERIFY(fx.window->menu().historyEntries[0]->isEnabled());
        QVERIFY(fx.window->menu().historyEntries[1]->isEnabled());
        QVERIFY(!fx.window->menu().historyEntries[2]->isEnabled());
        fx.window->menu().run(fx.window->menu().historyEntries[1]);  // reopens ハナ01; the history stays as it was
        QCOMPARE(fx.window->session().photos().openCount(), 1);
        // In the flower's own catalogue slot, as from the gallery.
        const int k = fx.context->catalogue().slotOfName(QStringLiteral("ハナ01"));
        QVERIFY(fx.window->photos().window(k));
        QCOMPARE(fx.window->photos().window(k)->flowerName(), QStringLiteral("ハナ01"));
        QCOMPARE(s.history().entry(0), QStringLiteral("ハナ03"));
    }

    // The help page explains the attribute buttons with the program's own
    // help texts, word for word, in the panels' order.
    void helpPageUsesTheProgramsHelpTexts()
    {
        QFile page(QStringLiteral(SONOHA_HELP_PAGE));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        const qsizetype from = text.indexOf(QStringLiteral("<section id=\"attributes\">"));
        QVERIFY(from >= 0);
        const QString section = text.mid(from, text.indexOf(QStringLiteral("</section>"), from) - from);
        static const QRegularExpression row(QStringLiteral("<tr><td>[^<]*</td><td>([^<]*)</td></tr>"));
        QStringList explained;
        for (auto it = row.globalMatch(section); it.hasNext();)
            explained << it.next().captured(1);
        QStringList own;
        for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
            for (int code = 1; code <= CategoryTables::valueCount(k); ++code)
                own << CategoryTables::helpText(k, code);
        QCOMPARE(explained, own);
    }

    // Moving over the background shows the status while there is something
    // to report, the prompt otherwise, and nothing while the welcome line runs.
    void backgroundHint()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        QWidget* background = fx.window.get();
        MWF::move(background, QPoint(300, 470));
        QCOMPARE(f.messageStrip->text(), QStringLiteral("目的の箇所をクリックしてください。"));
        MWF::click(f.attr[0][0]);
        MWF::move(background, QPoint(300, 470));
        QCOMPARE(f.messageStrip->text(), QStringLiteral("検索完了！ 15個見つけました｡"));
        s.strips().startWelcome();
        QTRY_VERIFY(f.messageStrip->text().startsWith(QStringLiteral("ようこそ")));
        const QString typed = f.messageStrip->text();
        MWF::move(background, QPoint(300, 470));
        QCOMPARE(f.messageStrip->text(), typed);
    }

    void helpOpensThePage()
    {
        MWF fx(catalogue());
        fx.window->menu().run(fx.window->menu().helpEntry);
        QCOMPARE(fx.fake.documents.opened, QStringList{fx.appPath() + QStringLiteral("help/help.htm")});
        QVERIFY(fx.fake.messages.shown.isEmpty());
    }

    // clang-format off
    void helpThatNothingOpensIsNamed_data()
    {
        QTest::addColumn<bool>("pageThere");
        QTest::addColumn<bool>("refusedAtOnce");  // else the desktop's opener fails afterwards
        QTest::newRow("no opener") << true << true;
        QTest::newRow("opener finds no browser") << true << false;
        QTest::newRow("no page") << false << true;
    }
    // clang-format on
    void helpThatNothingOpensIsNamed()
    {
        QFETCH(bool, pageThere);
        QFETCH(bool, refusedAtOnce);
        MWF fx(catalogue());
        const QString page = fx.appPath() + QStringLiteral("help/help.htm");
        if (pageThere) {
            QDir().mkpath(fx.appPath() + QStringLiteral("help"));
            QFile(page).open(QIODevice::WriteOnly);
        }
        fx.fake.documents.result = !refusedAtOnce;
        fx.window->menu().run(fx.window->menu().helpEntry);
        if (!refusedAtOnce) {
            QVERIFY(fx.fake.messages.shown.isEmpty());
            QVERIFY(fx.fake.documents.lastFailure);
            fx.fake.documents.lastFailure();
        }
        QCOMPARE(fx.fake.messages.shown.size(), 1);
        QCOMPARE(fx.fake.messages.shown[0].text,
                 pageThere ? MainMenu::helpUnopenedText(page) : MainMenu::helpMissingText(page));
        QVERIFY(fx.fake.messages.shown[0].text.contains(page));
    }

    void editorNeedsAWritableFolder()
    {
        QTemporaryDir dir;
        QVERIFY(MainMenu::folderWritable(dir.path()));
        QVERIFY(!MainMenu::folderWritable(dir.path() + QStringLiteral("/missing")));
        // A path that is a plain file is no folder to write into, for root too.
        QFile plain(dir.path() + QStringLiteral("/plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!MainMenu::folderWritable(plain.fileName()));
        if (QFileInfo(QStringLiteral("/proc")).isWritable())
            return;  // root can write into /proc's folder; the rows above ran
        QVERIFY(!MainMenu::folderWritable(QStringLiteral("/proc")));
    }

    // clang-format off
    void aboutBox_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("started");
        QTest::newRow("a system-information program") << QStringList{"hardinfo"} << "hardinfo";
        QTest::newRow("none installed") << QStringList{} << QString();
    }
    // clang-format on
    void aboutBox()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, started);
        MWF fx(catalogue());
        fx.fake.programs.installed = installed;
        AboutBox box(*fx.context);
        QCOMPARE(box.windowTitle(), QStringLiteral("ソノハVersion3.47のﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box.titleLabel()->text(), QStringLiteral("ソノハVersion3.47"));
        QCOMPARE(box.versionLabel()->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 3.47"));
        QVERIFY(box.descriptionLabel()->text().startsWith(QStringLiteral("身近な草花の検索図鑑ソフトです(^^;)")));
        QCOMPARE(box.systemInfoButton()->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        box.systemInfoButton()->click();
        if (started.isEmpty()) {
            QCOMPARE(fx.fake.messages.texts(), QStringList{"現時点ではｼｽﾃﾑ情報を使用できません"});
        } else {
            QCOMPARE(fx.fake.programs.started, QStringList{started});
            QVERIFY(fx.fake.messages.shown.isEmpty());
        }
    }
};

QTEST_MAIN(MainMenuTest)
#include "MainMenuTest.moc"
