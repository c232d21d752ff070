// The champions file shared: saves that merge from many processes at once,
// backups never overwritten, modes and groups that let a class share one
// table, and data folder paths used exactly as the environment gives them.
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "tests/champions/ChampionsTestFiles.h"
#include "tests/champions/SaveLoopTables.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Ten processes add twelve records each at random moments, every save
// slowed as on a slow share, and one stopped for 15 s in the middle of its
// first save, the lock held: the others wait, give up past their patience
// with their records kept, and save them later. The file ends with exactly
// the fifteen best of all, under a right checksum.
TEST(StressTest, TenProcessesLoseNoRecordThroughAStall) {
    QTemporaryDir home;
    constexpr int kProcesses = 10;
    std::vector<std::unique_ptr<QProcess>> savers;
    for (int process = 0; process < kProcesses; ++process) {
        savers.push_back(std::make_unique<QProcess>());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HELPER_SLOW_MS", "20");
        if (process == 0)
            environment.insert("HELPER_STALL", "1");
        savers.back()->setProcessEnvironment(environment);
        savers.back()->start(CHAMPIONS_SAVE_HELPER,
                             {home.path(), "stress", QString::number(process)});
    }
    ASSERT_TRUE(savers[0]->waitForReadyRead(10000));
    ASSERT_EQ(savers[0]->readLine(), "mid\n");
    ::kill(savers[0]->processId(), SIGSTOP);
    QTest::qWait(15000); // the stall itself, longer than any copy waits
    ::kill(savers[0]->processId(), SIGCONT);
    std::map<int, std::string> all; // time -> name; the times are distinct
    for (int process = 0; process < kProcesses; ++process) {
        ASSERT_TRUE(savers[process]->state() == QProcess::NotRunning ||
                    savers[process]->waitForFinished(40000));
        EXPECT_EQ(savers[process]->exitCode(), 0)
            << savers[process]->readAllStandardOutput().data();
        for (int record = 0; record < 12; ++record)
            all[StressTime(process, record)] = StressName(process, record);
    }
    ASSERT_EQ(all.size(), 120u);
    std::string best;
    for (auto it = all.begin(); it != std::next(all.begin(), kRankingSlots); ++it)
        best += (best.empty() ? "" : " ") + it->second + ":" + std::to_string(it->first);
    const QString path = RunHelper(home.path(), {"path"}).value(0);
    EXPECT_EQ(FileRanking(ReadAll(path)), best);
    EXPECT_EQ(Entries(QFileInfo(path).absolutePath()), ".camp.cam|formulon.lock");
}

// Every damaged file is kept under the next number; the newest ten stay,
// and a backup of the user's own is never touched.
TEST(BackupTest, NumberedNeverOverwrittenNewestTenKept) {
    QDir(DataFolder()).removeRecursively();
    const QString folder = DataFolder();
    ASSERT_TRUE(WriteAll(folder + "/.camp.cam.bak", "the user's"));
    // Made by hand past the numbers the program gives: neither followed nor pruned.
    ASSERT_TRUE(WriteAll(folder + "/.camp.cam.formulon-backup-999999999", "by hand"));
    for (int save = 1; save <= 12; ++save) {
        ASSERT_TRUE(WriteAll(ChampionsFilePath(), "damaged " + QByteArray::number(save)));
        SaveChampions();
    }
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(ReadAll(folder + "/.camp.cam.formulon-backup-" + QString::number(n)),
                  n > 2 ? "damaged " + QByteArray::number(n) : QByteArray())
            << n;
    EXPECT_EQ(ReadAll(folder + "/.camp.cam.bak"), "the user's");
    EXPECT_EQ(ReadAll(folder + "/.camp.cam.formulon-backup-999999999"), "by hand");
    EXPECT_EQ(FileRanking(ReadAll(ChampionsFilePath())), "");
    QDir(folder).removeRecursively();
}

// A save keeps the mode and group of the class table it replaces; a new
// one gets its folder's group, writable by it.
struct TModeCase {
    const char* title;
    mode_t before; // 0: no file yet
    mode_t after;
};

void PrintTo(const TModeCase& row, std::ostream* out) {
    *out << row.title;
}

class ModeTest : public ::testing::TestWithParam<TModeCase> {
protected:
    void TearDown() override { UseClassTable({}); }
};

TEST_P(ModeTest, KeepsOrGivesTheRightModeAndGroup) {
    const TModeCase& row = GetParam();
    const bool root = ::geteuid() == 0; // only root gives files to any group
    QTemporaryDir folder;
    const QString path = folder.filePath("table.cam");
    const QString owner = row.before ? path : folder.path();
    if (row.before) {
        ASSERT_TRUE(WriteAll(path, {}));
        ASSERT_EQ(::chmod(QFile::encodeName(path), row.before), 0);
    }
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(owner), -1, 4242), 0);
    }
    const gid_t group = Group(owner);
    UseClassTable(QFile::encodeName(path));
    RunRecords.Reset();
    RunRecords.Enter("pupil", "42");
    SaveChampions();
    EXPECT_EQ(Mode(path), S_IFREG | row.after);
    EXPECT_EQ(Group(path), group);
}

INSTANTIATE_TEST_SUITE_P(Rows, ModeTest,
                         ::testing::Values(TModeCase{"NewClassTable", 0, 0660},
                                           TModeCase{"ClassTableOfTheGroup", 0664, 0664},
                                           TModeCase{"UnreadableGetsReadableToItsOwner", 0240,
                                                     0640}),
                         [](const auto& info) { return std::string(info.param.title); });

// A pupil saves a class table a teacher's program made: the records merge
// and the table stays the class's.
TEST(ClassTableTest, TheSecondUserOfAGroupFolderSavesIntoIt) {
    if (::geteuid() != 0 || !CanRunAsOrdinaryUser())
        GTEST_SKIP() << "needs root and setpriv to act as two users of one group";
    QTemporaryDir root;
    const QString folder = root.filePath("class");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chown(QFile::encodeName(folder), 0, 4242), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder), 02770), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(root.path()), 0755), 0);
    const QString table = folder + "/table.cam";
    THelperRun teacher;
    teacher.table = table;
    EXPECT_EQ(RunHelper(root.path(), {"load-save"}, teacher).join('|'),
              "load: ok|save: ok|save: ok");
    THelperRun pupil = teacher;
    pupil.ordinaryUser = true;
    pupil.groups = "4242";
    EXPECT_EQ(RunHelper(root.path(), {"load-save"}, pupil).join('|'), "load: ok|save: ok|save: ok");
    EXPECT_EQ(FileRanking(ReadAll(table)), "new:1 new:1");
    EXPECT_EQ(Mode(table), S_IFREG | 0660u);
    EXPECT_EQ(Group(table), 4242u);
}

// The names in a folder, as bytes.
QList<QByteArray> RawEntries(const QString& folder) {
    QList<QByteArray> names;
    if (DIR* dir = ::opendir(QFile::encodeName(folder))) {
        while (const dirent* entry = ::readdir(dir))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names << entry->d_name;
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The saved file lands where the environment says, byte for byte, and
// never where the program was started.
TEST(DataFolderTest, SavesWhereTheEnvironmentSays) {
    QTemporaryDir home;
    const QByteArray raw = QFile::encodeName(home.path()) + "/d\xff\xfe";
    THelperRun odd;
    odd.dataHome = raw;
    EXPECT_EQ(RunHelper(home.path(), {"save"}, odd), QStringList{"save: ok"});
    EXPECT_EQ(RawEntries(home.path()), QList<QByteArray>{"d\xff\xfe"});
    struct stat info {};
    EXPECT_EQ(::stat(raw + "/Formulon/.camp.cam", &info), 0);

    QTemporaryDir other;
    THelperRun relative;
    relative.dataHome = "relative";
    relative.folder = other.filePath("started-here");
    ASSERT_TRUE(QDir().mkpath(relative.folder));
    EXPECT_EQ(RunHelper(other.path(), {"save"}, relative), QStringList{"save: ok"});
    EXPECT_TRUE(QFileInfo::exists(other.filePath(".local/share/Formulon/.camp.cam")));
    EXPECT_EQ(Entries(relative.folder), "");
}

// A home the user cannot write: the message names the failing call's error.
TEST(UnwritableHomeTest, SaysAccessDenied) {
    if (!CanRunAsOrdinaryUser())
        GTEST_SKIP() << "root writes everywhere and setpriv is missing to run as another user";
    QTemporaryDir home;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()), 0555), 0);
    THelperRun ordinary;
    ordinary.ordinaryUser = true;
    EXPECT_EQ(RunHelper(home.path(), {"save"}, ordinary), QStringList{"save: File access denied"});
    ::chmod(QFile::encodeName(home.path()), 0755);
}

} // namespace

namespace {

// A set's own table lies beside the standard one (or the class table), and
// never is the standard one, whatever the set's file is called.
struct TSetTableRow {
    const char* ClassTable; // empty: the personal file
    const char* SetName;
    const char* Expected; // in the standard file's folder
};

class SetTableTest : public testing::TestWithParam<TSetTableRow> {};

TEST_P(SetTableTest, LiesBesideTheStandardTable) {
    UseClassTable(GetParam().ClassTable);
    UseTaskSetTable(GetParam().SetName);
    const QByteArray standard = StandardChampionsFileNativePath();
    EXPECT_EQ(ChampionsFileNativePath(),
              standard.left(standard.lastIndexOf('/') + 1) + GetParam().Expected);
    UseTaskSetTable({});
    EXPECT_EQ(ChampionsFileNativePath(), standard);
    UseClassTable({});
}

INSTANTIATE_TEST_SUITE_P(Rows, SetTableTest,
                         testing::Values(TSetTableRow{"", "trig", "trig.cam"},
                                         TSetTableRow{"", ".camp", ".camp.tasks.cam"},
                                         TSetTableRow{"/s/9b/table.cam", "trig", "trig.cam"},
                                         TSetTableRow{"/s/9b/trig.cam", "trig", "trig.tasks.cam"}));

} // namespace
