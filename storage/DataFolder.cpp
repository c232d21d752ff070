#include "storage/DataFolder.h"

#include <QFile>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

QByteArray HomeFolder() {
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? QByteArray(user->pw_dir) : QByteArray();
}

} // namespace

QByteArray DataFolderFor(const QByteArray& xdgDataHome, const QByteArray& home) {
    const QByteArray dataHome =
        xdgDataHome.startsWith('/') ? xdgDataHome : home + QByteArrayLiteral("/.local/share");
    return dataHome + QByteArrayLiteral("/Formulon");
}

QByteArray PersonalDataFolder() {
    if (QStandardPaths::isTestModeEnabled())
        return QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return DataFolderFor(qgetenv("XDG_DATA_HOME"), HomeFolder());
}
