#pragma once

#include <QAccessibleWidget>

class Announcer;

// The announcer to a screen reader: a notification named by its last text,
// showing once it has announced something.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // Makes every announcer answer with this interface.
    static void install();

private:
    const Announcer* announcer() const;
};
