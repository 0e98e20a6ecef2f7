#include "mainwindow/Startup.h"

#include "session/AppContext.h"
#include "mainwindow/LoadingScreen.h"
#include "mainwindow/MainWindow.h"
#include "session/ScreenMetrics.h"
#include "catalogue/CatalogueStore.h"
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
        app_.platform().messages.show(nullptr, unreadableCatalogueText(path, result.error),
                                      MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
        main_.reset();
        return false;
    }
    main_->catalogueLoaded();
    main_->show();
    loading.close();
    if (result.truncated())
        app_.platform().messages.show(main_.get(), truncatedText(result.totalRows), MessageBoxes::Buttons::Ok,
                                      MessageBoxes::Icon::Exclamation);
    return true;
}
