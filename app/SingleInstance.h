// One running copy per user: a lock held for the whole session, and a local
// server through which a later start asks the running copy to come forward.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // The folders that may hold the lock file, tried in order: the data
    // folder of the champions file, then the per-user runtime folder.
    static QStringList DefaultLockFolders();

    explicit TSingleInstance(QStringList lockFolders = DefaultLockFolders(),
                             QObject* parent = nullptr);
    ~TSingleInstance() override;

    // Takes the lock in the first folder that can hold it. False when
    // another copy holds it. Where no folder can hold a lock file the
    // program runs unguarded rather than not at all: true, and no server.
    bool Acquire();

    // A later start: asks the running copy to bring its window forward.
    // True when it answered within the time given.
    bool ReachRunningCopy(std::chrono::milliseconds within = std::chrono::seconds(1)) const;

    // The running copy: answers later starts from now on. Needs the lock.
    void Listen();

    bool HoldsLock() const;
    QString LockFilePath() const { return lockPath_; }
    QString ServerName() const { return serverName_; }

signals:
    // A later start asked for the program's window.
    void frontRequested();

private:
    void AnswerRequest(QLocalSocket* socket);

    QStringList lockFolders_;
    std::unique_ptr<QLockFile> lock_;
    QString lockPath_;
    QString serverName_;
    QLocalServer* server_ = nullptr;
};
