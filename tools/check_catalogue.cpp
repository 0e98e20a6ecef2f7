// Checks a catalogue file before it is shipped or handed on: the file itself
// (SQLite's quick_check, and whether every row can be read), every record
// against what the program and its record editor can handle, the pictures in
// the data folder, the written rules at the top of catalogue/data/*.tsv where
// a program can check them, how the records spread over the attribute values,
// and which records no search can tell apart.
//
// usage: sonoha-check APP_DIR [FORMS_DIR]
//   reads APP_DIR/SNH347.mdb and looks for pictures in APP_DIR/data/. With
//   FORMS_DIR (catalogue/forms) every record must also have exactly one
//   complete form description there, in the written vocabulary and agreeing
//   with the record's attributes: the illustrations are drawn from them.
// exit status: 0 no problem, 1 problems or breaches of the written rules found,
// 2 the catalogue cannot be read.

#include "catalogue/CatalogueStore.h"
#include "catalogue/CategoryTables.h"
#include "generators/CatalogueChecker.h"
#include "generators/FormSource.h"
#include "pictures/PictureFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    s.setEncoding(QStringConverter::Utf8);
    return s;
}

void printProblems(const CatalogueChecker::Report& report)
{
    if (report.clean()) {
        out() << "No problems.\n";
        return;
    }
    out() << "Problems (" << report.problems.size() << "):\n";
    for (const CatalogueChecker::Problem& p : report.problems) {
        if (p.row == 0)
            out() << "  catalogue: " << p.what << "\n";
        else
            out() << "  row " << p.row << " 「" << p.name << "」 " << p.field << ": " << p.what << "\n";
    }
}

void printBreaches(const CatalogueChecker::Report& report)
{
    if (report.keepsRules()) {
        out() << "Every record keeps the written rules of the catalogue.\n";
        return;
    }
    out() << "Against the written rules of the catalogue (" << report.breaches.size() << "):\n";
    for (const CatalogueChecker::Problem& p : report.breaches)
        out() << "  row " << p.row << " 「" << p.name << "」 " << p.field << ": " << p.what << "\n";
}

void printValueCounts(const CatalogueChecker::Report& report)
{
    out() << "\nRecords per value (! = fewer than " << CatalogueChecker::kRareBelow << " records):\n";
    int category = -1;
    for (const CatalogueChecker::ValueCount& v : report.valueCounts) {
        if (v.category != category) {
            category = v.category;
            out() << "  " << CategoryTables::fieldName(category) << " (" << CatalogueChecker::categoryLabel(category)
                  << ")\n";
        }
        out() << "    " << (v.rare ? "! " : "  ") << qSetFieldWidth(4) << Qt::right << v.records << qSetFieldWidth(0)
              << "  " << v.value << "\n";
    }
}

void printGroups(const CatalogueChecker::Report& report)
{
    out() << "\n";
    if (report.groups.isEmpty()) {
        out() << "No two records share all five attributes.\n";
        return;
    }
    out() << report.groups.size() << " groups share all five attributes; the largest has "
          << report.groups.first().names.size() << " records:\n";
    for (const CatalogueChecker::Group& g : report.groups)
        out() << "  " << g.names.size() << "  " << g.attributes.join(QStringLiteral(" / ")) << ": "
              << g.names.join(QStringLiteral(", ")) << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);  // the SQL driver is a plugin
    if (argc != 2 && argc != 3) {
        QTextStream(stderr) << "usage: sonoha-check APP_DIR [FORMS_DIR]\n";
        return 2;
    }
    const QString appDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QString path = appDir + QLatin1String(CatalogueStore::kFileName);
    const QString formsDir = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (argc == 3 && !QFileInfo(formsDir).isDir()) {
        QTextStream(stderr) << "no folder of form descriptions: " << formsDir << "\n";
        return 2;
    }

    const PictureFiles pictures(appDir);
    const CatalogueChecker checker([&](const QString& name) { return pictures.existsInData(name); });
    QString error;
    const std::optional<CatalogueChecker::Report> checked =
        argc == 3 ? checker.checkFile(path, FormSource::readFolder(formsDir), &error) : checker.checkFile(path, &error);
    if (!checked) {
        QTextStream(stderr) << "cannot read " << path << ": " << error << "\n";
        return 2;
    }
    const CatalogueChecker::Report& report = *checked;

    out() << "Catalogue " << path << ": " << report.recordCount << " records, pictures in " << pictures.dataFolder()
          << "\n\n";
    printProblems(report);
    printBreaches(report);
    printValueCounts(report);
    printGroups(report);
    out().flush();
    return report.clean() && report.keepsRules() ? 0 : 1;
}
