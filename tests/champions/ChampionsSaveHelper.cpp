// Runs the champions file's load and save in a process of its own, for the
// tests that kill a saving process or run it as another user.
//
// usage: champions_save_helper <home> <command>
//   path       prints the file's path
//   loop       saves two tables alternately until killed; writes one byte
//              to stdout once the first save is done
//   load-save  loads, puts "new" with time 1 into slot 15, saves twice;
//              prints one line per step: "ok" or the error's text
//   tidy       removes the leftovers of cut-short saves
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
#include "tests/champions/SaveLoopTables.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace formulon::engine;

namespace {

void Step(const char* name, void (*action)()) {
    try {
        action();
        std::printf("%s: ok\n", name);
    } catch (const Exception& error) {
        std::printf("%s: %s\n", name, error.what());
    }
    std::fflush(stdout);
}

[[noreturn]] void SaveForever() {
    for (int round = 0;; ++round) {
        FillLoopTable(round % 2);
        SaveChampions();
        if (round == 0)
            (void)!::write(1, "r", 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <home> path|loop|load-save|tidy\n", argv[0]);
        return 2;
    }
    const QByteArray home = argv[1];
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", home + "/share");
    QCoreApplication::setApplicationName(QStringLiteral("Formulon"));
    const char* command = argv[2];
    if (std::strcmp(command, "path") == 0) {
        std::printf("%s\n", QFile::encodeName(ChampionsFilePath()).constData());
    } else if (std::strcmp(command, "loop") == 0) {
        SaveForever();
    } else if (std::strcmp(command, "load-save") == 0) {
        Step("load", [] { LoadChampions(); });
        ChampionTable[15].SetName("new");
        ChampionTable[15].SetResult("1");
        Step("save", SaveChampions);
        Step("save", SaveChampions);
    } else if (std::strcmp(command, "tidy") == 0) {
        RemoveSaveLeftovers();
    } else {
        return 2;
    }
    return 0;
}
