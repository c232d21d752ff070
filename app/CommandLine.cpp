#include "app/CommandLine.h"

#include <QFile>
#include <QSettings>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

const char kTableOption[] = "--table";

QByteArray CurrentFolder() {
    QByteArray folder(4096, '\0');
    while (!::getcwd(folder.data(), folder.size()) && errno == ERANGE)
        folder.resize(folder.size() * 2);
    return QByteArray(folder.constData());
}

QByteArray Absolute(const QByteArray& path) {
    return path.startsWith('/') ? path : CurrentFolder() + '/' + path;
}

} // namespace

bool AsksForHelp(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
    TCommandLine line;
    for (int i = 1; i < argc && line.error.isEmpty(); ++i) {
        const QByteArray argument = argv[i];
        if (argument == kTableOption || argument.startsWith("--table=")) {
            const bool joined = argument != kTableOption;
            if (!joined && i + 1 == argc)
                line.error = QStringLiteral("--table needs the path of the champions file");
            else
                line.table =
                    joined ? argument.mid(std::strlen(kTableOption) + 1) : QByteArray(argv[++i]);
            if (line.error.isEmpty() && line.table.isEmpty())
                line.error = QStringLiteral("--table needs the path of the champions file");
        } else {
            line.error = QStringLiteral("unknown argument '%1'").arg(QFile::decodeName(argument));
        }
    }
    return line;
}

QString UsageText() {
    return QStringLiteral("usage: formulon [--table PATH]\n"
                          "  --table PATH  keep the champions in the class table PATH\n"
                          "  --help        print this help and exit\n");
}

QByteArray ChooseClassTable(const TCommandLine& commandLine, QString* problem) {
    if (!commandLine.table.isEmpty())
        return Absolute(commandLine.table);
    // Formulon/Formulon.conf: the user's own file, then the machine's.
    const QSettings settings(QSettings::UserScope, QStringLiteral("Formulon"),
                             QStringLiteral("Formulon"));
    const QString configured = settings.value(QStringLiteral("ChampionsFile")).toString();
    if (configured.isEmpty())
        return {};
    if (!configured.startsWith(QLatin1Char('/'))) {
        // Relative to what? Not to wherever the program happened to start.
        *problem =
            QStringLiteral("Настройка ChampionsFile должна быть полным путём: %1").arg(configured);
        return {};
    }
    return QFile::encodeName(configured);
}
