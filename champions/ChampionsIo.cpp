#include "champions/ChampionsIo.h"

#include "engine/Errors.h"
#include "engine/IntegerText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace formulon::engine;

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
        const ssize_t n = ::read(fd, into + done, size - done);
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
