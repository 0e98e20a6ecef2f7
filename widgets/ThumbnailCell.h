#pragma once

#include "widgets/CellWidget.h"

#include <QImage>

// One thumbnail picture of the gallery (100 x 85). Shows the part of its
// picture that fits; clicks arrive only while it is enabled.
class ThumbnailCell : public CellWidget {
    Q_OBJECT

public:
    ThumbnailCell(int index, QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
};
