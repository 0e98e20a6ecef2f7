#pragma once

#include "catalogue/FlowerRecord.h"
#include "editor/CodeEntry.h"
#include "editor/KeyboardPath.h"
#include "editor/RecordTable.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>

class AppContext;
class QAction;
class QDataWidgetMapper;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class RecordNavigator;
class RecordTable;
class UserFolders;
struct FlowerRecord;

// The record editor "データの編集（追加，訂正・更新，削除）": a modal form
// bound to table KUSABANA that adds, corrects and deletes records, with code
// boxes for the five categories. Nothing of the in-memory catalogue changes
// while it is open; run() reloads it once the editor has closed.
class RecordEditor : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Idle, Add, Correct, Delete };

    static const char* const kCaption;

    // Opens the editor modally over parent and, after it closed, reloads the
    // catalogue in the program's name order. False when the editor could not
    // be opened (the user has been told why); the catalogue is then as it was.
    static bool run(AppContext& app, QWidget* parent);
    // Rebuilds the in-memory catalogue from the file; on failure the catalogue
    // keeps its contents.
    static bool reloadCatalogue(AppContext& app);
    // Why the editor cannot write the catalogue file, or an empty string.
    static QString unwritableReason(AppContext& app);
    // Where the catalogue is installed read-only: asks, the first time, to
    // copy it to the user's own folder, and copies it. False when the user
    // said no or the copy failed (the user has been told why).
    static bool offerCopy(AppContext& app, QWidget* parent);
    static QString copyOfferText(const UserFolders& folders);
    static QString copyFailedText(const QString& reason);

    // The table must be open.
    RecordEditor(AppContext& app, std::unique_ptr<RecordTable> table, QWidget* parent);
    ~RecordEditor() override;

    Mode mode() const { return mode_; }
    int currentRow() const;
    const CodeEntry& codes() const { return codes_; }

    // Menu entries and buttons, as the user chooses them.
    void startAdding();
    void startCorrecting();
    void startDeleting();
    void saveRecord(int index);
    void deleteRecord();
    void closeEditor();
    void cancelEdit();
    void browsePicture();

    QMenuBar* menuBar = nullptr;
    QAction* addEntry = nullptr;
    QAction* correctEntry = nullptr;
    QAction* deleteEntry = nullptr;
    RecordNavigator* navigator = nullptr;
    std::array<QLineEdit*, 7> fieldBoxes{};  // name, five category fields, picture
    QPlainTextEdit* noteBox = nullptr;  // description
    std::array<QLineEdit*, 6> codeBoxes{};  // code boxes 1..5 ([0] unused)
    std::array<QLabel*, 6> codeHelp{};  // help lists 1..5 ([0] unused)
    QLineEdit* familyBox = nullptr;  // family name for code 12
    QLineEdit* familyPrompt = nullptr;  // its prompt
    std::array<QLabel*, 8> captions{};
    std::array<QPushButton*, 2> saveButtons{};
    QPushButton* deleteButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* browseButton = nullptr;

public slots:
    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void limitField(QLineEdit* field, int byteLimit);
    void nameForScreenReaders();
    void buildLayout();
    void bind();
    void applyFonts();
    void enterMode(Mode m);
    void setEditable(bool on);
    void showRow(int row);
    void recordShown();
    void syncCategoryWidgets();
    void showFamilyName(bool on);
    void showHelp(int box, bool on);
    void moveTo(int move);
    bool writeScreen();
    bool screenChanged() const;
    bool settleChanges();
    void abandonAndClose();
    void warnIfIncomplete();
    FlowerRecord screenRecord() const;
    void putOnScreen(const FlowerRecord& r);
    void clearScreen();
    EditorField fieldOf(QObject* o) const;
    QWidget* widgetOf(EditorField f) const;
    void failed(const QString& text);
    void writeFailed(RecordTable::Outcome outcome);
    void readFailed();
    // Removes the pictures that the browse copied into the data folder and
    // no stored record names (their records were abandoned).
    void removeAbandonedPictures();

    // What the fields on screen stand for: nothing, a record being added, or
    // a stored record as it was read (the row that holds it is looked up
    // when it is written, since a failed read forgets the rows).
    enum class Shown { Nothing, NewRecord, StoredRecord };

    AppContext& app_;
    std::unique_ptr<RecordTable> table_;
    QDataWidgetMapper* mapper_ = nullptr;
    CodeEntry codes_;
    Mode mode_ = Mode::Idle;
    Shown shown_ = Shown::Nothing;
    FlowerRecord shownRecord_;
    QStringList copiedPictures_;  // stored names of the browse's copies
};
