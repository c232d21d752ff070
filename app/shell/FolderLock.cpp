#include "app/shell/FolderLock.h"

#include "app/shell/SafeFile.h"
#include "app/shell/SideFiles.h"
#include "app/shell/TextCodec.h"
#include "engine/Errors.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

using namespace formulon::engine;
using Clock = std::chrono::steady_clock;

namespace {

// One lock file by one owner: the same inode with the same time stamp.
struct TLockSeen {
    dev_t device;
    ino_t inode;
    timespec modified;
};

TLockSeen Seen(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_mtim};
}

bool SameLock(const struct stat& info, const TLockSeen& seen) {
    return info.st_dev == seen.device && info.st_ino == seen.inode &&
           info.st_mtim.tv_sec == seen.modified.tv_sec &&
           info.st_mtim.tv_nsec == seen.modified.tv_nsec;
}

QByteArray HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return QByteArray(name).replace(' ', '_');
}

// Differs between machines even when they share a host name, and between
// boots of one machine, whose process ids start over.
QByteArray BootId() {
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray();
}

// The owner line of the lock file seen, or nothing when it cannot be read
// (it may not be written yet, or may belong to a crash).
QList<QByteArray> OwnerOf(const QByteArray& path, const struct stat& seen) {
    TDescriptor fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.Open() || ::fstat(fd.Get(), &info) != 0 || !SameLock(info, Seen(seen)))
        return {};
    char line[512];
    const ssize_t n = ::read(fd.Get(), line, sizeof line);
    return n > 0 ? QByteArray(line, n).simplified().split(' ') : QList<QByteArray>{};
}

// Its owner ran on this machine in this boot and is gone. A lock naming
// this process is an earlier process's that had the same id: a lock is
// looked at only while this process holds none.
bool OwnerDeadHere(const QList<QByteArray>& owner) {
    const QList<QByteArray> own = TFolderLock::OwnerLine().simplified().split(' ');
    if (owner.size() != 3 || owner[1] != own[1] || owner[2] != own[2])
        return false;
    bool number = false;
    const long pid = owner[0].toLong(&number);
    if (!number || pid <= 0)
        return false;
    return pid == ::getpid() || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

std::chrono::nanoseconds Age(const struct stat& info) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return std::chrono::seconds(now.tv_sec - info.st_mtim.tv_sec) +
           std::chrono::nanoseconds(now.tv_nsec - info.st_mtim.tv_nsec);
}

bool Stale(const QByteArray& path, const struct stat& info) {
    return OwnerDeadHere(OwnerOf(path, info)) || Age(info) > kLockTakeOverAge;
}

// Moves the stale lock aside and removes it. When another copy replaced it
// in the meantime, what was moved is that copy's lock: it goes back.
void TakeOver(const QByteArray& path, const struct stat& stale) {
    const QByteArray aside = StaleLockName(path);
    if (::rename(path.constData(), aside.constData()) != 0)
        return; // gone already, or taken over by another copy
    struct stat moved {};
    if (LinkStatus(aside, moved) && SameLock(moved, Seen(stale)))
        ::unlink(aside.constData());
    else
        ::rename(aside.constData(), path.constData());
}

// Once per lock file and run: every load and save there would say the same.
void ReportUnguarded(const QByteArray& path, int code, const TLockedFile& file) {
    static QSet<QByteArray> reported;
    if (reported.contains(path))
        return;
    reported.insert(path);
    std::fprintf(stderr, "formulon: %s: %s; %s is read and saved without a lock\n",
                 path.constData(), code ? std::strerror(code) : "not a plain file",
                 file.EnglishName);
}

[[noreturn]] void RaiseBusy(const QByteArray& path, const TLockedFile& file) {
    throw EInOutError(ToCp1251(QStringLiteral("%1 занят другой копией Formulon (блокировка %2)")
                                   .arg(file.Name, QFile::decodeName(path))),
                      EWOULDBLOCK);
}

void Pause() {
    std::this_thread::sleep_for(
        std::chrono::milliseconds(QRandomGenerator::global()->bounded(5, 25)));
}

// A lock file made whole under a name of its own and then linked to the
// lock's path in one step, so no copy ever finds it half-written; a kill
// leaves at most the prepared file, which saves tidy away.
class TPreparedLock {
public:
    explicit TPreparedLock(const QByteArray& lockPath) : name_(PreparedPattern(lockPath)) {
        fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        ::fchmod(fd_, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
        WriteAll(fd_, TFolderLock::OwnerLine());
    }
    ~TPreparedLock() {
        if (fd_ < 0)
            return;
        ::unlink(name_.constData());
        ::close(fd_);
    }
    TPreparedLock(const TPreparedLock&) = delete;
    TPreparedLock& operator=(const TPreparedLock&) = delete;

    int Error() const { return error_; }
    // 0, or link's error: EEXIST while another copy holds the lock.
    int PlaceAt(const QByteArray& path) const {
        return ::link(name_.constData(), path.constData()) == 0 ? 0 : errno;
    }
    // The placed lock's descriptor, now the caller's.
    int Release() {
        ::unlink(name_.constData());
        return std::exchange(fd_, -1);
    }

private:
    QByteArray name_;
    int fd_ = -1;
    int error_ = 0;
};

} // namespace

QByteArray TFolderLock::OwnerLine() {
    static const QByteArray line =
        QByteArray::number(::getpid()) + ' ' + HostName() + ' ' + BootId() + '\n';
    return line;
}

TFolderLock::TFolderLock(const QByteArray& folder, const TLockedFile& file,
                         std::chrono::milliseconds patience)
    : path_(LockPath(folder)) {
    TPreparedLock prepared(path_);
    if (prepared.Error()) {
        // No folder yet means no file to guard either.
        if (prepared.Error() != ENOENT)
            ReportUnguarded(path_, prepared.Error(), file);
        return;
    }
    const Clock::time_point deadline = Clock::now() + patience;
    std::optional<TLockSeen> holder;
    Clock::time_point heldSince;
    for (;;) {
        const int placed = prepared.PlaceAt(path_);
        if (placed == 0) {
            Hold(prepared.Release());
            return;
        }
        if (placed != EEXIST) {
            // No links on this file system: the lock file is made in place.
            CreateInPlace(file);
            return;
        }
        struct stat info {};
        if (!LinkStatus(path_, info))
            continue; // released a moment ago
        if (!S_ISREG(info.st_mode)) {
            ReportUnguarded(path_, 0, file);
            return;
        }
        if (Stale(path_, info)) {
            TakeOver(path_, info);
            continue;
        }
        // A clock on another machine may be off: a lock seen unchanged
        // for as long is old whatever its time stamp says.
        const Clock::time_point now = Clock::now();
        if (!holder || !SameLock(info, *holder)) {
            holder = Seen(info);
            heldSince = now;
        } else if (now - heldSince >= kLockTakeOverAge) {
            TakeOver(path_, info);
            continue;
        }
        if (now >= deadline)
            RaiseBusy(path_, file);
        Pause();
    }
}

TFolderLock::~TFolderLock() {
    Release();
}

void TFolderLock::Hold(int fd) {
    struct stat info {};
    ::fstat(fd, &info);
    fd_ = fd;
    device_ = info.st_dev;
    inode_ = info.st_ino;
}

void TFolderLock::CreateInPlace(const TLockedFile& file) {
    // Polls like the loop above would; rare enough (file systems without
    // links) to wait simply. A kill before the owner line is written
    // leaves it empty: taken over by age.
    const Clock::time_point deadline = Clock::now() + kLockTakeOverAge;
    for (;;) {
        const int fd =
            ::open(path_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                   S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
        if (fd >= 0) {
            WriteAll(fd, OwnerLine());
            Hold(fd);
            return;
        }
        struct stat info {};
        if (errno != EEXIST || !LinkStatus(path_, info) || !S_ISREG(info.st_mode)) {
            ReportUnguarded(path_, errno == EEXIST ? 0 : errno, file);
            return;
        }
        if (Stale(path_, info) || Clock::now() >= deadline)
            TakeOver(path_, info);
        else
            Pause();
    }
}

void TFolderLock::Release() {
    if (fd_ < 0)
        return;
    // Only our own: a copy that took it over (we took too long) keeps its.
    struct stat info {};
    if (LinkStatus(path_, info) && info.st_dev == device_ && info.st_ino == inode_)
        ::unlink(path_.constData());
    ::close(fd_);
    fd_ = -1;
}
