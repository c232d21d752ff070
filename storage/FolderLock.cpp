#include "storage/FolderLock.h"

#include "storage/SideFiles.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

using Clock = std::chrono::steady_clock;

namespace {

QString Shown(const QByteArray& path) {
    return QFile::decodeName(path);
}

[[noreturn]] void RaiseBroken(const QString& text, int code) {
    throw ELockBroken(Cp1251Message(text), code);
}

[[noreturn]] void RaiseNotAFile(const QByteArray& path, const TLockedFile& file) {
    RaiseBroken(QStringLiteral("%1 нельзя сохранить: на месте файла блокировки %2 лежит не "
                               "обычный файл. Попросите учителя или администратора удалить %2.")
                    .arg(file.Name, Shown(path)),
                EEXIST);
}

// An open file description lock: released when its holder closes the file
// or dies, never by a thread of the same process taking it again. Where the
// kernel has none, flock, which NFS maps to the same lock.
TLockOutcome TryLock(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return TLockOutcome::Taken;
    if (errno == EAGAIN || errno == EACCES)
        return TLockOutcome::Busy;
    if (errno != EINVAL)
        return TLockOutcome::Unsupported;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return TLockOutcome::Taken;
    return errno == EWOULDBLOCK ? TLockOutcome::Busy : TLockOutcome::Unsupported;
}

// The descriptor still names what the path names: a pupil may have removed
// the lock file from a group-writable folder, and a new one made there is
// another lock.
bool StillThere(int fd, const QByteArray& path) {
    struct stat held {
    }, now{};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &now) == 0 &&
           held.st_dev == now.st_dev && held.st_ino == now.st_ino;
}

void Pause() {
    std::this_thread::sleep_for(
        std::chrono::milliseconds(QRandomGenerator::global()->bounded(10, 30)));
}

void GiveMode(int fd, const TNewFileMode& mode) {
    if (mode.group != static_cast<gid_t>(-1))
        (void)!::fchown(fd, static_cast<uid_t>(-1), mode.group);
    ::fchmod(fd, mode.mode); // past the umask: the class shares it
}

} // namespace

TNewFileMode SharedFileMode(const QByteArray& filePath) {
    struct stat folder {};
    const gid_t group = ::stat(FolderOf(filePath).constData(), &folder) == 0
                            ? folder.st_gid
                            : static_cast<gid_t>(-1);
    return {S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP, group};
}

TNewFileMode PersonalFileMode() {
    return {S_IRUSR | S_IWUSR, static_cast<gid_t>(-1)};
}

TFolderLock::TFolderLock(const QByteArray& filePath, const TLockedFile& file,
                         std::chrono::milliseconds patience, const TNewFileMode& newMode)
    : path_(LockPath(FolderOf(filePath))) {
    const Clock::time_point deadline = Clock::now() + patience;
    for (;;) {
        int fd = OpenLockFile(file, newMode);
        QByteArray locked = path_;
        if (fd < 0) {
            if (errno == ENOENT)
                return; // no folder, so no file to guard
            if (errno != EACCES && errno != EPERM && errno != EROFS)
                RaiseInOutError(errno);
            if (!LockTheFileItself(filePath))
                return;
            fd = std::exchange(fd_, -1);
            locked = filePath;
        }
        WaitFor(fd, file,
                std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::max(deadline - Clock::now(), Clock::duration::zero())));
        if (StillThere(fd, locked)) {
            fd_ = fd;
            return;
        }
        ::close(fd); // the lock file went meanwhile: the one there now counts
    }
}

TFolderLock::~TFolderLock() {
    // Closing releases the lock; the lock file stays for the next copy.
    if (fd_ >= 0)
        ::close(fd_);
}

int TFolderLock::OpenLockFile(const TLockedFile& file, const TNewFileMode& newMode) {
    for (;;) {
        // A device or pipe is never opened: opening one may block or act.
        struct stat info {};
        if (LinkStatus(path_, info) && !S_ISREG(info.st_mode))
            RaiseNotAFile(path_, file);
        const int flags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::open(path_.constData(), flags);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(path_.constData(), flags | O_CREAT | O_EXCL, newMode.mode);
            if (fd < 0 && errno == EEXIST)
                continue; // another copy made it a moment ago
            if (fd >= 0)
                GiveMode(fd, newMode);
        }
        if (fd < 0) {
            const int code = errno;
            if (code == ELOOP || code == EISDIR || code == ENXIO)
                RaiseNotAFile(path_, file);
            if (code == EACCES && LinkStatus(path_, info))
                RaiseBroken(QStringLiteral("%1 нельзя сохранить: файл блокировки %2 закрыт для "
                                           "записи. Попросите учителя открыть его для группы "
                                           "(chmod 660) или удалить его.")
                                .arg(file.Name, Shown(path_)),
                            EACCES);
            errno = code;
            return -1;
        }
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            RaiseNotAFile(path_, file);
        }
        return fd;
    }
}

bool TFolderLock::LockTheFileItself(const QByteArray& filePath) {
    // Where no lock file can be made, no copy can make a new file either:
    // every save writes the file in place, so the file is the lock.
    const int fd =
        ::open(filePath.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return false; // nothing can change it: it is read as it is
    }
    fd_ = fd;
    return true;
}

void TFolderLock::WaitFor(int fd, const TLockedFile& file, std::chrono::milliseconds patience) {
    switch (LockOpenFile(fd, patience)) {
    case TLockOutcome::Taken:
        return;
    case TLockOutcome::Unsupported: {
        const int code = errno;
        ::close(fd);
        RaiseBroken(
            QStringLiteral("%1 нельзя сохранить: в папке %2 не работают блокировки "
                           "файлов (%3).")
                .arg(file.Name, Shown(FolderOf(path_)), QString::fromLocal8Bit(::strerror(code))),
            code);
    }
    case TLockOutcome::Busy:
        break;
    }
    ::close(fd);
    throw ELockBusy(Cp1251Message(QStringLiteral("%1 занят другой копией Formulon (блокировка %2)")
                                      .arg(file.Name, Shown(path_))),
                    EWOULDBLOCK);
}

TLockOutcome LockOpenFile(int fd, std::chrono::milliseconds patience) {
    const Clock::time_point deadline = Clock::now() + patience;
    for (;;) {
        const TLockOutcome outcome = TryLock(fd);
        if (outcome != TLockOutcome::Busy)
            return outcome;
        if (Clock::now() >= deadline)
            return TLockOutcome::Busy;
        Pause();
    }
}
