#include "app/CommandLine.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kTableOption[] = "--table";
const char kTasksOption[] = "--tasks";

QByteArray CurrentFolder() {
    QByteArray folder(4096, '\0');
    while (!::getcwd(folder.data(), folder.size()) && errno == ERANGE)
        folder.resize(folder.size() * 2);
    return QByteArray(folder.constData());
}

QByteArray Absolute(const QByteArray& path) {
    return path.startsWith('/') ? path : CurrentFolder() + '/' + path;
}

constexpr qsizetype kSettingsFileMaxSize = 1 << 16;

// A settings file's bytes: opened without blocking and read only when it is
// a plain file. Nothing when there is none; `problem` gets a line when it
// is something else.
std::optional<QByteArray> ReadSettingsFile(const QString& path, QString* problem) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    QByteArray bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.resize(kSettingsFileMaxSize);
        const ssize_t n = ::read(fd, bytes.data(), bytes.size());
        bytes.resize(n > 0 ? n : 0);
    } else {
        *problem += QStringLiteral("Файл настроек %1 — не обычный файл: он пропущен.\n").arg(path);
        ::close(fd);
        return std::nullopt;
    }
    ::close(fd);
    return bytes;
}

// The value of 'key' in the [General] group as the settings format
// reads it (the last one counts): a value in double quotes with backslash
// escapes, or a bare one; a bare one holding ',' (a list) or ';' (a
// comment) is refused. Nothing when the key is absent.
std::optional<QString> PathSetting(const QByteArray& bytes, const QString& path,
                                   const QByteArray& key, QString* problem) {
    std::optional<QString> value;
    bool general = true;
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('['))
            general = line == "[General]" || line == "[%General]";
        const qsizetype equals = line.indexOf('=');
        if (!general || equals < 0 || line.left(equals).trimmed() != key)
            continue;
        const QByteArray text = line.mid(equals + 1).trimmed();
        if (!text.startsWith('"')) {
            if (text.contains(',') || text.contains(';')) {
                *problem += QStringLiteral("Настройка %3 в %1 содержит запятую или точку "
                                           "с запятой без кавычек и не используется: напишите путь "
                                           "в двойных кавычках, %3=\"%2\".\n")
                                .arg(path, QString::fromUtf8(text), QString::fromLatin1(key));
                value = QString();
                continue;
            }
            value = QString::fromUtf8(text);
            continue;
        }
        QByteArray quoted;
        for (qsizetype i = 1; i < text.size() && text[i] != '"'; ++i)
            quoted += text[i] == '\\' && i + 1 < text.size() ? text[++i] : text[i];
        value = QString::fromUtf8(quoted);
    }
    return value;
}

} // namespace

QStringList ConfigFolders() {
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    QStringList folders{configHome.startsWith('/')
                            ? QFile::decodeName(configHome)
                            : QFile::decodeName(qgetenv("HOME")) + QStringLiteral("/.config")};
    QStringList machine;
    for (const QString& folder : QFile::decodeName(qgetenv("XDG_CONFIG_DIRS")).split(':'))
        if (folder.startsWith('/'))
            machine << folder;
    return folders + (machine.isEmpty() ? QStringList{QStringLiteral("/etc/xdg")} : machine);
}

bool AsksForHelp(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

namespace {

// "--option PATH" or "--option=PATH" at argv[i] (i moves past what it
// takes): true when it is that option, 'value' set or 'error' said.
bool TakePathOption(const char* option, const char* needs, int argc, const char* const* argv,
                    int& i, QByteArray& value, QString& error) {
    const QByteArray argument = argv[i];
    const QByteArray joinedPrefix = QByteArray(option) + '=';
    if (argument != option && !argument.startsWith(joinedPrefix))
        return false;
    const bool joined = argument != option;
    if (!joined && i + 1 < argc)
        value = QByteArray(argv[++i]);
    else if (joined)
        value = argument.mid(joinedPrefix.size());
    if (value.isEmpty())
        error = QStringLiteral("%1 needs %2")
                    .arg(QString::fromLatin1(option), QString::fromLatin1(needs));
    return true;
}

} // namespace

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
    TCommandLine line;
    for (int i = 1; i < argc && line.error.isEmpty(); ++i) {
        const QByteArray argument = argv[i];
        if (TakePathOption(kTableOption, "the path of the champions file", argc, argv, i,
                           line.table, line.error) ||
            TakePathOption(kTasksOption, "the path of the task set file", argc, argv, i, line.tasks,
                           line.error)) {
            continue;
        } else {
            line.error = QStringLiteral("unknown argument '%1'").arg(QFile::decodeName(argument));
        }
    }
    return line;
}

QString UsageText() {
    return QStringLiteral("usage: formulon [--table PATH] [--tasks FILE]\n"
                          "  --table PATH  keep the champions in the class table PATH\n"
                          "  --tasks FILE  play the teacher's task set FILE\n"
                          "  --help        print this help and exit\n");
}

namespace {

// The first settings file's value of 'key' as an absolute path; empty when
// none is set or it is refused (said in 'problem').
QByteArray PathFromSettings(const QByteArray& key, QString* problem,
                            const QStringList& configFolders) {
    // The program's own file, then the one of its maker, in each folder.
    std::optional<QString> setting;
    for (const QString& folder : configFolders)
        for (const QString& name :
             {QStringLiteral("/Formulon/Formulon.conf"), QStringLiteral("/Formulon.conf")}) {
            const std::optional<QByteArray> bytes = ReadSettingsFile(folder + name, problem);
            if (bytes && !setting)
                setting = PathSetting(*bytes, folder + name, key, problem);
        }
    const QString configured = setting.value_or(QString());
    if (configured.isEmpty()) {
        problem->chop(problem->endsWith('\n') ? 1 : 0);
        return {};
    }
    if (!configured.startsWith(QLatin1Char('/'))) {
        // Relative to what? Not to wherever the program happened to start.
        *problem += QStringLiteral("Настройка %1 должна быть полным путём: %2")
                        .arg(QString::fromLatin1(key), configured);
        return {};
    }
    problem->chop(problem->endsWith('\n') ? 1 : 0);
    return QFile::encodeName(configured);
}

} // namespace

QByteArray ChooseClassTable(const TCommandLine& commandLine, QString* problem,
                            const QStringList& configFolders) {
    if (!commandLine.table.isEmpty())
        return Absolute(commandLine.table);
    return PathFromSettings("ChampionsFile", problem, configFolders);
}

QByteArray ChooseTaskSetFile(const TCommandLine& commandLine, QString* problem,
                             const QStringList& configFolders) {
    if (!commandLine.tasks.isEmpty())
        return Absolute(commandLine.tasks);
    return PathFromSettings("TaskSet", problem, configFolders);
}
