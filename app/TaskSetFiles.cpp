#include "app/TaskSetFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TTaskSetRefusal Unreadable(int error) {
    if (error == ENOENT)
        return {0, "файла нет"};
    if (error == EACCES)
        return {0, "файл нельзя прочитать: нет прав"};
    return {0, "файл не читается: " + QString::fromLocal8Bit(std::strerror(error)).toStdString()};
}

QString DataFolder(const char* variable, const QString& fallback) {
    const QByteArray value = qgetenv(variable);
    return value.startsWith('/') ? QFile::decodeName(value) : fallback;
}

} // namespace

TTaskSetReading ReadTaskSetFile(const QByteArray& path) {
    // Without blocking: a pipe or a device named as a set never holds the
    // start up.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Unreadable(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return TTaskSetRefusal{0, "это не обычный файл"};
    }
    // One byte past the limit is enough for the reader to refuse the size.
    std::string bytes(kMaxSetFileBytes + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return Unreadable(error);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    return ReadTaskSet(bytes, name.toStdString());
}

QString RefusalText(const QByteArray& path, const TTaskSetRefusal& refusal) {
    return QStringLiteral("Набор заданий %1 не загружен: %2.")
        .arg(QFile::decodeName(path), QString::fromStdString(refusal.Text));
}

QStringList TaskSetFolders() {
    const QString home = QFile::decodeName(qgetenv("HOME"));
    QStringList folders{DataFolder("XDG_DATA_HOME", home + QStringLiteral("/.local/share")) +
                        QStringLiteral("/Formulon/tasks")};
    QString machine = DataFolder("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& folder : machine.split(':', Qt::SkipEmptyParts))
        if (folder.startsWith('/'))
            folders << folder + QStringLiteral("/formulon/tasks");
    return folders;
}

std::vector<std::shared_ptr<const TTaskSet>> InstalledTaskSets(QStringList* refusals,
                                                               const QStringList& folders) {
    std::vector<std::shared_ptr<const TTaskSet>> sets{StandardTaskSet()};
    std::set<QString> names;
    for (const QString& folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.tasks")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) {
            if (!names.insert(file.fileName()).second)
                continue;
            const QByteArray path = QFile::encodeName(file.filePath());
            TTaskSetReading reading = ReadTaskSetFile(path);
            if (const auto* set = std::get_if<std::shared_ptr<const TTaskSet>>(&reading))
                sets.push_back(*set);
            else
                *refusals << RefusalText(path, std::get<TTaskSetRefusal>(reading));
        }
    }
    return sets;
}
