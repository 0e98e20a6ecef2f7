// A writer killed at any moment must leave a whole catalogue file: the test
// runs itself as the writer, kills it while it writes, and opens the file.

#include "catalogue/CatalogueStore.h"
#include "editor/RecordTable.h"
#include "tests/support/TestCatalogues.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <cstring>

namespace {

const char* const kWriterFlag = "--write-until-killed";

// Every field of a row carries the row's kind and the generation it was written in.
QString tagged(const QString& kind, const QString& column, int generation)
{
    return QStringLiteral("%1:%2#%3").arg(kind, column).arg(generation);
}

void fill(QSqlTableModel* m, const RecordTable& t, int row, const QString& kind, int generation)
{
    for (const QString& c : CatalogueStore::columns())
        m->setData(m->index(row, t.column(c)), tagged(kind, c, generation));
}

int generationOf(const QString& value)
{
    return value.section(u'#', 1).toInt();
}

// The writer: deletes the added rows, updates the kept row and adds a row,
// each in its own transaction, until it is killed.
int writeUntilKilled(const QString& path)
{
    RecordTable t(path);
    if (!t.open())
        return 2;
    QSqlTableModel* m = t.model();
    int g = generationOf(t.recordAt(0).NAMAE);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;) {
        for (int row = t.rowCount() - 1; row >= 0; --row) {
            if (t.recordAt(row).NAMAE.startsWith(u'n') && t.remove(row) != RecordTable::Outcome::Written)
                return 5;
        }
        ++g;
        fill(m, t, 0, QStringLiteral("u"), g);
        if (t.writePending() != RecordTable::Outcome::Written)
            return 3;
        const int added = t.startNew();
        fill(m, t, added, QStringLiteral("n"), g);
        if (t.writePending() != RecordTable::Outcome::Written)
            return 4;
    }
}

}  // namespace

class RecordTableCrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLeavesWholeFile()
    {
        QTemporaryDir dir;
        const QString db = dir.path() + "/SNH347.mdb";
        FlowerRecord first;
        QString* fields[] = {&first.NAMAE, &first.KISETU, &first.IRO,    &first.KABEN, &first.HA,
                             &first.KA,    &first.KA2,    &first.SYASIN, &first.NOTE};
        for (int i = 0; i < 9; ++i)
            *fields[i] = tagged("u", CatalogueStore::columns()[i], 0);
        QVERIFY(TestCatalogues::write(db, {first}));

        // A few hundred kills, each at a random moment of the writing: early,
        // mid-transaction, between transactions.
        const int kKills = 300;
        int lastGeneration = 0;
        for (int run = 0; run < kKills; ++run) {
            QProcess writer;
            writer.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kWriterFlag), db});
            QVERIFY(writer.waitForStarted());
            QVERIFY(writer.waitForReadyRead(10000));
            QThread::msleep(QRandomGenerator::global()->bounded(60));
            QVERIFY2(writer.state() == QProcess::Running, "the writer stopped by itself");
            writer.kill();
            QVERIFY(writer.waitForFinished(5000));

            checkWhole(db, &lastGeneration);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY2(lastGeneration >= kKills / 2, "the writer hardly wrote; the kills proved nothing");
        qInfo("%d kills, %d files checked, none damaged; %d writes survived", kKills, kKills, lastGeneration);
    }

private:
    static void checkWhole(const QString& db, int* lastGeneration)
    {
        QVector<QStringList> rows;
        {
            QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "check");
            c.setDatabaseName(db);
            QVERIFY(c.open());
            QSqlQuery q(c);
            QVERIFY(q.exec("PRAGMA integrity_check"));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
            // The fields whole: the program reads the short ones cut.
            QVERIFY(q.exec(QStringLiteral("SELECT ") + CatalogueStore::columns().join(u", ") +
                           QStringLiteral(" FROM KUSABANA")));
            while (q.next()) {
                QStringList fields;
                for (int i = 0; i < CatalogueStore::columns().size(); ++i)
                    fields << q.value(i).toString();
                rows << fields;
            }
        }
        QSqlDatabase::removeDatabase("check");

        const CatalogueStore::ReadResult read = CatalogueStore::read(db);
        QVERIFY2(read.ok() && read.end == CatalogueStore::ReadEnd::Complete, qPrintable(read.error + read.endError));
        QCOMPARE(read.rows.size(), rows.size());
        int kept = 0, added = 0;
        for (const QStringList& fields : std::as_const(rows)) {
            // Old or new, never a mixture: all nine fields from one write.
            const QString kind = fields[0].section(u':', 0, 0);
            const int g = generationOf(fields[0]);
            for (int i = 0; i < 9; ++i)
                QCOMPARE(fields[i], tagged(kind, CatalogueStore::columns()[i], g));
            if (kind == "u") {
                ++kept;
                QVERIFY(g >= *lastGeneration);
                *lastGeneration = g;
            } else {
                ++added;
            }
        }
        QCOMPARE(kept, 1);
        QVERIFY(added <= 1);
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kWriterFlag) == 0) {
        QCoreApplication app(argc, argv);
        return writeUntilKilled(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    RecordTableCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RecordTableCrashTest.moc"
