#include "mainwindow/LoadingScreen.h"

#include "assets/ButtonArt.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

LoadingScreen::LoadingScreen(int labelFontSize)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
    , picture_(ButtonArt::loadingPicture(ButtonArt::scaleFor(devicePixelRatioF())))
    , step_(new QLabel(QStringLiteral("環境設定を読み込んでいます..."), this))
    , record_(new QLabel(QStringLiteral("少々お待ちください..."), this))
{
    setFixedSize(400, 300);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
    }
    QFont f = font();
    f.setPointSize(labelFontSize);
    for (QLabel* l : {step_, record_}) {
        l->setFont(f);
        l->setAttribute(Qt::WA_TranslucentBackground);
    }
    step_->setGeometry(8, 280, 160, 16);
    record_->setGeometry(170, 280, 224, 16);
}

void LoadingScreen::setStep(const QString& text)
{
    // Painted by the event loop between two steps of the start.
    step_->setText(text);
}

void LoadingScreen::setRecord(const QString& name)
{
    record_->setText(name);
}

void LoadingScreen::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(rect(), picture_);
    if (!painted_) {
        painted_ = true;
        emit painted();
    }
}
