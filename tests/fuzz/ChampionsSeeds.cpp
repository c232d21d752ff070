// Writes the champions target's seeds that the program itself would save:
// a fresh table, and a full ranking with a spare record carried in slot 16.
// Each seed is the raw-file mode byte (0) followed by the file's bytes.
#include <cstdio>
#include <string>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"

namespace {

bool WriteSeed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = QByteArray(1, '\0') + ChampionsFileBytes();
    return file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = WriteSeed(folder + QStringLiteral("/saved-fresh"));
    for (int slot = 1; slot <= kRankingSlots; ++slot) {
        // Names in code page 1251 ("Игрок" and a number), times unsorted.
        ChampionTable[slot].SetName("\xC8\xE3\xF0\xEE\xEA " + std::to_string(slot));
        ChampionTable[slot].SetResult(std::to_string((slot * 37) % 101 + 5));
    }
    ChampionTable[16].SetName("spare");
    ChampionTable[16].SetResult("77");
    ok = WriteSeed(folder + QStringLiteral("/saved-full")) && ok;
    ChampionTable[3].SetName(std::string(255, 'w'));
    ChampionTable[3].SetResult(std::string(255, '9'));
    ok = WriteSeed(folder + QStringLiteral("/saved-longest")) && ok;
    return ok ? 0 : 1;
}
