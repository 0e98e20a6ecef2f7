#pragma once

#include <QAccessibleWidget>

class PanelButton;

// What a screen reader learns of a button of the slideshow's column: the
// description and name toggles are check boxes, checked while their text
// shows; the music and interval buttons are buttons that expand their part
// of the panel; quit is a plain button. Every one is pressed by the
// keyboard's path.
class PanelButtonAccessible : public QAccessibleWidget {
public:
    explicit PanelButtonAccessible(PanelButton* button);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

    // Makes every panel button answer with this interface.
    static void install();

private:
    PanelButton* button() const;
};
