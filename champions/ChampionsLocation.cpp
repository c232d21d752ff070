#include "champions/ChampionsLocation.h"

#include <QFile>

namespace {

QByteArray classTable;
QByteArray setName;

} // namespace

void UseClassTable(const QByteArray& path) {
    classTable = path;
}

bool UsesClassTable() {
    return !classTable.isEmpty();
}

void UseTaskSetTable(const QByteArray& name) {
    setName = name;
}

QByteArray StandardChampionsFileNativePath() {
    return UsesClassTable() ? classTable : PersonalDataFolder() + QByteArrayLiteral("/.camp.cam");
}

QByteArray ChampionsFileNativePath() {
    const QByteArray standard = StandardChampionsFileNativePath();
    if (setName.isEmpty())
        return standard;
    const QByteArray folder = standard.left(standard.lastIndexOf('/') + 1);
    QByteArray path = folder + setName + QByteArrayLiteral(".cam");
    // A set named as the standard file (".camp", or the class table's own
    // name) must not share its times.
    if (path == standard)
        path = folder + setName + QByteArrayLiteral(".tasks.cam");
    return path;
}

QString ChampionsFilePath() {
    return QFile::decodeName(ChampionsFileNativePath());
}
