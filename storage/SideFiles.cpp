#include "storage/SideFiles.h"

#include "storage/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const QByteArray kBackupMark = ".formulon-backup-";
const QByteArray kLockName = "formulon.lock";
const QByteArray kPreparedMark = ".new-";
const QByteArray kStaleMark = ".stale-";

// mkstemp's letters, whatever the locale says is alphanumeric.
bool IsTemporaryLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsLeftoverName(const QByteArray& entry, const QByteArray& prefix) {
    if (!entry.startsWith(prefix) || entry.size() != prefix.size() + 6)
        return false;
    for (qsizetype i = prefix.size(); i < entry.size(); ++i)
        if (!IsTemporaryLetter(entry[i]))
            return false;
    return true;
}

// The number of <prefix><n>, or 0 when the name is not one of the
// program's.
int BackupNumber(const QByteArray& entry, const QByteArray& prefix) {
    if (!entry.startsWith(prefix) || entry.size() == prefix.size() ||
        entry.size() > prefix.size() + 3)
        return 0;
    const QByteArray digits = entry.mid(prefix.size());
    for (const char c : digits)
        if (c < '0' || c > '9')
            return 0;
    return digits[0] == '0' ? 0 : digits.toInt();
}

// Calls visit with the folder's descriptor and each entry's name.
void ForEachEntry(const QByteArray& folder,
                  const std::function<void(int, const QByteArray&)>& visit) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir))
        visit(::dirfd(dir), QByteArray(entry->d_name));
    ::closedir(dir);
}

std::vector<int> BackupNumbers(const QByteArray& path) {
    const QByteArray prefix = NameOf(path) + kBackupMark;
    std::vector<int> numbers;
    ForEachEntry(FolderOf(path), [&](int, const QByteArray& name) {
        if (const int n = BackupNumber(name, prefix))
            numbers.push_back(n);
    });
    return numbers;
}

// Another name for what the path names, never replacing anything. A link
// keeps the path valid; where the file system has none, a rename that
// refuses to replace, or on older kernels one checked just before.
int KeepUnder(const QByteArray& path, const QByteArray& backup) {
    if (::link(path.constData(), backup.constData()) == 0)
        return 0;
    if (errno == EEXIST || errno == ENOENT || errno == EACCES || errno == EROFS || errno == ENOSPC)
        return errno;
    if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, backup.constData(), RENAME_NOREPLACE) ==
        0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat info {};
    if (LinkStatus(backup, info))
        return EEXIST;
    return ::rename(path.constData(), backup.constData()) == 0 ? 0 : errno;
}

// Backups past the newest kBackupsKept go, links and plain files only.
// Newest by the inode's change time, which making the backup (a link or a
// rename) sets and no user can set back; the number breaks ties.
void PruneBackups(const QByteArray& path) {
    struct TBackup {
        timespec made;
        int number;
    };
    std::vector<TBackup> backups;
    for (const int n : BackupNumbers(path)) {
        struct stat info {};
        if (LinkStatus(BackupPath(path, n), info) &&
            (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            backups.push_back({info.st_ctim, n});
    }
    std::sort(backups.begin(), backups.end(), [](const TBackup& a, const TBackup& b) {
        if (a.made.tv_sec != b.made.tv_sec)
            return a.made.tv_sec > b.made.tv_sec;
        if (a.made.tv_nsec != b.made.tv_nsec)
            return a.made.tv_nsec > b.made.tv_nsec;
        return a.number > b.number;
    });
    for (std::size_t i = kBackupsKept; i < backups.size(); ++i)
        ::unlink(BackupPath(path, backups[i].number).constData());
}

// The number the next backup takes: past the highest, or the lowest free.
int NextBackupNumber(const QByteArray& path, const std::vector<int>& taken) {
    const int highest = taken.empty() ? 0 : *std::max_element(taken.begin(), taken.end());
    if (highest < kBackupNumberLimit)
        return highest + 1;
    for (int n = 1; n <= kBackupNumberLimit; ++n) {
        struct stat info {};
        if (std::find(taken.begin(), taken.end(), n) == taken.end() &&
            !LinkStatus(BackupPath(path, n), info))
            return n;
    }
    return 0;
}

} // namespace

QByteArray LockPath(const QByteArray& folder) {
    return folder + '/' + kLockName;
}

QByteArray BackupPath(const QByteArray& path, int number) {
    return path + kBackupMark + QByteArray::number(number);
}

void RemoveSaveLeftovers(const QByteArray& path, std::chrono::seconds age) {
    // The temporary file's name less the six letters mkstemp fills in.
    const QByteArray prefix = NameOf(TemporaryPattern(path)).chopped(6);
    const QByteArray preparedPrefix = kLockName + kPreparedMark;
    const QByteArray stalePrefix = kLockName + kStaleMark;
    const std::time_t before = std::time(nullptr) - age.count();
    ForEachEntry(FolderOf(path), [&](int folder, const QByteArray& name) {
        struct stat info {};
        // Only plain files: the save never makes anything else.
        if ((IsLeftoverName(name, prefix) || IsLeftoverName(name, preparedPrefix) ||
             IsLeftoverName(name, stalePrefix)) &&
            ::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_mtime < before)
            ::unlinkat(folder, name.constData(), 0);
    });
}

QByteArray KeepAsBackup(const QByteArray& path) {
    std::vector<int> taken = BackupNumbers(path);
    // A name of that number may appear meanwhile (made by hand): then the
    // next one.
    for (int attempt = 0;; ++attempt) {
        const int number = NextBackupNumber(path, taken);
        const int code = number ? KeepUnder(path, BackupPath(path, number)) : EEXIST;
        if (code == 0) {
            PruneBackups(path);
            return BackupPath(path, number);
        }
        if (code != EEXIST || attempt == 100 || number == 0)
            RaiseInOutError(code);
        taken.push_back(number);
    }
}
