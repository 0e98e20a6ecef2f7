#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

// A second start of the program asks the running copy to bring its main
// window to the front. The running copy listens on a local socket beside its
// lock, in the same private folder, so only this user's programs reach it; a
// connection is the whole request. Both ends use the socket without waiting:
// a copy that is busy or gone never holds up the start that asks.
class FrontRequest : public QObject {
    Q_OBJECT

public:
    explicit FrontRequest(QObject* parent = nullptr);
    ~FrontRequest() override;
    FrontRequest(const FrontRequest&) = delete;
    FrontRequest& operator=(const FrontRequest&) = delete;

    // Listens at path; whatever was there is replaced, since only the holder
    // of the lock listens. False when no socket can be made there.
    bool listen(const QString& path);
    // Asks the copy listening at path; true when it was reached.
    static bool send(const QString& path);

signals:
    void requested();

private:
    void acceptPending();

    QString path_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
