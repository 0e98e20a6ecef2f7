#pragma once

#include "widgets/CellWidget.h"

#include <QColor>

// The name under a thumbnail, centred, in green, red or yellow.
class NameLabel : public CellWidget {
    Q_OBJECT

public:
    static const QColor kGreen;  // photo window not open
    static const QColor kRed;  // photo window open
    static const QColor kYellow;  // pointed at

    NameLabel(int index, QWidget* parent = nullptr);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    const QColor& colour() const { return colour_; }
    void setColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
    QColor colour_ = kGreen;
};
