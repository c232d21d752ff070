#include "champions/ChampionsFile.h"

#include "app/shell/MessageBoxes.h"
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
#include "engine/IntegerText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

constexpr int kRecordSize = kChampionRecordSize;

// Set when the last load met an input/output error: the file on disk was
// never read, so the next save keeps it aside before replacing it.
bool unreadFileOnDisk = false;

// The old runtime's input/output error for a system error number.
[[noreturn]] void RaiseInOutError(int code) {
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

[[noreturn]] void RaiseReadBeyondEnd() {
    throw EInOutError("Read beyond end of file", 100);
}

// Closes a descriptor when the load leaves, normally or by an error.
struct TDescriptor {
    int fd;
    ~TDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

void ReadRecord(int fd, void* record) {
    auto* bytes = static_cast<char*>(record);
    std::size_t done = 0;
    while (done < kRecordSize) {
        const ssize_t n = ::read(fd, bytes + done, kRecordSize - done);
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

// Writes every byte; 0 or the error number of the write that failed.
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

// Mode 0600 on the descriptor, so a link can never redirect it; then the
// bytes, on disk before the caller relies on them.
int WriteDescriptor(int fd, const QByteArray& bytes) {
    ::fchmod(fd, S_IRUSR | S_IWUSR); // another owner's file may refuse; that is fine
    if (const int code = WriteAll(fd, bytes))
        return code;
    if (::ftruncate(fd, bytes.size()) != 0)
        return errno;
    if (::fsync(fd) != 0)
        return errno;
    return 0;
}

// Closes fd; a failed write or close gives its error number.
int Finish(int fd, int code) {
    if (::close(fd) != 0 && code == 0)
        code = errno;
    return code;
}

// The mkstemp pattern of the temporary files beside the file.
QByteArray TemporaryPattern(const QByteArray& path) {
    return path + ".XXXXXX";
}

// mkstemp's letters, whatever the locale says is alphanumeric.
bool IsTemporaryLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// <fileName>.XXXXXX: a temporary file of this save's own making.
bool IsLeftoverName(const char* name, const QByteArray& fileName) {
    const std::size_t prefix = fileName.size() + 1;
    if (std::strlen(name) != prefix + 6 ||
        std::strncmp(name, fileName.constData(), fileName.size()) != 0 ||
        name[fileName.size()] != '.')
        return false;
    for (std::size_t i = prefix; i < prefix + 6; ++i)
        if (!IsTemporaryLetter(name[i]))
            return false;
    return true;
}

void FlushFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // the rename's durability; nothing to report if it fails
    ::close(fd);
}

// The folder allows no new file: write the file itself, never through a
// link and never into anything but a plain file. 0 or an error number.
int WriteInPlace(const QByteArray& path, const QByteArray& bytes) {
    // Non-blocking, so a pipe at the path cannot hang the open.
    const int fd =
        ::open(path.constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
               S_IRUSR | S_IWUSR);
    if (fd < 0)
        return errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Finish(fd, errno);
    if (!S_ISREG(info.st_mode)) // a device or pipe is refused, not written
        return Finish(fd, EACCES);
    return Finish(fd, WriteDescriptor(fd, bytes));
}

// Keeps a file that was never read as <path>.bak, replacing an older one.
int KeepUnreadFile(const QByteArray& path) {
    if (::rename(path.constData(), (path + ".bak").constData()) != 0 && errno != ENOENT)
        return errno;
    return 0;
}

const QString kChangedText = QStringLiteral("Файл рекордов был изменён.\rРезультаты обновлены.");

} // namespace

QString ChampionsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/.camp.cam");
}

QByteArray ChampionsFileBytes() {
    return QByteArray::fromStdString(EncodeChampionsFile());
}

TChampionsLoad LoadChampions() {
    unreadFileOnDisk = false;
    const QString path = ChampionsFilePath();
    const QFileInfo info(path);
    bool valid = false;
    TChampionsLoad outcome = TChampionsLoad::Loaded;
    if (!info.exists()) {
        // No file yet: an empty ranking, no message.
        EmptyRanking();
        valid = true;
        outcome = TChampionsLoad::NoFile;
    } else if (info.size() == kChampionsFileSize) {
        // Opened for reading and writing, so a read-only file fails.
        const QByteArray native = QFile::encodeName(path);
        std::string bytes(kChampionsFileSize, '\0');
        try {
            TDescriptor file{::open(native.constData(), O_RDWR | O_CLOEXEC)};
            if (file.fd < 0)
                RaiseInOutError(errno);
            for (int record = 0; record < kChampionsFileRecords; ++record)
                ReadRecord(file.fd, bytes.data() + record * kRecordSize);
        } catch (const EInOutError&) {
            unreadFileOnDisk = true;
            throw;
        }
        valid = DecodeChampionsFile(bytes);
    }
    if (!valid) {
        // A changed or damaged file.
        ShowInformationBox(kChangedText);
        EmptyRanking();
        outcome = TChampionsLoad::Changed;
    }
    SortChampions();
    return outcome;
}

void WriteChampionsFile(const QString& path, const QByteArray& bytes) {
    const QByteArray native = QFile::encodeName(path);
    QByteArray pattern = TemporaryPattern(native);
    // O_EXCL creation: the temporary is a new file in the folder, never a
    // link's target.
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        // A folder an administrator keeps read-only may still hold a
        // writable file: rewrite that file in place.
        if (code != EACCES && code != EPERM)
            RaiseInOutError(code);
        if (unreadFileOnDisk) {
            // Never rewrite a file nobody could read; keep it aside first.
            if (const int failed = KeepUnreadFile(native))
                RaiseInOutError(failed);
            unreadFileOnDisk = false;
        }
        if (const int failed = WriteInPlace(native, bytes))
            RaiseInOutError(failed);
        return;
    }
    int code = Finish(fd, WriteDescriptor(fd, bytes));
    if (code == 0 && unreadFileOnDisk) {
        code = KeepUnreadFile(native);
        if (code == 0)
            unreadFileOnDisk = false;
    }
    // The rename replaces whatever the path names, a link included, in one
    // step: the old table stays whole until the new one is complete.
    if (code == 0 && ::rename(pattern.constData(), native.constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(pattern.constData());
        RaiseInOutError(code);
    }
    FlushFolder(QFile::encodeName(QFileInfo(path).absolutePath()));
}

void SaveChampions() {
    const QString path = ChampionsFilePath();
    // A failure here shows as the temporary file's failure below.
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteChampionsFile(path, ChampionsFileBytes());
}

void RemoveSaveLeftovers() {
    const QString path = ChampionsFilePath();
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const QByteArray fileName = QFile::encodeName(QFileInfo(path).fileName());
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsLeftoverName(entry->d_name, fileName))
            continue;
        struct stat info {};
        // Only plain files: the save never makes anything else.
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}
