#include "session/WelcomeLine.h"

const char* const WelcomeLine::kMessage = "ようこそ、ソノハVer.3.47へ。";
const char* const WelcomeLine::kNotice = "右クリックでメニューが開きます。見かけた花の特徴をクリックしてください。";

WelcomeLine::Tick WelcomeLine::tick(const QString& status)
{
    const QString message = QString::fromUtf8(kMessage);
    const int len = int(message.size());
    Tick t;
    if (n_ + 1 < len) {
        t = {message.left(n_ + 1), 30};
    } else if (n_ + 1 == len) {
        t = {message, 1000};
    } else if (n_ + 1 == len + 1) {
        t = {QString::fromUtf8(kNotice), 2000};
    } else {
        t = {status.isEmpty() ? QStringLiteral("目的の箇所をクリックしてください。") : status, 0};
        n_ = 0;
        return t;
    }
    ++n_;
    return t;
}
