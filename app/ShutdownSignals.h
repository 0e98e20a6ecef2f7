#pragma once

#include <QObject>

#include <csignal>
#include <iterator>

class QSocketNotifier;

// Turns the signals that ask the program to end (SIGTERM from a logout or a
// system shutdown, SIGHUP when its terminal goes away, SIGINT from Ctrl+C)
// into a Qt signal on the event loop, so that the program ends through the
// main window's normal closing steps instead of dying with the history of
// the run unsaved. A signal that was ignored when the program started stays
// ignored. The handler itself only writes a byte into a socket pair;
// everything else runs on the interface thread. One instance at a time; it
// restores the previous handling when destroyed.
class ShutdownSignals : public QObject {
    Q_OBJECT

public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

signals:
    void requested(int signalNumber);

private:
    void readPending();

    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    int fds_[2] = {-1, -1};
    struct sigaction previous_[std::size(kSignals)] = {};
    QSocketNotifier* notifier_ = nullptr;
};
