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
//               saving after each, every save slowed by HELPER_SLOW_MS;
//               a save kept from the lock keeps its records for the next.
//               With HELPER_STALL set, writes "mid" once in the middle of
//               its first save, for the test to stop it there. Exits 1 on
//               a failed save or a record never saved
//   hold        takes the lock and holds it until killed; writes "held"
//   faults <f>  loads and saves as load-save with open, read or fsync
//               failing with EIO (f: the TInjectedFault bits)
//   tidy        takes the lock and removes every leftover of a cut-short
//               save, however young
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
#include "storage/FolderLock.h"
#include "storage/MergingSave.h"
#include "storage/SafeFile.h"
#include "storage/SideFiles.h"
#include "tests/champions/SaveLoopTables.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

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

// A save that fails for a busy lock only keeps its records for the next.
bool SaveKeeping() {
    try {
        SaveChampions();
        return true;
    } catch (const ELockBusy&) {
        return true;
    } catch (const Exception& error) {
        std::printf("save: %s\n", error.what());
        return false;
    }
}

void SlowSaves() {
    const int slow = qEnvironmentVariableIntValue("HELPER_SLOW_MS");
    const bool stall = qEnvironmentVariableIsSet("HELPER_STALL");
    SetSaveStallHook([slow, stall, first = true]() mutable {
        if (stall && std::exchange(first, false)) {
            (void)!::write(1, "mid\n", 4);
            std::this_thread::sleep_for(std::chrono::seconds(1)); // stopped in here
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(slow));
    });
}

int Stress(int process) {
    SlowSaves();
    for (int record = 0; record < 12; ++record) {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(QRandomGenerator::global()->bounded(20)));
        RunRecords.Enter(StressName(process, record), std::to_string(StressTime(process, record)));
        if (!SaveKeeping())
            return 1;
    }
    for (int again = 0; !RunRecords.AllSaved() && again < 10; ++again)
        if (!SaveKeeping())
            return 1;
    return RunRecords.AllSaved() ? 0 : 1;
}

void Tidy() {
    const QByteArray path = ChampionsFileNativePath();
    TFolderLock lock(path, ChampionsLockedFile(), kSavePatience, PersonalFileMode());
    RemoveSaveLeftovers(path, std::chrono::seconds(-1));
}

[[noreturn]] void Hold() {
    MakeFolders(FolderOf(ChampionsFileNativePath()));
    TFolderLock lock(ChampionsFileNativePath(), ChampionsLockedFile(), kSavePatience,
                     PersonalFileMode());
    (void)!::write(1, "held\n", 5);
    for (;;)
        ::pause();
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
    SetErrorReporter([print](const std::string& message) { print({}, ErrorBoxText(message)); });
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s <home> path|loop N|load-save|save|stress N|tidy|hold|faults F\n",
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
    } else if (std::strcmp(command, "hold") == 0) {
        Hold();
    } else if (std::strcmp(command, "faults") == 0 && argc == 4) {
        InjectFaults(static_cast<unsigned>(std::atoi(argv[3])));
        Step("load", [] { LoadChampions(); });
        RunRecords.Enter("new", "1");
        Step("save", SaveChampions);
        InjectFaults(0);
        Step("save", SaveChampions);
    } else {
        return 2;
    }
    return 0;
}
