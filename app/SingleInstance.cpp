#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

const QByteArray kFrontRequest = "front\n";
const QByteArray kFrontAnswer = "ok\n";
// As many waiting later starts as anyone could make at once.
constexpr int kBacklog = 50;

// The name in the abstract namespace: a leading zero byte, then the name's
// bytes, no terminating zero (its length is the address's).
struct TAddress {
    sockaddr_un Address{};
    socklen_t Size = 0;
};

bool AbstractAddress(const QString& name, TAddress& address) {
    const QByteArray bytes = name.toUtf8();
    if (bytes.isEmpty() || bytes.size() + 1 > qsizetype(sizeof address.Address.sun_path))
        return false;
    address.Address.sun_family = AF_UNIX;
    address.Address.sun_path[0] = '\0';
    std::memcpy(address.Address.sun_path + 1, bytes.constData(), bytes.size());
    address.Size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    return true;
}

// Names in the abstract namespace carry no permissions: anyone may listen
// or connect, so each side checks who is at the other end.
bool PeerIsThisUser(int descriptor) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

// Owns a socket descriptor.
class TSocket {
public:
    explicit TSocket(int descriptor = -1) : descriptor_(descriptor) {}
    ~TSocket() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Get() const { return descriptor_; }
    int Release() { return std::exchange(descriptor_, -1); }
    void Reset(int descriptor) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = descriptor;
    }

private:
    int descriptor_;
};

// Connected to whoever listens under the name, if anyone does in time (a
// full backlog makes the connection wait, up to the deadline).
bool Connect(TSocket& socket, const QString& name, const QDeadlineTimer& deadline) {
    TAddress address;
    if (!AbstractAddress(name, address))
        return false;
    TSocket connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (connection.Get() < 0)
        return false;
    const qint64 milliseconds = std::max<qint64>(1, deadline.remainingTime());
    timeval timeout{};
    timeout.tv_sec = time_t(milliseconds / 1000);
    timeout.tv_usec = suseconds_t(milliseconds % 1000 * 1000);
    ::setsockopt(connection.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    int result;
    do
        result = ::connect(connection.Get(), reinterpret_cast<const sockaddr*>(&address.Address),
                           address.Size);
    while (result != 0 && errno == EINTR && !deadline.hasExpired());
    if (result != 0)
        return false;
    socket.Reset(connection.Release());
    return true;
}

bool WriteAll(int descriptor, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::send(descriptor, bytes.constData() + written, bytes.size() - written, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

// One later start's connection to this copy: its request is read as it
// arrives, answered, and the connection closed.
class TRequest : public QObject {
public:
    TRequest(int descriptor, TSingleInstance* instance, std::function<void()> onFront)
        : QObject(instance), socket_(descriptor), onFront_(std::move(onFront)) {
        notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Read(); });
        Read(); // what arrived with the connection
    }

private:
    void Read() {
        if (!notifier_->isEnabled())
            return; // finished, to be deleted
        char bytes[64];
        for (;;) {
            const ssize_t n = ::recv(socket_.Get(), bytes, sizeof bytes, MSG_DONTWAIT);
            if (n > 0) {
                line_.append(bytes, n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            const bool open = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
            if (!Answer() && open)
                return; // the line is not complete yet
            // Answered, refused or hung up: the connection closes.
            notifier_->setEnabled(false);
            deleteLater();
            return;
        }
    }

    // Answers the request once its first line is complete: the front request
    // of this user brings the window forward and is acknowledged, anything
    // else is hung up on. False while the line is incomplete. The request is
    // kFrontRequest.size() bytes, so that many decide.
    bool Answer() {
        const qsizetype newline = line_.indexOf('\n');
        if (newline < 0 && line_.size() < kFrontRequest.size())
            return false;
        if (line_.left(kFrontRequest.size()) == kFrontRequest && PeerIsThisUser(socket_.Get())) {
            onFront_();
            (void)WriteAll(socket_.Get(), kFrontAnswer);
        }
        return true;
    }

    TSocket socket_;
    std::function<void()> onFront_;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray line_;
};

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

TSingleInstance::~TSingleInstance() {
    // Frees the name at once; open requests close with their objects.
    if (listener_ >= 0)
        ::close(listener_);
}

int TSingleInstance::Listen() {
    TAddress address;
    if (!AbstractAddress(serverName_, address))
        return EINVAL;
    TSocket listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (listener.Get() < 0 ||
        ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address.Address), address.Size) !=
            0 ||
        ::listen(listener.Get(), kBacklog) != 0)
        return errno;
    listener_ = listener.Release();
    notifier_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TSingleInstance::AcceptRequests);
    return 0;
}

void TSingleInstance::AcceptRequests() {
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // none left (EAGAIN), or none to be had now
        }
        new TRequest(connection, this, [this] { emit frontRequested(); });
    }
}

TSingleInstance::TClaim TSingleInstance::Claim() {
    // Two tries: a copy that ends between our listen and our look frees it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int error = Listen();
        if (error == 0)
            return TClaim::First;
        if (error != EADDRINUSE)
            break;
        TSocket socket;
        if (Connect(socket, serverName_, QDeadlineTimer(1000)))
            return PeerIsThisUser(socket.Get()) ? TClaim::Running : TClaim::Unguarded;
    }
    return TClaim::Unguarded;
}

bool TSingleInstance::ReachRunningCopy(std::chrono::milliseconds within) const {
    const QDeadlineTimer deadline(within);
    TSocket socket;
    if (!Connect(socket, serverName_, deadline) || !PeerIsThisUser(socket.Get()) ||
        !WriteAll(socket.Get(), kFrontRequest))
        return false;
    QByteArray answer;
    while (!answer.endsWith('\n') && !deadline.hasExpired()) {
        pollfd readable{socket.Get(), POLLIN, 0};
        const int ready = ::poll(&readable, 1, int(std::max<qint64>(1, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char bytes[16];
        const ssize_t n = ::recv(socket.Get(), bytes, sizeof bytes, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        answer.append(bytes, n);
    }
    return answer == kFrontAnswer;
}
