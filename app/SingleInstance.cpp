#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

const QString kLockFileName = QStringLiteral("formulon.lock");
const QByteArray kFrontRequest = "front\n";
const QByteArray kFrontAnswer = "ok\n";

// Per user and per lock: copies guarding different data folders (another
// XDG_DATA_HOME) never meet, and another user's copy is never reached.
QString ServerNameFor(const QString& lockPath) {
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(lockPath), QCryptographicHash::Sha1).toHex();
    const QString name =
        QStringLiteral("formulon-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest.left(12)));
    // The per-user runtime folder keeps the socket out of the shared /tmp.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
}

// A lock whose owner is gone but which could not be taken over (a folder
// made read-only since) guards nothing: look further rather than report a
// running copy that is not there.
bool OwnerMayRun(const QLockFile& lock) {
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return true; // being written by a copy starting this moment
    if (host != QSysInfo::machineHostName())
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

int Remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(1, deadline.remainingTime()));
}

} // namespace

QStringList TSingleInstance::DefaultLockFolders() {
    QStringList folders{QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        folders << runtime;
    return folders;
}

TSingleInstance::TSingleInstance(QStringList lockFolders, QObject* parent)
    : QObject(parent), lockFolders_(std::move(lockFolders)) {}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::Acquire() {
    for (const QString& folder : lockFolders_) {
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + kLockFileName;
        auto lock = std::make_unique<QLockFile>(path);
        // Held for the whole session: only a dead owner makes it stale.
        lock->setStaleLockTime(0);
        const bool taken = lock->tryLock(0);
        if (taken || (lock->error() == QLockFile::LockFailedError && OwnerMayRun(*lock))) {
            lockPath_ = path;
            serverName_ = ServerNameFor(path);
            if (taken)
                lock_ = std::move(lock);
            return taken;
        }
        // This folder cannot hold a lock file (read-only, not a folder):
        // the next one may.
    }
    return true;
}

bool TSingleInstance::HoldsLock() const {
    return lock_ != nullptr;
}

bool TSingleInstance::ReachRunningCopy(std::chrono::milliseconds within) const {
    const QDeadlineTimer deadline(within);
    // The running copy may hold the lock a moment before it listens.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(Remaining(deadline))) {
            socket.write(kFrontRequest);
            QByteArray answer;
            while (!answer.endsWith('\n') && !deadline.hasExpired() &&
                   socket.waitForReadyRead(Remaining(deadline)))
                answer += socket.readAll();
            return answer == kFrontAnswer;
        }
        QThread::msleep(std::min(50, Remaining(deadline)));
    }
    return false;
}

void TSingleInstance::Listen() {
    if (!lock_ || server_)
        return;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_)) {
        // A socket left by a crashed copy: with the lock held it is no one's.
        QLocalServer::removeServer(serverName_);
        server_->listen(serverName_);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { AnswerRequest(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            AnswerRequest(socket);
        }
    });
}

void TSingleInstance::AnswerRequest(QLocalSocket* socket) {
    if (!socket->canReadLine())
        return;
    if (socket->readLine() != kFrontRequest) {
        socket->disconnectFromServer();
        return;
    }
    emit frontRequested();
    socket->write(kFrontAnswer);
    socket->flush();
    socket->disconnectFromServer();
}
