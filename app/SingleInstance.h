// One running copy per user and champions table on this machine, decided
// by a local socket before any window: the first copy listens under a name
// made of the user and the table; a later start finds it listening and asks
// it to come forward. The kernel frees the name when its copy ends, however
// it ends, so nothing stale is ever left to block a start. Plain sockets and
// a notifier of Qt Core: Qt Network and the libraries it brings would cost
// every start more than the check itself.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>

class QSocketNotifier;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // This user's name for a data folder and champions file.
    static QString ServerNameFor(const QByteArray& dataFolder, const QByteArray& championsFile);

    explicit TSingleInstance(QString serverName, QObject* parent = nullptr);
    ~TSingleInstance() override;

    enum class TClaim {
        First,     // this copy answers later starts from now on
        Running,   // another copy of this user answers under the name
        Unguarded, // the name cannot be had (taken by another user): run anyway
    };
    TClaim Claim();

    // A later start: asks the running copy to bring its window forward.
    // True when it answered within the time given.
    bool ReachRunningCopy(std::chrono::milliseconds within = std::chrono::seconds(1)) const;

    QString ServerName() const { return serverName_; }

signals:
    // A later start asked for the program's window.
    void frontRequested();

private:
    // Listens under the name: 0, or the errno of the failure.
    int Listen();
    void AcceptRequests();

    QString serverName_;
    int listener_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};
