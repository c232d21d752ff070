#include "champions/ChampionsFile.h"

#include "app/shell/FolderLock.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/SafeFile.h"
#include "app/shell/SideFiles.h"
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
    TFolderLock lock(FolderOf(path), ChampionsLockedFile());
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
TNewFileMode NewFileMode(const QByteArray& path) {
    if (!UsesClassTable())
        return KeptFileMode(path, {S_IRUSR | S_IWUSR, static_cast<gid_t>(-1)});
    // Every pupil of the class reads and saves the class table.
    struct stat folder {};
    const gid_t group =
        ::stat(FolderOf(path).constData(), &folder) == 0 ? folder.st_gid : static_cast<gid_t>(-1);
    return KeptFileMode(path, {S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP, group});
}

} // namespace

const TLockedFile& ChampionsLockedFile() {
    static const TLockedFile file{QStringLiteral("Файл рекордов"), "the champions file"};
    return file;
}

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
    TFolderLock lock(FolderOf(path), ChampionsLockedFile());
    RemoveSaveLeftovers(path);
    TDiskTable disk = ReadForMerge(path);
    const TNewFileMode mode = NewFileMode(path);
    if (disk.state == TDiskTable::Failed)
        KeepAsBackup(path);
    const TChampionTable merged =
        MergeChampions(disk.state == TDiskTable::Valid ? &disk.table : nullptr, RunRecords);
    ReplaceFile(path, QByteArray::fromStdString(EncodeChampionsFile(merged)), mode);
    ChampionTable = merged;
    RunRecords.Saved = RunRecords.Entered.size();
}
