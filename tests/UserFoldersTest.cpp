#include "session/UserFolders.h"
#include "catalogue/CatalogueStore.h"
#include "editor/PictureImport.h"
#include "editor/RecordEditor.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindow.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "session/UnsavedSettingsNotice.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TestCatalogues.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using TestCatalogues::record;
using Answer = MessageBoxes::Answer;

namespace {

QVector<FlowerRecord> twoFlowers()
{
    return {record("アカツメクサ", "夏", "赤紫系", "マメ型", "互生", "マメ科"),
            record("イヌタデ", "秋", "赤紫系", "穂型", "互生", "タデ科")};
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An installed program in a temporary prefix: bin/ and share/sonoha/ with
// the catalogue, and the user's XDG folders beside them.
struct Installed {
    Installed()
    {
        QDir().mkpath(bin());
        QDir().mkpath(shared() + "data");
        TestCatalogues::write(shared() + "SNH347.mdb", twoFlowers());
    }
    QString bin() const { return dir.path() + "/prefix/bin"; }
    QString shared() const { return dir.path() + "/prefix/share/sonoha/"; }
    UserFolders::Environment env() const { return {dir.path() + "/config", dir.path() + "/data"}; }
    QString userFolder() const { return dir.path() + "/data/sonoha/"; }
    UserFolders folders() const { return UserFolders::forProgram(bin(), env()); }

    QTemporaryDir dir;
};

// The main window of an installed program, the user's files apart.
struct InstalledWindow {
    InstalledWindow()
    {
        MainWindowFixture::quietOffscreenNotices();
        context = std::make_unique<AppContext>(place.folders(), fake.platform);
        CatalogueStore::load(context->folders().cataloguePath(), context->catalogue());
        window = std::make_unique<MainWindow>(*context);
        window->catalogueLoaded();
        window->show();
        window->session().strips().stopWelcome();
        window->setPointerWatch(false);
    }
    void runEditor() { window->menu().run(window->menu().editorEntry); }

    Installed place;
    FakePlatform fake;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

class UserFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void selfContainedFolderKeepsEverything()
    {
        QTemporaryDir dir;
        TestCatalogues::write(dir.path() + "/SNH347.mdb", twoFlowers());
        const UserFolders f = UserFolders::forProgram(dir.path(), {dir.path() + "/config", dir.path() + "/data"});
        QVERIFY(!f.apart());
        QCOMPARE(f.appPath(), dir.path() + '/');
        QCOMPARE(f.settingsPath(), dir.path() + "/SNH347.snh");
        QCOMPARE(f.cataloguePath(), dir.path() + "/SNH347.mdb");
        QVERIFY(!f.offersCatalogueCopy());
        QCOMPARE(f.pictureFolder(), dir.path() + "/data/");
    }

    void installedProgramKeepsTheUsersFilesApart()
    {
        Installed p;
        const UserFolders f = p.folders();
        QVERIFY(f.apart());
        QCOMPARE(QFileInfo(f.appPath()).canonicalFilePath(), QFileInfo(p.shared()).canonicalFilePath());
        QCOMPARE(f.settingsPath(), p.dir.path() + "/config/sonoha/SNH347.snh");
        QCOMPARE(f.cataloguePath(), f.sharedCatalogue());
        QVERIFY(f.offersCatalogueCopy());
        QCOMPARE(f.pictureFolder(), p.userFolder() + "data/");
    }

    void relativeXdgFoldersAreIgnored()
    {
        const QByteArray config = qgetenv("XDG_CONFIG_HOME"), data = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_CONFIG_HOME", "relative/config");
        qunsetenv("XDG_DATA_HOME");
        const UserFolders::Environment env = UserFolders::Environment::fromProcess();
        qputenv("XDG_CONFIG_HOME", "/somewhere/config");
        const UserFolders::Environment absolute = UserFolders::Environment::fromProcess();
        qputenv("XDG_CONFIG_HOME", config);
        qputenv("XDG_DATA_HOME", data);
        QCOMPARE(env.configHome, QDir::homePath() + "/.config");
        QCOMPARE(env.dataHome, QDir::homePath() + "/.local/share");
        QCOMPARE(absolute.configHome, QStringLiteral("/somewhere/config"));
    }

    void settingsLiveInTheConfigFolderAcrossRuns()
    {
        Installed p;
        FakePlatform fake;
        QVERIFY(p.folders().makeSettingsFolder());
        {
            AppContext first(p.folders(), fake.platform);
            QVERIFY(first.settings().writeClickSound(2));
            QVERIFY(first.settings().writeHistory({"イヌタデ"}));
        }
        AppContext second(p.folders(), fake.platform);
        QCOMPARE(second.settingsPath(), p.dir.path() + "/config/sonoha/SNH347.snh");
        QCOMPARE(second.settings().readClickSound(), 2);
        QCOMPARE(second.settings().readHistory(0), QStringLiteral("イヌタデ"));
        QVERIFY(!QFileInfo::exists(p.shared() + "SNH347.snh"));
    }

    void unsavedSettingIsToldOnce()
    {
        QTemporaryDir dir;
        FakePlatform fake;
        const QString path = dir.path() + "/missing-folder/SNH347.snh";
        SettingsFile file(path);
        UnsavedSettingsNotice notice(file, fake.messages);
        QVERIFY(!file.writeInt("Sonoha347", "KOUKAON_check", 2));
        QVERIFY(!file.writeInt("Sonoha347", "Samuneilu_check", 1));
        QCOMPARE(fake.messages.texts(), QStringList{UnsavedSettingsNotice::text(path)});
        QVERIFY(fake.messages.shown[0].text.contains(path));
    }

    void catalogueCopyIsMadeOnceAndReadFromThen()
    {
        Installed p;
        const UserFolders f = p.folders();
        QString error;
        QVERIFY2(f.copyCatalogue(&error), qPrintable(error));
        QCOMPARE(f.cataloguePath(), p.userFolder() + "SNH347.mdb");
        QVERIFY(!f.offersCatalogueCopy());
        QVERIFY(QFileInfo(p.userFolder() + "data").isDir());
        QCOMPARE(CatalogueStore::read(f.cataloguePath()).rows, CatalogueStore::read(f.sharedCatalogue()).rows);
        // The copy is the user's: written, it changes alone.
        QVERIFY(CatalogueStore::insert(f.cataloguePath(), {record("ウシハコベ")}, &error));
        QCOMPARE(CatalogueStore::read(f.cataloguePath()).rows.size(), 3);
        QCOMPARE(CatalogueStore::read(f.sharedCatalogue()).rows.size(), 2);
        // A second copy never replaces the first.
        QVERIFY(!f.copyCatalogue(&error));
        QCOMPARE(CatalogueStore::read(f.cataloguePath()).rows.size(), 3);
        QCOMPARE(QDir(p.userFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"SNH347.mdb"});
    }

    void usersPicturesAreLookedUpFirst()
    {
        Installed p;
        writeFile(p.shared() + "data/a.jpg", "SHARED A");
        writeFile(p.shared() + "data/b.jpg", "SHARED B");
        writeFile(p.userFolder() + "data/b.jpg", "USER B");
        writeFile(p.userFolder() + "data/c.jpg", "USER C");
        const PictureFiles files = p.folders().pictures();
        QCOMPARE(readFile(files.locate("a.jpg")), QByteArray("SHARED A"));
        QCOMPARE(readFile(files.locate("B.JPG")), QByteArray("USER B"));
        QCOMPARE(readFile(files.locate("c.jpg")), QByteArray("USER C"));
        QVERIFY(files.locate("d.jpg").isEmpty());
        QCOMPARE(files.resolvePictureFile("c.gif"), QStringLiteral("c.jpg"));
    }

    void browsedPictureOfTheSharedFolderIsNotCopied()
    {
        Installed p;
        const QString shared = p.shared() + "data/";
        const QString mine = p.userFolder() + "data/";
        writeFile(shared + "tanpopo.jpg", "SHARED");
        writeFile(p.dir.path() + "/photos/tanpopo.jpg", "MINE");
        writeFile(p.dir.path() + "/photos/nobiru.jpg", "NOBIRU");

        PictureImport::Result r = PictureImport::import(shared + "tanpopo.jpg", mine, shared);
        QVERIFY(r.ok);
        QCOMPARE(r.storedName, QStringLiteral("tanpopo.jpg"));
        // A different picture under a shared name would hide the shared one.
        r = PictureImport::import(p.dir.path() + "/photos/tanpopo.jpg", mine, shared);
        QVERIFY(!r.ok);
        QVERIFY(r.message.contains("tanpopo.jpg"));
        r = PictureImport::import(p.dir.path() + "/photos/nobiru.jpg", mine, shared);
        QVERIFY(r.ok);
        QCOMPARE(readFile(mine + "nobiru.jpg"), QByteArray("NOBIRU"));
        QCOMPARE(QDir(mine).entryList(QDir::Files), QStringList{"nobiru.jpg"});
    }

    // ---- the editor of an installed program ------------------------------------

    void editorIsOfferedForTheCopy()
    {
        InstalledWindow w;
        w.window->menu().prepare();
        QVERIFY(w.window->menu().editorEntry->isEnabled());
    }

    void declinedCopyOpensNothing()
    {
        InstalledWindow w;
        w.fake.messages.answers = {Answer::No};
        w.runEditor();
        QCOMPARE(w.fake.messages.texts(), QStringList{RecordEditor::copyOfferText(w.context->folders())});
        QCOMPARE(w.fake.messages.shown[0].buttons, MessageBoxes::Buttons::YesNo);
        QVERIFY(!QFileInfo::exists(w.place.userFolder() + "SNH347.mdb"));
        QCOMPARE(w.context->catalogue().count(), 2);
    }

    void editorAddsToTheUsersCopy()
    {
        InstalledWindow w;
        bool editorOpened = false;
        QTimer::singleShot(0, [&] {
            auto* e = qobject_cast<RecordEditor*>(QApplication::activeModalWidget());
            QVERIFY(e);
            editorOpened = true;
            e->startAdding();
            e->fieldBoxes[0]->setText("アオミズ");
            QTest::keyClicks(e->codeBoxes[1], "2");
            QTest::keyClicks(e->codeBoxes[2], "5");
            QTest::keyClicks(e->codeBoxes[3], "9");
            QTest::keyClicks(e->codeBoxes[4], "1");
            QTest::keyClicks(e->codeBoxes[5], "12");
            e->familyBox->setText("イラクサ科");
            e->fieldBoxes[6]->setText("aomizu.jpg");
            e->noteBox->setPlainText("湿った林のふちに生える。");
            e->saveRecord(0);
            e->closeEditor();
        });
        w.runEditor();  // the offer is answered Yes by default
        QVERIFY(editorOpened);
        QCOMPARE(w.fake.messages.texts().value(0), RecordEditor::copyOfferText(w.context->folders()));

        const QString copy = w.place.userFolder() + "SNH347.mdb";
        QCOMPARE(w.context->folders().cataloguePath(), copy);
        QCOMPARE(CatalogueStore::read(copy).rows.size(), 3);
        QCOMPARE(CatalogueStore::read(w.place.shared() + "SNH347.mdb").rows.size(), 2);  // shared as installed
        BrowserSession& s = w.window->session();
        MainWindowFixture::click(w.window->controls().attr[4][11]);  // family その他
        QCOMPARE(s.results(), QStringList{"アオミズ"});

        // The offer is made once: the next opening edits the copy at once.
        MainWindowFixture::click(w.window->controls().attr[4][11]);
        QVERIFY(!s.selection().any());
        const qsizetype shown = w.fake.messages.shown.size();
        QTimer::singleShot(0, [] {
            if (auto* e = qobject_cast<RecordEditor*>(QApplication::activeModalWidget()))
                e->cancelEdit();
        });
        w.runEditor();
        QCOMPARE(w.fake.messages.shown.size(), shown);
    }
};

QTEST_MAIN(UserFoldersTest)
#include "UserFoldersTest.moc"
