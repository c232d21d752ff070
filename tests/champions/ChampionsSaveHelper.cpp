// Runs the champions file's load and save in a process of its own, for the
// tests that kill a saving process, run it as another user, or run many at
// once on one file.
//
// usage: champions_save_helper <home> <command> [argument]
//   HOME is <home>; XDG_DATA_HOME is <home>/share, or the bytes of the
//   hexadecimal HELPER_DATA_HOME_HEX when set; HELPER_TABLE, when set,
//   names a class table.
//   path        prints the file's path
//   loop N      saves round after round from round N until killed; writes
//               one byte to stdout once the first save is done
//   load-save   loads, enters "new" with time 1, saves twice; prints one
//               line per step: "ok" or the error's text
//   save        saves once, entering nothing; prints a line as load-save
//   stress <n>  as process n, enters twelve records at random moments,
//               saving after each; exits 1 on a failed save
//   tidy        takes the lock and removes every leftover of a cut-short
//               save, however young
#include "app/shell/FolderLock.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/SafeFile.h"
#include "app/shell/SideFiles.h"
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
#include "tests/champions/SaveLoopTables.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

using namespace formulon::engine;

namespace {

bool Step(const char* name, void (*action)()) {
    try {
        action();
        std::printf("%s: ok\n", name);
        std::fflush(stdout);
        return true;
    } catch (const Exception& error) {
        std::printf("%s: %s\n", name, error.what());
        std::fflush(stdout);
        return false;
    }
}

[[noreturn]] void SaveForever(int first) {
    for (int round = first;; ++round) {
        EnterRound(round);
        SaveChampions();
        if (round == first)
            (void)!::write(1, "r", 1);
    }
}

int Stress(int process) {
    for (int record = 0; record < 12; ++record) {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(QRandomGenerator::global()->bounded(20)));
        RunRecords.Enter(StressName(process, record), std::to_string(StressTime(process, record)));
        if (!Step("save", SaveChampions))
            return 1;
    }
    return 0;
}

void Tidy() {
    const QByteArray path = ChampionsFileNativePath();
    TFolderLock lock(FolderOf(path), ChampionsLockedFile());
    RemoveSaveLeftovers(path, std::chrono::seconds(-1));
}

void Configure(const QByteArray& home) {
    qputenv("HOME", home);
    const QByteArray hex = qgetenv("HELPER_DATA_HOME_HEX");
    qputenv("XDG_DATA_HOME", hex.isEmpty() ? home + "/share" : QByteArray::fromHex(hex));
    QCoreApplication::setApplicationName(QStringLiteral("Formulon"));
    UseClassTable(qgetenv("HELPER_TABLE"));
    // No windows here: a box's text is a line of output.
    const auto print = [](const QString&, const QString& text) {
        std::printf("box: %s\n", qUtf8Printable(text));
    };
    SetInformationBoxPresenter(print);
    SetErrorBoxPresenter(print);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <home> path|loop N|load-save|save|stress N|tidy\n",
                     argv[0]);
        return 2;
    }
    Configure(argv[1]);
    const char* command = argv[2];
    if (std::strcmp(command, "path") == 0) {
        std::printf("%s\n", ChampionsFileNativePath().constData());
    } else if (std::strcmp(command, "loop") == 0 && argc == 4) {
        SaveForever(std::atoi(argv[3]));
    } else if (std::strcmp(command, "load-save") == 0) {
        Step("load", [] { LoadChampions(); });
        RunRecords.Enter("new", "1");
        Step("save", SaveChampions);
        Step("save", SaveChampions);
    } else if (std::strcmp(command, "save") == 0) {
        Step("save", SaveChampions);
    } else if (std::strcmp(command, "stress") == 0 && argc == 4) {
        return Stress(std::atoi(argv[3]));
    } else if (std::strcmp(command, "tidy") == 0) {
        Tidy();
    } else {
        return 2;
    }
    return 0;
}
