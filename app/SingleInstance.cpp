#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QByteArray kFrontRequest = "front\n";
const QByteArray kFrontAnswer = "ok\n";

int Remaining(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(1, deadline.remainingTime()));
}

// Names in the abstract namespace carry no permissions: anyone may listen
// or connect, so each side checks who is at the other end.
bool PeerIsThisUser(qintptr descriptor) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

// Connected to whoever listens under the name, if anyone does in time.
bool Connect(QLocalSocket& socket, const QString& name, const QDeadlineTimer& deadline) {
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    return socket.waitForConnected(Remaining(deadline));
}

} // namespace

QString TSingleInstance::ServerNameFor(const QByteArray& dataFolder,
                                       const QByteArray& championsFile) {
    const QByteArray digest =
        QCryptographicHash::hash(dataFolder + '\0' + championsFile, QCryptographicHash::Sha1)
            .toHex();
    return QStringLiteral("formulon-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.left(16)));
}

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)) {}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::TClaim TSingleInstance::Claim() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    // Two tries: a copy that ends between our listen and our look frees it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (server_->listen(serverName_)) {
            connect(server_, &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket* socket = server_->nextPendingConnection()) {
                    connect(socket, &QLocalSocket::readyRead, this,
                            [this, socket] { AnswerRequest(socket); });
                    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                    AnswerRequest(socket);
                }
            });
            return TClaim::First;
        }
        if (server_->serverError() != QAbstractSocket::AddressInUseError)
            break;
        QLocalSocket socket;
        if (Connect(socket, serverName_, QDeadlineTimer(1000)))
            return PeerIsThisUser(socket.socketDescriptor()) ? TClaim::Running : TClaim::Unguarded;
    }
    delete server_;
    server_ = nullptr;
    return TClaim::Unguarded;
}

bool TSingleInstance::ReachRunningCopy(std::chrono::milliseconds within) const {
    const QDeadlineTimer deadline(within);
    QLocalSocket socket;
    if (!Connect(socket, serverName_, deadline) || !PeerIsThisUser(socket.socketDescriptor()))
        return false;
    socket.write(kFrontRequest);
    QByteArray answer;
    while (!answer.endsWith('\n') && !deadline.hasExpired() &&
           socket.waitForReadyRead(Remaining(deadline)))
        answer += socket.readAll();
    return answer == kFrontAnswer;
}

void TSingleInstance::AnswerRequest(QLocalSocket* socket) {
    if (!socket->canReadLine())
        return;
    if (!PeerIsThisUser(socket->socketDescriptor()) || socket->readLine() != kFrontRequest) {
        socket->disconnectFromServer();
        return;
    }
    emit frontRequested();
    socket->write(kFrontAnswer);
    socket->flush();
    socket->disconnectFromServer();
}
