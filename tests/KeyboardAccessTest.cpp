#include "assets/ArtPalette.h"
#include "catalogue/CategoryTables.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/PhotoWindow.h"
#include "mainwindow/PhotoWindows.h"
#include "session/StatusTexts.h"
#include "support/MainWindowFixture.h"
#include "widgets/AccessibleNotice.h"
#include "widgets/Announcer.h"
#include "widgets/HelpBox.h"
#include "widgets/NameLabel.h"
#include "widgets/Notice.h"
#include "widgets/PrintSurface.h"
#include "widgets/ThumbnailCell.h"

#include <QAccessible>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

using MWF = MainWindowFixture;
using TestCatalogues::record;

namespace {

// Spring and white flowers, and others that match neither.
QVector<FlowerRecord> flowers(int count = 24)
{
    QVector<FlowerRecord> recs;
    for (int i = 1; i <= count; ++i) {
        const bool odd = i % 2;
        recs << record(QStringLiteral("ハナ%1").arg(i, 2, 10, QLatin1Char('0')), odd ? "春" : "夏",
                       i % 3 ? "白系" : "黄色系");
    }
    return recs;
}

// The accessibility events a screen reader would get, by object and type,
// with the object's role and name as the bridge would read them then.
struct Heard {
    QObject* object;
    QAccessible::Event type;
    QAccessible::Role role;
    QString name;
};
std::vector<Heard>& heard()
{
    static std::vector<Heard> events;
    return events;
}
void listen(QObject* object, QAccessible::Event type)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    heard().push_back({object, type, iface ? iface->role() : QAccessible::NoRole,
                       iface ? iface->text(QAccessible::Name) : QString()});
}
bool wasHeard(QObject* o, QAccessible::Event type)
{
    return std::any_of(heard().begin(), heard().end(), [&](const Heard& h) { return h.object == o && h.type == type; });
}
// The texts a screen reader was told unasked: a notification that came into view.
QStringList announced()
{
    QStringList texts;
    for (const Heard& h : heard())
        if (h.type == QAccessible::ObjectShow && h.role == QAccessible::Notification)
            texts << h.name;
    return texts;
}

// A window that a keyboard user has in front of them.
struct KeyFixture : MWF {
    KeyFixture()
        : MWF(flowers())
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    // One key, as a keyboard sends it to the focused control.
    void key(const QString& token)
    {
        // clang-format off
        static const QHash<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
            {"Tab", {Qt::Key_Tab, Qt::NoModifier}},        {"S-Tab", {Qt::Key_Backtab, Qt::ShiftModifier}},
            {"Left", {Qt::Key_Left, Qt::NoModifier}},      {"Right", {Qt::Key_Right, Qt::NoModifier}},
            {"Up", {Qt::Key_Up, Qt::NoModifier}},          {"Down", {Qt::Key_Down, Qt::NoModifier}},
            {"Space", {Qt::Key_Space, Qt::NoModifier}},    {"Enter", {Qt::Key_Return, Qt::NoModifier}},
            {"S-Enter", {Qt::Key_Return, Qt::ShiftModifier}}, {"Menu", {Qt::Key_Menu, Qt::NoModifier}},
            {"S-F10", {Qt::Key_F10, Qt::ShiftModifier}},   {"PgDown", {Qt::Key_PageDown, Qt::NoModifier}},
            {"PgUp", {Qt::Key_PageUp, Qt::NoModifier}},
        };
        // clang-format on
        QVERIFY2(keys.contains(token), qPrintable(token));
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(to, keys[token].first, keys[token].second);
        waitForDrawing();
    }
    void keys(const QStringList& tokens)
    {
        for (const QString& t : tokens)
            key(t);
    }
    QString selected()
    {
        QStringList on;
        for (int c = 0; c < 5; ++c)
            for (int i = 0; i < CategoryTables::valueCount(c); ++i)
                if (session().selection().isSelected(c, i))
                    on << QStringLiteral("%1.%2").arg(c).arg(i);
        return on.join(u',');
    }
    // Which control has the focus, by its place.
    QString focused()
    {
        QWidget* f = QApplication::focusWidget();
        for (int c = 0; c < 5; ++c)
            for (int i = 0; i < 12; ++i)
                if (f && f == form().attr[size_t(c)][size_t(i)])
                    return QStringLiteral("attr %1.%2").arg(c).arg(i);
        const PictureButton* commands[] = {form().thumbnailButton, form().allDataButton, form().clearButton,
                                           form().quitButton};
        for (int i = 0; i < 4; ++i)
            if (f == commands[i])
                return QStringLiteral("command %1").arg(i);
        for (int i = 0; i < 16; ++i)
            if (f == form().cellNames[size_t(i)])
                return QStringLiteral("cell %1").arg(i);
        return f ? QString::fromLatin1(f->window()->metaObject()->className()) : QStringLiteral("none");
    }
};

}  // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { AccessibleNotice::setListener(listen); }
    void init() { heard().clear(); }

    // Flows from the keyboard alone, from the window as it opens (the focus
    // rests silently on the first season button).
    // clang-format off
    void keyboardFlows_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("drawn");
        QTest::addColumn<int>("photos");
        const QStringList toSpring = {"Tab", "S-Tab"};
        const QStringList toGallery = {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab"};  // from the season panel
        QTest::newRow("Tab to the colour panel") << QStringList{"Tab"} << "attr 1.0" << "" << 0 << 0;
        QTest::newRow("Space selects white") << QStringList{"Tab", "Space"} << "attr 1.0" << "1.0" << 0 << 0;
        QTest::newRow("Shift+Tab back, Enter selects spring")
            << (toSpring + QStringList{"Enter"}) << "attr 0.0" << "0.0" << 0 << 0;
        QTest::newRow("Right moves within the panel")
            << (toSpring + QStringList{"Right", "Space"}) << "attr 0.1" << "0.1" << 0 << 0;
        QTest::newRow("Left stops at the first button")
            << (toSpring + QStringList{"Left", "Space"}) << "attr 0.0" << "0.0" << 0 << 0;
        QTest::newRow("Down takes the second row of the family panel")
            << QStringList{"Tab", "Tab", "Tab", "Tab", "Right", "Down"} << "attr 4.7" << "" << 0 << 0;
        QTest::newRow("Space again releases")
            << (toSpring + QStringList{"Space", "Space"}) << "attr 0.0" << "" << 0 << 0;
        QTest::newRow("spring and white, Shift+Enter draws")
            << (toSpring + QStringList{"Space", "Tab", "S-Enter"}) << "attr 1.0" << "0.0,1.0" << 8 << 0;
        QTest::newRow("Tab after the panels: the command buttons")
            << QStringList{"Tab", "Tab", "Tab", "Tab", "Tab"} << "command 0" << "" << 0 << 0;
        QTest::newRow("show thumbnails by Enter")
            << (toSpring + QStringList{"Space", "Tab", "Tab", "Tab", "Tab", "Tab", "Enter"}) << "command 0" << "0.0"
            << 12 << 0;
        QTest::newRow("all data by Right, Enter")
            << QStringList{"Tab", "Tab", "Tab", "Tab", "Tab", "Right", "Enter"} << "command 1" << "" << 24 << 0;
        QTest::newRow("Enter on a cell opens its photo window")
            << (toSpring + QStringList{"S-Enter"} + toGallery + QStringList{"Enter"}) << "PhotoWindow" << "0.0" << 12
            << 1;
        QTest::newRow("arrows move between the cells")
            << (toSpring + QStringList{"S-Enter"} + toGallery + QStringList{"Right", "Down", "Left"}) << "cell 4"
            << "0.0" << 12 << 0;
        QTest::newRow("an empty gallery is no Tab stop")
            << QStringList{"Tab", "Tab", "Tab", "Tab", "Tab", "Tab"} << "attr 0.0" << "" << 0 << 0;
    }
    // clang-format on
    void keyboardFlows()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, focused);
        QFETCH(QString, selected);
        QFETCH(int, drawn);
        QFETCH(int, photos);
        KeyFixture fx;
        fx.picture(QStringLiteral("ハナ01.jpg"));
        fx.keys(keys);
        QCOMPARE(fx.selected(), selected);
        QCOMPARE(fx.session().gallery().drawnCount(), drawn);
        QCOMPARE(fx.window->session().photos().openCount(), photos);
        if (photos)
            QTRY_COMPARE(fx.focused(), focused);
        else
            QCOMPARE(fx.focused(), focused);
    }

    // What the keyboard leaves on screen is what the pointer leaves: the
    // count text, the message, the looks of the button.
    void keysShowWhatThePointerShows()
    {
        KeyFixture byKey;
        byKey.keys({"Tab", "S-Tab", "Right"});
        MWF byPointer(flowers());
        MWF::move(byPointer.form().attr[0][1]);
        QCOMPARE(byKey.form().conditionStrip->text(), QStringLiteral("夏：データ数 12件"));
        QCOMPARE(byKey.form().conditionStrip->text(), byPointer.form().conditionStrip->text());
        QCOMPARE(byKey.form().attr[0][1]->looks(), byPointer.form().attr[0][1]->looks());
        byKey.key("Space");
        MWF::click(byPointer.form().attr[0][1]);
        QCOMPARE(byKey.form().messageStrip->text(), byPointer.form().messageStrip->text());
        QCOMPARE(byKey.form().conditionStrip->text(), byPointer.form().conditionStrip->text());
        QCOMPARE(byKey.form().attr[0][1]->looks(), byPointer.form().attr[0][1]->looks());
    }

    // The focus mark shows only for focus that a key moved; a mouse user
    // never sees one, and the focus that rests on the first button as the
    // window opens neither points at it nor marks it.
    void focusMarkOnlyFromTheKeyboard()
    {
        KeyFixture fx;
        PictureButton* spring = fx.form().attr[0][0];
        QCOMPARE(QApplication::focusWidget(), spring);
        QVERIFY(!spring->focusMarkShown());
        QCOMPARE(spring->frontLook(), int(AttributeLook::Idle));
        const QColor plain = spring->grab().toImage().pixelColor(0, 0);
        MWF::click(fx.form().attr[1][0]);
        QCOMPARE(QApplication::focusWidget(), spring);  // a click takes no focus
        QVERIFY(!fx.form().attr[1][0]->focusMarkShown());
        fx.keys({"Tab", "S-Tab"});
        QVERIFY(spring->focusMarkShown());
        QImage marked = spring->grab().toImage();
        QCOMPARE(marked.pixelColor(0, 0), ArtPalette::panelCaption());
        QCOMPARE(marked.pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(plain != ArtPalette::panelCaption());
        // At twice the scale the lines are whole device pixels.
        spring->setAttribute(Qt::WA_DontShowOnScreen);
        QPixmap big(spring->size() * 2);
        big.setDevicePixelRatio(2);
        spring->render(&big);
        marked = big.toImage();
        QCOMPARE(marked.pixelColor(1, 1), ArtPalette::panelCaption());
        QCOMPARE(marked.pixelColor(2, 2), QColor(Qt::white));
        QCOMPARE(marked.pixelColor(3, 3), QColor(Qt::white));
    }

    // The pointer rests on ▶ while Tab and Space select 白系; a click on ▶
    // that comes without a move of the pointer shows the thumbnails.
    void clickWithoutMoveAfterAKeyReachesThePointedButton()
    {
        KeyFixture fx;
        MWF::click(fx.form().attr[0][0]);  // spring: 12 found
        MWF::move(fx.form().thumbnailButton);
        fx.keys({"Tab", "Space"});
        QCOMPARE(fx.selected(), QStringLiteral("0.0,1.0"));
        MWF::clickInPlace(fx.form().thumbnailButton);
        QCOMPARE(fx.session().gallery().drawnCount(), 8);  // spring and white
    }

    void helpKeyShowsTheHelpBox()
    {
        KeyFixture fx;
        fx.keys({"Tab", "S-Tab"});
        QTest::keyPress(fx.form().attr[0][0], Qt::Key_F1);
        QVERIFY(fx.form().helpBox->isVisible());
        QCOMPARE(fx.session().strips().helpBox().text, CategoryTables::helpText(0, 1));
        QTest::keyRelease(fx.form().attr[0][0], Qt::Key_F1);
        QVERIFY(!fx.form().helpBox->isVisible());
        QVERIFY(!fx.session().selection().any());
    }

    // F1 shows the help box the right button shows, on the button last
    // pointed at by the pointer or by the focus; a held F1's repeats neither
    // close nor open it again. route: "focus" (F1 to the focused button),
    // "pointer" (the pointer rests on the button, the focus is on none) or
    // "both" (the pointer moved onto the button after the focus went to 春).
    // clang-format off
    void helpKeyExplainsAsTheRightButton_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("index");
        QTest::newRow("focus on 春") << "focus" << 0 << 0;
        QTest::newRow("focus on その他の科") << "focus" << 4 << 11;
        QTest::newRow("pointer on カヤツリグサ科") << "pointer" << 4 << 3;
        QTest::newRow("pointer on 白系, focus on 春") << "both" << 1 << 0;
    }
    // clang-format on
    void helpKeyExplainsAsTheRightButton()
    {
        QFETCH(QString, route);
        QFETCH(int, category);
        QFETCH(int, index);
        KeyFixture fx;
        PictureButton* spring = fx.form().attr[0][0];
        PictureButton* target = fx.form().attr[size_t(category)][size_t(index)];
        const HelpBox* box = fx.form().helpBox;
        MWF::move(target);
        MWF::press(target, Qt::RightButton);
        QVERIFY(box->isVisible());
        const QString byMouse = fx.session().strips().helpBox().text;
        QCOMPARE(byMouse, CategoryTables::helpText(category, index + 1));
        MWF::release(target, Qt::RightButton);
        QVERIFY(!box->isVisible());

        QWidget* receiver = target;
        if (route == "pointer") {
            fx.window->setFocus();  // no button has the focus
            receiver = fx.window.get();
        } else {
            MWF::move(fx.window.get());  // the pointer leaves the buttons
            spring->setFocus(Qt::TabFocusReason);
            receiver = spring;
            if (route == "both") {
                MWF::move(target);
            } else {
                target->setFocus(Qt::TabFocusReason);
                receiver = target;
            }
        }
        QSignalSpy boxChanges(&fx.session().strips(), &StatusStrips::helpBoxChanged);
        auto f1 = [receiver](QEvent::Type type, bool repeat) {
            QKeyEvent e(type, Qt::Key_F1, Qt::NoModifier, QString(), repeat);
            QApplication::sendEvent(receiver, &e);
        };
        f1(QEvent::KeyPress, false);
        QVERIFY(box->isVisible());
        QCOMPARE(fx.session().strips().helpBox().text, byMouse);
        const int opened = int(boxChanges.size());
        for (int n = 0; n < 5; ++n) {  // a held key repeats as release-press pairs
            f1(QEvent::KeyRelease, true);
            f1(QEvent::KeyPress, true);
            // The pointer watch's tick while the pointer rests outside the window.
            fx.session().pointerLeftWindow();
        }
        QCOMPARE(int(boxChanges.size()), opened);
        QVERIFY(box->isVisible());
        f1(QEvent::KeyRelease, false);
        QVERIFY(!box->isVisible());
        QVERIFY(!fx.session().selection().any());
    }

    void pageKeysScrollTheGallery()
    {
        KeyFixture fx;
        fx.keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Right", "Enter"});  // all 24
        QScrollBar* bar = fx.form().galleryScroll;
        QVERIFY(bar->maximum() > 0);
        fx.key("PgDown");
        QCOMPARE(bar->value(), std::min(bar->maximum(), GalleryModel::kPage));
        QCOMPARE(fx.session().gallery().scrollValue(), bar->value());
        fx.key("PgUp");
        QCOMPARE(bar->value(), 0);
    }

    // clang-format off
    void menuKeysOpenTheMenu_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("Menu") << "Menu";
        QTest::newRow("Shift+F10") << "S-F10";
    }
    // clang-format on
    void menuKeysOpenTheMenu()
    {
        QFETCH(QString, key);
        KeyFixture fx;
        fx.keys({"Tab"});
        QWidget* popup = nullptr;
        QTimer::singleShot(0, [&] {
            popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
        });
        fx.key(key);
        QVERIFY(popup);
        QCOMPARE(popup, static_cast<QWidget*>(fx.window->menu().topMenu));
        // Beside the focused button, not where the pointer happens to be.
        const QRect button(fx.form().attr[1][0]->mapToGlobal(QPoint(0, 0)), fx.form().attr[1][0]->size());
        QVERIFY(popup->geometry().contains(button.center()) || popup->geometry().topLeft() == button.center());
    }

    void escClosesAPhotoWindow()
    {
        KeyFixture fx;
        fx.picture(QStringLiteral("ハナ01.jpg"));
        fx.keys({"Tab", "S-Tab", "S-Enter", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Enter"});
        PhotoWindow* w = fx.window->photos().window(1);
        QVERIFY(w);
        QCOMPARE(fx.window->session().photos().openCount(), 1);
        QAccessibleInterface* note = QAccessible::queryAccessibleInterface(w->note());
        QVERIFY(note && note->textInterface());
        QCOMPARE(note->textInterface()->text(0, note->textInterface()->characterCount()),
                 QStringLiteral("ハナ01の解説"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description),
                 QStringLiteral("ハナ01の解説"));
        QTest::keyClick(w->note(), Qt::Key_Escape);
        QApplication::processEvents();
        QCOMPARE(fx.window->session().photos().openCount(), 0);
        QCOMPARE(fx.form().cellNames[0]->colour(), NameLabel::kGreen);
    }

    // Every attribute button says its attribute, its count and whether it
    // is selected.
    void attributeButtonsSpeak()
    {
        KeyFixture fx;
        int buttons = 0;
        for (int c = 0; c < 5; ++c)
            for (int i = 0; i < CategoryTables::valueCount(c); ++i) {
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(fx.form().attr[size_t(c)][size_t(i)]);
                QVERIFY(a);
                QCOMPARE(a->role(), QAccessible::CheckBox);
                QCOMPARE(a->text(QAccessible::Name), CategoryTables::spokenName(c, i + 1));
                QCOMPARE(a->text(QAccessible::Description), StatusTexts::attributeCount(fx.context->catalogue(), c, i));
                QVERIFY(a->state().checkable);
                QVERIFY(!a->state().checked);
                ++buttons;
            }
        QCOMPARE(buttons, 34);
        QAccessibleInterface* spring = QAccessible::queryAccessibleInterface(fx.form().attr[0][0]);
        QCOMPARE(spring->text(QAccessible::Description), QStringLiteral("春：データ数 12件"));
        fx.keys({"Tab", "S-Tab", "Space"});
        QVERIFY(spring->state().checked);
        QVERIFY(wasHeard(fx.form().attr[0][0], QAccessible::StateChanged));
        // The press action takes the keyboard's path: it releases again.
        QVERIFY(spring->actionInterface());
        spring->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!spring->state().checked);
        QVERIFY(!fx.session().selection().any());
    }

    // A button's name stands alone: "その他" says its panel, and the
    // half-width family names are spoken in full-width katakana; the stored
    // names stay as the records hold them.
    // clang-format off
    void namesThatStandAlone_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::newRow("colour その他") << 1 << 4 << "その他の色";
        QTest::newRow("petal その他") << 2 << 9 << "その他の花弁";
        QTest::newRow("family その他") << 4 << 11 << "その他の科";
        QTest::newRow("カヤツリグサ科") << 4 << 3 << "カヤツリグサ科";
        QTest::newRow("ゴマノハグサ科") << 4 << 5 << "ゴマノハグサ科";
        QTest::newRow("full-width digit kept") << 2 << 0 << "花弁４枚型";
        QTest::newRow("春") << 0 << 0 << "春";
    }
    // clang-format on
    void namesThatStandAlone()
    {
        QFETCH(int, category);
        QFETCH(int, index);
        QFETCH(QString, name);
        MWF fx(flowers(40));
        QWidget* button = fx.form().attr[size_t(category)][size_t(index)];
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), name);
    }

    // A window is a frame named by its title.
    void windowsAreNamedByTheirTitles()
    {
        MWF fx(flowers(40));
        MWF::click(fx.form().allDataButton);
        fx.waitForDrawing();
        MWF::click(fx.form().cellNames[0]);
        QCOMPARE(fx.session().photos().openCount(), 1);
        PhotoWindow* photo = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<PhotoWindow*>(w); p && p->isVisible())
                photo = p;
        QVERIFY(photo);
        for (QWidget* w : std::initializer_list<QWidget*>{fx.window.get(), photo}) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QCOMPARE(a->role(), QAccessible::Window);
            QVERIFY(!w->windowTitle().isEmpty());
            QCOMPARE(a->text(QAccessible::Name), w->windowTitle());
        }
    }

    void commandButtonsSayWhatTheyDo()
    {
        MWF fx(flowers(40));
        auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
        QCOMPARE(name(fx.form().thumbnailButton), QStringLiteral("サムネイルの表示"));
        QCOMPARE(name(fx.form().allDataButton), QStringLiteral("全サムネイルの表示"));
        QCOMPARE(name(fx.form().clearButton), QStringLiteral("すべてをクリア"));
        QCOMPARE(name(fx.form().quitButton), QStringLiteral("ソノハの終了"));
        QCOMPARE(QAccessible::queryAccessibleInterface(fx.form().allDataButton)->role(), QAccessible::Button);
        fx.session().showAll();
        QApplication::processEvents();
        QVERIFY(fx.session().drawing());
        QCOMPARE(name(fx.form().thumbnailButton), QStringLiteral("サムネイルの表示を中断"));
        QVERIFY(QAccessible::queryAccessibleInterface(fx.form().allDataButton)->state().pressed);  // latched
        QVERIFY(wasHeard(fx.form().thumbnailButton, QAccessible::NameChanged));
        fx.session().interrupt();
        fx.waitForDrawing();  // the interrupt lands at the drawing's next step
        QCOMPARE(name(fx.form().thumbnailButton), QStringLiteral("サムネイルの表示を継続"));
    }

    void cellsAndTheMessageStripSpeak()
    {
        KeyFixture fx;
        fx.keys({"Tab", "S-Tab", "S-Enter"});
        QCOMPARE(QAccessible::queryAccessibleInterface(fx.form().cellNames[0])->text(QAccessible::Name),
                 QStringLiteral("ハナ01"));
        QCOMPARE(QAccessible::queryAccessibleInterface(fx.form().cellNames[11])->text(QAccessible::Name),
                 QStringLiteral("ハナ23"));
        QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(fx.form().messageStrip);
        QCOMPARE(strip->text(QAccessible::Name), fx.form().messageStrip->text());
        QVERIFY(!fx.form().messageStrip->text().isEmpty());
        // A status bar named by its text; Qt tells the change of name. (A value
        // change, as once sent, is dropped by the AT-SPI bridge for an object
        // without a value.)
        QCOMPARE(strip->role(), QAccessible::StatusBar);
        QVERIFY(!wasHeard(fx.form().messageStrip, QAccessible::ValueChanged));
    }

    // A filled cell is a button (its name) and an image (its picture), both
    // named by the flower, whose press opens the photo window as a click
    // does; an emptied cell is a nameless filler without action that the
    // focus cannot take. state: "filled", "beyond the result" (cells 12 to
    // 15 of 12 flowers) or "cleared" (the Clear button emptied the gallery).
    // clang-format off
    void galleryCellsCanBePressed_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("name");
        QTest::newRow("filled") << "filled" << 3 << "ハナ07";
        QTest::newRow("beyond the result") << "beyond the result" << 13 << "";
        QTest::newRow("cleared") << "cleared" << 0 << "";
    }
    // clang-format on
    void galleryCellsCanBePressed()
    {
        QFETCH(QString, state);
        QFETCH(int, cell);
        QFETCH(QString, name);
        KeyFixture fx;
        fx.keys({"Tab", "S-Tab", "S-Enter"});  // the twelve spring flowers drawn
        if (state == QLatin1String("cleared"))
            fx.session().clear();
        QApplication::processEvents();
        NameLabel* label = fx.form().cellNames[size_t(cell)];
        ThumbnailCell* picture = fx.form().cellPictures[size_t(cell)];
        QAccessibleInterface* labelIface = QAccessible::queryAccessibleInterface(label);
        QAccessibleInterface* pictureIface = QAccessible::queryAccessibleInterface(picture);
        QCOMPARE(labelIface->text(QAccessible::Name), name);
        QCOMPARE(pictureIface->text(QAccessible::Name), name);
        if (name.isEmpty()) {
            for (QAccessibleInterface* i : {labelIface, pictureIface}) {
                QCOMPARE(i->role(), QAccessible::Client);
                QVERIFY(i->actionInterface()->actionNames().isEmpty());
                QVERIFY(!i->state().focusable);
                QVERIFY(i->text(QAccessible::Description).isEmpty());
            }
            return;
        }
        QCOMPARE(labelIface->role(), QAccessible::Button);
        QCOMPARE(pictureIface->role(), QAccessible::Graphic);
        QVERIFY(!labelIface->text(QAccessible::Description).isEmpty());  // its attributes
        const QString press = QAccessibleActionInterface::pressAction();
        QCOMPARE(labelIface->actionInterface()->actionNames(), QStringList{press});
        QCOMPARE(pictureIface->actionInterface()->actionNames(), QStringList{press});
        labelIface->actionInterface()->doAction(press);
        QCOMPARE(fx.session().photos().openCount(), 1);
        QVERIFY(fx.window->photos().window(7));
        QCOMPARE(label->colour(), NameLabel::kRed);
        pictureIface->actionInterface()->doAction(press);  // as a second click: closes it
        QCOMPARE(fx.session().photos().openCount(), 0);
    }

    // A finished search tells its result unasked, in the strip's words, as a
    // notification that comes into view: the AT-SPI bridge of Qt 6.4 passes
    // that on, where it drops an alert. The same result twice is told twice;
    // a result told right after another leaves the other's text in place.
    // clang-format off
    void searchResultIsAnnounced_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("texts");
        const QString none = QString::fromUtf8(StatusTexts::kNotFound);
        const QString prompt = QString::fromUtf8(StatusTexts::kPrompt);
        QTest::newRow("spring") << QStringList{"Tab", "S-Tab", "Enter"} << QStringList{StatusTexts::found(12)};
        QTest::newRow("spring and white")
            << QStringList{"Tab", "S-Tab", "Enter", "Tab", "Space"}
            << QStringList{StatusTexts::found(12), StatusTexts::found(8)};
        QTest::newRow("spring and a colour none has")
            << QStringList{"Tab", "S-Tab", "Enter", "Tab", "Right", "Right", "Space"}
            << QStringList{StatusTexts::found(12), none};
        QTest::newRow("spring released")
            << QStringList{"Tab", "S-Tab", "Enter", "Enter"} << QStringList{StatusTexts::found(12), prompt};
        QTest::newRow("spring with thumbnails")
            << QStringList{"Tab", "S-Tab", "S-Enter"} << QStringList{StatusTexts::found(12), StatusTexts::drawn(12)};
        QTest::newRow("spring, released, again")
            << QStringList{"Tab", "S-Tab", "Enter", "Enter", "Enter"}
            << QStringList{StatusTexts::found(12), prompt, StatusTexts::found(12)};
    }
    // clang-format on
    void searchResultIsAnnounced()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, texts);
        KeyFixture fx;
        QVERIFY(announced().isEmpty());
        const Announcer* announcer = fx.form().announcer;
        auto notice = [&](int i) { return QAccessible::queryAccessibleInterface(announcer->notice(i)); };
        for (int i = 0; i < Announcer::kNotices; ++i)
            QVERIFY(notice(i)->state().invisible);  // nothing told yet
        fx.keys(keys);
        QCOMPARE(announced(), texts);
        QCOMPARE(announcer->text(), texts.last());
        // The notices are taken in turn, and one told keeps its text when the
        // next is told: a screen reader reads it only when it comes to it.
        int shown = 0;
        for (int i = 0; i < int(texts.size()); ++i) {
            QAccessibleInterface* n = notice(i);
            QCOMPARE(n->role(), QAccessible::Notification);
            QCOMPARE(n->text(QAccessible::Name), texts[i]);
            QVERIFY(!n->state().focusable);
            shown += !n->state().invisible;
        }
        QCOMPARE(shown, 1);
        QVERIFY(!notice(int(texts.size()) - 1)->state().invisible);
        const auto hides = std::count_if(heard().begin(), heard().end(), [&](const Heard& h) {
            return h.role == QAccessible::Notification && h.type == QAccessible::ObjectHide;
        });
        QCOMPARE(int(hides), int(texts.size()) - 1);
    }

    // The condition strip is named by its condition; the help box that F1
    // brings up is a tool tip named by its explanation.
    void stripsAndHelpBoxSayTheirText()
    {
        KeyFixture fx;
        fx.keys({"Tab", "S-Tab", "Enter", "Tab", "Space"});
        QAccessibleInterface* condition = QAccessible::queryAccessibleInterface(fx.form().conditionStrip);
        QCOMPARE(condition->text(QAccessible::Name), QStringLiteral("検索条件→春，白系"));
        QCOMPARE(condition->role(), QAccessible::StatusBar);
        QTest::keyPress(fx.form().attr[1][0], Qt::Key_F1);
        QAccessibleInterface* help = QAccessible::queryAccessibleInterface(fx.form().helpBox);
        QCOMPARE(help->role(), QAccessible::ToolTip);
        QCOMPARE(help->text(QAccessible::Name), CategoryTables::helpText(1, 1));
        QVERIFY(!help->state().invisible);
        QTest::keyRelease(fx.form().attr[1][0], Qt::Key_F1);
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "KeyboardAccessTest.moc"
