#include "app/shell/SideFiles.h"

#include "app/shell/SafeFile.h"

#include <QRandomGenerator>

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

const QByteArray kTemporaryMark = ".formulon-save-";
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

// The number of <prefix><n>, or 0 when the name is not one.
int BackupNumber(const QByteArray& entry, const QByteArray& prefix) {
    if (!entry.startsWith(prefix) || entry.size() == prefix.size() ||
        entry.size() > prefix.size() + 9)
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
void PruneBackups(const QByteArray& path, int newest) {
    for (const int n : BackupNumbers(path)) {
        if (n > newest - kBackupsKept)
            continue;
        const QByteArray old = BackupPath(path, n);
        struct stat info {};
        if (LinkStatus(old, info) && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            ::unlink(old.constData());
    }
}

} // namespace

QByteArray TemporaryPattern(const QByteArray& path) {
    return path + kTemporaryMark + "XXXXXX";
}

QByteArray LockPath(const QByteArray& folder) {
    return folder + '/' + kLockName;
}

QByteArray PreparedPattern(const QByteArray& lockPath) {
    return lockPath + kPreparedMark + "XXXXXX";
}

QByteArray StaleLockName(const QByteArray& lockPath) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = lockPath + kStaleMark;
    for (int i = 0; i < 6; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
    return name;
}

QByteArray BackupPath(const QByteArray& path, int number) {
    return path + kBackupMark + QByteArray::number(number);
}

void RemoveSaveLeftovers(const QByteArray& path, std::chrono::seconds age) {
    const QByteArray prefix = NameOf(path) + kTemporaryMark;
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
    int number = 0;
    for (const int n : BackupNumbers(path))
        number = std::max(number, n);
    // Another name of that number may appear meanwhile (made by hand, or by
    // a copy that found the folder unlockable): then the next one.
    for (int attempt = 0;; ++attempt) {
        ++number;
        const int code = KeepUnder(path, BackupPath(path, number));
        if (code == 0)
            break;
        if (code != EEXIST || attempt == 100)
            RaiseInOutError(code);
    }
    PruneBackups(path, number);
    return BackupPath(path, number);
}
