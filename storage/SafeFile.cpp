#include "storage/SafeFile.h"

#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/IntegerText.h"

#include <QFile>

#include <atomic>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

std::atomic<unsigned> injected{0};

bool Injected(unsigned fault) {
    if (!(injected.load() & fault))
        return false;
    errno = EIO;
    return true;
}

int OpenData(const QByteArray& path, int flags, mode_t mode = 0) {
    return Injected(kFailOpen) ? -1 : ::open(path.constData(), flags, mode);
}

int SyncData(int fd) {
    return Injected(kFailFsync) ? -1 : ::fsync(fd);
}

} // namespace

std::string Cp1251Message(const QString& text) {
    return Utf8ToCp1251(text.toStdString());
}

QByteArray TemporaryPattern(const QByteArray& path) {
    return path + ".formulon-save-XXXXXX";
}

void InjectFaults(unsigned faults) {
    injected = faults;
}

void RaiseInOutError(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: // a folder where the file belongs
        throw EInOutError("File access denied", 5);
    case ENOSPC:
    case EDQUOT:
        throw EInOutError("Disk full", 101);
    default:
        throw EInOutError("I/O error " + IntToStr(code), code);
    }
}

void RaiseReadBeyondEnd() {
    throw EInOutError("Read beyond end of file", 100);
}

TDescriptor::~TDescriptor() {
    Close();
}

int TDescriptor::Close() {
    if (fd_ < 0)
        return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

void ReadExactly(int fd, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = Injected(kFailRead) ? -1 : ::read(fd, into + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseInOutError(errno);
        }
        if (n == 0)
            RaiseReadBeyondEnd();
        done += static_cast<std::size_t>(n);
    }
}

int WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += n;
    }
    return 0;
}

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

void MakeFolders(const QByteArray& folder) {
    struct stat info {};
    if (folder.isEmpty() || ::stat(folder.constData(), &info) == 0)
        return; // a file in its place fails later, at the file's own call
    if (const QByteArray parent = FolderOf(folder); parent != folder)
        MakeFolders(parent);
    if (::mkdir(folder.constData(), S_IRWXU) != 0 && errno != EEXIST)
        RaiseInOutError(errno);
}

void FlushFolder(const QByteArray& folder) {
    TDescriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Open())
        ::fsync(fd.Get());
}

bool LinkStatus(const QByteArray& path, struct stat& info) {
    return ::lstat(path.constData(), &info) == 0;
}

TNewFileMode KeptFileMode(const QByteArray& path, const TNewFileMode& fallback) {
    struct stat info {};
    if (LinkStatus(path, info) && S_ISREG(info.st_mode))
        return {static_cast<mode_t>((info.st_mode & 07777) | S_IRUSR | S_IWUSR), info.st_gid, true};
    return fallback;
}

void CheckReplaceable(const QByteArray& path, const QString& name) {
    struct stat info {};
    if (!LinkStatus(path, info) || S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))
        return;
    const QString what = S_ISDIR(info.st_mode)    ? QStringLiteral("папка")
                         : S_ISFIFO(info.st_mode) ? QStringLiteral("канал")
                         : S_ISSOCK(info.st_mode) ? QStringLiteral("сокет")
                                                  : QStringLiteral("устройство");
    throw ENotAFile(
        Cp1251Message(QStringLiteral("%1 %2 — не файл, а %3: Formulon его не читает и не "
                                     "заменяет. Укажите другой путь (--table или "
                                     "ChampionsFile).")
                          .arg(name, QFile::decodeName(path), what)),
        EINVAL);
}

TFileOnDisk ReadWhole(const QByteArray& path, std::size_t maxSize, const QString& name,
                      bool forWriting) {
    CheckReplaceable(path, name);
    TFileOnDisk disk;
    struct stat info {};
    // A link is read through only to a plain file; it is replaced, never
    // followed, by a save.
    if (::stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return disk;
    TDescriptor file(
        OpenData(path, (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.Open()) {
        if (errno == ENOENT || errno == ELOOP || errno == ENOTDIR)
            return disk;
        RaiseInOutError(errno);
    }
    if (::fstat(file.Get(), &info) != 0)
        RaiseInOutError(errno);
    if (!S_ISREG(info.st_mode))
        return disk; // swapped for a link to something else meanwhile
    disk.Exists = true;
    disk.Bytes.resize(maxSize + 1);
    std::size_t done = 0;
    while (done < disk.Bytes.size()) {
        const ssize_t n = Injected(kFailRead) ? -1
                                              : ::read(file.Get(), disk.Bytes.data() + done,
                                                       disk.Bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            RaiseInOutError(errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    disk.Bytes.resize(done);
    return disk;
}

namespace {

// On the descriptor, so a link can never redirect it; a group or mode the
// system refuses leaves the file as created. Then the bytes, on disk before
// the caller relies on them.
// A kept group this user cannot give the new file: EPERM, and the file is
// written in place instead.
int WriteNewFile(int fd, const QByteArray& bytes, const TNewFileMode& mode) {
    if (mode.group != static_cast<gid_t>(-1))
        (void)!::fchown(fd, static_cast<uid_t>(-1), mode.group);
    struct stat info {};
    if (mode.kept && mode.group != static_cast<gid_t>(-1) &&
        (::fstat(fd, &info) != 0 || info.st_gid != mode.group))
        return EPERM;
    ::fchmod(fd, mode.mode);
    if (const int code = WriteAll(fd, bytes))
        return code;
    return SyncData(fd) == 0 ? 0 : errno;
}

// The folder allows no new file: write the file itself, never through a
// link and never into anything but a plain file; its mode stays. 0 or an
// error number.
int WriteInPlace(const QByteArray& path, const QByteArray& bytes, const TNewFileMode& mode,
                 bool* reached) {
    // Non-blocking, so a pipe at the path cannot hang the open.
    TDescriptor file(
        OpenData(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode.mode));
    if (!file.Open())
        return errno;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode)) // a device or pipe is refused, not written
        return EACCES;
    const int code = WriteAll(file.Get(), bytes);
    if (reached)
        *reached = true; // some bytes, maybe all, are in the file now
    if (code)
        return code;
    if (::ftruncate(file.Get(), bytes.size()) != 0 || SyncData(file.Get()) != 0)
        return errno;
    return file.Close();
}

} // namespace

void ReplaceFile(const QByteArray& path, const QByteArray& bytes, const TNewFileMode& mode,
                 bool* reached) {
    if (reached)
        *reached = false;
    QByteArray temporary = TemporaryPattern(path);
    // O_EXCL creation: the temporary is a new file, never a link's target.
    TDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    const bool made = file.Open();
    int code = made ? WriteNewFile(file.Get(), bytes, mode) : errno;
    if (const int closed = file.Close(); code == 0)
        code = closed;
    if (made && code != 0)
        ::unlink(temporary.constData());
    // A folder an administrator keeps read-only may still hold a writable
    // file, and a class table keeps its group: rewrite that file in place.
    if (code == EACCES || code == EPERM || code == EROFS) {
        if (const int failed = WriteInPlace(path, bytes, mode, reached))
            RaiseInOutError(failed);
        return;
    }
    if (code != 0)
        RaiseInOutError(code);
    // Checked again just before: nothing but the file is ever replaced.
    struct stat info {};
    if (LinkStatus(path, info) && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        code = EISDIR;
    else if (::rename(temporary.constData(), path.constData()) != 0)
        code = errno;
    if (code != 0)
        ::unlink(temporary.constData());
    // A folder with the sticky bit keeps another user's file from being
    // replaced, not from being written.
    if (code == EPERM && S_ISREG(info.st_mode)) {
        if (const int failed = WriteInPlace(path, bytes, mode, reached))
            RaiseInOutError(failed);
        return;
    }
    if (code != 0)
        RaiseInOutError(code);
    FlushFolder(FolderOf(path));
}
