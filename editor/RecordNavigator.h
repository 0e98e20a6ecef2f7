#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// The record navigator: first, previous, next and last around a caption.
// It only asks to move; the editor writes the record on screen first and
// moves only when that succeeded.
class RecordNavigator : public QWidget {
    Q_OBJECT

public:
    enum class Move { First, Previous, Next, Last };

    RecordNavigator(const QString& caption, QWidget* parent);

    QToolButton* button(Move m) const;
    QLabel* captionLabel() const { return caption_; }

signals:
    void moveRequested(RecordNavigator::Move move);

private:
    QToolButton* first_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* last_;
    QLabel* caption_;
};
