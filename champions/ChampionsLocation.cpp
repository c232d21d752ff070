#include "champions/ChampionsLocation.h"

#include <QFile>

namespace {

QByteArray classTable;

} // namespace

void UseClassTable(const QByteArray& path) {
    classTable = path;
}

bool UsesClassTable() {
    return !classTable.isEmpty();
}

QByteArray ChampionsFileNativePath() {
    return UsesClassTable() ? classTable : PersonalDataFolder() + QByteArrayLiteral("/.camp.cam");
}

QString ChampionsFilePath() {
    return QFile::decodeName(ChampionsFileNativePath());
}
