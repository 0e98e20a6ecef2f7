#pragma once

#include <QColor>
#include <QWidget>

// The percentage bar shown while thumbnails are drawn: the percentage
// centred, and a box from the left edge to the percentage drawn with an
// inverting pen, so the covered part, text included, changes colour.
class ProgressBox : public QWidget {
    Q_OBJECT

public:
    explicit ProgressBox(QWidget* parent = nullptr);

    void drawProgress(double percent);
    double percent() const { return percent_; }
    QString label() const;  // "37 %"
    void setForeground(const QColor& c) { foreground_ = c; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double percent_ = 0;
    QColor foreground_{0, 0, 255};
};
