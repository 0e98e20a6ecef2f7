#pragma once

#include <QWidget>

class QLabel;

// The screen shown while the catalogue is read: a 400 x 300 picture with two
// labels, the step under way and the name of each flower just read.
class LoadingScreen : public QWidget {
    Q_OBJECT

public:
    explicit LoadingScreen(int labelFontSize);

    void setStep(const QString& text);
    void setRecord(const QString& name);
    QLabel* stepLabel() const { return step_; }
    QLabel* recordLabel() const { return record_; }

signals:
    // The first time the picture has been painted.
    void painted();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
    bool painted_ = false;
    QLabel* step_;
    QLabel* record_;
};
