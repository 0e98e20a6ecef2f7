// What the program takes from the desktop: Qt's Japanese texts and the
// opener of the help page.
#include "app/QtTranslation.h"
#include "platform/DesktopDocumentOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class DesktopIntegrationTest : public QObject {
    Q_OBJECT

private slots:
    void qtSpeaksJapanese()
    {
        const QString fileName = QCoreApplication::translate("QFileDialog", "File &name:");
        QCOMPARE(fileName, QStringLiteral("File &name:"));  // nothing installed yet
        QTranslator translator;
        QVERIFY2(QtTranslation::install(translator),
                 qPrintable(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + " has no qtbase_ja.qm"));
        // The file dialog's field, and a line edit's context menu.
        QVERIFY(QCoreApplication::translate("QFileDialog", "File &name:").contains(QStringLiteral("ファイル名")));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Paste").contains(QStringLiteral("貼り付け")), true);
        QCoreApplication::removeTranslator(&translator);
    }

    void missingTranslationLeavesQtAsItIs()
    {
        QTemporaryDir empty;
        QTranslator translator;
        QVERIFY(!QtTranslation::install(translator, empty.path()));
        QVERIFY(translator.isEmpty());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("File &name:"));
    }

    // clang-format off
    void helpOpenerReportsWhatXdgOpenSays_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("failed");
        QTest::newRow("opened") << 0 << false;
        QTest::newRow("no program for it") << 3 << true;
        QTest::newRow("the program failed") << 4 << true;
    }
    // clang-format on
    void helpOpenerReportsWhatXdgOpenSays()
    {
        QFETCH(int, exitCode);
        QFETCH(bool, failed);
        QTemporaryDir dir;
        const QString page = dir.path() + "/help.htm";
        QFile(page).open(QIODevice::WriteOnly);
        // An xdg-open of our own on the PATH notes what it was asked and answers.
        QFile script(dir.path() + "/xdg-open");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\necho \"$1\" > '%1/asked'\nexit %2\n").arg(dir.path()).arg(exitCode).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()) + ':' + path);

        DesktopDocumentOpener opener;
        int failures = 0;
        const bool handed = opener.open(page, [&failures] { ++failures; });
        qputenv("PATH", path);
        QVERIFY(handed);
        QTRY_VERIFY(QFileInfo::exists(dir.path() + "/asked"));
        QTest::qWait(200);  // its end reaches the event loop
        QTRY_COMPARE(failures, failed ? 1 : 0);
        QFile asked(dir.path() + "/asked");
        QVERIFY(asked.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(asked.readAll()).trimmed(), page);
    }

    void missingPageIsNotHandedOn()
    {
        DesktopDocumentOpener opener;
        QVERIFY(!opener.open(QStringLiteral("/nonexistent/help.htm"), [] { QFAIL("no opener may run"); }));
    }
};

QTEST_MAIN(DesktopIntegrationTest)
#include "DesktopIntegrationTest.moc"
