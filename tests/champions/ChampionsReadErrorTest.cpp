// A read error is never damage: a file that cannot be opened or read is
// left exactly as it is and the run's records wait for a later save; only
// a file read whole that fails its check is kept as a backup. A failed
// fsync never makes a record twice.
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "quiz/PracticeFile.h"
#include "storage/SafeFile.h"
#include "tests/champions/ChampionsTestFiles.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace formulon::engine;

namespace {

struct TReadCase {
    const char* title;
    QByteArray (*onDisk)(); // the file before the save
    unsigned faults;        // failing while the first save runs
    const char* firstSave;  // its error, or "ok"
    const char* backup;     // the first backup's ranking afterwards, or ""
    const char* ranking;    // the file's ranking after a second save without faults
};

void PrintTo(const TReadCase& row, std::ostream* out) {
    *out << row.title;
}

QByteArray ValidFile() {
    ChampionTable.Reset();
    ChampionTable[1].SetName("old");
    ChampionTable[1].SetResult("30");
    return ChampionsFileBytes();
}
QByteArray ShortFile() {
    return ValidFile().chopped(1);
}
QByteArray ZeroFile() {
    return QByteArray(8704, '\0');
}
QByteArray EditedFile() {
    QByteArray bytes = ValidFile();
    bytes[1] = 'O';
    return bytes;
}

class ReadOrDamageTest : public ::testing::TestWithParam<TReadCase> {
protected:
    void TearDown() override {
        InjectFaults(0);
        QDir(DataFolder()).removeRecursively();
    }
};

TEST_P(ReadOrDamageTest, OnlyAFileReadWholeIsDamaged) {
    const TReadCase& row = GetParam();
    QDir(DataFolder()).removeRecursively();
    const QByteArray before = row.onDisk();
    ASSERT_TRUE(WriteAll(DataFolder() + "/.camp.cam", before));
    ChampionTable.Reset();
    RunRecords.Reset();
    RunRecords.Enter("new", "5");
    InjectFaults(row.faults);
    std::string first = "ok";
    try {
        SaveChampions();
    } catch (const EInOutError& e) {
        first = e.what();
    }
    InjectFaults(0);
    EXPECT_EQ(first, row.firstSave);
    const QString backup = ChampionsFilePath() + ".formulon-backup-1";
    EXPECT_EQ(QFileInfo::exists(backup) ? FileRanking(ReadAll(backup)) : "", row.backup);
    if (first != "ok") {
        EXPECT_EQ(ReadAll(ChampionsFilePath()), before) << "left exactly as it was";
    }
    SaveChampions();
    EXPECT_EQ(FileRanking(ReadAll(ChampionsFilePath())), row.ranking);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOrDamageTest,
    ::testing::Values(
        TReadCase{"Valid", ValidFile, 0, "ok", "", "new:5 old:30"},
        TReadCase{"OpenFails", ValidFile, kFailOpen, "I/O error 5", "", "new:5 old:30"},
        TReadCase{"ReadFails", ValidFile, kFailRead, "I/O error 5", "", "new:5 old:30"},
        TReadCase{"FsyncFails", ValidFile, kFailFsync, "I/O error 5", "", "new:5 old:30"},
        TReadCase{"ShortIsDamaged", ShortFile, 0, "ok", "invalid", "new:5"},
        TReadCase{"EditedIsDamaged", EditedFile, 0, "ok", "invalid", "new:5"},
        TReadCase{"ZerosAreDamaged", ZeroFile, 0, "ok", "invalid", "new:5"},
        TReadCase{"ShortButUnreadableIsNot", ShortFile, kFailRead, "I/O error 5", "", "new:5"}),
    [](const auto& info) { return std::string(info.param.title); });

// Nothing but a plain file is read or replaced at the table's path, as root
// too: a pipe or a socket there is refused by the load and the save alike.
class NotAFileTest : public ::testing::TestWithParam<bool> {};

TEST_P(NotAFileTest, IsRefusedAndLeftAlone) {
    QTemporaryDir folder;
    const QByteArray table = QFile::encodeName(folder.filePath("table.cam"));
    ASSERT_TRUE(GetParam() ? ::mkfifo(table, 0666) == 0 : MakeSocket(table));
    const mode_t mode = Mode(folder.filePath("table.cam"));
    UseClassTable(table);
    RunRecords.Reset();
    RunRecords.Enter("new", "5");
    EXPECT_THROW(LoadChampions(), ENotAFile);
    EXPECT_THROW(SaveChampions(), ENotAFile);
    EXPECT_EQ(Mode(folder.filePath("table.cam")), mode);
    EXPECT_FALSE(RunRecords.AllSaved());
    UseClassTable({});
}

INSTANTIATE_TEST_SUITE_P(PipeOrSocket, NotAFileTest, ::testing::Bool());

// The same for practice's progress: a load that cannot read says so and
// leaves the file; the progress of this run is kept for the next save.
TEST(PracticeReadErrorTest, LeavesTheFileAndKeepsTheProgress) {
    QDir(DataFolder()).removeRecursively();
    TPracticeProgress theirs;
    theirs.Mark("p21") = {true, 0};
    SavePracticeProgress(theirs);
    const QByteArray before = ReadAll(PracticeFilePath());
    for (const unsigned fault : {kFailOpen, kFailRead}) {
        InjectFaults(fault);
        EXPECT_THROW(LoadPracticeProgress(), EInOutError);
        TPracticeProgress ours;
        ours.Mark("p11") = {true, 0};
        EXPECT_THROW(SavePracticeProgress(ours), EInOutError);
        InjectFaults(0);
        EXPECT_EQ(ReadAll(PracticeFilePath()), before);
        EXPECT_EQ(Entries(DataFolder()), "formulon.lock|practice.txt") << "no backup";
    }
    EXPECT_EQ(LoadPracticeProgress().Progress, theirs);
    QDir(DataFolder()).removeRecursively();
}

// An in-place save (a folder an administrator keeps read-only) whose fsync
// fails after the bytes reached the file: the next save adds nothing twice.
TEST(InPlaceFsyncTest, ARecordIsNeverMadeTwice) {
    if (!CanRunAsOrdinaryUser())
        GTEST_SKIP() << "root writes every folder and setpriv is missing";
    QTemporaryDir home;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()), 0755), 0);
    const QString path = RunHelper(home.path(), {"path"}).value(0);
    const QString folder = QFileInfo(path).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(WriteAll(path, ValidFile()));
    ASSERT_EQ(::chmod(QFile::encodeName(path), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder), 0555), 0);
    THelperRun ordinary;
    ordinary.ordinaryUser = true;
    EXPECT_EQ(RunHelper(home.path(), {"faults", QString::number(kFailFsync)}, ordinary),
              QStringList({"load: ok", "save: I/O error 5", "save: ok"}));
    EXPECT_EQ(FileRanking(ReadAll(path)), "new:1 old:30");
    ::chmod(QFile::encodeName(folder), 0755);
}

} // namespace
