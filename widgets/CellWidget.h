#pragma once

#include <QWidget>

// A part of a gallery cell (its picture or its name) that reports the
// pointer's events with the cell's number. A click is a left release inside.
// Focused by a key, it reports that and Space or Enter as the cell's
// activation; the window decides which part carries the focus mark.
class CellWidget : public QWidget {
    Q_OBJECT

public:
    CellWidget(int index, QWidget* parent);
    int index() const { return index_; }
    void setFocusMark(bool on);
    bool focusMark() const { return focusMark_; }

signals:
    void moved(int index);
    void pressed(int index, Qt::MouseButton button);
    void released(int index, Qt::MouseButton button);
    void clicked(int index);
    void focusedByKey(int index);
    void focusLost(int index);
    void activated(int index);

protected:
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void paintFocusMark(QPainter& p) const;

private:
    int index_;
    bool focusMark_ = false;
};
