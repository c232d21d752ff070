#include "quiz/PracticeFile.h"

#include "app/shell/DataFolder.h"
#include "app/shell/FolderLock.h"
#include "app/shell/SafeFile.h"
#include "app/shell/SideFiles.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const TLockedFile kLockedFile{QStringLiteral("Файл тренировки"), "the practice file"};

// What the path holds now.
struct TDiskProgress {
    enum { None, Valid, Failed } state = None;
    TPracticeProgress progress;
};

// At most one byte more than a progress file may have: a longer file is
// damaged, whatever it holds, and is never read whole.
std::optional<std::string> ReadBounded(int fd) {
    std::string bytes(kProgressFileMaxSize + 1, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

// Under the lock. Nothing there, or no plain file (a folder fails at the
// save's rename; a pipe holds no progress), is no progress.
TDiskProgress ReadProgress(const QByteArray& path) {
    TDiskProgress disk;
    TDescriptor file(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.Open()) {
        if (errno != ENOENT && errno != ELOOP && errno != ENOTDIR)
            disk.state = TDiskProgress::Failed;
        return disk;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return disk;
    const std::optional<std::string> bytes = ReadBounded(file.Get());
    const std::optional<TPracticeProgress> progress =
        bytes ? DecodePracticeProgress(*bytes) : std::nullopt;
    disk.state = progress ? TDiskProgress::Valid : TDiskProgress::Failed;
    disk.progress = progress.value_or(TPracticeProgress{});
    return disk;
}

void Write(const QByteArray& path, const TPracticeProgress& progress) {
    ReplaceFile(path, QByteArray::fromStdString(EncodePracticeProgress(progress)),
                KeptFileMode(path, {S_IRUSR | S_IWUSR, static_cast<gid_t>(-1)}));
}

} // namespace

QByteArray PracticeFileNativePath() {
    return PersonalDataFolder() + QByteArrayLiteral("/practice.txt");
}

QString PracticeFilePath() {
    return QFile::decodeName(PracticeFileNativePath());
}

TPracticeLoad LoadPracticeProgress() {
    const QByteArray path = PracticeFileNativePath();
    TFolderLock lock(FolderOf(path), kLockedFile);
    const TDiskProgress disk = ReadProgress(path);
    TPracticeLoad load;
    load.Progress = disk.progress;
    if (disk.state == TDiskProgress::Valid)
        load.State = TPracticeLoad::TState::Loaded;
    if (disk.state != TDiskProgress::Failed)
        return load;
    load.State = TPracticeLoad::TState::Damaged;
    load.Backup = QFile::decodeName(KeepAsBackup(path));
    Write(path, load.Progress);
    return load;
}

TPracticeProgress SavePracticeProgress(const TPracticeProgress& ours) {
    const QByteArray path = PracticeFileNativePath();
    MakeFolders(FolderOf(path));
    TFolderLock lock(FolderOf(path), kLockedFile);
    RemoveSaveLeftovers(path);
    const TDiskProgress disk = ReadProgress(path);
    if (disk.state == TDiskProgress::Failed)
        KeepAsBackup(path);
    const TPracticeProgress merged =
        disk.state == TDiskProgress::Valid ? MergePracticeProgress(disk.progress, ours) : ours;
    Write(path, merged);
    return merged;
}
