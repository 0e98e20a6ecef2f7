#pragma once

#include <QColor>
#include <QWidget>

// The name under a thumbnail, centred, in green, red or yellow.
class NameLabel : public QWidget {
    Q_OBJECT

public:
    static const QColor kGreen;   // photo window not open
    static const QColor kRed;     // photo window open
    static const QColor kYellow;  // pointed at

    NameLabel(int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    const QColor& colour() const { return colour_; }
    void setColour(const QColor& colour);

signals:
    void moved(int index);
    void pressed(int index, int button);
    void released(int index, int button);
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    int index_;
    QString caption_;
    QColor colour_ = kGreen;
};
