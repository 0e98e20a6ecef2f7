#include "editor/RecordEditor.h"

#include "catalogue/CatalogueStore.h"
#include "catalogue/CategoryTables.h"
#include "catalogue/FlowerCatalogue.h"
#include "editor/ByteLimitValidator.h"
#include "editor/EntryRules.h"
#include "editor/PictureImport.h"
#include "editor/RecordNavigator.h"
#include "editor/RecordTable.h"
#include "editor/ShiftJisText.h"
#include "platform/Beeper.h"
#include "platform/BusyPointer.h"
#include "platform/FileDialog.h"
#include "platform/MessageBoxes.h"
#include "session/AppContext.h"

#include <QDataWidgetMapper>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlTableModel>
#include <QStorageInfo>
#include <QToolButton>
#include <QVBoxLayout>

const char* const RecordEditor::kCaption = "データの編集（追加，訂正・更新，削除）";

namespace {

// The columns behind fieldBoxes[0..6], in the order of the captions down the
// form's left side.
const char* const kFieldColumns[7] = {"NAMAE", "KISETU", "IRO", "KABEN", "HA", "KA", "SYASIN"};
const char* const kCaptions[8] = {"名前", "季節", "色", "花弁", "葉", "科", "画像", "説明"};

QString dbPath(const AppContext& app)
{
    return app.folders().cataloguePath();
}

}  // namespace

// ---- entry point -----------------------------------------------------------

QString RecordEditor::unwritableReason(AppContext& app)
{
    const QString path = dbPath(app);
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    // The journal lives beside the file, so the folder must take writes too.
    if (!QFileInfo(folder).isWritable() || QStorageInfo(folder).isReadOnly() || !file.isFile() || !file.isWritable())
        return QStringLiteral("データベース（%1）に書き込めないため、データの編集はできません。")
            .arg(QString::fromLatin1(CatalogueStore::kFileName));
    return {};
}

bool RecordEditor::reloadCatalogue(AppContext& app)
{
    auto fresh = std::make_unique<FlowerCatalogue>();
    const CatalogueStore::LoadResult result = CatalogueStore::load(dbPath(app), *fresh);
    if (!result.ok)
        return false;
    app.catalogue() = *fresh;
    return true;
}

QString RecordEditor::copyOfferText(const UserFolders& folders)
{
    return QStringLiteral("図鑑のデータベースは書き込みのできない場所にあります。\n%1\n\n"
                          "データを編集できるように、あなた用のコピーを次の場所に作りますか？\n%2\n\n"
                          "コピーを作るのは一度だけです。以後はそのコピーを読み込み、編集します。"
                          "追加する画像もそのフォルダのdataに入ります。")
        .arg(QDir::toNativeSeparators(folders.sharedCatalogue()), QDir::toNativeSeparators(folders.userCatalogue()));
}

QString RecordEditor::copyFailedText(const QString& reason)
{
    return QStringLiteral("図鑑のデータベースをコピーできませんでした。\n%1").arg(reason);
}

bool RecordEditor::offerCopy(AppContext& app, QWidget* parent)
{
    const UserFolders& folders = app.folders();
    MessageBoxes& messages = app.platform().messages;
    if (!folders.offersCatalogueCopy())
        return true;
    if (messages.show(parent, copyOfferText(folders), MessageBoxes::Buttons::YesNo, MessageBoxes::Icon::Question) !=
        MessageBoxes::Answer::Yes)
        return false;
    QString error;
    if (!folders.copyCatalogue(&error)) {
        messages.show(parent, copyFailedText(error), MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
        return false;
    }
    return true;
}

bool RecordEditor::run(AppContext& app, QWidget* parent)
{
    MessageBoxes& messages = app.platform().messages;
    // An installed catalogue is edited in the user's own copy.
    if (!offerCopy(app, parent))
        return false;
    if (const QString why = unwritableReason(app); !why.isEmpty()) {
        messages.show(parent, why, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        return false;
    }
    auto table = std::make_unique<RecordTable>(dbPath(app));
    if (!table->open()) {
        messages.show(parent, QStringLiteral("データベースを開けません。\n%1").arg(table->error()),
                      MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
        return false;
    }
    {
        RecordEditor editor(app, std::move(table), parent);
        editor.exec();
    }  // the editor's connection is closed before the catalogue is read again
    reloadCatalogue(app);
    app.platform().busy.end();
    return true;
}

// ---- set-up ----------------------------------------------------------------

RecordEditor::RecordEditor(AppContext& app, std::unique_ptr<RecordTable> table, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , app_(app)
    , table_(std::move(table))
{
    setWindowTitle(QString::fromUtf8(kCaption));
    setModal(true);
    build();
    buildLayout();
    bind();
    applyFonts();

    closeButton->setEnabled(true);
    cancelButton->setEnabled(true);
    browseButton->setEnabled(false);
    for (QPushButton* b : {saveButtons[0], saveButtons[1], deleteButton})
        b->setEnabled(false);
    navigator->setEnabled(false);
    setEditable(false);
    showFamilyName(false);
    showRow(0);
}

RecordEditor::~RecordEditor()
{
    // The mapper refers to the table's model; it goes first.
    delete mapper_;
    mapper_ = nullptr;
}

void RecordEditor::build()
{
    menuBar = new QMenuBar(this);
    addEntry = menuBar->addAction(QStringLiteral("追加(&N)"));
    correctEntry = menuBar->addAction(QStringLiteral("訂正・更新(&R)"));
    deleteEntry = menuBar->addAction(QStringLiteral("削除(&D)"));

    navigator = new RecordNavigator(QStringLiteral("更新"), this);
    for (int i = 0; i < 8; ++i)
        captions[size_t(i)] = new QLabel(QString::fromUtf8(kCaptions[i]), this);
    for (int i = 0; i < 7; ++i) {
        auto* e = new QLineEdit(this);
        limitField(e, EntryRules::byteLimit(QLatin1String(kFieldColumns[i])));
        fieldBoxes[size_t(i)] = e;
    }
    // The category fields follow their code boxes and are reached by the mouse only.
    for (int i = 1; i <= 5; ++i)
        fieldBoxes[size_t(i)]->setFocusPolicy(Qt::ClickFocus);
    noteBox = new QPlainTextEdit(this);
    noteBox->setTabChangesFocus(true);
    for (int box = 1; box <= CodeEntry::kBoxes; ++box) {
        auto* c = new QLineEdit(this);
        c->setMaxLength(CodeEntry::maxLength(box));
        // Codes are half-width digits; an input method would only get in the way.
        c->setAttribute(Qt::WA_InputMethodEnabled, false);
        c->setInputMethodHints(Qt::ImhDigitsOnly);
        codeBoxes[size_t(box)] = c;
        auto* help = new QLabel(CodeEntry::helpList(box), this);
        help->setFrameShape(QFrame::Box);
        help->setAutoFillBackground(true);
        help->setBackgroundRole(QPalette::Base);
        help->setMargin(3);
        help->hide();
        codeHelp[size_t(box)] = help;
    }
    familyBox = new QLineEdit(this);
    limitField(familyBox, 0);
    familyPrompt = new QLineEdit(QStringLiteral("科名を記入→"), this);
    familyPrompt->setReadOnly(true);
    familyPrompt->setFocusPolicy(Qt::NoFocus);
    QPalette grey = familyPrompt->palette();
    grey.setColor(QPalette::Base, palette().color(QPalette::Window));
    grey.setColor(QPalette::Text, palette().color(QPalette::PlaceholderText));
    familyPrompt->setPalette(grey);
    for (QLineEdit* e : {familyBox, familyPrompt}) {
        QSizePolicy p = e->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        e->setSizePolicy(p);
    }

    saveButtons[0] = new QPushButton(QStringLiteral("OK_追加"), this);
    saveButtons[1] = new QPushButton(QStringLiteral("OK_訂正"), this);
    deleteButton = new QPushButton(QStringLiteral("OK_削除"), this);
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    browseButton = new QPushButton(QStringLiteral("参照"), this);
    for (QPushButton* b : {saveButtons[0], saveButtons[1], deleteButton, closeButton, cancelButton, browseButton}) {
        // Enter on a button runs that button only, never a dialog default.
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    nameForScreenReaders();
}

// Every field is named by its caption (the captions are the fields'
// buddies), each code box describes its codes, and what is written in
// half-width katakana is spoken in full width.
void RecordEditor::nameForScreenReaders()
{
    captions[0]->setBuddy(fieldBoxes[0]);
    for (int box = 1; box <= CodeEntry::kBoxes; ++box) {
        captions[size_t(box)]->setBuddy(codeBoxes[size_t(box)]);
        codeBoxes[size_t(box)]->setAccessibleDescription(CodeEntry::helpList(box));
        // The stored names beside the codes, reached by the mouse.
        fieldBoxes[size_t(box)]->setAccessibleName(captions[size_t(box)]->text() + QStringLiteral("の名称"));
    }
    captions[6]->setBuddy(fieldBoxes[6]);
    captions[7]->setBuddy(noteBox);
    familyBox->setAccessibleName(QStringLiteral("科名"));
    familyPrompt->setAccessibleName(QStringLiteral("科名"));
    cancelButton->setAccessibleName(CategoryTables::fullWidthKatakana(cancelButton->text()));
}

void RecordEditor::limitField(QLineEdit* field, int byteLimit)
{
    auto* v = new ByteLimitValidator(byteLimit, field);
    field->setValidator(v);
    connect(v, &ByteLimitValidator::refused, this, [this] { app_.platform().beeper.beep(); });
}

void RecordEditor::buildLayout()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < 7; ++i)
        grid->addWidget(captions[size_t(i)], i, 0);
    grid->addWidget(captions[7], 7, 0, Qt::AlignTop);
    grid->addWidget(fieldBoxes[0], 0, 1, 1, 4);
    const int codeWidth = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12;
    for (int box = 1; box <= CodeEntry::kBoxes; ++box) {
        codeBoxes[size_t(box)]->setFixedWidth(codeWidth);
        grid->addWidget(codeBoxes[size_t(box)], box, 1);
    }
    grid->addWidget(familyPrompt, 5, 2);
    grid->addWidget(familyBox, 5, 3, 1, 2);
    // The five stored names sit in a row right of the codes, level with the colour row.
    auto* names = new QHBoxLayout;
    for (int i = 1; i <= 5; ++i)
        names->addWidget(fieldBoxes[size_t(i)]);
    grid->addLayout(names, 2, 2, 1, 3);
    grid->addWidget(fieldBoxes[6], 6, 1, 1, 3);
    grid->addWidget(browseButton, 6, 4);
    grid->addWidget(noteBox, 7, 1, 1, 4);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(3, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(navigator);
    right->addStretch(1);
    for (QPushButton* b : {saveButtons[0], saveButtons[1], deleteButton, closeButton, cancelButton})
        right->addWidget(b);

    auto* whole = new QHBoxLayout(this);
    whole->setMenuBar(menuBar);
    whole->addLayout(grid, 1);
    whole->addSpacing(12);
    whole->addLayout(right);

    // The navigator, at the top, comes first: the record is chosen, then edited.
    setTabOrder(navigator->button(RecordNavigator::Move::First), navigator->button(RecordNavigator::Move::Previous));
    setTabOrder(navigator->button(RecordNavigator::Move::Previous), navigator->button(RecordNavigator::Move::Next));
    setTabOrder(navigator->button(RecordNavigator::Move::Next), navigator->button(RecordNavigator::Move::Last));
    setTabOrder(navigator->button(RecordNavigator::Move::Last), fieldBoxes[0]);
    setTabOrder(fieldBoxes[0], codeBoxes[1]);
    for (int box = 1; box < CodeEntry::kBoxes; ++box)
        setTabOrder(codeBoxes[size_t(box)], codeBoxes[size_t(box) + 1]);
    setTabOrder(codeBoxes[5], familyBox);
    setTabOrder(familyBox, fieldBoxes[6]);
    setTabOrder(fieldBoxes[6], browseButton);
    setTabOrder(browseButton, noteBox);
    setTabOrder(noteBox, saveButtons[0]);
    setTabOrder(saveButtons[0], saveButtons[1]);
    setTabOrder(saveButtons[1], deleteButton);
    setTabOrder(deleteButton, closeButton);
    setTabOrder(closeButton, cancelButton);
}

void RecordEditor::applyFonts()
{
    QFont f = font();
    f.setPointSize(app_.fontSize(9));
    setFont(f);
    // Sizes follow the font, so the form fits at any scale.
    const QFontMetrics m(f);
    noteBox->setMinimumSize(m.horizontalAdvance(QStringLiteral("あ")) * 30, m.lineSpacing() * 6);
    for (int i = 1; i <= 5; ++i)
        fieldBoxes[size_t(i)]->setMinimumWidth(m.horizontalAdvance(QStringLiteral("ｺﾞﾏﾉﾊｸﾞｻ科")) + 12);
}

void RecordEditor::bind()
{
    mapper_ = new QDataWidgetMapper;
    mapper_->setModel(table_->model());
    mapper_->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    for (int i = 0; i < 7; ++i)
        mapper_->addMapping(fieldBoxes[size_t(i)], table_->column(QLatin1String(kFieldColumns[i])));
    mapper_->addMapping(familyBox, table_->column(QStringLiteral("KA2")));
    mapper_->addMapping(noteBox, table_->column(QStringLiteral("NOTE")));

    connect(addEntry, &QAction::triggered, this, &RecordEditor::startAdding);
    connect(correctEntry, &QAction::triggered, this, &RecordEditor::startCorrecting);
    connect(deleteEntry, &QAction::triggered, this, &RecordEditor::startDeleting);
    connect(saveButtons[0], &QPushButton::clicked, this, [this] { saveRecord(0); });
    connect(saveButtons[1], &QPushButton::clicked, this, [this] { saveRecord(1); });
    connect(deleteButton, &QPushButton::clicked, this, &RecordEditor::deleteRecord);
    connect(closeButton, &QPushButton::clicked, this, &RecordEditor::closeEditor);
    connect(cancelButton, &QPushButton::clicked, this, &RecordEditor::cancelEdit);
    connect(browseButton, &QPushButton::clicked, this, &RecordEditor::browsePicture);
    connect(navigator, &RecordNavigator::moveRequested, this, [this](RecordNavigator::Move m) { moveTo(int(m)); });

    for (int box = 1; box <= CodeEntry::kBoxes; ++box) {
        connect(codeBoxes[size_t(box)], &QLineEdit::textEdited, this, [this, box](const QString& t) {
            codes_.setCode(box, t);
            syncCategoryWidgets();
        });
        connect(fieldBoxes[size_t(box)], &QLineEdit::textEdited, this, [this, box](const QString& t) {
            codes_.setField(box, t);
            syncCategoryWidgets();
        });
    }
    connect(familyBox, &QLineEdit::textEdited, this, [this](const QString& t) { codes_.setFamilyName(t); });

    for (QLineEdit* e : fieldBoxes)
        e->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(familyBox), static_cast<QWidget*>(noteBox)})
        w->installEventFilter(this);
    for (int box = 1; box <= CodeEntry::kBoxes; ++box)
        codeBoxes[size_t(box)]->installEventFilter(this);
    for (QPushButton* b : {saveButtons[0], saveButtons[1], deleteButton, closeButton, cancelButton})
        b->installEventFilter(this);
}

// ---- showing records ---------------------------------------------------------

int RecordEditor::currentRow() const
{
    return table_->rowCount() > 0 ? mapper_->currentIndex() : -1;
}

void RecordEditor::showRow(int row)
{
    if (row < 0 || row >= table_->rowCount()) {
        clearScreen();
        shown_ = Shown::Nothing;
        return;
    }
    mapper_->setCurrentIndex(row);
    shown_ = table_->isNewRow(row) ? Shown::NewRecord : Shown::StoredRecord;
    shownRecord_ = table_->recordAt(row);
    recordShown();
}

void RecordEditor::recordShown()
{
    const int row = currentRow();
    const FlowerRecord r = row >= 0 ? table_->recordAt(row) : FlowerRecord{};
    codes_.clear();
    codes_.show({r.KISETU, r.IRO, r.KABEN, r.HA, r.KA}, r.KA2);
    syncCategoryWidgets();
}

void RecordEditor::syncCategoryWidgets()
{
    auto put = [](QLineEdit* e, const QString& t) {
        if (e->text() != t)
            e->setText(t);
    };
    for (int box = 1; box <= CodeEntry::kBoxes; ++box) {
        put(codeBoxes[size_t(box)], codes_.code(box));
        put(fieldBoxes[size_t(box)], codes_.field(box));
    }
    put(familyBox, codes_.familyName());
}

void RecordEditor::clearScreen()
{
    for (QLineEdit* e : fieldBoxes)
        e->clear();
    noteBox->clear();
    familyBox->clear();
    codes_.clear();
    syncCategoryWidgets();
}

void RecordEditor::putOnScreen(const FlowerRecord& r)
{
    auto put = [](QLineEdit* e, const QString& t) {
        if (e->text() != t)
            e->setText(t);
    };
    put(fieldBoxes[0], r.NAMAE);
    put(fieldBoxes[6], r.SYASIN);
    if (noteBox->toPlainText() != r.NOTE)
        noteBox->setPlainText(r.NOTE);
    codes_.clear();
    codes_.show({r.KISETU, r.IRO, r.KABEN, r.HA, r.KA}, r.KA2);
    syncCategoryWidgets();
}

FlowerRecord RecordEditor::screenRecord() const
{
    // The one-line fields turn look-alikes into JIS characters as they are typed.
    return FlowerRecord{
        fieldBoxes[0]->text(), fieldBoxes[1]->text(), fieldBoxes[2]->text(),
        fieldBoxes[3]->text(), fieldBoxes[4]->text(), fieldBoxes[5]->text(),
        familyBox->text(),     fieldBoxes[6]->text(), ShiftJisText::fromLookAlikes(noteBox->toPlainText())};
}

void RecordEditor::showFamilyName(bool on)
{
    familyBox->setVisible(on);
    familyPrompt->setVisible(on);
}

void RecordEditor::showHelp(int box, bool on)
{
    QLabel* help = codeHelp[size_t(box)];
    if (!on) {
        help->hide();
        return;
    }
    QLineEdit* code = codeBoxes[size_t(box)];
    help->adjustSize();
    QPoint at = code->mapTo(this, QPoint(code->width() + 6, 0));
    at.setY(std::max(0, std::min(at.y(), height() - help->height())));
    help->move(at);
    help->raise();
    help->show();
}

// ---- modes -------------------------------------------------------------------

void RecordEditor::setEditable(bool on)
{
    fieldBoxes[0]->setEnabled(on);
    fieldBoxes[6]->setEnabled(on);
    noteBox->setEnabled(on);
    for (int box = 1; box <= CodeEntry::kBoxes; ++box)
        codeBoxes[size_t(box)]->setEnabled(on);
}

void RecordEditor::enterMode(Mode m)
{
    if (!table_->refresh()) {
        readFailed();
        return;
    }
    mode_ = m;
    navigator->setEnabled(true);
    setEditable(true);
    saveButtons[0]->setEnabled(m == Mode::Add);
    saveButtons[1]->setEnabled(m == Mode::Correct);
    deleteButton->setEnabled(m == Mode::Delete);
    for (QPushButton* b : {closeButton, cancelButton, browseButton})
        b->setEnabled(true);
    showFamilyName(false);
    if (m == Mode::Add) {
        const int row = table_->startNew();
        showRow(row);
        clearScreen();
        shown_ = Shown::NewRecord;
        fieldBoxes[0]->setFocus();
        return;
    }
    showRow(0);
    if (m == Mode::Correct)
        fieldBoxes[0]->setFocus();
}

void RecordEditor::startAdding()
{
    if (settleChanges())
        enterMode(Mode::Add);
}

void RecordEditor::startCorrecting()
{
    if (settleChanges())
        enterMode(Mode::Correct);
}

void RecordEditor::startDeleting()
{
    if (settleChanges())
        enterMode(Mode::Delete);
}

// ---- writing -----------------------------------------------------------------

void RecordEditor::failed(const QString& text)
{
    app_.platform().beeper.beep();
    app_.platform().messages.show(this, text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Critical);
}

void RecordEditor::readFailed()
{
    failed(table_->cause() == RecordTable::Cause::Locked ? EntryRules::lockedText(table_->error()) : table_->error());
    // The rows could not be read: nothing is offered for editing until a
    // mode is chosen again.
    mode_ = Mode::Idle;
    navigator->setEnabled(false);
    setEditable(false);
    for (QPushButton* b : {saveButtons[0], saveButtons[1], deleteButton, browseButton})
        b->setEnabled(false);
    showFamilyName(false);
    clearScreen();
    shown_ = Shown::Nothing;
}

void RecordEditor::writeFailed(RecordTable::Outcome outcome)
{
    MessageBoxes& messages = app_.platform().messages;
    if (outcome == RecordTable::Outcome::Full) {
        app_.platform().beeper.beep();
        messages.show(this, EntryRules::tableFullText(), MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        return;
    }
    if (outcome == RecordTable::Outcome::Gone) {
        failed(EntryRules::goneText());
        return;
    }
    switch (table_->cause()) {
    case RecordTable::Cause::Locked: failed(EntryRules::lockedText(table_->error())); break;
    case RecordTable::Cause::Unwritable: failed(EntryRules::unwritableText(table_->error())); break;
    case RecordTable::Cause::Constraint:
        failed(table_->error());
        messages.show(this, QString::fromUtf8(EntryRules::kMaybeRegistered), MessageBoxes::Buttons::Ok,
                      MessageBoxes::Icon::None);
        break;
    case RecordTable::Cause::None:
    case RecordTable::Cause::Other: failed(table_->error()); break;
    }
}

void RecordEditor::warnIfIncomplete()
{
    const std::array<QString, 8> required = {fieldBoxes[0]->text(), fieldBoxes[6]->text(), noteBox->toPlainText(),
                                             codeBoxes[1]->text(),  codeBoxes[2]->text(),  codeBoxes[3]->text(),
                                             codeBoxes[4]->text(),  codeBoxes[5]->text()};
    if (!EntryRules::incomplete(EntryRules::countEmptyFields(required)))
        return;
    app_.platform().beeper.beep();
    app_.platform().messages.show(this, QString::fromUtf8(EntryRules::kIncomplete), MessageBoxes::Buttons::Ok,
                                  MessageBoxes::Icon::Critical);
}

bool RecordEditor::screenChanged() const
{
    const FlowerRecord r = screenRecord();
    return shown_ == Shown::StoredRecord ? r != shownRecord_ : r != FlowerRecord{};
}

bool RecordEditor::settleChanges()
{
    if (!screenChanged())
        return true;
    switch (app_.platform().messages.show(this, EntryRules::saveChangesQuestion(), MessageBoxes::Buttons::YesNoCancel,
                                          MessageBoxes::Icon::Question)) {
    case MessageBoxes::Answer::Yes: warnIfIncomplete(); return writeScreen();
    case MessageBoxes::Answer::No: return true;
    default: return false;
    }
}

bool RecordEditor::writeScreen()
{
    const FlowerRecord r = screenRecord();
    switch (shown_) {
    case Shown::Nothing:
        if (r == FlowerRecord{})
            return true;
        // Typed where no record is: there is no row to take it.
        failed(EntryRules::noRecordText());
        return false;
    case Shown::NewRecord:
        if (r == FlowerRecord{}) {
            table_->abandonPending();
            return true;
        }
        break;
    case Shown::StoredRecord:
        if (r == shownRecord_)
            return true;
        break;
    }
    QString why = EntryRules::problem(r);
    // A stored picture name that nobody changed is left as it is.
    if (why.isEmpty() && (shown_ != Shown::StoredRecord || r.SYASIN != shownRecord_.SYASIN))
        why = EntryRules::pictureNameProblem(r.SYASIN);
    if (!why.isEmpty()) {
        app_.platform().beeper.beep();
        app_.platform().messages.show(this, why, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        return false;
    }
    const RecordTable::Outcome o = table_->write(shown_ == Shown::StoredRecord ? &shownRecord_ : nullptr, r);
    if (o != RecordTable::Outcome::Written) {
        // The mapper shows the stored row again when the model drops the
        // change; the record typed stays on screen, to be written again.
        putOnScreen(r);
        writeFailed(o);
        return false;
    }
    shown_ = Shown::StoredRecord;
    shownRecord_ = r;
    return true;
}

void RecordEditor::moveTo(int move)
{
    if (!writeScreen())
        return;
    // The rows were read again by the write; the record on screen is found by its fields.
    const int row = shown_ == Shown::StoredRecord ? table_->find(shownRecord_) : currentRow();
    const int count = table_->rowCount();
    int target = 0;
    switch (RecordNavigator::Move(move)) {
    case RecordNavigator::Move::First: target = 0; break;
    case RecordNavigator::Move::Previous: target = std::max(row - 1, 0); break;
    case RecordNavigator::Move::Next: target = std::min(row + 1, count - 1); break;
    case RecordNavigator::Move::Last: target = count - 1; break;
    }
    showRow(target);
}

void RecordEditor::saveRecord(int index)
{
    warnIfIncomplete();
    if (!writeScreen())
        return;
    enterMode(index == 0 ? Mode::Add : Mode::Correct);
    showFamilyName(false);
}

void RecordEditor::deleteRecord()
{
    if (shown_ != Shown::StoredRecord) {
        app_.platform().beeper.beep();
        return;
    }
    const QString question = fieldBoxes[0]->text() + QString::fromUtf8(EntryRules::kDeleteQuestion);
    if (app_.platform().messages.show(this, question, MessageBoxes::Buttons::OkCancel, MessageBoxes::Icon::Question) !=
        MessageBoxes::Answer::Ok)
        return;
    const RecordTable::Outcome o = table_->remove(shownRecord_);
    if (o != RecordTable::Outcome::Written) {
        writeFailed(o);
        return;  // the record stays on screen, to be deleted again
    }
    if (!table_->refresh()) {
        readFailed();
        return;
    }
    showRow(0);
    showFamilyName(false);
}

void RecordEditor::closeEditor()
{
    warnIfIncomplete();
    if (!writeScreen())
        return;
    accept();
}

void RecordEditor::cancelEdit()
{
    abandonAndClose();
}

void RecordEditor::reject()
{
    // The close box and Escape: a change on screen is saved or dropped as the user says.
    if (!settleChanges())
        return;
    abandonAndClose();
}

void RecordEditor::abandonAndClose()
{
    // The record on screen is abandoned without being written.
    table_->abandonPending();
    clearScreen();
    QDialog::reject();
}

void RecordEditor::removeAbandonedPictures()
{
    if (copiedPictures_.isEmpty())
        return;
    const CatalogueStore::ReadResult stored = CatalogueStore::read(dbPath(app_));
    // Unsure which pictures the records name (a name may have been cut),
    // every copy stays.
    if (!stored.ok() || stored.end != CatalogueStore::ReadEnd::Complete || stored.cutTexts > 0)
        return;
    for (const QString& copied : std::as_const(copiedPictures_)) {
        const bool named = std::any_of(stored.rows.begin(), stored.rows.end(),
                                       [&](const FlowerRecord& r) { return PictureImport::mayName(r.SYASIN, copied); });
        if (!named)
            QFile::remove(app_.pathOf(QStringLiteral("data/")) + copied);
    }
    copiedPictures_.clear();
}

void RecordEditor::done(int result)
{
    removeAbandonedPictures();
    app_.platform().busy.begin();
    navigator->setEnabled(false);
    setEditable(false);
    for (QPushButton* b : {saveButtons[0], saveButtons[1], deleteButton, closeButton, cancelButton})
        b->setEnabled(false);
    QDialog::done(result);
}

void RecordEditor::browsePicture()
{
    const QString dataFolder = app_.folders().pictureFolder();
    const QStringList filters = {QStringLiteral("JPEG (*.jpg)"), QStringLiteral("ビットマップ（BMP） (*.bmp)"),
                                 QStringLiteral("GIF (*.gif)"), QStringLiteral("WMF (*.wmf)"),
                                 QStringLiteral("すべてのファイル (*)")};
    const QString chosen = app_.platform().files.openFile(this, QStringLiteral("ﾌｧｲﾙを開く"), dataFolder, filters);
    if (chosen.isEmpty()) {
        fieldBoxes[6]->setFocus();
        return;
    }
    const QString shared = app_.folders().apart() ? app_.pathOf(QStringLiteral("data/")) : QString();
    const PictureImport::Result r = PictureImport::import(chosen, dataFolder, shared);
    if (!r.ok) {
        app_.platform().beeper.beep();
        app_.platform().messages.show(this, r.message, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
        fieldBoxes[6]->setFocus();
        return;
    }
    if (r.copied)
        copiedPictures_ << r.storedName;
    fieldBoxes[6]->setText(r.storedName);
    noteBox->setFocus();
}

// ---- keyboard and focus ------------------------------------------------------

EditorField RecordEditor::fieldOf(QObject* o) const
{
    if (o == fieldBoxes[0])
        return EditorField::Name;
    for (int box = 1; box <= CodeEntry::kBoxes; ++box)
        if (o == codeBoxes[size_t(box)])
            return KeyboardPath::codeBox(box);
    if (o == familyBox)
        return EditorField::FamilyName;
    if (o == fieldBoxes[6])
        return EditorField::Picture;
    if (o == noteBox)
        return EditorField::Description;
    return EditorField::None;
}

QWidget* RecordEditor::widgetOf(EditorField f) const
{
    if (const int box = KeyboardPath::boxOf(f); box > 0)
        return codeBoxes[size_t(box)];
    switch (f) {
    case EditorField::Name: return fieldBoxes[0];
    case EditorField::FamilyName: return familyBox;
    case EditorField::Picture: return fieldBoxes[6];
    case EditorField::Description: return noteBox;
    case EditorField::OkAdd: return saveButtons[0];
    case EditorField::OkCorrect: return saveButtons[1];
    case EditorField::OkDelete: return deleteButton;
    default: return nullptr;
    }
}

bool RecordEditor::eventFilter(QObject* watched, QEvent* event)
{
    const int box = KeyboardPath::boxOf(fieldOf(watched));
    if (box > 0 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const bool in = event->type() == QEvent::FocusIn;
        if (in)
            showFamilyName(false);
        showHelp(box, in);
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride && RecordNavigator::moveOf(*static_cast<QKeyEvent*>(event))) {
        // The text fields would move their cursor with these keys; they
        // belong to the navigator.
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Cancel)) {
        // Esc is ｷｬﾝｾﾙ from every field, whatever the field would make of it.
        reject();
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;

    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (!enter)
            return false;
        if (button->isEnabled())
            button->click();
        return true;
    }
    PathKey pathKey;
    if (enter)
        pathKey = PathKey::Enter;
    else if (key->key() == Qt::Key_Down)
        pathKey = PathKey::Down;
    else if (key->key() == Qt::Key_Up)
        pathKey = PathKey::Up;
    else
        return false;
    const KeyboardPath::Step step =
        KeyboardPath::step(fieldOf(watched), pathKey, codeBoxes[5]->text(),
                           {saveButtons[0]->isEnabled(), saveButtons[1]->isEnabled(), deleteButton->isEnabled()});
    if (!step.handled)
        return false;
    if (step.openFamilyName) {
        showFamilyName(true);
        familyBox->selectAll();
    }
    if (QWidget* w = widgetOf(step.target))
        w->setFocus(Qt::TabFocusReason);
    return true;
}
