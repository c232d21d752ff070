#include "storage/ResultsLog.h"

#include "storage/FolderLock.h"
#include "storage/SafeFile.h"

#include <QFile>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

QString Shown(const QByteArray& path) {
    return QFile::decodeName(path);
}

QString SystemError(int code) {
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("на диске нет места");
    case EFBIG:
        return QStringLiteral("файл достиг наибольшего разрешённого размера");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет права писать в него");
    case ENOENT:
        return QStringLiteral("его нет: файл создаёт учитель");
    default:
        return QString::fromLocal8Bit(::strerror(code));
    }
}

QString Failed(const QByteArray& path, const QString& why) {
    return QStringLiteral("Результаты не записаны в журнал %1: %2.").arg(Shown(path), why);
}

bool InPupilsGroups(gid_t group) {
    if (group == ::getgid() || group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? count : 0);
    if (count > 0 && ::getgroups(count, groups.data()) == count)
        for (const gid_t member : groups)
            if (member == group)
                return true;
    return false;
}

// Why the file may not take a line, or empty: a plain file, someone else's,
// that the pupil can read neither through a group nor as anyone.
QString Refusal(const struct stat& info) {
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("это не обычный файл");
    if (info.st_uid == ::getuid() || info.st_uid == ::geteuid())
        return QStringLiteral("файл принадлежит ученику, и ученик мог бы его прочесть; "
                              "журнал заводит учитель");
    if (((info.st_mode & S_IRGRP) && InPupilsGroups(info.st_gid)) || (info.st_mode & S_IROTH))
        return QStringLiteral("его могут прочесть ученики (chmod 620 закрывает его)");
    return {};
}

// The line in one write under the lock; a short write (a full disk, the
// size limit) is taken back, so no line is ever cut.
QString WriteLocked(int fd, const QByteArray& path, const QByteArray& line,
                    std::chrono::milliseconds lockPatience) {
    switch (LockOpenFile(fd, lockPatience)) {
    case TLockOutcome::Taken:
        break;
    case TLockOutcome::Busy:
        return Failed(path, QStringLiteral("файл слишком долго занят другой копией Formulon"));
    case TLockOutcome::Unsupported:
        return Failed(
            path, QStringLiteral("блокировки файлов там не работают (%1)").arg(SystemError(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Failed(path, SystemError(errno));
    if (const QString refusal = Refusal(info); !refusal.isEmpty())
        return Failed(path, refusal);
    const ssize_t written = ::write(fd, line.constData(), static_cast<size_t>(line.size()));
    if (written == line.size())
        return {};
    const int code = written < 0 ? errno : ENOSPC;
    if (written > 0 && ::ftruncate(fd, info.st_size) != 0)
        return Failed(
            path, QStringLiteral("%1, и начало строки осталось в файле").arg(SystemError(code)));
    return Failed(path, SystemError(code));
}

} // namespace

QString AppendResultsLine(const QByteArray& path, const QByteArray& line,
                          std::chrono::milliseconds lockPatience) {
    // A device or pipe is never opened (opening one may block or act), a
    // link never followed, a missing file never made.
    struct stat info {};
    if (LinkStatus(path, info) && !S_ISREG(info.st_mode))
        return Failed(path, S_ISLNK(info.st_mode) ? QStringLiteral("это ссылка, а не файл")
                                                  : QStringLiteral("это не обычный файл"));
    const int fd = ::open(path.constData(),
                          O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Failed(path, errno == ELOOP ? QStringLiteral("это ссылка, а не файл")
                            : errno == ENXIO ? QStringLiteral("это не обычный файл")
                                             : SystemError(errno));
    TDescriptor closing(fd);
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return Failed(path, QStringLiteral("это не обычный файл"));
    return WriteLocked(fd, path, line, lockPatience);
}

struct TResultsLog::TState {
    QByteArray path;
    std::mutex mutex;
    std::condition_variable wake; // a line queued, or the end
    std::condition_variable idle; // the queue emptied
    std::deque<QByteArray> queue;
    bool writing = false;
    bool ending = false;
    bool failureTold = false;
    std::function<void(const QString&)> failed;

    void Run() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return ending || !queue.empty(); });
            if (queue.empty())
                return;
            const QByteArray line = std::move(queue.front());
            queue.pop_front();
            writing = true;
            lock.unlock();
            const QString failure = AppendResultsLine(path, line);
            lock.lock();
            writing = false;
            if (!failure.isEmpty() && !failureTold && failed) {
                failureTold = true;
                failed(failure);
            }
            if (queue.empty())
                idle.notify_all();
        }
    }
};

TResultsLog::TResultsLog(QByteArray path) : state_(std::make_shared<TState>()) {
    state_->path = std::move(path);
    // The thread shares the state, so a thread given up at the end still
    // has what it uses.
    std::thread([state = state_] { state->Run(); }).detach();
}

TResultsLog::~TResultsLog() {
    Finish();
}

const QByteArray& TResultsLog::Path() const {
    return state_->path;
}

void TResultsLog::Append(QByteArray line) {
    {
        const std::lock_guard lock(state_->mutex);
        if (state_->ending)
            return;
        state_->queue.push_back(std::move(line));
    }
    state_->wake.notify_one();
}

void TResultsLog::SetFailureHandler(std::function<void(const QString&)> handler) {
    const std::lock_guard lock(state_->mutex);
    state_->failed = std::move(handler);
}

bool TResultsLog::Finish(std::chrono::milliseconds patience) {
    std::unique_lock lock(state_->mutex);
    if (std::exchange(state_->ending, true))
        return state_->queue.empty() && !state_->writing; // finished before: no second wait
    state_->wake.notify_one();
    const bool done = state_->idle.wait_for(
        lock, patience, [this] { return state_->queue.empty() && !state_->writing; });
    // Past the patience the rest is given up: the thread ends after the
    // line it is writing, or with the program.
    state_->queue.clear();
    state_->failed = nullptr;
    return done;
}
