#include "editor/RecordEditor.h"
#include "catalogue/CatalogueStore.h"
#include "catalogue/NameOrder.h"
#include "editor/CodeEntry.h"
#include "editor/EntryRules.h"
#include "editor/KeyboardPath.h"
#include "editor/PictureImport.h"
#include "editor/RecordNavigator.h"
#include "editor/RecordTable.h"
#include "editor/ShiftJisText.h"
#include "mainwindow/MainMenu.h"
#include "session/AppContext.h"
#include "session/BrowserSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HostileCatalogues.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TestCatalogues.h"
#include "widgets/QtMessageBoxes.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using TestCatalogues::record;
using Answer = MessageBoxes::Answer;
using LockKind = HostileCatalogues::HeldLock::Kind;
Q_DECLARE_METATYPE(EditorField)
Q_DECLARE_METATYPE(LockKind)
Q_DECLARE_METATYPE(Answer)

namespace {

const QString kKaya = QString::fromUtf8("ｶﾔﾂﾘｸﾞｻ科");

QVector<FlowerRecord> threeFlowers()
{
    return {record("アカツメクサ", "夏", "赤紫系", "マメ型", "互生", "マメ科"),
            record("イヌタデ", "秋", "赤紫系", "穂型", "互生", "タデ科"),
            record("ウシハコベ", "春", "白系", "花弁５枚型", "対生", "ナデシコ科")};
}

QVector<FlowerRecord> storedRows(const QString& path)
{
    return CatalogueStore::read(path).rows;
}

// An editor over a temporary application folder with every platform service faked.
struct EditorFixture {
    explicit EditorFixture(const QVector<FlowerRecord>& records = threeFlowers(),
                           int busyTimeoutMs = RecordTable::kBusyTimeoutMs)
    {
        MainWindowFixture::quietOffscreenNotices();
        QDir().mkpath(appPath() + QStringLiteral("data"));
        TestCatalogues::write(db(), records);
        app = std::make_unique<AppContext>(appPath(), fake.platform);
        auto table = std::make_unique<RecordTable>(db(), busyTimeoutMs);
        opened = table->open();
        connection = table->model()->database();
        editor = std::make_unique<RecordEditor>(*app, std::move(table), nullptr);
        editor->show();
        editor->activateWindow();
        // Focus events, which show the help lists, reach only an active window.
        active = QTest::qWaitForWindowActive(editor.get());
    }
    QString appPath() const { return dir.path() + u'/'; }
    QString db() const { return appPath() + QStringLiteral("SNH347.mdb"); }
    QVector<FlowerRecord> rows() const { return storedRows(db()); }
    QWidget* focus() const { return editor->focusWidget(); }
    void key(Qt::Key k) { QTest::keyClick(focus(), k); }
    // Text as an input method commits it, or typed key by key where the input method is off.
    void type(const QString& text)
    {
        QWidget* w = focus();
        if (!w->testAttribute(Qt::WA_InputMethodEnabled)) {
            QTest::keyClicks(w, text);
            return;
        }
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(w, &e);
    }
    void typeAndEnter(const QString& text)
    {
        type(text);
        key(Qt::Key_Return);
    }
    // A whole record typed into the fields: name, the five codes, picture and description.
    void fill(const QString& name, const QStringList& codes, const QString& picture, const QString& note)
    {
        editor->fieldBoxes[0]->setText(name);
        for (int box = 1; box <= 5; ++box) {
            editor->codeBoxes[size_t(box)]->clear();
            QTest::keyClicks(editor->codeBoxes[size_t(box)], codes.value(box - 1));
        }
        editor->fieldBoxes[6]->setText(picture);
        editor->noteBox->setPlainText(note);
    }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<AppContext> app;
    std::unique_ptr<RecordEditor> editor;
    QSqlDatabase connection;  // the editor's own
    bool opened = false;
    bool active = false;
};

}  // namespace

class RecordEditorTest : public QObject {
    Q_OBJECT

private slots:
    // ---- code boxes and category fields ------------------------------------

    // clang-format off
    void codeBoxes_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QStringList>("typed");  // the box's text after each key
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("familyName");
        QTest::newRow("season 2") << 1 << QStringList{"2"} << "2" << "夏" << "";
        QTest::newRow("colour 3") << 2 << QStringList{"3"} << "3" << "赤紫系" << "";
        QTest::newRow("petal 5") << 3 << QStringList{"5"} << "5" << "唇型" << "";
        QTest::newRow("leaf 1") << 4 << QStringList{"1"} << "1" << "対生" << "";
        QTest::newRow("family 7") << 5 << QStringList{"7"} << "7" << "シソ科" << "シソ科";
        QTest::newRow("family 4 half-width") << 5 << QStringList{"4"} << "4" << kKaya << kKaya;
        QTest::newRow("family 1 then 2") << 5 << QStringList{"1", "12"} << "12" << "その他" << "アブラナ科";
        QTest::newRow("family 1 then 3") << 5 << QStringList{"1", "13"} << "" << "" << "";
        QTest::newRow("season 4") << 1 << QStringList{"4"} << "" << "" << "";
        QTest::newRow("petal 1 then 5") << 3 << QStringList{"1", "15"} << "" << "" << "";
        QTest::newRow("petal 1 then 0") << 3 << QStringList{"1", "10"} << "10" << "その他" << "";
        QTest::newRow("petal 0") << 3 << QStringList{"0"} << "" << "" << "";
        QTest::newRow("colour letter") << 2 << QStringList{"a"} << "" << "" << "";
        QTest::newRow("family emptied") << 5 << QStringList{"5", ""} << "" << "" << "";
    }
    // clang-format on
    void codeBoxes()
    {
        QFETCH(int, box);
        QFETCH(QStringList, typed);
        CodeEntry e;
        for (const QString& t : typed)
            e.setCode(box, t);
        QTEST(e.code(box), "code");
        QTEST(e.field(box), "field");
        QTEST(e.familyName(), "familyName");
    }

    // clang-format off
    void fieldsShowTheirCodes_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("code");
        QTest::newRow("colour その他") << 2 << "その他" << "5";
        QTest::newRow("petal その他") << 3 << "その他" << "10";
        QTest::newRow("family その他") << 5 << "その他" << "12";
        QTest::newRow("family half-width") << 5 << kKaya << "4";
        QTest::newRow("full-width is no stored name") << 5 << "カヤツリグサ科" << "";
        QTest::newRow("trailing space") << 1 << "春 " << "";
    }
    // clang-format on
    void fieldsShowTheirCodes()
    {
        QFETCH(int, box);
        QFETCH(QString, field);
        CodeEntry e;
        e.setField(box, field);
        QTEST(e.code(box), "code");
        QCOMPARE(e.field(box), field);  // a text that is no name stays as typed
    }

    void shownRecordKeepsItsDisplayFamily()
    {
        // Showing a record must not change it: its display family stays even
        // where it differs from the search family.
        CodeEntry e;
        e.show({"春", "白系", "穂型", "根生", kKaya}, "カヤツリグサ科");
        QCOMPARE(e.code(5), QStringLiteral("4"));
        QCOMPARE(e.familyName(), QStringLiteral("カヤツリグサ科"));
        // Typing a family code afterwards does copy the family name, as intended.
        e.setCode(5, "5");
        QCOMPARE(e.familyName(), QStringLiteral("キク科"));
    }

    void helpListsAndLengths()
    {
        QCOMPARE(CodeEntry::helpList(1), QStringLiteral("1…春\n2…夏\n3…秋"));
        QCOMPARE(CodeEntry::helpList(3).split(u'\n').value(4), QStringLiteral("9…穂型  10…その他"));
        QCOMPARE(CodeEntry::helpList(5).split(u'\n').value(1), QStringLiteral("3…イネ科  4…カヤツリグサ科"));
        QCOMPARE(CodeEntry::helpList(5).split(u'\n').size(), 6);
        QCOMPARE(CodeEntry::helpList(4).split(u'\n').size(), 4);
        const int lengths[] = {1, 1, 2, 1, 2};
        for (int box = 1; box <= 5; ++box)
            QCOMPARE(CodeEntry::maxLength(box), lengths[box - 1]);
    }

    // ---- keyboard path -----------------------------------------------------

    // clang-format off
    void keyboardPath_data()
    {
        QTest::addColumn<EditorField>("from");
        QTest::addColumn<int>("key");  // PathKey
        QTest::addColumn<QString>("familyCode");
        QTest::addColumn<int>("okMask");  // 1 add, 2 correct, 4 delete
        QTest::addColumn<bool>("handled");
        QTest::addColumn<EditorField>("target");
        QTest::addColumn<bool>("open");
        using F = EditorField;
        const int E = int(PathKey::Enter), D = int(PathKey::Down), U = int(PathKey::Up);
        QTest::newRow("name enter") << F::Name << E << "" << 1 << true << F::Code1 << false;
        QTest::newRow("name down") << F::Name << D << "" << 1 << true << F::Code1 << false;
        QTest::newRow("name up") << F::Name << U << "" << 1 << false << F::None << false;
        QTest::newRow("code1 enter") << F::Code1 << E << "" << 1 << true << F::Code2 << false;
        QTest::newRow("code1 up") << F::Code1 << U << "" << 1 << true << F::Name << false;
        QTest::newRow("code2 down") << F::Code2 << D << "" << 1 << true << F::Code3 << false;
        QTest::newRow("code3 up") << F::Code3 << U << "" << 1 << true << F::Code2 << false;
        QTest::newRow("code4 enter") << F::Code4 << E << "" << 1 << true << F::Code5 << false;
        QTest::newRow("code4 up") << F::Code4 << U << "" << 1 << true << F::Code3 << false;
        QTest::newRow("code5 enter 12") << F::Code5 << E << "12" << 1 << true << F::FamilyName << true;
        QTest::newRow("code5 down 12") << F::Code5 << D << "12" << 1 << true << F::FamilyName << true;
        QTest::newRow("code5 enter 7") << F::Code5 << E << "7" << 1 << true << F::Picture << false;
        QTest::newRow("code5 enter empty") << F::Code5 << E << "" << 1 << true << F::Picture << false;
        QTest::newRow("code5 up") << F::Code5 << U << "12" << 1 << true << F::Code4 << false;
        QTest::newRow("family name enter") << F::FamilyName << E << "12" << 1 << true << F::Picture << false;
        QTest::newRow("family name up") << F::FamilyName << U << "12" << 1 << true << F::Code5 << false;
        QTest::newRow("picture enter") << F::Picture << E << "" << 1 << true << F::Description << false;
        QTest::newRow("picture up") << F::Picture << U << "12" << 1 << true << F::Code5 << false;
        QTest::newRow("description enter, add") << F::Description << E << "" << 1 << true << F::OkAdd << false;
        QTest::newRow("description enter, correct") << F::Description << E << "" << 2 << true << F::OkCorrect << false;
        QTest::newRow("description enter, delete") << F::Description << E << "" << 4 << true << F::OkDelete << false;
        QTest::newRow("description enter, none") << F::Description << E << "" << 0 << true << F::None << false;
        QTest::newRow("description down") << F::Description << D << "" << 1 << false << F::None << false;
        QTest::newRow("description up") << F::Description << U << "" << 1 << false << F::None << false;
    }
    // clang-format on
    void keyboardPath()
    {
        QFETCH(EditorField, from);
        QFETCH(int, key);
        QFETCH(QString, familyCode);
        QFETCH(int, okMask);
        const KeyboardPath::Step s =
            KeyboardPath::step(from, PathKey(key), familyCode, {bool(okMask & 1), bool(okMask & 2), bool(okMask & 4)});
        QTEST(s.handled, "handled");
        QTEST(s.target, "target");
        QTEST(s.openFamilyName, "open");
    }

    // ---- Shift-JIS limits and the record check -----------------------------

    // clang-format off
    void shiftJis_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("encodable");
        QTest::addColumn<int>("cutTo");
        QTest::addColumn<QString>("cut");
        QTest::newRow("half-width family") << kKaya << 9 << true << 9 << kKaya;
        QTest::newRow("other half-width family") << QString::fromUtf8("ｺﾞﾏﾉﾊｸﾞｻ科") << 10 << true << 10
                                                 << QString::fromUtf8("ｺﾞﾏﾉﾊｸﾞｻ科");
        QTest::newRow("full-width never split") << "アイウ" << 6 << true << 5 << "アイ";
        QTest::newRow("mixed") << "aアb" << 4 << true << 2 << "a";
        QTest::newRow("wave dash of CP932") << "4～6月" << 6 << true << 5 << "4～6";
        QTest::newRow("emoji") << "花🌸" << 4 << false << 3 << "花";
        QTest::newRow("outside JIS") << "𠮷野" << 4 << false << 4 << "𠮷野";
    }
    // clang-format on
    void shiftJis()
    {
        QFETCH(QString, text);
        QTEST(ShiftJisText::bytes(text), "bytes");
        QTEST(ShiftJisText::encodable(text), "encodable");
        QFETCH(int, cutTo);
        QTEST(ShiftJisText::cut(text, cutTo), "cut");
    }

    // clang-format off
    void recordCheck_data()
    {
        QTest::addColumn<FlowerRecord>("record");
        QTest::addColumn<QString>("problem");  // a part of the message, or empty
        FlowerRecord ok = record("ハルジオン");
        QTest::newRow("fine") << ok << "";
        FlowerRecord emoji = ok;
        emoji.NAMAE = "ハル🌸";
        QTest::newRow("name with emoji") << emoji << "「名前」の「🌸」";
        FlowerRecord note = ok;
        note.NOTE = "𠮷の説明";
        QTest::newRow("note outside JIS") << note << "「説明」の「𠮷」";
        FlowerRecord longName = ok;
        longName.NAMAE = QString(16, QChar(u'ア'));
        QTest::newRow("name of 32 bytes") << longName << "「名前」が長すぎます";
        FlowerRecord fullName = ok;
        fullName.NAMAE = QString(15, QChar(u'ア'));
        QTest::newRow("name of 30 bytes") << fullName << "";
        FlowerRecord picture = ok;
        picture.SYASIN = QString(35, QChar(u'a'));
        QTest::newRow("picture of 35 bytes") << picture << "「画像」が長すぎます";
    }
    // clang-format on
    void recordCheck()
    {
        QFETCH(FlowerRecord, record);
        QFETCH(QString, problem);
        const QString why = EntryRules::problem(record);
        if (problem.isEmpty())
            QCOMPARE(why, QString());
        else
            QVERIFY2(why.contains(problem), qPrintable(why));
    }

    void emptyFieldCount()
    {
        QCOMPARE(EntryRules::countEmptyFields({"a", "b", "c", "1", "2", "3", "4", "5"}), 0);
        QCOMPARE(EntryRules::countEmptyFields({"a", "", "", "", "", "", "", ""}), 7);
        QVERIFY(!EntryRules::incomplete(0));
        QVERIFY(EntryRules::incomplete(7));
        QVERIFY(!EntryRules::incomplete(8));
    }

    // ---- picture browse ----------------------------------------------------

    void pictureInsideDataFolder()
    {
        QTemporaryDir dir;
        const QString data = dir.path() + "/data/";
        QDir().mkpath(data + "sub");
        writeFile(data + "a.jpg", "A");
        writeFile(data + "sub/b.jpg", "B");
        QCOMPARE(PictureImport::import(data + "a.jpg", data).storedName, QStringLiteral("a.jpg"));
        QCOMPARE(PictureImport::import(data + "sub/b.jpg", data).storedName, QStringLiteral("sub/b.jpg"));
        QCOMPARE(QDir(data).entryList(QDir::Files).size(), 1);  // nothing copied
    }

    void pictureOutsideIsCopied()
    {
        QTemporaryDir dir;
        const QString data = dir.path() + "/data/";
        QDir().mkpath(data);
        QDir().mkpath(dir.path() + "/elsewhere");
        const QString outside = dir.path() + "/elsewhere/nobiru.jpg";
        writeFile(outside, "PICTURE");

        PictureImport::Result r = PictureImport::import(outside, data);
        QVERIFY(r.ok);
        QCOMPARE(r.storedName, QStringLiteral("nobiru.jpg"));
        QCOMPARE(readFile(data + "nobiru.jpg"), QByteArray("PICTURE"));
        // The same file again: the copy is there already.
        QVERIFY(PictureImport::import(outside, data).ok);

        // Another picture under the same name is refused, the data folder's file kept.
        writeFile(outside, "OTHER");
        r = PictureImport::import(outside, data);
        QVERIFY(!r.ok);
        QVERIFY(r.message.contains("nobiru.jpg"));
        QCOMPARE(readFile(data + "nobiru.jpg"), QByteArray("PICTURE"));
        QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no copy left over
    }

    // clang-format off
    void pictureNamesTheRecordCannotHold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("too long") << QString(31, QChar(u'a')) + ".jpg";
        QTest::newRow("outside JIS") << "𠮷.jpg";
        QTest::newRow("a dot before the extension") << "hana.v2.jpg";
    }
    // clang-format on
    void pictureNamesTheRecordCannotHold()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString data = dir.path() + "/data/";
        QDir().mkpath(data);
        writeFile(dir.path() + "/" + name, "X");
        const PictureImport::Result r = PictureImport::import(dir.path() + "/" + name, data);
        QVERIFY(!r.ok);
        QVERIFY(!r.message.isEmpty());
        QVERIFY(QDir(data).isEmpty());
    }

    // ---- the table ---------------------------------------------------------

    void failedWriteLeavesTableAsItWas()
    {
        QTemporaryDir dir;
        const QString db = dir.path() + "/SNH347.mdb";
        QVERIFY(TestCatalogues::write(db, threeFlowers()));
        const QVector<FlowerRecord> before = storedRows(db);
        RecordTable t(db);
        QVERIFY(t.open());
        // Renaming the second flower to the first one's name is refused as a whole.
        QVERIFY(t.model()->setData(t.model()->index(1, t.column("NAMAE")), "アカツメクサ"));
        QVERIFY(t.model()->setData(t.model()->index(1, t.column("NOTE")), "changed"));
        QCOMPARE(t.writePending(), RecordTable::Outcome::Failed);
        QVERIFY(t.error().contains("UNIQUE"));
        QVERIFY(t.hasPending());  // still on screen
        QCOMPARE(storedRows(db), before);
    }

    void tableReadsAgainAfterALock()
    {
        QTemporaryDir dir;
        const QString db = dir.path() + "/SNH347.mdb";
        QVERIFY(TestCatalogues::write(db, threeFlowers()));
        RecordTable t(db, 50);
        QVERIFY(t.open());
        {
            HostileCatalogues::HeldLock lock(db, LockKind::Exclusive);
            QVERIFY(lock.held());
            QVERIFY(!t.refresh());
            QCOMPARE(t.cause(), RecordTable::Cause::Locked);
            QVERIFY(!t.refresh());  // still locked, and still told so
            QCOMPARE(t.cause(), RecordTable::Cause::Locked);
            QCOMPARE(t.error(), QStringLiteral("database is locked"));
        }
        QVERIFY2(t.refresh(), qPrintable(t.error()));
        QCOMPARE(t.rowCount(), 3);
        QCOMPARE(t.recordAt(2), threeFlowers().value(2));
    }

    // ---- the window --------------------------------------------------------

    void opensIdle()
    {
        EditorFixture f;
        QVERIFY(f.opened);
        RecordEditor& e = *f.editor;
        QCOMPARE(e.windowTitle(), QStringLiteral("データの編集（追加，訂正・更新，削除）"));
        QCOMPARE(e.mode(), RecordEditor::Mode::Idle);
        QVERIFY(e.closeButton->isEnabled() && e.cancelButton->isEnabled());
        QVERIFY(!e.browseButton->isEnabled() && !e.saveButtons[0]->isEnabled() && !e.saveButtons[1]->isEnabled() &&
                !e.deleteButton->isEnabled() && !e.navigator->isEnabled());
        QVERIFY(!e.fieldBoxes[0]->isEnabled() && !e.codeBoxes[1]->isEnabled() && !e.noteBox->isEnabled());
        QCOMPARE(e.navigator->captionLabel()->text(), QStringLiteral("更新"));
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("アカツメクサ"));  // the first record
        QCOMPARE(e.codeBoxes[5]->text(), QStringLiteral("11"));
        QVERIFY(e.familyBox->isHidden() && e.familyPrompt->isHidden());
        QCOMPARE(e.familyPrompt->text(), QStringLiteral("科名を記入→"));
        QStringList captions;
        for (QLabel* l : e.captions)
            captions << l->text();
        QCOMPARE(captions.join(u','), QStringLiteral("名前,季節,色,花弁,葉,科,画像,説明"));
        QCOMPARE(e.addEntry->text() + e.correctEntry->text() + e.deleteEntry->text(),
                 QStringLiteral("追加(&N)訂正・更新(&R)削除(&D)"));
    }

    void addByKeyboardPath()
    {
        EditorFixture f;
        QVERIFY(f.active);
        RecordEditor& e = *f.editor;
        e.startAdding();
        QCOMPARE(f.focus(), e.fieldBoxes[0]);
        QVERIFY(e.fieldBoxes[0]->text().isEmpty() && e.codeBoxes[5]->text().isEmpty());
        f.typeAndEnter("ヤエムグラ");
        QCOMPARE(f.focus(), e.codeBoxes[1]);
        QVERIFY(e.codeHelp[1]->isVisible());  // the help list beside the focused box
        f.typeAndEnter("2");
        QVERIFY(!e.codeHelp[1]->isVisible() && e.codeHelp[2]->isVisible());
        f.typeAndEnter("3");
        f.typeAndEnter("5");
        f.typeAndEnter("1");
        f.type("1");
        QCOMPARE(e.familyBox->text(), QStringLiteral("アブラナ科"));
        f.typeAndEnter("2");
        QCOMPARE(f.focus(), e.familyBox);
        QVERIFY(e.familyBox->isVisible() && e.familyPrompt->isVisible());
        QCOMPARE(e.familyBox->selectedText(), QStringLiteral("アブラナ科"));  // ready to be overwritten
        f.typeAndEnter("アカネ科");
        QCOMPARE(f.focus(), e.fieldBoxes[6]);
        f.typeAndEnter("yaemugura.jpg");
        QCOMPARE(f.focus(), e.noteBox);
        f.typeAndEnter("茎に下向きのとげがある。");
        QCOMPARE(e.noteBox->toPlainText(), QStringLiteral("茎に下向きのとげがある。"));  // no new line
        QCOMPARE(f.focus(), e.saveButtons[0]);
        f.key(Qt::Key_Return);

        QVERIFY2(f.fake.messages.shown.isEmpty(), qPrintable(f.fake.messages.texts().join(u'|')));
        const QVector<FlowerRecord> rows = f.rows();
        QCOMPARE(rows.size(), 4);
        const FlowerRecord expected{"ヤエムグラ",
                                    "夏",
                                    "赤紫系",
                                    "唇型",
                                    "対生",
                                    "その他",
                                    "アカネ科",
                                    "yaemugura.jpg",
                                    "茎に下向きのとげがある。"};
        QCOMPARE(rows.value(3), expected);
        // Ready for the next record.
        QCOMPARE(e.mode(), RecordEditor::Mode::Add);
        QVERIFY(e.fieldBoxes[0]->text().isEmpty());
        QCOMPARE(f.focus(), e.fieldBoxes[0]);
        QVERIFY(e.familyBox->isHidden());
    }

    // Another program holds a lock on the catalogue at one moment of the
    // editor's work. The user is told why, what was typed stays on screen,
    // and once the lock has gone the same action stores it.
    // clang-format off
    void editorSurvivesALock_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::addColumn<LockKind>("lock");
        QTest::addColumn<bool>("told");
        const std::pair<const char*, LockKind> locks[] = {
            {"read transaction", LockKind::Shared}, {"write transaction", LockKind::Reserved},
            {"BEGIN EXCLUSIVE", LockKind::Exclusive}};
        for (const auto& [name, kind] : locks) {
            // Reading waits only for an exclusive lock.
            QTest::addRow("mode change, %s", name) << "mode change" << kind << (kind == LockKind::Exclusive);
            QTest::addRow("OK_追加, %s", name) << "add" << kind << true;
            QTest::addRow("OK_訂正, %s", name) << "correct" << kind << true;
            QTest::addRow("OK_削除, %s", name) << "delete" << kind << true;
            QTest::addRow("閉じる, %s", name) << "close" << kind << true;
        }
    }
    // clang-format on
    void editorSurvivesALock()
    {
        QFETCH(QString, moment);
        QFETCH(LockKind, lock);
        QFETCH(bool, told);
        EditorFixture f(threeFlowers(), 50);
        RecordEditor& e = *f.editor;
        const FlowerRecord added{
            "ヤエムグラ", "夏", "赤紫系", "唇型", "対生", "その他", "アカネ科", "yaemugura.jpg", "茎にとげがある。"};
        auto typeAdded = [&] { f.fill(added.NAMAE, {"2", "3", "5", "1", "12"}, added.SYASIN, added.NOTE); };
        auto holding = std::make_unique<HostileCatalogues::HeldLock>(f.db(), lock);
        QVERIFY(holding->held());
        holding->release();
        f.fake.messages.answers = {Answer::Ok, Answer::Ok};  // the delete question, twice

        // Ready to act, then the lock, then the action.
        auto act = [&] {
            if (moment == "mode change")
                e.startCorrecting();
            else if (moment == "add")
                e.saveRecord(0);
            else if (moment == "correct")
                e.saveRecord(1);
            else if (moment == "delete")
                e.deleteRecord();
            else
                e.closeEditor();
        };
        if (moment == "add" || moment == "close") {
            e.startAdding();
            typeAdded();
            f.editor->familyBox->setText(added.KA2);
        } else if (moment == "correct") {
            e.startCorrecting();
            e.codeBoxes[4]->selectAll();
            QTest::keyClicks(e.codeBoxes[4], "4");
        } else if (moment == "delete") {
            e.startDeleting();
        }
        const FlowerRecord onScreen{e.fieldBoxes[0]->text(), e.fieldBoxes[1]->text(), e.fieldBoxes[2]->text(),
                                    e.fieldBoxes[3]->text(), e.fieldBoxes[4]->text(), e.fieldBoxes[5]->text(),
                                    e.familyBox->text(),     e.fieldBoxes[6]->text(), e.noteBox->toPlainText()};
        holding = std::make_unique<HostileCatalogues::HeldLock>(f.db(), lock);
        QVERIFY(holding->held());
        act();
        holding.reset();

        const QStringList texts = f.fake.messages.texts();
        if (!told) {
            QVERIFY2(texts.isEmpty(), qPrintable(texts.join(u'|')));
        } else {
            QCOMPARE(texts.size(), moment == "delete" ? 2 : 1);
            QVERIFY2(texts.last().contains("ほかのプログラムが使用中です") &&
                         texts.last().contains("（database is locked）"),
                     qPrintable(texts.last()));
            QVERIFY(!texts.contains(QString::fromUtf8(EntryRules::kMaybeRegistered)));
            QCOMPARE(f.rows(), threeFlowers());
            QVERIFY(e.isVisible());
        }
        if (moment == "mode change") {
            if (told) {
                // No form to type into, since no record could be read.
                QCOMPARE(e.mode(), RecordEditor::Mode::Idle);
                QVERIFY(!e.fieldBoxes[0]->isEnabled() && !e.codeBoxes[1]->isEnabled() && !e.navigator->isEnabled());
                QVERIFY(!e.saveButtons[0]->isEnabled() && !e.saveButtons[1]->isEnabled() &&
                        !e.deleteButton->isEnabled());
            }
            // The table reads again, and a record added now is stored.
            e.startCorrecting();
            QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("アカツメクサ"));
            QVERIFY(e.fieldBoxes[0]->isEnabled() && e.saveButtons[1]->isEnabled());
            e.startAdding();
            typeAdded();
            e.familyBox->setText(added.KA2);
            e.saveRecord(0);
            QVERIFY(f.rows().contains(added));
            return;
        }
        // Nothing typed was lost: the same record is on screen and goes in now.
        const FlowerRecord stillOnScreen{e.fieldBoxes[0]->text(), e.fieldBoxes[1]->text(), e.fieldBoxes[2]->text(),
                                         e.fieldBoxes[3]->text(), e.fieldBoxes[4]->text(), e.fieldBoxes[5]->text(),
                                         e.familyBox->text(),     e.fieldBoxes[6]->text(), e.noteBox->toPlainText()};
        QCOMPARE(stillOnScreen, onScreen);
        f.fake.messages.shown.clear();
        act();
        QVERIFY2(f.fake.messages.texts().size() == (moment == "delete" ? 1 : 0),
                 qPrintable(f.fake.messages.texts().join(u'|')));
        QVector<FlowerRecord> expected = threeFlowers();
        if (moment == "add" || moment == "close")
            expected << added;
        else if (moment == "correct")
            expected[0].HA = QStringLiteral("根生");
        else
            expected.remove(0);
        QCOMPARE(f.rows(), expected);
        if (moment == "close")
            QCOMPARE(e.result(), int(QDialog::Accepted));
    }

    // A save the database refuses is told for what it is; only a rule of the
    // table, such as a name already there, brings the duplicate note. The
    // record stays on screen either way.
    // clang-format off
    void saveRefusalIsToldAsItIs_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("told");  // parts of the messages, in order
        QTest::newRow("another program's lock")
            << "lock" << QStringList{"ほかのプログラムが使用中です", "（database is locked）"};
        QTest::newRow("a file that takes no writes")
            << "read-only" << QStringList{"書き込めません", "（attempt to write a readonly database）"};
        QTest::newRow("a name already there")
            << "duplicate" << QStringList{"UNIQUE", "すでにデータが登録されている可能性があります。"};
    }
    // clang-format on
    void saveRefusalIsToldAsItIs()
    {
        QFETCH(QString, refusal);
        QFETCH(QStringList, told);
        EditorFixture f(threeFlowers(), 50);
        RecordEditor& e = *f.editor;
        e.startAdding();
        f.fill(refusal == "duplicate" ? "イヌタデ" : "ヨメナ", {"3", "5", "8", "2", "5"}, "yomena.jpg", "野菊。");
        std::unique_ptr<HostileCatalogues::HeldLock> lock;
        if (refusal == "lock")
            lock = std::make_unique<HostileCatalogues::HeldLock>(f.db(), LockKind::Reserved);
        if (refusal == "read-only")
            QVERIFY(QSqlQuery(f.connection).exec("PRAGMA query_only = 1"));
        e.saveRecord(0);
        const QString texts = f.fake.messages.texts().join(u'|');
        QCOMPARE(f.fake.messages.texts().size(), refusal == "duplicate" ? 2 : 1);
        qsizetype at = 0;
        for (const QString& part : told) {
            at = texts.indexOf(part, at);
            QVERIFY2(at >= 0, qPrintable(texts));
        }
        QCOMPARE(f.fake.messages.shown[0].icon, MessageBoxes::Icon::Critical);
        QCOMPARE(f.fake.beeper.count, 1);
        QCOMPARE(f.rows(), threeFlowers());
        QCOMPARE(e.fieldBoxes[0]->text(),
                 refusal == "duplicate" ? QStringLiteral("イヌタデ") : QStringLiteral("ヨメナ"));
        QCOMPARE(e.codeBoxes[3]->text(), QStringLiteral("8"));
        QCOMPARE(e.mode(), RecordEditor::Mode::Add);
    }

    void typingOverNoRecordIsNotLost()
    {
        // Correction mode over an empty table: nothing is there to take the
        // text, and closing says so instead of dropping it.
        EditorFixture f(QVector<FlowerRecord>{});
        RecordEditor& e = *f.editor;
        e.startCorrecting();
        f.type("ナズナ");
        e.closeEditor();
        QVERIFY(f.fake.messages.texts().contains(EntryRules::noRecordText()));
        QVERIFY(e.isVisible());
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("ナズナ"));
        QVERIFY(f.rows().isEmpty());
    }

    // A change on screen that choosing a mode or the close box would drop:
    // the user is asked first, and the answer is followed.
    // clang-format off
    void unsavedChangesAreAskedFor_data()
    {
        QTest::addColumn<QString>("start");  // the mode with the change on screen
        QTest::addColumn<QString>("action");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("stored");  // the name the first record ends with
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("moved");  // the action went ahead
        const QString kept = "アカツメクサ", changed = "アオツメクサ";
        for (const char* action : {"追加", "訂正・更新", "削除", "close box"}) {
            QTest::addRow("correction, %s, はい", action) << "correct" << action << Answer::Yes << changed << 3 << true;
            QTest::addRow("correction, %s, いいえ", action) << "correct" << action << Answer::No << kept << 3 << true;
            QTest::addRow("correction, %s, キャンセル", action) << "correct" << action << Answer::Cancel << kept << 3 << false;
        }
        QTest::newRow("new record, 訂正・更新, はい") << "add" << "訂正・更新" << Answer::Yes << kept << 4 << true;
        QTest::newRow("new record, close box, いいえ") << "add" << "close box" << Answer::No << kept << 3 << true;
        QTest::newRow("new record, 追加, キャンセル") << "add" << "追加" << Answer::Cancel << kept << 3 << false;
    }
    // clang-format on
    void unsavedChangesAreAskedFor()
    {
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(Answer, answer);
        QFETCH(int, rows);
        QFETCH(bool, moved);
        EditorFixture f;
        RecordEditor& e = *f.editor;
        if (start == "add") {
            e.startAdding();
            f.fill("ヨメナ", {"3", "5", "8", "2", "5"}, "yomena.jpg", "野菊。");
        } else {
            e.startCorrecting();
            e.fieldBoxes[0]->setText("アオツメクサ");
        }
        const RecordEditor::Mode before = e.mode();
        f.fake.messages.answers = {answer};
        if (action == "追加")
            e.startAdding();
        else if (action == "訂正・更新")
            e.startCorrecting();
        else if (action == "削除")
            e.startDeleting();
        else
            QVERIFY(e.close() == moved);
        QCOMPARE(f.fake.messages.texts(), QStringList{EntryRules::saveChangesQuestion()});
        QCOMPARE(f.fake.messages.shown[0].buttons, MessageBoxes::Buttons::YesNoCancel);
        QTEST(f.rows().value(0).NAMAE, "stored");
        QCOMPARE(f.rows().size(), rows);
        if (action == "close box") {
            QCOMPARE(e.isVisible(), !moved);
        } else {
            const RecordEditor::Mode after = action == "追加"         ? RecordEditor::Mode::Add
                                             : action == "訂正・更新" ? RecordEditor::Mode::Correct
                                                                      : RecordEditor::Mode::Delete;
            QCOMPARE(e.mode(), moved ? after : before);
        }
        if (!moved)  // nothing lost: the change is still on screen
            QCOMPARE(e.fieldBoxes[0]->text(),
                     start == "add" ? QStringLiteral("ヨメナ") : QStringLiteral("アオツメクサ"));
    }

    void nothingToSaveIsNotAsked()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startCorrecting();
        e.startAdding();
        e.startDeleting();
        QVERIFY(e.close());
        QVERIFY(f.fake.messages.shown.isEmpty());
    }

    void incompleteRecordIsWarnedAndWritten()
    {
        EditorFixture f;
        f.editor->startAdding();
        f.type("ナズナ");
        f.editor->saveRecord(0);
        QCOMPARE(f.fake.beeper.count, 1);
        QCOMPARE(f.fake.messages.texts(), QStringList{"記入もれがあります！"});
        QCOMPARE(f.fake.messages.shown.value(0).icon, MessageBoxes::Icon::Critical);
        const QVector<FlowerRecord> rows = f.rows();
        QCOMPARE(rows.size(), 4);
        QVERIFY(std::any_of(rows.begin(), rows.end(),
                            [](const FlowerRecord& r) { return r.NAMAE == "ナズナ" && r.KISETU.isEmpty(); }));
    }

    void emptyNewRecordIsNotWritten()
    {
        EditorFixture f;
        f.editor->startAdding();
        f.editor->closeEditor();
        QVERIFY(f.fake.messages.shown.isEmpty());
        QCOMPARE(f.rows().size(), 3);
        QCOMPARE(f.editor->result(), int(QDialog::Accepted));
        QVERIFY(f.editor->isHidden());
    }

    void duplicateNameKeepsEditorOpen()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startAdding();
        f.type("イヌタデ");
        e.codeBoxes[1]->setFocus();
        f.type("3");
        e.closeEditor();  // warns, then the write is refused
        const QStringList texts = f.fake.messages.texts();
        QCOMPARE(texts.size(), 3);
        QCOMPARE(texts[0], QStringLiteral("記入もれがあります！"));
        QVERIFY2(texts[1].contains("UNIQUE"), qPrintable(texts[1]));
        QCOMPARE(f.fake.messages.shown[1].icon, MessageBoxes::Icon::Critical);
        QCOMPARE(texts[2], QStringLiteral("すでにデータが登録されている可能性があります。"));
        QCOMPARE(f.fake.beeper.count, 2);
        QVERIFY(e.isVisible());
        QCOMPARE(e.mode(), RecordEditor::Mode::Add);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("イヌタデ"));
        QCOMPARE(e.codeBoxes[1]->text(), QStringLiteral("3"));
        QCOMPARE(f.rows(), storedRows(f.db()));
        QCOMPARE(f.rows().size(), 3);

        // Corrected on screen, the same record goes in.
        e.fieldBoxes[0]->setFocus();
        e.fieldBoxes[0]->selectAll();
        f.type("イヌタデモドキ");
        f.fake.messages.shown.clear();
        e.saveRecord(0);
        QCOMPARE(f.rows().size(), 4);
    }

    void correctionWithTheNavigator()
    {
        QVector<FlowerRecord> recs = threeFlowers();
        recs[2].KA2.clear();
        EditorFixture f(recs);
        RecordEditor& e = *f.editor;
        nullField(f.db(), "ウシハコベ");  // a field without value is no change by itself
        e.startCorrecting();
        QCOMPARE(f.focus(), e.fieldBoxes[0]);
        QTest::mouseClick(e.navigator->button(RecordNavigator::Move::Next), Qt::LeftButton);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("イヌタデ"));
        QCOMPARE(e.codeBoxes[3]->text(), QStringLiteral("9"));
        QCOMPARE(e.codeBoxes[5]->text(), QStringLiteral("8"));
        // Stepping over the record with the empty field writes nothing.
        QTest::mouseClick(e.navigator->button(RecordNavigator::Move::Last), Qt::LeftButton);
        QTest::mouseClick(e.navigator->button(RecordNavigator::Move::Previous), Qt::LeftButton);
        QVERIFY(isNull(f.db(), "ウシハコベ"));
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("イヌタデ"));

        // A changed code is written when the navigator moves on.
        e.codeBoxes[1]->setFocus();
        e.codeBoxes[1]->selectAll();
        f.type("1");
        QCOMPARE(e.fieldBoxes[1]->text(), QStringLiteral("春"));
        QTest::mouseClick(e.navigator->button(RecordNavigator::Move::First), Qt::LeftButton);
        QCOMPARE(f.rows().value(1).KISETU, QStringLiteral("春"));
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("アカツメクサ"));

        // And by OK_訂正.
        e.codeBoxes[4]->setFocus();
        e.codeBoxes[4]->selectAll();
        f.type("4");
        e.saveRecord(1);
        QCOMPARE(f.rows().value(0).HA, QStringLiteral("根生"));
        QCOMPARE(e.mode(), RecordEditor::Mode::Correct);
        QVERIFY(f.fake.messages.shown.isEmpty());
        QCOMPARE(f.rows().value(2), recs[2]);
    }

    void deleteAsksFirst()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startDeleting();
        QTest::mouseClick(e.navigator->button(RecordNavigator::Move::Next), Qt::LeftButton);
        f.fake.messages.answers = {Answer::Cancel};
        e.deleteRecord();
        QCOMPARE(f.fake.messages.texts(), QStringList{"イヌタデを削除してよろしいですか？"});
        QCOMPARE(f.fake.messages.shown[0].buttons, MessageBoxes::Buttons::OkCancel);
        QCOMPARE(f.fake.messages.shown[0].icon, MessageBoxes::Icon::Question);
        QCOMPARE(f.rows().size(), 3);

        f.fake.messages.answers = {Answer::Ok};
        e.deleteRecord();
        QVector<FlowerRecord> expected = threeFlowers();
        expected.remove(1);
        QCOMPARE(f.rows(), expected);
        QCOMPARE(e.mode(), RecordEditor::Mode::Delete);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("アカツメクサ"));
    }

    void fullTableRefusesNewRecord()
    {
        QVector<FlowerRecord> recs;
        for (int i = 0; i < EntryRules::kMaxRecords; ++i)
            recs << record(QStringLiteral("ハナ%1").arg(i, 3, 10, QLatin1Char('0')));
        EditorFixture f(recs);
        RecordEditor& e = *f.editor;
        e.startAdding();
        f.type("ヨメナ");
        e.saveRecord(0);
        QCOMPARE(f.fake.messages.texts().last(), EntryRules::tableFullText());
        QVERIFY(f.fake.messages.texts().last().contains(" 500件"));
        QCOMPARE(f.rows().size(), EntryRules::kMaxRecords);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("ヨメナ"));  // still on screen
        // Deleting one makes room; the record on screen is dropped for it.
        f.fake.messages.answers = {Answer::No};
        e.startDeleting();
        f.fake.messages.answers = {Answer::Ok};
        e.deleteRecord();
        e.startAdding();
        f.type("ヨメナ");
        e.saveRecord(0);
        QCOMPARE(f.rows().size(), EntryRules::kMaxRecords);
        QCOMPARE(f.rows().last().NAMAE, QStringLiteral("ヨメナ"));
    }

    void shiftJisLimitsOnScreen()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startAdding();
        f.type(QString(15, QChar(u'ア')));
        f.type("イ");  // a 31st byte does not go in, nor half of a character
        QCOMPARE(e.fieldBoxes[0]->text(), QString(15, QChar(u'ア')));
        e.fieldBoxes[0]->clear();
        f.type("ハナ🌸");
        e.saveRecord(0);
        QVERIFY(f.fake.messages.texts().last().contains("「名前」の「🌸」"));
        QCOMPARE(f.rows().size(), 3);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("ハナ🌸"));
    }

    // What reaches a one-line field: a paste too long for it is cut at a
    // character with a beep, the look-alikes of input methods become JIS
    // characters, and control characters and line breaks stay out.
    // clang-format off
    void oneLineInput_data()
    {
        QTest::addColumn<int>("field");  // fieldBoxes index, or 7 for the family name
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("how");  // "paste" or "commit" (an input method)
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("beeps");
        const QString a14(14, QChar(u'ア'));
        QTest::newRow("paste over the limit") << 0 << "" << 0 << "paste" << QString(20, QChar(u'ア')) << QString(15, QChar(u'ア')) << 1;
        QTest::newRow("paste into the middle") << 0 << a14 << 1 << "paste" << "イウ" << "アイ" + QString(13, QChar(u'ア')) << 1;
        QTest::newRow("half-width fills the last byte") << 0 << QString(14, QChar(u'ア')) + "a" << 15 << "paste" << "ｱｲｳ" << QString(14, QChar(u'ア')) + "aｱ" << 1;
        QTest::newRow("nothing fits") << 0 << QString(15, QChar(u'ア')) << 15 << "paste" << "イ" << QString(15, QChar(u'ア')) << 1;
        QTest::newRow("picture name cut") << 6 << "" << 0 << "paste" << QString(40, QChar(u'p')) << QString(34, QChar(u'p')) << 1;
        QTest::newRow("wave dash of input methods") << 0 << "" << 0 << "commit" << "ハナ〜" << "ハナ～" << 0;
        QTest::newRow("minus, double bar, cent, pound, not") << 7 << "" << 0 << "commit" << "−‖¢£¬" << "－∥￠￡￢" << 0;
        QTest::newRow("line break in the name") << 0 << "ナ" << 1 << "paste" << "ズ\nナ" << "ナ" << 1;
        QTest::newRow("tab in the picture name") << 6 << "" << 0 << "paste" << "a\tb.jpg" << "" << 1;
        QTest::newRow("line separator in the family name") << 7 << "" << 0 << "commit" << "キク\u2028科" << "" << 1;
        QTest::newRow("escape in a category field") << 1 << "" << 0 << "paste" << "\x1b春" << "" << 1;
    }
    // clang-format on
    void oneLineInput()
    {
        QFETCH(int, field);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, how);
        QFETCH(QString, text);
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startAdding();
        QLineEdit* edit = field == 7 ? e.familyBox : e.fieldBoxes[size_t(field)];
        edit->setText(before);
        edit->setCursorPosition(cursor);
        if (how == "paste") {
            QGuiApplication::clipboard()->setText(text);
            edit->paste();
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(edit, &commit);
        }
        QTEST(edit->text(), "after");
        QTEST(f.fake.beeper.count, "beeps");
    }

    void lookAlikesAreStoredAsJis()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startAdding();
        f.fill("ヨメナ", {"3", "5", "8", "2", "5"}, "yomena.jpg", "花期は7〜10月。");
        e.fieldBoxes[0]->setFocus();
        f.type("〜");
        e.saveRecord(0);
        QVERIFY2(f.fake.messages.shown.isEmpty(), qPrintable(f.fake.messages.texts().join(u'|')));
        QCOMPARE(f.rows().last().NAMAE, QStringLiteral("ヨメナ～"));
        QCOMPARE(f.rows().last().NOTE, QStringLiteral("花期は7～10月。"));
    }

    void dottedPictureNameIsRefused()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startAdding();
        f.fill("ヨメナ", {"3", "5", "8", "2", "5"}, "yomena.v2.jpg", "野菊。");
        e.saveRecord(0);
        QCOMPARE(f.fake.messages.texts().size(), 1);
        QVERIFY2(f.fake.messages.texts()[0].contains("「yomena.v2.jpg」"), qPrintable(f.fake.messages.texts()[0]));
        QCOMPARE(f.rows(), threeFlowers());
        QCOMPARE(e.fieldBoxes[6]->text(), QStringLiteral("yomena.v2.jpg"));
    }

    // A picture that the browse copied into the data folder stays only if a
    // stored record names it when the editor closes.
    // clang-format off
    void browsedPictureAfterClosing_data()
    {
        QTest::addColumn<QString>("then");
        QTest::addColumn<QStringList>("left");  // what the data folder holds in the end
        QTest::newRow("saved") << "save" << QStringList{"hotokenoza.jpg"};
        QTest::newRow("abandoned by ｷｬﾝｾﾙ") << "cancel" << QStringList{};
        QTest::newRow("another picture chosen and saved") << "other" << QStringList{"nobiru.jpg"};
        QTest::newRow("abandoned, but named by a record as .bmp") << "named" << QStringList{"hotokenoza.jpg"};
    }
    // clang-format on
    void browsedPictureAfterClosing()
    {
        QFETCH(QString, then);
        QVector<FlowerRecord> records = threeFlowers();
        if (then == "named")
            records[0].SYASIN = "HOTOKENOZA.bmp";  // the lookup tries .jpg first
        EditorFixture f(records);
        RecordEditor& e = *f.editor;
        e.startAdding();
        for (const char* name : {"hotokenoza.jpg", "nobiru.jpg"})
            writeFile(f.dir.path() + "/" + name, name);
        f.fake.files.answers = {f.dir.path() + "/hotokenoza.jpg", f.dir.path() + "/nobiru.jpg"};
        e.browsePicture();
        QCOMPARE(QDir(f.appPath() + "data").entryList(QDir::Files), QStringList{"hotokenoza.jpg"});
        if (then == "other")
            e.browsePicture();
        if (then == "save" || then == "other") {
            f.fill("ホトケノザ", {"1", "3", "5", "1", "7"}, e.fieldBoxes[6]->text(), "春の野に咲く。");
            e.closeEditor();
            QVERIFY2(f.fake.messages.shown.isEmpty(), qPrintable(f.fake.messages.texts().join(u'|')));
        } else {
            e.cancelEdit();
        }
        QVERIFY(e.isHidden());
        QTEST(QDir(f.appPath() + "data").entryList(QDir::Files), "left");
    }

    void pictureBrowse()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startAdding();
        const QString outside = f.dir.path() + "/hotokenoza.jpg";
        writeFile(outside, "JPEG");
        f.fake.files.answers = {outside, QString()};
        e.browsePicture();
        QCOMPARE(f.fake.files.asked[0].title, QStringLiteral("ﾌｧｲﾙを開く"));
        QCOMPARE(f.fake.files.asked[0].folder, f.appPath() + "data/");
        QCOMPARE(f.fake.files.asked[0].filters.size(), 5);
        QCOMPARE(e.fieldBoxes[6]->text(), QStringLiteral("hotokenoza.jpg"));
        QCOMPARE(readFile(f.appPath() + "data/hotokenoza.jpg"), QByteArray("JPEG"));
        QCOMPARE(f.focus(), e.noteBox);
        e.browsePicture();  // cancelled
        QCOMPARE(e.fieldBoxes[6]->text(), QStringLiteral("hotokenoza.jpg"));
        QCOMPARE(f.focus(), e.fieldBoxes[6]);
    }

    // ---- keyboard and screen readers -------------------------------------

    // Every field is named by its caption; a code box describes its codes.
    // clang-format off
    void fieldsSpeak_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("codes");  // the code box whose list is the description, or 0
        QTest::newRow("name") << "name" << "名前" << 0;
        QTest::newRow("season") << "code1" << "季節" << 1;
        QTest::newRow("colour") << "code2" << "色" << 2;
        QTest::newRow("petal") << "code3" << "花弁" << 3;
        QTest::newRow("leaf") << "code4" << "葉" << 4;
        QTest::newRow("family") << "code5" << "科" << 5;
        QTest::newRow("family's stored name") << "field5" << "科の名称" << 0;
        QTest::newRow("family name for その他") << "familyName" << "科名" << 0;
        QTest::newRow("picture") << "picture" << "画像" << 0;
        QTest::newRow("description") << "note" << "説明" << 0;
        QTest::newRow("cancel, in full width") << "cancel" << "キャンセル" << 0;
    }
    // clang-format on
    void fieldsSpeak()
    {
        QFETCH(QString, field);
        QFETCH(int, codes);
        EditorFixture f;
        RecordEditor& e = *f.editor;
        const QMap<QString, QWidget*> widgets = {
            {"name", e.fieldBoxes[0]},    {"field5", e.fieldBoxes[5]}, {"familyName", e.familyBox},
            {"picture", e.fieldBoxes[6]}, {"note", e.noteBox},         {"cancel", e.cancelButton},
            {"code1", e.codeBoxes[1]},    {"code2", e.codeBoxes[2]},   {"code3", e.codeBoxes[3]},
            {"code4", e.codeBoxes[4]},    {"code5", e.codeBoxes[5]}};
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widgets.value(field));
        QVERIFY(a);
        QTEST(a->text(QAccessible::Name), "name");
        if (codes > 0)
            QCOMPARE(a->text(QAccessible::Description), CodeEntry::helpList(codes));
    }

    // Whatever the keys can reach has a name and can be acted on.
    void everyFocusableElementIsNamed()
    {
        EditorFixture f;
        f.editor->startCorrecting();
        const QList<QWidget*> all = f.editor->findChildren<QWidget*>();
        int focusable = 0;
        for (QWidget* w : all) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || !w->isEnabled() || w->focusProxy())
                continue;
            ++focusable;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->metaObject()->className()));
            const bool editable = a->state().editable || a->role() == QAccessible::EditableText;
            QVERIFY2(editable || (a->actionInterface() && !a->actionInterface()->actionNames().isEmpty()),
                     qPrintable(a->text(QAccessible::Name)));
        }
        QVERIFY(focusable >= 20);
    }

    // The navigator's buttons say where they go and are reached by Tab,
    // before the name field.
    void navigatorSpeaksAndIsReached()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        using M = RecordNavigator::Move;
        const std::pair<M, const char*> names[] = {{M::First, "最初のデータ"},
                                                   {M::Previous, "前のデータ"},
                                                   {M::Next, "次のデータ"},
                                                   {M::Last, "最後のデータ"}};
        for (const auto& [m, name] : names) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(e.navigator->button(m));
            QCOMPARE(a->role(), QAccessible::Button);
            QCOMPARE(a->text(QAccessible::Name), QString::fromUtf8(name));
        }
        e.startCorrecting();
        QCOMPARE(f.focus(), e.fieldBoxes[0]);
        QTest::keyClick(f.focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.focus(), e.navigator->button(M::Last));
        QTest::keyClick(f.focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.focus(), e.navigator->button(M::Next));
        f.key(Qt::Key_Space);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("イヌタデ"));
        QCOMPARE(f.focus(), e.navigator->button(M::Next));
        QTest::keyClick(f.focus(), Qt::Key_Tab);
        QTest::keyClick(f.focus(), Qt::Key_Tab);
        QCOMPARE(f.focus(), e.fieldBoxes[0]);
    }

    // Ctrl+Home, Ctrl+PageUp, Ctrl+PageDown and Ctrl+End move from every
    // field, even those that move their cursor with Ctrl+Home and Ctrl+End.
    // clang-format off
    void navigatorKeys_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("shown");
        const int home = Qt::Key_Home, end = Qt::Key_End, up = Qt::Key_PageUp, down = Qt::Key_PageDown;
        QTest::newRow("next, in the name") << "name" << QList<int>{down} << "イヌタデ";
        QTest::newRow("last, in the description") << "note" << QList<int>{end} << "ウシハコベ";
        QTest::newRow("last then previous, in a code box") << "code" << QList<int>{end, up} << "イヌタデ";
        QTest::newRow("next then first, in the picture") << "picture" << QList<int>{down, down, home} << "アカツメクサ";
        QTest::newRow("next past the last stays") << "name" << QList<int>{down, down, down} << "ウシハコベ";
        QTest::newRow("on the OK button") << "ok" << QList<int>{down} << "イヌタデ";
    }
    // clang-format on
    void navigatorKeys()
    {
        QFETCH(QString, field);
        QFETCH(QList<int>, keys);
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startCorrecting();
        const QMap<QString, QWidget*> widgets = {{"name", e.fieldBoxes[0]},
                                                 {"note", e.noteBox},
                                                 {"code", e.codeBoxes[3]},
                                                 {"picture", e.fieldBoxes[6]},
                                                 {"ok", e.saveButtons[1]}};
        widgets.value(field)->setFocus(Qt::TabFocusReason);
        for (int k : keys)
            QTest::keyClick(f.focus(), Qt::Key(k), Qt::ControlModifier);
        QTEST(e.fieldBoxes[0]->text(), "shown");
        QCOMPARE(f.focus(), widgets.value(field));
        QCOMPARE(f.rows(), threeFlowers());  // nothing changed, nothing written
    }

    // Before a mode is chosen the navigator is off, and so are its keys.
    void navigatorKeysWaitForAMode()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        QTest::keyClick(e.closeButton, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(e.currentRow(), 0);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("アカツメクサ"));
    }

    // Esc is ｷｬﾝｾﾙ, wherever the keys are; a change on screen is asked for
    // first, as by the close box.
    // clang-format off
    void escapeCancels_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("name, unchanged") << "name" << false << Answer::Yes << true << "アカツメクサ";
        QTest::newRow("description, unchanged") << "note" << false << Answer::Yes << true << "アカツメクサ";
        QTest::newRow("navigator, unchanged") << "navigator" << false << Answer::Yes << true << "アカツメクサ";
        QTest::newRow("code box, changed, いいえ") << "code" << true << Answer::No << true << "アカツメクサ";
        QTest::newRow("description, changed, はい") << "note" << true << Answer::Yes << true << "アオツメクサ";
        QTest::newRow("name, changed, キャンセル") << "name" << true << Answer::Cancel << false << "アカツメクサ";
    }
    // clang-format on
    void escapeCancels()
    {
        QFETCH(QString, field);
        QFETCH(bool, changed);
        QFETCH(Answer, answer);
        QFETCH(bool, closed);
        EditorFixture f;
        RecordEditor& e = *f.editor;
        e.startCorrecting();
        if (changed)
            e.fieldBoxes[0]->setText(QStringLiteral("アオツメクサ"));
        const QMap<QString, QWidget*> widgets = {{"name", e.fieldBoxes[0]},
                                                 {"note", e.noteBox},
                                                 {"code", e.codeBoxes[2]},
                                                 {"navigator", e.navigator->button(RecordNavigator::Move::Next)}};
        widgets.value(field)->setFocus(Qt::TabFocusReason);
        f.fake.messages.answers = {answer};
        QTest::keyClick(f.focus(), Qt::Key_Escape);
        QCOMPARE(f.fake.messages.texts(), changed ? QStringList{EntryRules::saveChangesQuestion()} : QStringList{});
        QCOMPARE(e.isVisible(), !closed);
        if (closed)
            QCOMPARE(e.result(), int(QDialog::Rejected));
        QTEST(f.rows().value(0).NAMAE, "stored");
        QCOMPARE(f.rows().size(), 3);
    }

    // With the keys alone: a record chosen with the navigator is corrected,
    // another one deleted.
    void correctAndDeleteByKeys()
    {
        EditorFixture f;
        RecordEditor& e = *f.editor;
        QTest::keyClick(e.menuBar, Qt::Key_R, Qt::AltModifier);  // 訂正・更新(&R)
        QCOMPARE(e.mode(), RecordEditor::Mode::Correct);
        QCOMPARE(f.focus(), e.fieldBoxes[0]);
        QTest::keyClick(f.focus(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("イヌタデ"));
        f.key(Qt::Key_Return);  // to the season's code box
        QCOMPARE(f.focus(), e.codeBoxes[1]);
        QTest::keyClick(f.focus(), Qt::Key_A, Qt::ControlModifier);
        f.type("2");
        for (int i = 0; i < 10 && f.focus() != e.saveButtons[1]; ++i)
            f.key(Qt::Key_Return);
        QCOMPARE(f.focus(), e.saveButtons[1]);
        f.key(Qt::Key_Return);  // OK_訂正
        QCOMPARE(f.rows().value(1).KISETU, QStringLiteral("夏"));
        QVERIFY(f.fake.messages.shown.isEmpty());

        QTest::keyClick(f.focus(), Qt::Key_D, Qt::AltModifier);  // 削除(&D)
        QCOMPARE(e.mode(), RecordEditor::Mode::Delete);
        QTest::keyClick(f.focus(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(e.fieldBoxes[0]->text(), QStringLiteral("ウシハコベ"));
        for (int i = 0; i < 20 && f.focus() != e.deleteButton; ++i)
            f.key(Qt::Key_Tab);
        QCOMPARE(f.focus(), e.deleteButton);
        f.fake.messages.answers = {Answer::Ok};
        f.key(Qt::Key_Return);  // OK_削除
        QCOMPARE(f.fake.messages.texts(), QStringList{"ウシハコベを削除してよろしいですか？"});
        QCOMPARE(f.rows().size(), 2);
        QCOMPARE(f.rows().value(1).NAMAE, QStringLiteral("イヌタデ"));
    }

    void cancelAbandonsTheRecord()
    {
        EditorFixture f;
        f.editor->startCorrecting();
        f.type("ベツノナマエ");
        f.editor->cancelEdit();
        QCOMPARE(f.rows(), storedRows(f.db()));
        QCOMPARE(f.rows().value(0).NAMAE, QStringLiteral("アカツメクサ"));
        QCOMPARE(f.editor->result(), int(QDialog::Rejected));
        QCOMPARE(f.fake.busy.depth, 1);  // until the catalogue is read again
    }

    void realDeleteQuestionAnswersOk()
    {
        // The delete question is the program's only OK/Cancel box; its OK must read as OK.
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBoxes boxes;
        QCOMPARE(boxes.show(nullptr, "?", MessageBoxes::Buttons::OkCancel, MessageBoxes::Icon::Question), Answer::Ok);
    }

    void realSaveQuestionOffersThreeAnswers()
    {
        QStringList labels;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                labels << b->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QtMessageBoxes boxes;
        QCOMPARE(boxes.show(nullptr, "?", MessageBoxes::Buttons::YesNoCancel, MessageBoxes::Icon::Question),
                 Answer::Cancel);
        labels.sort();
        QCOMPARE(labels, QStringList({"いいえ(&N)", "はい(&Y)", "キャンセル"}));
    }

    // ---- from the menu and back --------------------------------------------

    void menuEditsAndReloads()
    {
        MainWindowFixture w(threeFlowers());
        BrowserSession& s = w.session();
        MainWindowFixture::click(w.form().attr[3][0]);  // something found before
        MainWindowFixture::click(w.form().attr[3][0]);
        QTimer::singleShot(0, [&] {
            auto* e = qobject_cast<RecordEditor*>(QApplication::activeModalWidget());
            QVERIFY(e);
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
            e->startDeleting();
            w.fake.messages.answers = {Answer::Ok};
            e->deleteRecord();  // the first record: アカツメクサ
            e->closeEditor();
        });
        w.window->menu().run(w.window->menu().editorEntry);

        const FlowerCatalogue& cat = w.context->catalogue();
        QCOMPARE(cat.count(), 3);
        QStringList names;
        for (int i = 1; i <= cat.count(); ++i)
            names << cat.slot(i).NAMAE;
        QCOMPARE(names, QStringList({"アオミズ", "イヌタデ", "ウシハコベ"}));  // name order, not table order
        QVERIFY(cat.slot(4).NAMAE.isEmpty());
        QVERIFY(s.results().isEmpty());
        QCOMPARE(w.fake.busy.depth, 0);
        MainWindowFixture::click(w.form().attr[4][11]);  // family その他
        QCOMPARE(s.results(), QStringList{"アオミズ"});
    }

    // In a child without the rights by which root ignores permissions, so
    // that the file refuses writes to root too, as on a read-only medium.
    void readOnlyCatalogueIsNotEdited()
    {
        MainWindowFixture w(threeFlowers());
        const QString db = w.appPath() + "SNH347.mdb";
        QFile::setPermissions(db, QFileDevice::ReadOwner);
        const std::optional<QByteArray> report = runInChild([&] {
            if (!bindPermissions())
                return QByteArray("no rights to drop");
            if (QFileInfo(db).isWritable())
                return QByteArray("the file takes writes");
            const bool ran = RecordEditor::run(*w.context, w.window.get());
            return QByteArray(ran ? "ran" : "refused") + '\n' + QByteArray::number(w.context->catalogue().count()) +
                   '\n' + w.fake.messages.texts().join(u'\n').toUtf8();
        });
        QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(report);
        const QList<QByteArray> lines = report->split('\n');
        QCOMPARE(lines.value(0), QByteArray("refused"));
        QCOMPARE(lines.value(1), QByteArray("3"));
        QVERIFY2(QString::fromUtf8(lines.value(lines.size() - 1)).contains(u"書き込めない"), report->constData());
    }

    void failedReloadKeepsTheCatalogue()
    {
        MainWindowFixture w(threeFlowers());
        QFile::remove(w.appPath() + "SNH347.mdb");
        QVERIFY(!RecordEditor::reloadCatalogue(*w.context));
        QCOMPARE(w.context->catalogue().count(), 3);
    }

private:
    static void writeFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void nullField(const QString& db, const QString& name)
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "null-field");
        c.setDatabaseName(db);
        QVERIFY(c.open());
        QSqlQuery q(c);
        QVERIFY(q.exec(QStringLiteral("UPDATE KUSABANA SET KA2 = NULL WHERE NAMAE = '%1'").arg(name)));
        q.finish();
        c.close();
        c = QSqlDatabase();
        QSqlDatabase::removeDatabase("null-field");
    }
    static bool isNull(const QString& db, const QString& name)
    {
        bool result = false;
        {
            QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "is-null");
            c.setDatabaseName(db);
            c.open();
            QSqlQuery q(c);
            q.exec(QStringLiteral("SELECT KA2 IS NULL FROM KUSABANA WHERE NAMAE = '%1'").arg(name));
            result = q.next() && q.value(0).toBool();
        }
        QSqlDatabase::removeDatabase("is-null");
        return result;
    }
};

QTEST_MAIN(RecordEditorTest)
#include "RecordEditorTest.moc"
