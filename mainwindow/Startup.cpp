#include "mainwindow/Startup.h"

#include "catalogue/FlowerCatalogue.h"
#include "mainwindow/LoadingScreen.h"
#include "mainwindow/MainWindow.h"
#include "platform/MessageBoxes.h"
#include "session/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

Startup::Startup(AppContext& app)
    : app_(app)
{
    stepper_.setSingleShot(true);
}

Startup::~Startup() = default;

QString Startup::unreadableCatalogueText(const QString& path, const QString& reason)
{
    return QStringLiteral("図鑑のデータベースを開けません。\n%1\n%2\n\nソノハを終了します。")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString Startup::truncatedText(int rows)
{
    return QStringLiteral("データベースに%1件のデータがあります。ソノハで扱えるのは%2件までなので、"
                          "名前順で最初の%2件だけを読み込みました。")
        .arg(rows)
        .arg(FlowerCatalogue::kCapacity);
}

QString Startup::failureReason(const QString& path, const CatalogueStore::LoadResult& result)
{
    using Failure = CatalogueStore::Failure;
    const QString file = QFileInfo(path).fileName();
    switch (result.failure) {
    case Failure::None: break;
    case Failure::Missing: return QStringLiteral("ファイル「%1」がありません。").arg(file);
    case Failure::NotAFile: return QStringLiteral("「%1」は読み取りのできるファイルではありません。").arg(file);
    case Failure::Locked:
        return QStringLiteral("「%1」はほかのプログラムが使用中です。（SQLiteのエラー：%2）").arg(file, result.error);
    case Failure::Sqlite:
        return QStringLiteral("「%1」を図鑑のデータベースとして読めません。（SQLiteのエラー：%2）")
            .arg(file, result.error);
    case Failure::NoTable: return QStringLiteral("「%1」に表KUSABANAがありません。").arg(file);
    case Failure::MissingColumns:
        return QStringLiteral("「%1」の表KUSABANAに列%2がありません。")
            .arg(file, result.missingColumns.join(QStringLiteral("、")));
    }
    return QStringLiteral("「%1」を読めません。（%2）").arg(file, result.error);
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

QString Startup::cutTextsText(const QString& path, int fields)
{
    return QStringLiteral("図鑑のデータベースには、ソノハで扱える長さを超える文字列が%1か所ありました。\n%2\n\n"
                          "それぞれ扱える長さまでを読み込みました。")
        .arg(fields)
        .arg(QDir::toNativeSeparators(path));
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
    // Told once, with whatever else the read has to say.
    if (result.cutTexts > 0)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + cutTextsText(path, result.cutTexts);
    if (!text.isEmpty())
        app_.platform().messages.show(main_.get(), text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
}

void Startup::start(std::function<bool(QWindow*)> askFrame)
{
    askFrame_ = std::move(askFrame);
    loading_ = std::make_unique<LoadingScreen>(app_.fontSize(9));
    // Nothing else runs before the screen has shown its picture.
    connect(loading_.get(), &LoadingScreen::painted, this, &Startup::setUp, Qt::QueuedConnection);
    stage_ = Stage::Painting;
    loading_->show();
    // A screen that is never painted (no window manager maps it) must not
    // stop the start.
    QTimer::singleShot(kPaintWaitMs, this, &Startup::setUp);
}

void Startup::setUp()
{
    if (stage_ != Stage::Painting)
        return;
    stage_ = Stage::Loading;
    main_ = std::make_unique<MainWindow>(app_, [this](const QString& t) { loading_->setStep(t); });
    main_->prepareFrame(askFrame_);
    loading_->setStep(QStringLiteral("データを読み込んでいます..."));
    path_ = app_.folders().cataloguePath();
    reading_ = std::make_unique<CatalogueStore::Reading>(path_);
    connect(&stepper_, &QTimer::timeout, this, &Startup::readSlice);
    stepper_.start(0);
}

// One slice of rows per pass of the event loop; the screen paints the last
// name between two slices.
void Startup::readSlice()
{
    QElapsedTimer slice;
    slice.start();
    int rows = 0;
    while (!reading_->done() && rows < kSliceRows && slice.elapsed() < kSliceMs)
        rows += reading_->step(10);
    if (!reading_->lastName().isEmpty())
        loading_->setRecord(reading_->lastName());
    if (reading_->done())
        loaded();
    else
        stepper_.start(0);
}

void Startup::loaded()
{
    disconnect(&stepper_, nullptr, this, nullptr);
    result_ = CatalogueStore::fill(reading_->finish(), app_.catalogue(),
                                   [this](const QString& name) { loading_->setRecord(name); });
    reading_.reset();
    if (!result_.ok) {
        stage_ = Stage::Failed;
        loading_->hide();
        main_->hide();
        app_.platform().messages.show(nullptr, unreadableCatalogueText(path_, failureReason(path_, result_)),
                                      MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
        main_.reset();
        emit finished(false);
        return;
    }
    main_->catalogueLoaded();
    stage_ = Stage::Placing;
    frameWait_.start();
    connect(&stepper_, &QTimer::timeout, this, &Startup::placeWhenFramed);
    placeWhenFramed();
}

// The main window comes on the screen once the window manager has told its
// frame, already sized and placed, so the first frame a user sees is final.
void Startup::placeWhenFramed()
{
    if (!main_->frameKnown() && frameWait_.elapsed() < kFrameWaitMs) {
        stepper_.start(10);
        return;
    }
    disconnect(&stepper_, nullptr, this, nullptr);
    main_->showPlaced();
    loading_->close();
    stage_ = Stage::Done;
    // The program runs with what could be read; the user is told what is missing.
    reportShortRead(path_, result_);
    emit finished(true);
}
