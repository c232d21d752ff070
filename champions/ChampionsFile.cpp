#include "champions/ChampionsFile.h"

#include "app/shell/MessageBoxes.h"
#include "champions/ChampionsIo.h"
#include "champions/ChampionsLock.h"
#include "champions/ChampionsSideFiles.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

const QString kChangedText = QStringLiteral("Файл рекордов был изменён.\rРезультаты обновлены.");

// The whole file, read under the lock; no file: nothing; a file of the
// wrong size is not read: empty bytes.
std::optional<std::string> ReadForLoad(const QByteArray& path) {
    TChampionsLock lock(FolderOf(path));
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return std::nullopt;
    if (info.st_size != kChampionsFileSize)
        return std::string();
    // Opened for reading and writing, so a read-only file fails.
    TDescriptor file(::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!file.Open())
        RaiseInOutError(errno);
    std::string bytes(kChampionsFileSize, '\0');
    ReadExactly(file.Get(), bytes.data(), bytes.size());
    return bytes;
}

// What a save found at the path.
struct TDiskTable {
    enum { None, Valid, Failed } state = None;
    TChampionTable table;
};

// The table at the path now. Nothing (or nothing readable) there is no
// table; a file that cannot be read or fails its check is Failed.
TDiskTable ReadForMerge(const QByteArray& path) {
    TDiskTable disk;
    TDescriptor file(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.Open()) {
        if (errno != ENOENT && errno != ELOOP && errno != ENOTDIR)
            disk.state = TDiskTable::Failed;
        return disk;
    }
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return disk; // a folder fails at the rename; a pipe holds no table
    disk.state = TDiskTable::Failed;
    std::string bytes(kChampionsFileSize, '\0');
    char extra = 0;
    try {
        ReadExactly(file.Get(), bytes.data(), bytes.size());
        if (::read(file.Get(), &extra, 1) == 0 && DecodeChampionsFile(bytes, disk.table))
            disk.state = TDiskTable::Valid;
    } catch (const Exception&) {
        // Short, unreadable or a checksum text that is no integer: failed.
    }
    return disk;
}

// The mode and group a new file at the path gets.
struct TNewFileMode {
    mode_t mode;
    gid_t group; // (gid_t)-1: whatever the folder gives
};

TNewFileMode NewFileMode(const QByteArray& path) {
    struct stat info {};
    // The owner keeps reading and writing it, or the next save could not
    // merge it.
    if (LinkStatus(path, info) && S_ISREG(info.st_mode))
        return {static_cast<mode_t>((info.st_mode & 0777) | S_IRUSR | S_IWUSR), info.st_gid};
    if (!UsesClassTable())
        return {S_IRUSR | S_IWUSR, static_cast<gid_t>(-1)};
    // Every pupil of the class reads and saves the class table.
    struct stat folder {};
    const gid_t group =
        ::stat(FolderOf(path).constData(), &folder) == 0 ? folder.st_gid : static_cast<gid_t>(-1);
    return {S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP, group};
}

// On the descriptor, so a link can never redirect it; a group or mode the
// system refuses leaves the file as created. Then the bytes, on disk before
// the caller relies on them.
int WriteNewFile(int fd, const QByteArray& bytes, const TNewFileMode& mode) {
    if (mode.group != static_cast<gid_t>(-1))
        (void)!::fchown(fd, static_cast<uid_t>(-1), mode.group);
    ::fchmod(fd, mode.mode);
    if (const int code = WriteAll(fd, bytes))
        return code;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// The folder allows no new file: write the file itself, never through a
// link and never into anything but a plain file; its mode stays. 0 or an
// error number.
int WriteInPlace(const QByteArray& path, const QByteArray& bytes, const TNewFileMode& mode) {
    // Non-blocking, so a pipe at the path cannot hang the open.
    TDescriptor file(::open(path.constData(),
                            O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode.mode));
    if (!file.Open())
        return errno;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode)) // a device or pipe is refused, not written
        return EACCES;
    if (const int code = WriteAll(file.Get(), bytes))
        return code;
    if (::ftruncate(file.Get(), bytes.size()) != 0 || ::fsync(file.Get()) != 0)
        return errno;
    return file.Close();
}

// A new file renamed over the path: a link there is replaced, never
// followed, and the old table stays whole until the new one is complete.
void WriteChampionsFile(const QByteArray& path, const QByteArray& bytes, const TNewFileMode& mode) {
    QByteArray temporary = TemporaryPattern(path);
    // O_EXCL creation: the temporary is a new file, never a link's target.
    TDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.Open()) {
        const int code = errno;
        // A folder an administrator keeps read-only may still hold a
        // writable file: rewrite that file in place.
        if (code != EACCES && code != EPERM)
            RaiseInOutError(code);
        if (const int failed = WriteInPlace(path, bytes, mode))
            RaiseInOutError(failed);
        return;
    }
    int code = WriteNewFile(file.Get(), bytes, mode);
    if (const int closed = file.Close(); code == 0)
        code = closed;
    if (code == 0 && ::rename(temporary.constData(), path.constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlink(temporary.constData());
        RaiseInOutError(code);
    }
    FlushFolder(FolderOf(path));
}

} // namespace

QByteArray ChampionsFileBytes() {
    return QByteArray::fromStdString(EncodeChampionsFile());
}

TChampionsLoad LoadChampions() {
    const std::optional<std::string> bytes = ReadForLoad(ChampionsFileNativePath());
    TChampionsLoad outcome = TChampionsLoad::Loaded;
    if (!bytes) {
        // No file yet: an empty ranking, no message.
        EmptyRanking();
        outcome = TChampionsLoad::NoFile;
    } else {
        bool valid = false;
        try {
            valid = DecodeChampionsFile(*bytes);
        } catch (const EConvertError&) {
            // Reported as the old runtime reports it, but the rows that
            // were never checked do not stay to be saved as valid.
            EmptyRanking();
            throw;
        }
        if (!valid) {
            ShowInformationBox(kChangedText);
            EmptyRanking();
            outcome = TChampionsLoad::Changed;
        }
    }
    SortChampions();
    return outcome;
}

void SaveChampions() {
    const QByteArray path = ChampionsFileNativePath();
    // A class table's folder is the teacher's to make.
    if (!UsesClassTable())
        MakeFolders(FolderOf(path));
    TChampionsLock lock(FolderOf(path));
    RemoveSaveLeftovers(path);
    TDiskTable disk = ReadForMerge(path);
    const TNewFileMode mode = NewFileMode(path);
    if (disk.state == TDiskTable::Failed)
        KeepAsBackup(path);
    const TChampionTable merged =
        MergeChampions(disk.state == TDiskTable::Valid ? &disk.table : nullptr, RunRecords);
    WriteChampionsFile(path, QByteArray::fromStdString(EncodeChampionsFile(merged)), mode);
    ChampionTable = merged;
    RunRecords.Saved = RunRecords.Entered.size();
}
