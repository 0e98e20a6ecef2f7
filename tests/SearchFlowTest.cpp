#include "catalogue/CategoryTables.h"
#include "mainwindow/MainMenu.h"
#include "session/GalleryModel.h"
#include "session/Looks.h"
#include "session/StatusTexts.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/WhenDrawn.h"
#include "widgets/AccessibleNotice.h"
#include "widgets/HelpBox.h"
#include "widgets/NameLabel.h"
#include "widgets/PrintSurface.h"
#include "widgets/ProgressBox.h"
#include "widgets/ThumbnailCell.h"
#include <QMenu>
#include <QScrollBar>

#include <QtTest>

using TestCatalogues::record;
using MWF = MainWindowFixture;

namespace {

QVector<FlowerRecord> catalogue()
{
    return {record("アカネ", "秋", "白系", "花弁４枚型", "輪生", "その他"),
            record("オオイヌノフグリ", "春", "青紫系", "花弁４枚型", "対生",
                   QString::fromUtf16(u"\uFF7A\uFF9E\uFF8F\uFF89\uFF8A\uFF78\uFF9E\uFF7B\u79D1")),
            record("ハコベ", "春", "白系", "花弁５枚型", "対生", "ナデシコ科"),
            record("ヒルガオ", "夏", "赤紫系", "その他", "互生", "その他"),
            record("ホトケノザ", "春", "赤紫系", "唇型", "対生", "シソ科")};
}

void writeSetting(MWF& fx, const char* key, int value)
{
    fx.context->settings().file().writeInt(QStringLiteral("Sonoha347"), QString::fromLatin1(key), value);
}

}  // namespace

// The panels, strips and command buttons as a user drives them.
class SearchFlowTest : public QObject {
    Q_OBJECT

private slots:
    void pointingShowsTheCount()
    {
        MWF fx(catalogue());
        PictureButton* spring = fx.form().attr[0][0];
        MWF::move(spring);
        QCOMPARE(spring->frontLook(), int(AttributeLook::Pointed));
        QCOMPARE(fx.form().conditionStrip->text(), QStringLiteral("春：データ数 3件"));
        MWF::move(fx.form().attr[4][11]);
        QCOMPARE(fx.form().conditionStrip->text(), QStringLiteral("その他の科：データ数 2件"));
        QCOMPARE(spring->frontLook(), int(AttributeLook::Idle));  // the highlight moved on
    }

    void clickSelectsAndSearches()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        MWF::click(f.attr[3][0]);
        QVERIFY(s.selection().isSelected(0, 0));
        QCOMPARE(s.results(), QStringList({"オオイヌノフグリ", "ハコベ", "ホトケノザ"}));
        QCOMPARE(s.strips().status(), QStringLiteral("検索完了！ 3個見つけました｡"));
        QCOMPARE(f.messageStrip->text(), s.strips().status());
        QCOMPARE(f.conditionStrip->text(), QStringLiteral("検索条件→春，対生"));
        QCOMPARE(f.attr[3][0]->frontLook(), int(AttributeLook::SelectedPointed));  // until the pointer moves elsewhere
        QCOMPARE(f.attr[0][0]->frontLook(), int(AttributeLook::Selected));
        MWF::move(fx.window.get(), QPoint(300, 470));
        QCOMPARE(f.attr[3][0]->frontLook(), int(AttributeLook::Selected));
        QVERIFY(!f.cellPictures[0]->isVisible());  // thumbnails only on request

        // Releasing the only season drops the category and searches again.
        MWF::click(f.attr[0][0]);
        QVERIFY(!s.selection().anyIn(0));
        QCOMPARE(s.primaryCategory(), 3);
        QCOMPARE(s.results().size(), 3);
        MWF::click(f.attr[3][0]);
        QCOMPARE(s.primaryCategory(), 5);
        QCOMPARE(s.strips().status(), QStringLiteral("目的の箇所をクリックしてください。"));
    }

    void releaseOutsideCancels()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        PictureButton* b = f.attr[1][0];
        MWF::move(b);
        MWF::press(b);
        QCOMPARE(b->frontLook(), int(AttributeLook::Pressed));
        MWF::release(b, Qt::LeftButton, QPoint(40, 10));
        QCOMPARE(b->frontLook(), int(AttributeLook::Idle));
        QVERIFY(!s.selection().any());
        QCOMPARE(s.strips().status(), QString());  // nothing was searched

        MWF::click(b);
        MWF::move(b);
        MWF::press(b);
        MWF::release(b, Qt::LeftButton, QPoint(-1, 10));
        QCOMPARE(b->frontLook(), int(AttributeLook::Selected));
        QVERIFY(s.selection().isSelected(1, 0));
    }

    // clang-format off
    void helpBoxBesideThePointer_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("shift");
        QTest::newRow("spring") << 0 << 0 << 0;
        QTest::newRow("イネ科") << 4 << 2 << 50;
        QTest::newRow("ｶﾔﾂﾘｸﾞｻ科") << 4 << 3 << 100;
        QTest::newRow("family その他") << 4 << 11 << 190;
        QTest::newRow("colour その他") << 1 << 4 << 0;
    }
    // clang-format on
    void helpBoxBesideThePointer()
    {
        QFETCH(int, category);
        QFETCH(int, index);
        QFETCH(int, shift);
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        PictureButton* b = f.attr[size_t(category)][size_t(index)];
        MWF::move(b, QPoint(5, 6));
        MWF::press(b, Qt::RightButton, QPoint(5, 6));
        QVERIFY(f.helpBox->isVisible());
        QCOMPARE(f.helpBox->pos(), b->pos() + QPoint(5 + 12 - shift, 6 + 12));
        QCOMPARE(f.helpBox->text(), CategoryTables::helpText(category, index + 1));
        QCOMPARE(f.helpBox->width(), f.helpBox->measuredWidth(f.helpBox->text()));
        MWF::release(b, Qt::RightButton, QPoint(200, 200));
        QVERIFY(!f.helpBox->isVisible());
        QVERIFY(!s.selection().any());
    }

    void shiftClickDrawsAtOnce()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0], Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(f.attr[0][0]->frontLook(), int(AttributeLook::Selected));  // plain selected look under the pointer
        QCOMPARE(s.gallery().drawnCount(), 3);
        QVERIFY(f.cellPictures[2]->isVisible());
        QVERIFY(!s.drawing());
        QVERIFY(!(s.drawState() != BrowserSession::DrawState::Idle));
        QCOMPARE(s.strips().status(), QStringLiteral("3枚あります。サムネイルのクリックで、写真と解説を表示します。"));
        QVERIFY(s.buttons().thumbnailLooks().visible(ThumbnailLook::IdleShow));
    }

    // The mode is read from the file at a selecting click only.
    void thumbnailModeReadAtSelectingClick()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        writeSetting(fx, "Samuneilu_check", 1);
        MWF::click(f.attr[0][0]);
        QCOMPARE(s.gallery().drawnCount(), 3);
        MWF::click(f.attr[2][0]);
        QCOMPARE(s.gallery().drawnCount(), 1);
        writeSetting(fx, "Samuneilu_check", 0);
        MWF::click(f.attr[2][0]);  // releasing: the remembered 1 still draws
        QCOMPARE(s.gallery().drawnCount(), 3);
        MWF::click(f.attr[1][0]);  // selecting: reads 0, draws nothing
        QCOMPARE(s.gallery().drawnCount(), 0);
        QCOMPARE(s.results(), QStringList({"ハコベ"}));
    }

    void releasingLastAttributeWithModeOne()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        writeSetting(fx, "Samuneilu_check", 1);
        MWF::click(f.attr[0][1]);
        QCOMPARE(s.gallery().drawnCount(), 1);
        MWF::click(f.attr[0][1]);
        QVERIFY(s.buttons().thumbnailLooks().visible(ThumbnailLook::IdleShow));  // no interrupt look: nothing to draw
        QCOMPARE(s.gallery().drawnCount(), 0);
        QVERIFY(!s.drawing());
    }

    void guardsWhileDrawing()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        PictureButton* spring = f.attr[0][0];
        // With thumbnails at every click, the click starts a drawing; its
        // first thumbnail waits for the event loop, so the guards meet a
        // drawing under way with the pointer still on the button.
        writeSetting(fx, "Samuneilu_check", 1);
        MWF::move(spring);
        MWF::press(spring);
        MWF::release(spring);
        QVERIFY(s.drawing());
        QVERIFY(f.progressBar->isVisible());
        MWF::press(spring);
        MWF::release(spring);
        QCOMPARE(fx.fake.beeper.count, 2);
        QVERIFY(s.selection().isSelected(0, 0));
        MWF::move(f.attr[1][0]);
        QCOMPARE(f.attr[1][0]->frontLook(), int(AttributeLook::Idle));  // no highlight, no count
        QVERIFY(!f.conditionStrip->text().contains(QStringLiteral("データ数")));
        MWF::move(spring);
        QCOMPARE(spring->frontLook(), int(AttributeLook::Selected));
        s.interrupt();
        fx.waitForDrawing();
        QVERIFY(s.suspended());  // an interrupted drawing accepts the click
        MWF::click(spring);
        QVERIFY(!s.selection().isSelected(0, 0));
        QCOMPARE(fx.fake.beeper.count, 2);
    }

    void clearRunsNoIntermediateSearch()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        MWF::click(f.attr[0][1]);
        MWF::click(f.attr[1][0]);
        const int searches = fx.fake.busy.begins;
        MWF::click(f.clearButton);
        QCOMPARE(fx.fake.busy.begins, searches);
        QVERIFY(!s.selection().any());
        QVERIFY(s.results().isEmpty());
        QCOMPARE(f.messageStrip->text(), QStringLiteral("目的の箇所をクリックしてください。"));
        QCOMPARE(f.attr[0][1]->frontLook(), int(AttributeLook::Idle));
        QVERIFY(s.listClickOff());
        MWF::click(f.attr[2][0]);  // a selecting click searches again
        QVERIFY(!s.listClickOff());
        QCOMPARE(s.results().size(), 2);
    }

    void clearDoesNotHighlightWithNothingToClear()
    {
        MWF fx(catalogue());
        MWF::move(fx.form().clearButton);
        QCOMPARE(fx.form().clearButton->frontLook(), int(CommandLook::Idle));
        MWF::move(fx.form().thumbnailButton);
        QCOMPARE(fx.form().thumbnailButton->frontLook(), int(ThumbnailLook::IdleShow));  // empty result: no highlight
    }

    // clang-format off
    void commandReleasedOutsideRunsNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("show thumbnails") << "sam";
        QTest::newRow("all data") << "all";
        QTest::newRow("clear") << "clear";
        QTest::newRow("exit") << "quit";
    }
    // clang-format on
    void commandReleasedOutsideRunsNothing()
    {
        QFETCH(QString, button);
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        PictureButton* b = button == "sam"     ? f.thumbnailButton
                           : button == "all"   ? f.allDataButton
                           : button == "clear" ? f.clearButton
                                               : f.quitButton;
        const int idle = b->frontLook();
        MWF::move(b);
        MWF::press(b);
        MWF::release(b, Qt::LeftButton, QPoint(60, 10));
        QCOMPARE(b->frontLook(), idle);
        QVERIFY(fx.window->isVisible());
        QVERIFY(s.selection().isSelected(0, 0));
        QCOMPARE(s.results().size(), 3);
        QCOMPARE(s.gallery().drawnCount(), 0);
    }

    void allDataListsEverything()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        MWF::move(f.allDataButton);
        QCOMPARE(f.conditionStrip->text(), QStringLiteral("全サムネイル：データ数 5件"));
        MWF::press(f.allDataButton);
        MWF::release(f.allDataButton);
        fx.waitForDrawing();
        QCOMPARE(s.results(), QStringList({"アカネ", "オオイヌノフグリ", "ハコベ", "ヒルガオ", "ホトケノザ"}));
        QVERIFY(!s.selection().any());
        QCOMPARE(s.gallery().drawnCount(), 5);
        QVERIFY(s.buttons().allDataLatched());
        QCOMPARE(f.conditionStrip->text(), QStringLiteral("検索条件→データ全部"));
        MWF::click(f.attr[0][2]);  // a selecting click unlatches
        QVERIFY(!s.buttons().allDataLatched());
        QCOMPARE(s.results(), QStringList({"アカネ"}));
    }

    // 春, 黄色系, 花弁４枚型 and 対生 find nothing; the menu's entry, chosen
    // by its key, shows the flowers that miss by one panel, and each name
    // says which choice it does not meet. The next click searches as ever.
    void nearMissesFromTheMenu()
    {
        QVector<FlowerRecord> recs = catalogue();
        recs << record("イヌガラシ", "春", "黄色系", "花弁４枚型", "互生", "アブラナ科")
             << record("キツネノボタン", "春", "黄色系", "花弁５枚型", "対生", "その他");
        MWF fx(recs);
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MainMenu& m = fx.window->menu();
        QStringList said;  // what a screen reader was told unasked: notifications coming into view
        AccessibleNotice::setListener([&](QObject* o, QAccessible::Event type) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
            if (type == QAccessible::ObjectShow && iface && iface->role() == QAccessible::Notification)
                said << iface->text(QAccessible::Name);
        });
        for (PictureButton* b : {f.attr[0][0], f.attr[1][1], f.attr[2][0]})
            MWF::click(b);
        QCOMPARE(s.results(), QStringList({"イヌガラシ"}));
        m.prepare();
        QVERIFY(!m.nearMissesEntry->isEnabled());  // something was found
        MWF::click(f.attr[3][0]);
        QVERIFY(s.results().isEmpty());
        m.prepare();
        QVERIFY(m.nearMissesEntry->isEnabled());

        QSignalSpy chosen(m.topMenu, &QMenu::triggered);
        m.topMenu->popup(fx.window->mapToGlobal(QPoint(50, 50)));
        QVERIFY(QTest::qWaitForWindowExposed(m.topMenu));
        QTest::keyClick(m.topMenu, Qt::Key_K);
        QTRY_VERIFY(!m.topMenu->isVisible());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).value<QAction*>(), m.nearMissesEntry);
        m.run(m.nearMissesEntry);  // as the menu's exec() would hand it on
        fx.waitForDrawing();
        AccessibleNotice::setListener({});
        QCOMPARE(s.results(), QStringList({"イヌガラシ", "オオイヌノフグリ", "キツネノボタン"}));
        const QString notes[] = {QStringLiteral("葉のつき方が違います（対生ではなく互生）"),
                                 QStringLiteral("花の色が違います（黄色系ではなく青紫系）"),
                                 QStringLiteral("花弁の形が違います（花弁４枚型ではなく花弁５枚型）")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(f.cellNames[size_t(i)]->caption(), s.results()[i]);
            QVERIFY(f.cellNames[size_t(i)]->toolTip().startsWith(notes[i] + u'\n'));
            QCOMPARE(f.cellPictures[size_t(i)]->accessibleDescription(), notes[i]);
        }
        QVERIFY(!f.cellPictures[3]->isVisible());
        QVERIFY(said.contains(StatusTexts::nearMissesFound(3)));
        QVERIFY(f.conditionStrip->text().endsWith(QString::fromUtf8(StatusTexts::kNearMissesShown)));
        m.prepare();
        QVERIFY(!m.nearMissesEntry->isEnabled());

        MWF::click(f.attr[3][0]);  // 対生 released: the ordinary search
        QCOMPARE(s.results(), QStringList({"イヌガラシ"}));
        QCOMPARE(f.conditionStrip->text(), QStringLiteral("対生：データ数 4件"));  // the button's count, as ever
        QVERIFY(!f.cellPictures[0]->isVisible());
        QCOMPARE(f.cellPictures[0]->accessibleDescription(), QString());
    }

    void interruptAndResume()
    {
        QVector<FlowerRecord> many;
        for (int i = 0; i < 40; ++i)
            many << record(QStringLiteral("ハナ%1").arg(i, 2, 10, QLatin1Char('0')));
        MWF fx(many);
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        MWF::click(f.attr[0][0]);
        // The interrupt arrives between two thumbnails, as a user's click does.
        const WhenDrawn pause(s, 16, [&] {
            MWF::move(f.thumbnailButton);
            MWF::press(f.thumbnailButton);
            MWF::release(f.thumbnailButton);
        });
        MWF::click(f.thumbnailButton);
        QVERIFY(pause.acted());
        QVERIFY(s.suspended());
        const int drawn = s.gallery().drawnCount();
        QVERIFY(drawn >= 16 && drawn < 40);
        QVERIFY(f.progressBar->isVisible());
        QCOMPARE(s.strips().status(), QStringLiteral("サムネイルの表示を中断しました。%1/40枚。").arg(drawn));
        QVERIFY(s.buttons().thumbnailLooks().visible(ThumbnailLook::PointedShow) ||
                s.buttons().thumbnailLooks().visible(ThumbnailLook::IdleShow));
        MWF::click(f.thumbnailButton);  // resumes where it stopped
        QCOMPARE(s.gallery().drawnCount(), 40);
        QVERIFY(!f.progressBar->isVisible());
        QCOMPARE(f.galleryScroll->maximum(), 436 * 2);
        QCOMPARE(f.cellNames[0]->caption(), QStringLiteral("ハナ00"));
    }

    void longConditionLineScrolls()
    {
        MWF fx(catalogue());
        const MainControls& f = fx.form();
        BrowserSession& s = fx.session();
        for (int i = 0; i < 12; ++i)
            MWF::click(f.attr[4][size_t(i)]);
        MWF::click(f.attr[2][0]);
        const int w = f.conditionStrip->textWidth(f.conditionStrip->text());
        QVERIFY(w > 269 * 2);
        QCOMPARE(f.conditionStrip->x(), -(w - 269 + 6));
        const double start = s.strips().conditionLeft();
        MWF::release(f.conditionStrip, Qt::LeftButton, QPoint(5, 5));
        QCOMPARE(s.strips().conditionLeft(), std::min(0.0, start + 134.5 >= -2 ? 0.0 : start + 134.5));
        while (s.strips().conditionLeft() < 0)
            MWF::release(f.conditionStrip, Qt::LeftButton, QPoint(5, 5));
        QCOMPARE(f.conditionStrip->pos(), QPoint(0, 0));
        MWF::release(f.conditionStrip, Qt::RightButton, QPoint(5, 5));
        QCOMPARE(s.strips().conditionLeft(), -134.5);
        QCOMPARE(f.conditionStrip->y(), -1);
        int steps = 0;
        while (s.strips().conditionLeft() < 0 && steps++ < 100)
            MWF::release(f.conditionStrip, Qt::RightButton, QPoint(5, 5));
        QCOMPARE(f.conditionStrip->pos(), QPoint(0, 0));  // back to the start after the end
        QCOMPARE(steps, (1800 - 269) * 2 / 269 + 0);
    }
};

QTEST_MAIN(SearchFlowTest)
#include "SearchFlowTest.moc"
