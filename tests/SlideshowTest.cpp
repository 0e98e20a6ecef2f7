#include "generators/SoundSynth.h"
#include "platform/MidiLength.h"
#include "platform/SdlAudio.h"
#include "platform/SdlMusicPlayer.h"
#include "platform/fake/FakePlatform.h"
#include "session/AppContext.h"
#include "slideshow/BackgroundMusic.h"
#include "slideshow/PanelButton.h"
#include "slideshow/SlideInterval.h"
#include "slideshow/SlideLayout.h"
#include "slideshow/SlidePicture.h"
#include "slideshow/SlideReadAhead.h"
#include "slideshow/SlideSequence.h"
#include "slideshow/SlideshowLauncher.h"
#include "slideshow/SlideshowMemory.h"
#include "slideshow/SlideshowPanel.h"
#include "slideshow/SlideshowWindow.h"
#include "tests/support/Metafiles.h"

#include "tests/support/TestCatalogues.h"
#include <QAccessible>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using TestCatalogues::record;
Q_DECLARE_METATYPE(SlideshowPanel::Button)

namespace {

// Plays a sequence through n timed steps; the first entry is the slide
// shown at the start.
QList<int> play(SlideSequence& s, int steps)
{
    QList<int> shown{s.start()};
    for (int i = 0; i < steps; ++i)
        shown << s.step();
    return shown;
}

// A GIF of one colour: every pixel is coded after a clear code, so the code
// size stays at three bits and no table is needed.
QByteArray gifOfSize(quint16 w, quint16 h)
{
    QByteArray b("GIF89a");
    QDataStream s(&b, QIODevice::Append);
    s.setByteOrder(QDataStream::LittleEndian);
    s << w << h << quint8(0x81) << quint8(0) << quint8(0);  // 4-colour table
    for (int i = 0; i < 4; ++i)
        s << quint8(0) << quint8(i == 0 ? 128 : 0) << quint8(0);
    s << quint8(0x2C) << quint16(0) << quint16(0) << w << h << quint8(0) << quint8(2);
    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << bits;
        for (bits += 3; bits >= 8; bits -= 8, acc >>= 8)
            data.append(char(acc & 0xFF));
    };
    for (int i = 0; i < int(w) * h; ++i) {
        put(4);  // clear
        put(0);
    }
    put(5);  // end
    if (bits > 0)
        data.append(char(acc & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        s << quint8(block.size());
        s.writeRawData(block.constData(), int(block.size()));
    }
    s << quint8(0) << quint8(0x3B);
    return b;
}

// A Standard MIDI File of the given tracks (their events, each a delta time
// in ticks and the bytes after it), every track closed by its end event.
using MidiTrack = QList<QPair<int, QByteArray>>;
QByteArray midiFile(int format, quint16 division, const QList<MidiTrack>& tracks, bool closeTracks = true)
{
    auto big = [](QByteArray& out, quint32 v, int n) {
        for (int i = n - 1; i >= 0; --i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    QByteArray out("MThd");
    big(out, 6, 4);
    big(out, quint32(format), 2);
    big(out, quint32(tracks.size()), 2);
    big(out, division, 2);
    for (const MidiTrack& t : tracks) {
        QByteArray body;
        for (const auto& [delta, bytes] : t) {
            quint32 v = quint32(delta), buffer = v & 0x7F;
            while (v >>= 7)
                buffer = (buffer << 8) | 0x80 | (v & 0x7F);
            for (;; buffer >>= 8) {
                body.append(char(buffer & 0xFF));
                if (!(buffer & 0x80))
                    break;
            }
            body += bytes;
        }
        if (closeTracks)
            body += QByteArray("\x00\xFF\x2F\x00", 4);
        out += "MTrk";
        big(out, quint32(body.size()), 4);
        out += body;
    }
    return out;
}

// A BMP header claiming a picture of w x h pixels, with no pixels after it.
QByteArray bmpClaiming(qint32 w, qint32 h)
{
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("BM", 2);
    s << quint32(54) << quint32(0) << quint32(54);
    s << quint32(40) << w << h << quint16(1) << quint16(32) << quint32(0) << quint32(0) << qint32(2835) << qint32(2835)
      << quint32(0) << quint32(0);
    return b;
}

QList<int> permutationOf(const SlideSequence& s)
{
    QList<int> p;
    for (size_t i = 1; i < s.randomList().size(); ++i)
        p << s.randomList()[i];
    return p;
}

// An application folder with a catalogue in memory, its pictures in data/,
// and every platform service faked.
struct ShowFixture {
    explicit ShowFixture(int records = 3)
    {
        static const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.startsWith(QLatin1String("This plugin does not support")))
                    previous(type, context, message);
            });
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        app = std::make_unique<AppContext>(dir.path(), fake.platform);
        for (int i = 1; i <= records; ++i) {
            const QString name = QStringLiteral("ハナ%1").arg(i);
            FlowerRecord r = record(name);
            r.SYASIN = QStringLiteral("p%1.jpg").arg(i);
            app->catalogue().append(r);
            picture(r.SYASIN, QSize(160, 120));
        }
        QImage placeholder(320, 240, QImage::Format_RGB32);
        placeholder.fill(Qt::gray);
        placeholder.save(app->pathOf(QStringLiteral("NoFile.jpg")));
    }

    ~ShowFixture() { delete show.data(); }

    void picture(const QString& name, QSize size, const char* format = nullptr)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(app->pathOf(QStringLiteral("data/") + name), format));
    }
    void setStored(int slot, const QString& storedName)
    {
        FlowerRecord r = app->catalogue().slot(slot);
        r.SYASIN = storedName;
        QList<FlowerRecord> all;
        for (int i = 1; i <= app->catalogue().count(); ++i)
            all << (i == slot ? r : app->catalogue().slot(i));
        app->catalogue().clear();
        for (const FlowerRecord& x : all)
            app->catalogue().append(x);
    }
    QString setting(const char* key) const
    {
        return app->settings().file().readText(QStringLiteral("Sonoha347"), QString::fromLatin1(key),
                                               QStringLiteral("(none)"));
    }

    // A show on a fixed area of 1024 x 768, not yet begun.
    SlideshowWindow* window(SlideOrder order = SlideOrder::Kana, bool readAhead = true)
    {
        SlideshowWindow::Options o;
        o.readAhead = readAhead;
        o.area = QRect(0, 0, 1024, 768);
        delete show.data();
        show = new SlideshowWindow(*app, order, memory, nullptr, nullptr, o);
        return show.data();
    }

    static void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton b = Qt::LeftButton)
    {
        QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), type == QEvent::MouseMove ? Qt::NoButton : b,
                      type == QEvent::MouseButtonPress ? Qt::MouseButtons(b) : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static void key(QWidget* w, int k, const QString& text = QString())
    {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(w, &e);
    }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<AppContext> app;
    SlideshowMemory memory;
    QPointer<SlideshowWindow> show;
};

}  // namespace

class SlideshowTest : public QObject {
    Q_OBJECT

private slots:
    // A screen reader hears each slide's name and family as the description
    // of the show's window, which is named by its title, even while the name
    // line is hidden.
    void slidesSpeak()
    {
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        QAccessibleInterface* show = QAccessible::queryAccessibleInterface(w);
        QCOMPARE(show->role(), QAccessible::Window);
        QCOMPARE(show->text(QAccessible::Name), w->windowTitle());
        QCOMPARE(show->text(QAccessible::Description), QStringLiteral("ハナ1   ― キク科 ―"));
        QVERIFY(!show->state().focusable);  // the keys are on it, but Tab goes round the panel
        QVERIFY(!w->nameLine()->isVisible());
    }

    // Each button of the column: a toggle is a check box that is checked
    // while its text shows, a button that opens a part of the panel is
    // expanded while it is open, and every one is pressed by its action.
    // clang-format off
    void panelButtonsSpeak_data()
    {
        QTest::addColumn<SlideshowPanel::Button>("button");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("nameOpen");  // after the press
        QTest::newRow("description") << SlideshowPanel::Button::Description << QAccessible::CheckBox
                                     << "解説を表示" << "解説を表示";
        QTest::newRow("name") << SlideshowPanel::Button::Name << QAccessible::CheckBox
                              << "草花名，科を表示" << "草花名，科を表示";
        QTest::newRow("music") << SlideshowPanel::Button::Music << QAccessible::Button
                               << "BGMの選曲" << "BGMを非表示";
        QTest::newRow("interval") << SlideshowPanel::Button::Interval << QAccessible::Button
                                  << "インターバルの設定" << "インターバルを更新";
        QTest::newRow("quit") << SlideshowPanel::Button::Quit << QAccessible::Button
                              << "スライドショーの終了" << "";
    }
    // clang-format on
    void panelButtonsSpeak()
    {
        QFETCH(SlideshowPanel::Button, button);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, nameOpen);
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        PanelButton* b = w->panel()->button(button);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        QCOMPARE(a->role(), role);
        QCOMPARE(a->text(QAccessible::Name), name);
        QVERIFY(a->state().focusable);
        QVERIFY(!a->state().checked && !a->state().expanded);
        QAccessibleActionInterface* act = a->actionInterface();
        QVERIFY(act && act->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy ended(w, &SlideshowWindow::ended);
        act->doAction(QAccessibleActionInterface::pressAction());
        if (button == SlideshowPanel::Button::Quit) {
            QCOMPARE(ended.size(), 1);
            return;
        }
        QCOMPARE(a->text(QAccessible::Name), nameOpen);
        QCOMPARE(b->look(), PanelLook::Pressed);
        QCOMPARE(role == QAccessible::CheckBox ? a->state().checked : a->state().expanded, true);
        QCOMPARE(a->state().checkable, role == QAccessible::CheckBox);
        if (button == SlideshowPanel::Button::Interval)
            w->panel()->intervalBox()->setText(QStringLiteral("5"));
        act->doAction(QAccessibleActionInterface::pressAction());  // closes again
        QCOMPARE(b->look(), PanelLook::Idle);
        QCOMPARE(a->text(QAccessible::Name), name);
        QVERIFY(!a->state().checked && !a->state().expanded);
        QCOMPARE(ended.size(), 0);
    }

    // The music choices are radio buttons; closed, the list is not showing.
    void musicChoicesSpeak()
    {
        ShowFixture fx;
        fx.app->settings().writeBgm(3);
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        SlideshowPanel* p = w->panel();
        for (int i = 0; i < SlideshowPanel::kChoices; ++i)
            QVERIFY(QAccessible::queryAccessibleInterface(p->choice(i))->state().invisible);
        p->button(SlideshowPanel::Button::Music)->activate();
        for (int i = 0; i < SlideshowPanel::kChoices; ++i) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p->choice(i));
            QCOMPARE(a->role(), QAccessible::RadioButton);
            QCOMPARE(a->text(QAccessible::Name), BackgroundMusic::caption(i));
            QCOMPARE(a->text(QAccessible::Description), QStringLiteral("BGMの選曲"));
            QVERIFY(!a->state().invisible);
            QCOMPARE(a->state().checked, i == 3);
        }
        // A screen reader's action chooses as a click does.
        fx.fake.music.log.clear();
        QAccessible::queryAccessibleInterface(p->choice(7))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(fx.setting("BGM_check"), QStringLiteral("7"));
        QCOMPARE(fx.fake.music.log.value(0), QStringLiteral("close"));  // stopped at once
        QVERIFY(!w->musicWatched());
        QVERIFY(QAccessible::queryAccessibleInterface(p->choice(7))->state().checked);
    }

    // With the keys alone: Tab down the column, the music chosen in its
    // list, the interval set in its box, and the show ended.
    void keyboardAlone()
    {
        ShowFixture fx;
        fx.app->settings().writeBgm(2);
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        QVERIFY(QTest::qWaitForWindowActive(w));
        SlideshowPanel* p = w->panel();
        using B = SlideshowPanel::Button;
        auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
        auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
        QCOMPARE(QApplication::focusWidget(), w);
        QVERIFY(w->panel()->focusMark().isEmpty());
        for (B b : {B::Name, B::Description, B::Music, B::Interval, B::Quit}) {
            tab();
            QCOMPARE(QApplication::focusWidget(), p->button(b));
            QCOMPARE(p->focusMark(), p->button(b)->geometry().adjusted(-4, -4, 4, 4));
            QVERIFY(p->tooltip(b)->isVisible());
        }
        // The mark is drawn round the button, light on the black.
        const QImage shot = w->grab().toImage();
        const QRect mark = p->focusMark();
        QCOMPARE(shot.pixelColor(mark.left() + 1, mark.center().y()), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(mark.center().x() - 8, mark.center().y()), QColor(Qt::black));

        // Space on a toggle shows the name line.
        p->button(B::Name)->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Space);
        QVERIFY(w->nameShown());
        QCOMPARE(p->tooltip(B::Name)->text(), QStringLiteral("草花名，科を非表示"));
        QCOMPARE(w->sequence().state(), ShowState::Running);  // Space did not pause

        // Enter opens the music list at the checked choice; the arrows move
        // without choosing; Enter chooses.
        p->button(B::Music)->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Return);
        QVERIFY(p->musicListOpen() && p->choice(0)->isVisible());
        QCOMPARE(QApplication::focusWidget(), p->choice(2));
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), p->choice(4));
        QVERIFY(p->choice(2)->isChecked());
        key(Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), p->choice(3));
        fx.fake.music.log.clear();
        key(Qt::Key_Return);
        QVERIFY(p->choice(3)->isChecked());
        QCOMPARE(fx.setting("BGM_check"), QStringLiteral("3"));
        QCOMPARE(fx.fake.music.log, QStringList{"close"});
        QTRY_COMPARE_WITH_TIMEOUT(fx.fake.music.log, (QStringList{"close", "open:industrial.mid", "play"}), 5000);
        // Space chooses too, as on any radio button.
        key(Qt::Key_Down);
        key(Qt::Key_Space);
        QCOMPARE(fx.setting("BGM_check"), QStringLiteral("4"));
        // The list is one Tab stop, at its checked choice.
        key(Qt::Key_Down);
        tab();
        QCOMPARE(QApplication::focusWidget(), p->button(B::Interval));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), p->choice(4));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), p->button(B::Music));
        key(Qt::Key_Space);  // closed again
        QVERIFY(!p->musicListOpen() && !p->choice(4)->isVisible());
        QCOMPARE(QApplication::focusWidget(), p->button(B::Music));

        // The interval: the box takes the keys, Enter applies, and the keys
        // go on from the button.
        tab();
        key(Qt::Key_Space);
        QCOMPARE(QApplication::focusWidget(), p->intervalBox());
        QCOMPARE(QAccessible::queryAccessibleInterface(p->intervalBox())->text(QAccessible::Name),
                 QStringLiteral("インターバル"));
        p->intervalBox()->selectAll();
        QTest::keyClicks(p->intervalBox(), QStringLiteral("12"));
        key(Qt::Key_Return);
        QCOMPARE(w->stepMs(), 12000);
        QCOMPARE(fx.setting("SLD_check"), QStringLiteral("12"));
        QVERIFY(!p->intervalBox()->isVisible());
        QCOMPARE(QApplication::focusWidget(), p->button(B::Interval));
        QCOMPARE(p->tooltip(B::Interval)->text(), QStringLiteral("インターバルの設定"));

        // Enter on the quit button ends the show.
        QSignalSpy ended(w, &SlideshowWindow::ended);
        tab();
        QCOMPARE(QApplication::focusWidget(), p->button(B::Quit));
        tab();  // round the panel, not through the show
        QCOMPARE(QApplication::focusWidget(), p->button(B::Name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        key(Qt::Key_Return);
        QCOMPARE(ended.size(), 1);
    }

    // A click does not take the focus, and shows no mark.
    void clicksLeaveTheFocus()
    {
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        QVERIFY(QTest::qWaitForWindowActive(w));
        PanelButton* b = w->panel()->button(SlideshowPanel::Button::Name);
        ShowFixture::mouse(b, QEvent::MouseMove, QPoint(8, 8));
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
        QVERIFY(w->nameShown());
        QCOMPARE(QApplication::focusWidget(), w);
        QVERIFY(w->panel()->focusMark().isEmpty());
    }

    // At the end of the program the slide read ahead is dropped: a decode
    // under way gives up at its next read and shows nothing.
    void aCancelledSlideDecodeGivesUp()
    {
        QTemporaryDir dir;
        QImage img(800, 600, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        const QString path = dir.filePath(QStringLiteral("s.png"));
        QVERIFY(img.save(path));
        QSize shown;
        std::atomic<bool> cancel{true};
        QVERIFY(SlidePicture::decodeFitted(path, QSize(400, 300), 1.0, &shown, &cancel).isNull());
        cancel = false;
        QCOMPARE(SlidePicture::decodeFitted(path, QSize(400, 300), 1.0, &shown, &cancel).size(), QSize(400, 300));
    }

    // A metafile slide is drawn at the size it is shown.
    void metafileSlidesAreDrawnAtTheirShownSize()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.wmf"));
        QVERIFY(Metafiles::write(path, QSize(640, 480), Qt::blue));
        QSize shown;
        const QImage slide = SlidePicture::decodeFitted(path, QSize(320, 320), 2.0, &shown);
        QCOMPARE(shown, QSize(320, 240));
        QCOMPARE(slide.size(), QSize(640, 480));
        QCOMPARE(slide.pixelColor(320, 240), QColor(Qt::blue));
    }

    // --- order of the slides -------------------------------------------

    // clang-format off
    void catalogueOrder_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("one record") << 1 << QList<int>{1, 1, 1};
        QTest::newRow("three wrap to the first") << 3 << QList<int>{1, 2, 3, 1, 2, 3, 1};
    }
    // clang-format on
    void catalogueOrder()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, shown);
        FakePlatform f;
        SlideshowMemory memory;
        SlideSequence s(SlideOrder::Kana, count, memory, f.random, f.clock);
        QCOMPARE(play(s, int(shown.size()) - 1), shown);
        QVERIFY(f.random.seeds.isEmpty());
    }

    // clang-format off
    void permutation_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<QList<int>>("expected");
        // w = 4: j = 3; w = 3: j = 3; w = 2: j = 1.
        QTest::newRow("four") << 4 << QList<double>{0.5, 0.9, 0.1} << QList<int>{2, 1, 4, 3};
        QTest::newRow("all draws zero") << 4 << QList<double>{} << QList<int>{2, 3, 4, 1};
        // A generator that returns 1.0 must not reach past the list.
        QTest::newRow("draw of one") << 3 << QList<double>{1.0, 1.0} << QList<int>{1, 2, 3};
    }
    // clang-format on
    void permutation()
    {
        QFETCH(int, count);
        QFETCH(QList<double>, draws);
        QFETCH(QList<int>, expected);
        FakePlatform f;
        f.random.values = draws;
        f.clock.now = 12345;
        SlideshowMemory memory;
        SlideSequence s(SlideOrder::Random, count, memory, f.random, f.clock);
        QCOMPARE(s.start(), expected.first());
        QCOMPARE(permutationOf(s), expected);
        QCOMPARE(f.random.seeds, QList<quint64>{12345});
    }

    void randomCycles()
    {
        FakePlatform f;
        for (int i = 0; i < 40; ++i)
            f.random.values << (i * 0.6180339887) - int(i * 0.6180339887);
        SlideshowMemory memory;
        const qsizetype n = 12;
        SlideSequence s(SlideOrder::Random, int(n), memory, f.random, f.clock);
        const QList<int> shown = play(s, 3 * n - 1);
        const QList<int> first = shown.mid(0, n);
        QCOMPARE(first, permutationOf(s));
        QList<int> sorted = first;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < n; ++i)
            QCOMPARE(sorted[i], i + 1);
        QCOMPARE(shown.mid(n, n), first);
        QCOMPARE(shown.mid(2 * n, n), first);
    }

    // clang-format off
    void secondShow_data()
    {
        QTest::addColumn<int>("leftAt");
        QTest::addColumn<QList<int>>("positions");  // of the start and the steps, in the permutation
        QTest::newRow("first show of the run") << 0 << QList<int>{1, 2, 3, 4, 1, 2};
        QTest::newRow("earlier show stopped midway") << 2 << QList<int>{1, 2, 3, 4, 1};
        QTest::newRow("earlier show reached the last position") << 4 << QList<int>{1, 1, 2, 3, 4, 1};
        QTest::newRow("earlier show on a larger catalogue") << 9 << QList<int>{1, 1, 2, 3};
    }
    // clang-format on
    void secondShow()
    {
        QFETCH(int, leftAt);
        QFETCH(QList<int>, positions);
        FakePlatform f;
        f.random.values = {0.5, 0.9, 0.1};
        SlideshowMemory memory{leftAt};
        SlideSequence s(SlideOrder::Random, 4, memory, f.random, f.clock);
        const QList<int> shown = play(s, int(positions.size()) - 1);
        QList<int> expected;
        for (int pos : positions)
            expected << s.randomList()[size_t(pos)];
        QCOMPARE(shown, expected);
    }

    void carryOverBetweenShows()
    {
        FakePlatform f;
        SlideshowMemory memory;
        {
            SlideSequence first(SlideOrder::Random, 3, memory, f.random, f.clock);
            play(first, 2);  // positions 1, 2, 3: the cycle's end
        }
        QCOMPARE(memory.RndPos, 3);
        f.random.values = {0.0, 0.9};
        SlideSequence second(SlideOrder::Random, 3, memory, f.random, f.clock);
        const QList<int> shown = play(second, 2);
        QCOMPARE(shown[0], second.randomList()[1]);
        QCOMPARE(shown[1], second.randomList()[1]);  // the first slide twice
        QCOMPARE(shown[2], second.randomList()[2]);
    }

    void singleRecordRandomShow()
    {
        FakePlatform f;
        SlideshowMemory memory;
        SlideSequence s(SlideOrder::Random, 1, memory, f.random, f.clock);
        QCOMPARE(play(s, 3), (QList<int>{1, 1, 1, 1}));
    }

    // clang-format off
    void resume_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("resumed");
        QTest::newRow("catalogue order, last record") << 0 << 3 << 0.0 << 1;
        QTest::newRow("catalogue order, middle") << 0 << 1 << 0.0 << 3;
        QTest::newRow("random order, any record") << 1 << 1 << 0.99 << 4;
        QTest::newRow("random order, first record") << 1 << 1 << 0.0 << 1;
    }
    // clang-format on
    void resume()
    {
        QFETCH(int, order);
        QFETCH(int, steps);
        QFETCH(double, draw);
        QFETCH(int, resumed);
        FakePlatform f;
        f.random.values = {0.5, 0.9, 0.1};
        SlideshowMemory memory;
        SlideSequence s(SlideOrder(order), 4, memory, f.random, f.clock);
        s.start();
        for (int i = 0; i < steps; ++i)
            s.step();
        const int posBefore = memory.RndPos;
        f.random.values = {draw};
        s.pause();
        QCOMPARE(s.state(), ShowState::Paused);
        QCOMPARE(s.upcoming(), resumed);
        QCOMPARE(s.resume(), resumed);
        QCOMPARE(memory.RndPos, posBefore);
        if (order == 1) {
            // The cycle goes on where it was.
            QCOMPARE(s.step(), s.randomList()[size_t(posBefore + 1)]);
        }
    }

    // --- interval box ---------------------------------------------------

    // clang-format off
    void intervalKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("kept");
        QTest::newRow("digit") << "7" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("letter") << "a" << false;
        QTest::newRow("minus") << "-" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("full-width digit") << "７" << false;
        QTest::newRow("backspace") << "\b" << true;
        QTest::newRow("enter") << "\r" << true;
    }
    // clang-format on
    void intervalKeys()
    {
        QFETCH(QString, typed);
        QFETCH(bool, kept);
        QCOMPARE(SlideInterval::keeps(typed.front()), kept);
    }

    // clang-format off
    void intervalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");  // 0: refused
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("00") << "00" << 0;
        QTest::newRow("07") << "07" << 0;
        QTest::newRow("7") << "7" << 7;
        QTest::newRow("99") << "99" << 99;
        QTest::newRow("pasted letters") << "ab" << 0;
        QTest::newRow("pasted half number") << "1a" << 0;
    }
    // clang-format on
    void intervalText()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QCOMPARE(SlideInterval::accept(text).value_or(0), seconds);
    }

    // clang-format off
    void intervalTimer_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("ms");
        QTest::newRow("1") << 1 << 1000;
        QTest::newRow("99") << 99 << 99000;
        QTest::newRow("0 from a hand-edited file") << 0 << 3000;
        QTest::newRow("100") << 100 << 3000;
    }
    // clang-format on
    void intervalTimer()
    {
        QFETCH(int, seconds);
        QFETCH(int, ms);
        QCOMPARE(SlideInterval::timerMs(seconds), ms);
    }

    // --- music ------------------------------------------------------------

    // clang-format off
    void musicChoice_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("timerRuns");
        for (int i = 0; i < BackgroundMusic::kPieces; ++i)
            QTest::addRow("%d", i) << i << QStringList{"open:" + BackgroundMusic::fileName(i), "play"} << true;
        QTest::newRow("none") << 7 << QStringList{} << false;
        QTest::newRow("not a choice") << 12 << QStringList{} << true;
    }
    // clang-format on
    void musicChoice()
    {
        QFETCH(int, choice);
        QFETCH(QStringList, log);
        QFETCH(bool, timerRuns);
        FakePlatform f;
        BackgroundMusic m(f.music, f.random, f.clock, QStringLiteral("/app/sound/"));
        QCOMPARE(m.tick(choice) == BackgroundMusic::Timer::KeepRunning, timerRuns);
        QCOMPARE(f.music.log, log);
    }

    void musicRepeatsOnePiece()
    {
        FakePlatform f;
        BackgroundMusic m(f.music, f.random, f.clock, QStringLiteral("/app/sound/"));
        m.tick(5);
        m.tick(5);  // still playing: nothing
        QCOMPARE(f.music.log, (QStringList{"open:slow.mid", "play"}));
        f.music.playing = false;  // the piece has ended
        m.tick(5);
        QCOMPARE(f.music.log, (QStringList{"open:slow.mid", "play", "open:slow.mid", "play"}));
    }

    void musicRandomPasses()
    {
        FakePlatform f;
        f.clock.now = 777;
        // k = 5: j = 3; k = 4: j = 1; k = 3: j = 3; k = 2: j = 1; k = 1: j = 1.
        f.random.values = {0.5, 0.2, 0.9, 0.4, 0.7};
        BackgroundMusic m(f.music, f.random, f.clock, QStringLiteral("/s/"));
        QStringList pass;
        for (int i = 0; i < 6; ++i) {
            m.tick(BackgroundMusic::kRandom);
            pass << f.music.log.at(f.music.log.size() - 2);
            f.music.playing = false;
        }
        QCOMPARE(pass, (QStringList{"open:classic.mid", "open:holyday.mid", "open:lite.mid", "open:slow.mid",
                                    "open:filter.mid", "open:industrial.mid"}));
        QCOMPARE(f.random.seeds, QList<quint64>{777});
        m.tick(BackgroundMusic::kRandom);  // a new pass, a new shuffle
        QCOMPARE(f.random.seeds.size(), 2);
        QCOMPARE(m.position(), 1);
        QVERIFY(m.choose(BackgroundMusic::kRandom));
        QCOMPARE(m.position(), 0);
        QVERIFY(!m.choose(BackgroundMusic::kNone));
    }

    // How long a piece plays: to its last event, through its tempo changes.
    // clang-format off
    void midiLength_data()
    {
        QTest::addColumn<QByteArray>("smf");
        QTest::addColumn<qint64>("ms");
        const QByteArray on("\x90\x3C\x64", 3), off("\x80\x3C\x40", 3);
        const QByteArray tempo240("\xFF\x51\x03\x03\xD0\x90", 6);  // 250000 µs a quarter
        // 480 ticks a quarter at the default 120 beats a minute: 960 ticks a second.
        QTest::newRow("one note of a second") << midiFile(0, 480, {{{0, on}, {960, off}}}) << qint64(1000);
        QTest::newRow("running status") << midiFile(0, 480, {{{0, on}, {480, QByteArray("\x3C\x00", 2)}, {480, QByteArray("\x40\x64", 2)}}}) << qint64(1000);
        QTest::newRow("tempo doubled halfway") << midiFile(0, 480, {{{0, on}, {960, tempo240}, {960, off}}}) << qint64(1500);
        QTest::newRow("longest of two tracks") << midiFile(1, 480, {{{0, tempo240}}, {{0, on}, {1920, off}}}) << qint64(1000);
        QTest::newRow("SMPTE, 25 frames of 40 ticks") << midiFile(0, 0xE728, {{{0, on}, {2000, off}}}) << qint64(2000);
        QTest::newRow("program change and sysex") << midiFile(0, 480, {{{0, QByteArray("\xC0\x05", 2)}, {0, QByteArray("\xF0\x03\x7E\x7F\xF7", 5)}, {960, off}}}) << qint64(1000);
        QTest::newRow("track cut short") << midiFile(0, 480, {{{0, on}, {960, off}, {960, QByteArray("\x80", 1)}}}, false).chopped(1) << qint64(1000);
        QTest::newRow("no track") << midiFile(0, 480, {}) << qint64(-1);
        QTest::newRow("not MIDI") << QByteArray("RIFF\0\0\0\0WAVEfmt ", 16) << qint64(-1);
        QTest::newRow("header longer than the file") << QByteArray("MThd\x7F\xFF\xFF\xFF\0\0\0\x01\x01\xE0", 14) << qint64(-1);
        for (int i = 0; i < 6; ++i) {
            const qint64 ends[] = {77950, 79710, 66410, 76520, 68960, 79620};  // the end events of the pieces
            QTest::addRow("%s", qPrintable(SoundSynth::midiFileNames().value(i))) << SoundSynth::midiPiece(i) << ends[i];
        }
    }
    // clang-format on
    void midiLength()
    {
        QFETCH(QByteArray, smf);
        QFETCH(qint64, ms);
        const qint64 got = MidiLength::milliseconds(smf);
        QVERIFY2(ms < 0 ? got == -1 : qAbs(got - ms) <= 10, qPrintable(QString::number(got)));
    }

    // A piece has ended at its last event, not when the synthesizer's
    // reverberation has died away, so that the tick repeats it at once.
    void musicEndsAtItsLastEvent()
    {
        SdlAudio audio;
        if (!audio.ensureOpen() || SdlAudio::soundFontPath().isEmpty())
            QSKIP("no audio device or no General MIDI soundfont");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("one.mid"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // A loud chord of half a second in a piece of one second.
        const QByteArray chord("\x90\x3C\x7F\x00\x90\x40\x7F\x00\x90\x43\x7F", 11);
        file.write(midiFile(0, 480,
                            {{{0, chord},
                              {480, QByteArray("\x80\x3C\x40\x00\x80\x40\x40\x00\x80\x43\x40", 11)},
                              {480, QByteArray("\xB0\x07\x64", 3)}}}));
        file.close();
        SdlMusicPlayer player(audio);
        if (!player.open(path))
            QSKIP("SDL_mixer plays no MIDI here");
        QElapsedTimer clock;
        clock.start();
        player.play();
        QVERIFY(player.isPlaying());
        while (player.isPlaying() && clock.elapsed() < 10000)
            QTest::qWait(20);
        const qint64 ended = clock.elapsed();
        QVERIFY2(ended >= 900 && ended <= 2000, qPrintable(QString::number(ended)));
        player.close();
    }

    // A choice held down stops the music, and no tick starts any until the
    // release, whose choice is what plays next.
    // clang-format off
    void musicHeldChoice_data()
    {
        QTest::addColumn<int>("before");  // the stored choice while the new one is held
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("after");  // the log after the release and one tick
        QTest::newRow("Slow held over Holyday") << 2 << 5 << QStringList{"open:slow.mid", "play"};
        QTest::newRow("なし held over Holyday") << 2 << 7 << QStringList{};
        QTest::newRow("Holyday held over なし") << 7 << 2 << QStringList{"open:holyday.mid", "play"};
    }
    // clang-format on
    void musicHeldChoice()
    {
        QFETCH(int, before);
        QFETCH(int, chosen);
        FakePlatform f;
        BackgroundMusic m(f.music, f.random, f.clock, QStringLiteral("/app/sound/"));
        m.tick(before);
        m.press();
        f.music.log.clear();
        for (int second = 0; second < 3; ++second)
            m.tick(before);  // the stored choice is still the old one
        QCOMPARE(f.music.log, QStringList{});
        QVERIFY(!f.music.playing);
        const bool timer = m.choose(chosen);
        QCOMPARE(timer, chosen != BackgroundMusic::kNone);
        if (timer)
            m.tick(chosen);
        QStringList started = f.music.log;
        started.removeAll(QStringLiteral("close"));
        QTEST(started, "after");
        QCOMPARE(f.music.playing, chosen != BackgroundMusic::kNone);
    }

    // --- where the slide goes -------------------------------------------

    // clang-format off
    void fitting_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("shown");
        // 1920 x 1080 at 15 twips: the box is 1824 x 854.
        QTest::newRow("small keeps its size") << QSize(640, 480) << QSize(640, 480);
        QTest::newRow("camera photograph") << QSize(6000, 4000) << QSize(1281, 854);
        QTest::newRow("panorama") << QSize(8000, 1000) << QSize(1824, 228);
        QTest::newRow("portrait") << QSize(3000, 4000) << QSize(641, 854);
    }
    // clang-format on
    void fitting()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, shown);
        const SlideLayout layout(QSize(1920, 1080), 15, 15);
        QCOMPARE(layout.pictureBox(), QSize(1824, 854));
        QCOMPARE(SlideLayout::fitted(picture, layout.pictureBox()), shown);
        const QRect r = layout.pictureRect(shown);
        QVERIFY(layout.namePos(r).y() >= 0);
        QVERIFY(layout.noteRect(r).bottom() < 1080);
    }

    // clang-format off
    void readAheadHandsOverTheAskedPicture_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::newRow("ahead") << true;
        QTest::newRow("on the spot") << false;
    }
    // clang-format on
    void readAheadHandsOverTheAskedPicture()
    {
        QFETCH(bool, enabled);
        ShowFixture fx;
        fx.picture(QStringLiteral("p2.jpg"), QSize(400, 200));
        fx.picture(QStringLiteral("p3.jpg"), QSize(200, 400));
        SlideReadAhead ahead(fx.app->folders().pictures(), QSize(300, 300), 1.0, enabled);
        ahead.prepare(QStringLiteral("p2.jpg"));
        ahead.prepare(QStringLiteral("p3.jpg"));  // the resume changed its mind
        const SlidePicture three = ahead.take(QStringLiteral("p3.jpg"));
        QCOMPARE(three.storedName, QStringLiteral("p3.jpg"));
        QCOMPARE(three.image.size(), QSize(150, 300));
        const SlidePicture two = ahead.take(QStringLiteral("p2.jpg"));  // dropped before: decoded now
        QCOMPARE(two.image.size(), QSize(300, 150));
        QCOMPARE(ahead.take(QStringLiteral("nowhere.jpg")).kind, SlidePicture::Kind::Missing);
    }

    // --- the window ---------------------------------------------------------

    void showsFirstSlideWithTexts()
    {
        ShowFixture fx;
        fx.picture(QStringLiteral("p1.jpg"), QSize(3000, 2000));  // larger than the screen
        SlideshowWindow* w = fx.window();
        QSignalSpy started(w, &SlideshowWindow::started);
        QVERIFY(w->begin());
        QCOMPARE(started.size(), 1);
        QCOMPARE(w->stepMs(), 3000);
        QVERIFY(w->stepping());
        QVERIFY(w->musicWatched());
        // Reduced to fit between name line and description, in the middle.
        const QRect area = w->pictureArea();
        QVERIFY(area.width() <= 1024 && area.height() < 768);
        QVERIFY(qAbs(area.center().x() - 512) <= 1);
        QVERIFY(w->nameLine()->y() >= 0);
        QVERIFY(w->description()->geometry().bottom() < 768);
        QCOMPARE(w->nameLine()->text(), QStringLiteral("ハナ1   ― キク科 ―"));
        QCOMPARE(w->description()->toPlainText(), QStringLiteral("ハナ1の解説"));
        QVERIFY(!w->nameLine()->isVisible());
        QVERIFY(!w->description()->isVisible());
    }

    // clang-format off
    void storedIntervalIsRead_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("ms");
        QTest::newRow("missing") << "" << 3000;
        QTest::newRow("99") << "99" << 99000;
        QTest::newRow("0") << "0" << 3000;
        QTest::newRow("no number") << "abc" << 3000;
    }
    // clang-format on
    void storedIntervalIsRead()
    {
        QFETCH(QString, stored);
        QFETCH(int, ms);
        ShowFixture fx;
        if (!stored.isEmpty())
            fx.app->settings().writeSlideSecondsText(stored);
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        QCOMPARE(w->stepMs(), ms);
    }

    // clang-format off
    void missingPicture_data()
    {
        QTest::addColumn<QString>("file");  // what data/ holds for slot 2
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("told");
        QTest::newRow("nothing") << "" << true << "画像ファイルがありません！";
        QTest::newRow("unreadable") << "garbage" << true << "画像ファイルを読み込めません！";
        QTest::newRow("too large to decode") << "bomb" << true << "画像ファイルを読み込めません！";
        QTest::newRow("gif only") << "gif" << false << "";
    }
    // clang-format on
    void missingPicture()
    {
        QFETCH(QString, file);
        QFETCH(bool, asks);
        for (MessageBoxes::Answer answer : {MessageBoxes::Answer::Yes, MessageBoxes::Answer::No}) {
            ShowFixture fx;
            QFile::remove(fx.app->pathOf(QStringLiteral("data/p2.jpg")));
            if (file == "garbage") {
                QFile f(fx.app->pathOf(QStringLiteral("data/p2.jpg")));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("not a picture at all");
            } else if (file == "bomb") {
                QFile f(fx.app->pathOf(QStringLiteral("data/p2.bmp")));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(bmpClaiming(40000, 40000));
                fx.setStored(2, QStringLiteral("p2.bmp"));
            } else if (file == "gif") {
                QFile f(fx.app->pathOf(QStringLiteral("data/p2.gif")));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(gifOfSize(200, 100));
            }
            fx.fake.messages.answers = {MessageBoxes::Answer::Ok, answer};
            SlideshowWindow* w = fx.window();
            QSignalSpy ended(w, &SlideshowWindow::ended);
            QVERIFY(w->begin());
            w->togglePause();
            w->togglePause();  // resume: slot 2 at once
            if (!asks) {
                QCOMPARE(w->sequence().current(), 2);
                QCOMPARE(w->pictureArea().size(), QSize(200, 100));
                QVERIFY(fx.fake.messages.shown.isEmpty());
                return;
            }
            QFETCH(QString, told);
            QCOMPARE(fx.fake.messages.texts(),
                     (QStringList{told, "続けますか？（「はい」で続行，「いいえ」でスライドショーの終了）"}));
            QCOMPARE(fx.fake.messages.shown[0].icon, MessageBoxes::Icon::Exclamation);
            QCOMPARE(fx.fake.messages.shown[1].buttons, MessageBoxes::Buttons::YesNo);
            QCOMPARE(fx.fake.messages.shown[1].icon, MessageBoxes::Icon::Question);
            if (answer == MessageBoxes::Answer::Yes) {
                QCOMPARE(w->phase(), SlideshowWindow::Phase::Running);
                QCOMPARE(w->pictureArea().size(), QSize(320, 240));  // NoFile.jpg
                QCOMPARE(w->nameLine()->text(), QStringLiteral("ハナ2   ― キク科 ―"));
                QCOMPARE(w->description()->toPlainText(), QStringLiteral("ハナ2の解説"));
                QVERIFY(w->stepping());
            } else {
                QCOMPARE(w->phase(), SlideshowWindow::Phase::Ended);
                QCOMPARE(ended.size(), 1);
                QVERIFY(!w->stepping() && !w->musicWatched());
            }
        }
    }

    void missingFirstPictureAnsweredNo()
    {
        ShowFixture fx;
        QFile::remove(fx.app->pathOf(QStringLiteral("data/p1.jpg")));
        fx.fake.messages.answers = {MessageBoxes::Answer::Ok, MessageBoxes::Answer::No};
        SlideshowWindow* w = fx.window();
        QSignalSpy started(w, &SlideshowWindow::started);
        QSignalSpy ended(w, &SlideshowWindow::ended);
        QVERIFY(!w->begin());
        QCOMPARE(started.size(), 1);
        QCOMPARE(ended.size(), 1);
        QVERIFY(!w->isVisible());
        QTRY_VERIFY(fx.show.isNull());  // gone once the events run
    }

    void pictureUnderStoredNameOnly()
    {
        ShowFixture fx;
        QFile::remove(fx.app->pathOf(QStringLiteral("data/p1.jpg")));
        fx.picture(QStringLiteral("p1.png"), QSize(800, 300), "png");
        fx.setStored(1, QStringLiteral("p1.png"));
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        QCOMPARE(w->pictureKind(), SlidePicture::Kind::StoredName);
        QCOMPARE(w->pictureArea().size(), QSize(320, 240));
        QCOMPARE(w->picture().size(), QSize(320, 120));  // reduced, not cut
    }

    void emptyCatalogueOpensNoShow()
    {
        ShowFixture fx(0);
        SlideshowWindow* w = fx.window();
        QSignalSpy started(w, &SlideshowWindow::started);
        QVERIFY(!w->begin());
        QCOMPARE(started.size(), 0);
        QCOMPARE(fx.fake.messages.shown.size(), 1);
        QCOMPARE(fx.fake.messages.shown[0].buttons, MessageBoxes::Buttons::Ok);
        QVERIFY(fx.fake.messages.shown[0].text.contains(QStringLiteral("スライドショー")));
    }

    void keyboardAndClicks()
    {
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QSignalSpy ended(w, &SlideshowWindow::ended);
        QVERIFY(w->begin());
        ShowFixture::key(w, Qt::Key_Space, QStringLiteral(" "));
        QVERIFY(!w->stepping());
        QVERIFY(w->blinking());
        QCOMPARE(w->sequence().current(), 1);
        QTRY_COMPARE(w->nameColour(), QColor(Qt::red));
        ShowFixture::key(w, Qt::Key_Space, QStringLiteral(" "));
        QCOMPARE(w->sequence().current(), 2);  // resumed with a step at once
        QVERIFY(w->stepping());
        QVERIFY(!w->blinking());
        QCOMPARE(w->nameColour(), QColor(Qt::yellow));
        // Any mouse button released over the background does the same.
        ShowFixture::mouse(w, QEvent::MouseButtonPress, QPoint(500, 700), Qt::RightButton);
        ShowFixture::mouse(w, QEvent::MouseButtonRelease, QPoint(500, 700), Qt::RightButton);
        QCOMPARE(w->sequence().state(), ShowState::Paused);
        ShowFixture::key(w, Qt::Key_Escape);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(w->phase(), SlideshowWindow::Phase::Ended);
        QVERIFY(!w->musicWatched() && !w->stepping() && !w->blinking());
    }

    void timedStepsSwapReadyPictures()
    {
        ShowFixture fx(4);
        fx.app->settings().writeSlideSecondsText(QStringLiteral("1"));
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        QTRY_COMPARE_WITH_TIMEOUT(w->sequence().current(), 3, 5000);
        QCOMPARE(w->nameLine()->text(), QStringLiteral("ハナ3   ― キク科 ―"));
        QCOMPARE(w->pictureArea().size(), QSize(160, 120));
    }

    void toggles()
    {
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        SlideshowPanel* p = w->panel();
        for (auto [b, shown] : {std::pair{SlideshowPanel::Button::Name, &SlideshowWindow::nameShown},
                                std::pair{SlideshowPanel::Button::Description, &SlideshowWindow::descriptionShown}}) {
            PanelButton* button = p->button(b);
            ShowFixture::mouse(button, QEvent::MouseMove, QPoint(8, 8));
            QCOMPARE(button->look(), PanelLook::Hover);
            QVERIFY(p->tooltip(b)->isVisible());
            ShowFixture::mouse(button, QEvent::MouseButtonPress, QPoint(8, 8));
            ShowFixture::mouse(button, QEvent::MouseButtonRelease, QPoint(16, 16));  // the edge counts
            QVERIFY((w->*shown)());
            QCOMPARE(button->look(), PanelLook::Pressed);
            // Moving over the background leaves the pressed look alone.
            ShowFixture::mouse(w, QEvent::MouseMove, QPoint(600, 600));
            QCOMPARE(button->look(), PanelLook::Pressed);
            QVERIFY(!p->tooltip(b)->isVisible());
            ShowFixture::mouse(button, QEvent::MouseMove, QPoint(8, 8));
            QVERIFY(p->tooltip(b)->isVisible());
            ShowFixture::mouse(button, QEvent::MouseButtonPress, QPoint(8, 8));
            ShowFixture::mouse(button, QEvent::MouseButtonRelease, QPoint(8, 8));
            QVERIFY(!(w->*shown)());
            QCOMPARE(button->look(), PanelLook::Idle);
        }
        QCOMPARE(p->tooltip(SlideshowPanel::Button::Name)->text(), QStringLiteral("草花名，科を非表示"));
        QCOMPARE(p->tooltip(SlideshowPanel::Button::Description)->text(), QStringLiteral("解説を非表示"));
    }

    void quitButtonActsOnlyInside()
    {
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QSignalSpy ended(w, &SlideshowWindow::ended);
        QVERIFY(w->begin());
        PanelButton* quit = w->panel()->button(SlideshowPanel::Button::Quit);
        ShowFixture::mouse(quit, QEvent::MouseMove, QPoint(8, 8));
        ShowFixture::mouse(quit, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(quit, QEvent::MouseButtonRelease, QPoint(30, 8));  // dragged off
        QCOMPARE(quit->look(), PanelLook::Idle);
        QCOMPARE(ended.size(), 0);
        ShowFixture::mouse(quit, QEvent::MouseMove, QPoint(8, 8));
        ShowFixture::mouse(quit, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(quit, QEvent::MouseButtonRelease, QPoint(8, 8));
        QCOMPARE(ended.size(), 1);
    }

    void intervalBox()
    {
        ShowFixture fx;
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        SlideshowPanel* p = w->panel();
        PanelButton* b = p->button(SlideshowPanel::Button::Interval);
        ShowFixture::mouse(b, QEvent::MouseMove, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonRelease, QPoint(40, 40));  // anywhere
        QLineEdit* box = p->intervalBox();
        QVERIFY(box->isVisible() && p->secondsLabel()->isVisible());
        QCOMPARE(p->secondsLabel()->text(), QStringLiteral("秒（1～99）"));
        QCOMPARE(box->text(), QStringLiteral("3"));
        box->clear();
        for (const char* typed : {"a", "-", " ", "0", "7"})
            QTest::keyClicks(box, QString::fromLatin1(typed));
        QCOMPARE(box->text(), QStringLiteral("07"));
        QTest::keyClick(box, Qt::Key_Return);  // refused: emptied, still open
        QCOMPARE(box->text(), QString());
        QVERIFY(box->isVisible());
        QCOMPARE(fx.setting("SLD_check"), QStringLiteral("(none)"));
        QTest::keyClicks(box, QStringLiteral("7"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QCOMPARE(b->look(), PanelLook::Idle);
        QCOMPARE(w->stepMs(), 7000);
        QVERIFY(w->stepping());
        QCOMPARE(fx.setting("SLD_check"), QStringLiteral("7"));
        // While paused the timer stays off and takes the interval on resume.
        w->togglePause();
        ShowFixture::mouse(b, QEvent::MouseMove, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonRelease, QPoint(8, 8));
        box->setText(QStringLiteral("99"));
        ShowFixture::mouse(b, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonRelease, QPoint(8, 8));
        QVERIFY(!w->stepping());
        w->togglePause();
        QCOMPARE(w->stepMs(), 99000);
        QVERIFY(w->stepping());
    }

    void musicList()
    {
        ShowFixture fx;
        fx.app->settings().writeBgm(2);
        SlideshowWindow* w = fx.window();
        QVERIFY(w->begin());
        SlideshowPanel* p = w->panel();
        PanelButton* b = p->button(SlideshowPanel::Button::Music);
        QVERIFY(!p->musicListOpen());
        ShowFixture::mouse(b, QEvent::MouseMove, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonRelease, QPoint(8, 8));
        QVERIFY(p->musicListOpen());
        QVERIFY(p->choice(2)->isChecked());
        QCOMPARE(p->choice(6)->text(), QStringLiteral("ランダム"));
        fx.fake.music.playing = true;
        fx.fake.music.log.clear();
        ShowFixture::mouse(p->choice(5), QEvent::MouseButtonPress, QPoint(4, 4));
        QCOMPARE(fx.fake.music.log, QStringList{"close"});  // stops at the press
        ShowFixture::mouse(p->choice(5), QEvent::MouseButtonRelease, QPoint(4, 4));
        QCOMPARE(fx.setting("BGM_check"), QStringLiteral("5"));
        QTRY_COMPARE_WITH_TIMEOUT(fx.fake.music.log, (QStringList{"close", "open:slow.mid", "play"}), 5000);
        ShowFixture::mouse(p->choice(7), QEvent::MouseButtonPress, QPoint(4, 4));
        ShowFixture::mouse(p->choice(7), QEvent::MouseButtonRelease, QPoint(4, 4));
        QVERIFY(!w->musicWatched());
        QCOMPARE(fx.setting("BGM_check"), QStringLiteral("7"));
        ShowFixture::mouse(p->choice(0), QEvent::MouseButtonPress, QPoint(4, 4));
        ShowFixture::mouse(p->choice(0), QEvent::MouseButtonRelease, QPoint(4, 4));
        QVERIFY(w->musicWatched());
        ShowFixture::mouse(b, QEvent::MouseButtonPress, QPoint(8, 8));
        ShowFixture::mouse(b, QEvent::MouseButtonRelease, QPoint(50, 50));
        QVERIFY(!p->musicListOpen());
        QCOMPARE(b->look(), PanelLook::Idle);
    }

    void launcherHooksAndMemory()
    {
        ShowFixture fx(3);
        SlideshowLauncher shows;
        int starting = 0;
        int ended = 0;
        SlideshowLauncher::Hooks hooks{[&] { ++starting; }, [&] { ++ended; }};
        QVERIFY(shows.start(*fx.app, 1, nullptr, hooks));
        QCOMPARE(starting, 1);
        QVERIFY(!shows.start(*fx.app, 0, nullptr, hooks));  // one show at a time
        QCOMPARE(starting, 1);
        QCOMPARE(shows.window()->sequence().order(), SlideOrder::Random);
        shows.memory().RndPos = 3;
        shows.window()->quit();
        QCOMPARE(ended, 1);
        QTRY_VERIFY(!shows.running());
        QVERIFY(shows.start(*fx.app, 1, nullptr, hooks));
        QCOMPARE(shows.memory().RndPos, 3);  // kept for the next show
        shows.window()->quit();
        QTRY_VERIFY(!shows.running());
    }
};

QTEST_MAIN(SlideshowTest)
#include "SlideshowTest.moc"
