#pragma once

#include <QWidget>

// A part of a gallery cell (its picture or its name) that reports the
// pointer's events with the cell's number. A click is a left release inside.
class CellWidget : public QWidget {
    Q_OBJECT

public:
    CellWidget(int index, QWidget* parent);
    int index() const { return index_; }

signals:
    void moved(int index);
    void pressed(int index, Qt::MouseButton button);
    void released(int index, Qt::MouseButton button);
    void clicked(int index);

protected:
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int index_;
};
