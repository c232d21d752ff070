// SIGTERM, SIGHUP and SIGINT (a logout, kill, Ctrl+C) as an event of the
// event loop, so the program can end the orderly way and keep its records.
#pragma once

#include <QObject>

class QSocketNotifier;

class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    // Catches the three signals for as long as it lives; one lives at a time.
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

signals:
    // One of the signals arrived; delivered by the event loop.
    void terminationRequested(int signal);

private:
    void Drain();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};
