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

struct TPathOption {
    const char* Name;
    QByteArray TCommandLine::*Field;
    const char* Needs;
};

const TPathOption kPathOptions[] = {
    {"--table", &TCommandLine::table, "--table needs the path of the champions file"},
    {"--results", &TCommandLine::results, "--results needs the path of the results log"},
    {"--tasks", &TCommandLine::tasks, "--tasks needs the path of the task set file"},
};

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

// The value of `key` in the [General] group as the settings format reads
// it (the last one counts): a value in double quotes with backslash
// escapes, or a bare one; a bare one holding ',' (a list) or ';' (a
// comment) is refused. Nothing when the key is absent.
std::optional<QString> PathSetting(const QByteArray& bytes, const QByteArray& key,
                                   const QString& path, QString* problem) {
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
                *problem += QStringLiteral("Настройка %1 в %2 содержит запятую или точку "
                                           "с запятой без кавычек и не используется: напишите путь "
                                           "в двойных кавычках, %1=\"%3\".\n")
                                .arg(QString::fromLatin1(key), path, QString::fromUtf8(text));
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

// A path option, `--name PATH` or `--name=PATH`: true when `argument` is one.
bool TakePathOption(const TPathOption& option, int argc, const char* const* argv, int& i,
                    TCommandLine& line) {
    const QByteArray argument = argv[i];
    const QByteArray joinedPrefix = QByteArray(option.Name) + '=';
    if (argument != option.Name && !argument.startsWith(joinedPrefix))
        return false;
    QByteArray& value = line.*option.Field;
    if (argument != option.Name)
        value = argument.mid(joinedPrefix.size());
    else if (i + 1 < argc)
        value = argv[++i];
    if (value.isEmpty())
        line.error = QString::fromLatin1(option.Needs);
    return true;
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

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
    TCommandLine line;
    for (int i = 1; i < argc && line.error.isEmpty(); ++i) {
        bool known = false;
        for (const TPathOption& option : kPathOptions)
            known = known || TakePathOption(option, argc, argv, i, line);
        if (!known)
            line.error = QStringLiteral("unknown argument '%1'").arg(QFile::decodeName(argv[i]));
    }
    return line;
}

QString UsageText() {
    return QStringLiteral("usage: formulon [--table PATH] [--results PATH] [--tasks FILE]\n"
                          "  --table PATH    keep the champions in the class table PATH\n"
                          "  --results PATH  append every check to the results log PATH\n"
                          "  --tasks FILE    play the teacher's task set FILE\n"
                          "  --help          print this help and exit\n");
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
                setting = PathSetting(*bytes, key, folder + name, problem);
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

QStringList MachineConfigFolders() {
    return ConfigFolders().mid(1);
}

QByteArray ChooseResultsFile(const TCommandLine& commandLine, QString* problem,
                             const QStringList& machineFolders) {
    if (!commandLine.results.isEmpty())
        return Absolute(commandLine.results);
    return PathFromSettings("ResultsFile", problem, machineFolders);
}
