#include "tests/champions/ChampionsTestFiles.h"

#include "champions/core/ChampionsBytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <cstring>
#include <ctime>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

mode_t Mode(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

gid_t Group(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_gid : 0;
}

bool MakeSocket(const QByteArray& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    const bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return made;
}

bool Age(const QString& path, int seconds) {
    const timeval then{std::time(nullptr) - seconds, 0};
    const timeval times[2] = {then, then};
    return ::lutimes(QFile::encodeName(path).constData(), times) == 0;
}

std::string Entries(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name)
        .join('|')
        .toStdString();
}

std::string FileRanking(const QByteArray& bytes) {
    TChampionTable table;
    try {
        if (!DecodeChampionsFile(bytes.toStdString(), table))
            return "invalid";
    } catch (const std::exception&) {
        return "invalid";
    }
    std::string text;
    for (int slot = 1; slot <= kRankingSlots; ++slot)
        if (!table[slot].Empty())
            text += (text.empty() ? "" : " ") + table[slot].Name() + ":" + table[slot].Result();
    return text;
}

TLockHolder::TLockHolder(const QString& home, const QString& table) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!table.isEmpty())
        environment.insert("HELPER_TABLE", table);
    process_.setProcessEnvironment(environment);
    process_.start(CHAMPIONS_SAVE_HELPER, {home, "hold"});
    process_.waitForReadyRead(10000);
}

void TLockHolder::Release() {
    process_.kill();
    ::kill(static_cast<pid_t>(process_.processId()), SIGCONT); // a stopped one too
    process_.waitForFinished();
}

qint64 TLockHolder::Pid() const {
    return process_.processId();
}

QStringList RunHelper(const QString& home, const QStringList& command, const THelperRun& how) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!how.table.isEmpty())
        environment.insert("HELPER_TABLE", how.table);
    if (!how.dataHome.isEmpty())
        environment.insert("HELPER_DATA_HOME_HEX", QString::fromLatin1(how.dataHome.toHex()));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(how.folder.isEmpty() ? home : how.folder);
    const QStringList arguments = QStringList{home} + command;
    if (how.ordinaryUser && ::geteuid() == 0) {
        const QString groups = how.groups.isEmpty() ? "--clear-groups" : "--groups=" + how.groups;
        process.start("setpriv",
                      QStringList{"--reuid=65534", "--regid=65534", groups, CHAMPIONS_SAVE_HELPER} +
                          arguments);
    } else {
        process.start(CHAMPIONS_SAVE_HELPER, arguments);
    }
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

bool CanRunAsOrdinaryUser() {
    return ::geteuid() != 0 || !QStandardPaths::findExecutable("setpriv").isEmpty();
}
