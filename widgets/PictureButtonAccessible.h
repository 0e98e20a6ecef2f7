#pragma once

#include <QAccessibleWidget>

class PictureButton;

// What a screen reader learns of a picture button: its name, its
// description, whether it is checked, and a press action that takes the
// keyboard's path.
class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

    // Makes every picture button answer with this interface.
    static void install();

private:
    PictureButton* button() const;
};
