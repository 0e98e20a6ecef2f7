#pragma once

#include <QAccessibleWidget>

class CellWidget;

// What a screen reader learns of a gallery cell: a filled cell is named by
// its flower and can be pressed, which opens the photo window as a click
// does (the name is a button, the picture an image); an empty cell is a
// nameless filler with no action, so nothing of a former page is left.
class CellAccessible : public QAccessibleWidget {
public:
    CellAccessible(CellWidget* cell, QAccessible::Role filledRole);

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

    // Makes every cell part answer with this interface.
    static void install();

private:
    CellWidget* cell() const;
    bool filled() const;

    QAccessible::Role filledRole_;
};
