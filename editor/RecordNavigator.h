#pragma once

#include <QKeySequence>
#include <QWidget>
#include <optional>

class QKeyEvent;
class QLabel;
class QToolButton;

// The record navigator: first, previous, next and last around a caption.
// It only asks to move; the editor writes the record on screen first and
// moves only when that succeeded. Its buttons are reached by Tab and spoken
// by what they do; Ctrl+Home, Ctrl+PageUp, Ctrl+PageDown and Ctrl+End press
// them from anywhere in the window.
class RecordNavigator : public QWidget {
    Q_OBJECT

public:
    enum class Move { First, Previous, Next, Last };

    RecordNavigator(const QString& caption, QWidget* parent);

    QToolButton* button(Move m) const;
    QLabel* captionLabel() const { return caption_; }

    static QKeySequence keyOf(Move m);
    // The move a key press stands for, if any: the window's fields let these
    // keys through to the navigator.
    static std::optional<Move> moveOf(const QKeyEvent& e);

signals:
    void moveRequested(RecordNavigator::Move move);

private:
    QToolButton* first_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* last_;
    QLabel* caption_;
};
