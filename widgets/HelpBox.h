#pragma once

#include <QWidget>

// The one-line help box beside the pointer (button help texts and the
// gallery's range tip). Its width is the measured width of the text followed
// by one space, in the box's own font.
class HelpBox : public QWidget {
    Q_OBJECT

public:
    explicit HelpBox(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }
    // The width the measuring label gives a text: the text and one space.
    int measuredWidth(const QString& text) const;
    int measuredHeight() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};
