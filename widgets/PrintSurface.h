#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A strip that shows whatever text was printed on it last, from its top-left
// corner: cleared with cls(), written with print(). To a screen reader it is
// a status bar named by its text.
class PrintSurface : public QWidget {
    Q_OBJECT

public:
    explicit PrintSurface(QWidget* parent = nullptr);

    void cls();
    void print(const QString& text);
    const QString& text() const { return text_; }
    // Pixel width of a text in the strip's font.
    int textWidth(const QString& text) const;
    void setColours(const QColor& background, const QColor& foreground);

signals:
    void mouseMoved();
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    QString text_;
    QColor background_;
    QColor foreground_;
};
