#include "platform/DesktopDocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool DesktopDocumentOpener::open(const QString& path, std::function<void()> failedLater)
{
    if (!QFileInfo(path).isFile())
        return false;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));

    // Lives until xdg-open ends, which for a browser started in the
    // foreground is when the browser ends; at the program's end it is left
    // running, so the page stays open.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process,
                     [process, failedLater = std::move(failedLater)](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failedLater)
                             failedLater();
                         process->deleteLater();
                     });
    process->start(opener, {path});
    if (!process->waitForStarted(kStartWaitMs)) {
        delete process;
        return false;
    }
    return true;
}
