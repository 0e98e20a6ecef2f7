#pragma once

#include <QAccessibleWidget>

class Notice;

// A notice to a screen reader: a notification named by its text, showing
// while it is told.
class NoticeAccessible : public QAccessibleWidget {
public:
    explicit NoticeAccessible(Notice* notice);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // Makes every notice answer with this interface.
    static void install();

private:
    const Notice* notice() const;
};
