#include "mainwindow/Startup.h"

#include "session/AppContext.h"
#include "mainwindow/LoadingScreen.h"
#include "mainwindow/MainWindow.h"
#include "session/ScreenMetrics.h"
#include "catalogue/FlowerCatalogue.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

Startup::Startup(AppContext& app)
    : app_(app)
{
}

Startup::~Startup() = default;

QString Startup::unreadableCatalogueText(const QString& path, const QString& reason)
{
    return QStringLiteral("図鑑のデータベースを開けません。\n%1\n（%2）\n\nソノハを終了します。")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString Startup::truncatedText(int rows)
{
    return QStringLiteral("データベースに%1件のデータがあります。ソノハで扱えるのは%2件までなので、"
                          "名前順で最初の%2件だけを読み込みました。")
        .arg(rows)
        .arg(FlowerCatalogue::kCapacity);
}

QString Startup::failureReason(const CatalogueStore::LoadResult& result)
{
    using Failure = CatalogueStore::Failure;
    switch (result.failure) {
    case Failure::None:
        break;
    case Failure::Missing:
        return QStringLiteral("ファイルがありません");
    case Failure::NotAFile:
        return QStringLiteral("読み取りのできるファイルではありません");
    case Failure::Locked:
        return QStringLiteral("ほかのプログラムが使用中です。SQLiteのエラー：%1").arg(result.error);
    case Failure::Sqlite:
        return QStringLiteral("SQLiteのエラー：%1").arg(result.error);
    case Failure::NoTable:
        return QStringLiteral("表KUSABANAがありません");
    case Failure::MissingColumns:
        return QStringLiteral("表KUSABANAに必要な列がありません（%1）").arg(result.error);
    }
    return result.error;
}

QString Startup::damagedCatalogueText(const QString& path, const QString& sqliteError, int rows)
{
    return QStringLiteral("図鑑のデータベースが壊れています。\n%1\n（SQLiteのエラー：%2）\n\n"
                          "読み込めた%3件のデータで続けます。")
        .arg(QDir::toNativeSeparators(path), sqliteError)
        .arg(rows);
}

QString Startup::endlessCatalogueText(const QString& path, int rows)
{
    return QStringLiteral("図鑑のデータベースのKUSABANAは普通の表ではなく、データが多すぎるか終わりがないため、"
                          "途中で読み込みをやめました。\n%1\n\n読み込めた%2件のデータで続けます。")
        .arg(QDir::toNativeSeparators(path))
        .arg(rows);
}

void Startup::reportShortRead(const QString& path, const CatalogueStore::LoadResult& result)
{
    using ReadEnd = CatalogueStore::ReadEnd;
    QString text;
    if (result.end == ReadEnd::Damaged)
        text = damagedCatalogueText(path, result.endError, result.loadedRows);
    else if (result.end == ReadEnd::LimitReached)
        text = endlessCatalogueText(path, result.loadedRows);
    else if (result.truncated())
        text = truncatedText(result.totalRows);
    if (!text.isEmpty())
        app_.platform().messages.show(main_.get(), text, MessageBoxes::Buttons::Ok,
                                      MessageBoxes::Icon::Exclamation);
}

bool Startup::run()
{
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        app_.TwipsPerPixelX = ScreenMetrics::twipsPerPixel(s->logicalDotsPerInchX());
        app_.TwipsPerPixelY = ScreenMetrics::twipsPerPixel(s->logicalDotsPerInchY());
    }
    app_.readStartupSettings();

    LoadingScreen loading(app_.fontSize(9));
    loading.show();
    QApplication::processEvents();

    main_ = std::make_unique<MainWindow>(app_, [&](const QString& t) { loading.setStep(t); });
    loading.setStep(QStringLiteral("データを読み込んでいます..."));
    const QString path = app_.pathOf(QString::fromLatin1(CatalogueStore::kFileName));
    const CatalogueStore::LoadResult result =
        CatalogueStore::load(path, app_.catalogue(), [&](const QString& name) { loading.setRecord(name); });
    if (!result.ok) {
        loading.hide();
        app_.platform().messages.show(nullptr, unreadableCatalogueText(path, failureReason(result)),
                                      MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
        main_.reset();
        return false;
    }
    main_->catalogueLoaded();
    main_->show();
    loading.close();
    // The program runs with what could be read; the user is told what is missing.
    reportShortRead(path, result);
    return true;
}
