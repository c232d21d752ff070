// The champions file under hostile conditions: links at its path, folders
// that refuse new files, unreadable files, leftovers and a saving process
// killed at random moments.
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"
#include "tests/champions/ChampionsTestFiles.h"
#include "tests/champions/SaveLoopTables.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every path below folder, sub-folders included.
QStringList Tree(const QString& folder) {
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    return paths;
}

template <typename TRow> std::string Title(const ::testing::TestParamInfo<TRow>& info) {
    return info.param.title;
}

std::string Joined(const QStringList& list) {
    return list.join('|').toStdString();
}

} // namespace

// A link at the path is replaced by the saved file; whatever it named is
// left alone (mode included) and nothing appears outside the data folder.
// A file it names that fails its check is kept: the link is the backup.
struct TLinkCase {
    const char* title;
    bool targetIsFile;
    bool targetIsFolder;
    const char* entries;
};

void PrintTo(const TLinkCase& row, std::ostream* out) {
    *out << row.title;
}

class LinkAtPathTest : public ::testing::TestWithParam<TLinkCase> {};

TEST_P(LinkAtPathTest, SaveReplacesTheLinkItself) {
    QDir(DataFolder()).removeRecursively();
    const QString folder = DataFolder();
    QTemporaryDir outside;
    const QString target = outside.filePath("target");
    if (GetParam().targetIsFile) {
        ASSERT_TRUE(WriteAll(target, "not a champions file"));
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0604), 0);
    }
    if (GetParam().targetIsFolder) {
        ASSERT_TRUE(QDir().mkpath(target));
    }
    const QStringList outsideBefore = Tree(outside.path());
    const mode_t targetMode = Mode(target);
    ASSERT_TRUE(QFile::link(target, ChampionsFilePath()));

    ChampionTable.Reset();
    RunRecords.Reset();
    RunRecords.Enter("abc", "12");
    SaveChampions();

    EXPECT_EQ(Mode(ChampionsFilePath()), S_IFREG | 0600u);
    EXPECT_EQ(FileRanking(ReadAll(ChampionsFilePath())), "abc:12");
    EXPECT_EQ(Joined(Tree(outside.path())), Joined(outsideBefore));
    EXPECT_EQ(Mode(target), targetMode);
    if (GetParam().targetIsFile) {
        EXPECT_EQ(ReadAll(target), "not a champions file");
    }
    EXPECT_EQ(Entries(folder), GetParam().entries);
    QDir(folder).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkAtPathTest,
    ::testing::Values(TLinkCase{"ToFile", true, false,
                                ".camp.cam|.camp.cam.formulon-backup-1|formulon.lock"},
                      TLinkCase{"Dangling", false, false, ".camp.cam|formulon.lock"},
                      TLinkCase{"ToFolder", false, true, ".camp.cam|formulon.lock"}),
    Title<TLinkCase>);

// A save removes what saves cut short left behind, and nothing else: not a
// user's own copies, however named, and no temporary file young enough to
// be another machine's save in progress.
TEST(SaveLeftoversTest, RemovesOnlyOldTemporaryFilesOfTheSavesOwn) {
    QDir(DataFolder()).removeRecursively();
    const QString folder = DataFolder();
    const struct {
        const char* name;
        int age; // seconds
        bool removed;
    } rows[] = {
        {".camp.cam.formulon-save-a1B2c3", 3600, true},
        {".camp.cam.formulon-save-ZZZZZZ", 61, true},
        {".camp.cam.formulon-save-young1", 10, false},
        {".camp.cam.formulon-save-abc12", 3600, false},
        {".camp.cam.formulon-save-ab-12c", 3600, false},
        {"formulon.lock.new-a1B2c3", 3600, true},
        {"formulon.lock.stale-a1B2c3", 3600, true},
        {"formulon.lock.new-young1", 10, false},
        {".camp.cam.backup", 3600, false},
        {".camp.cam.old001", 3600, false},
        {".camp.cam.AbC123", 3600, false},
        {".camp.cam.bak", 3600, false},
        {"x.camp.cam.formulon-save-a1B2c3", 3600, false},
    };
    for (const auto& row : rows)
        ASSERT_TRUE(WriteAll(folder + "/" + row.name, "x") &&
                    Age(folder + "/" + row.name, row.age));
    const QString dir = folder + "/.camp.cam.formulon-save-dir123"; // not a file: kept
    ASSERT_TRUE(QDir().mkpath(dir) && Age(dir, 3600));

    SaveChampions();
    for (const auto& row : rows)
        EXPECT_EQ(QFileInfo::exists(folder + "/" + row.name), !row.removed) << row.name;
    EXPECT_TRUE(QFileInfo(dir).isDir());
    QDir(folder).removeRecursively();
}

// A process saving round after round is killed at random moments: the file
// is always one whole table, never a mixture or a stump, holds at least the
// save the process reported done, and the next process takes the dead one's
// lock over. Each process starts past every round of the ones before, so
// this holds however few saves a slow disk lets one finish.
TEST(SaveKillTest, FileIsAlwaysAWholeTable) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = RunHelper(home.path(), {"path"}).value(0);
    ASSERT_FALSE(path.isEmpty());
    constexpr int kKills = 200;
    constexpr int kRoundsAProcess = 1000;
    for (int kill = 0; kill < kKills; ++kill) {
        const int first = kill * kRoundsAProcess;
        QProcess saver;
        saver.start(CHAMPIONS_SAVE_HELPER, {home.path(), "loop", QString::number(first)});
        ASSERT_TRUE(saver.waitForReadyRead(10000)) << "the saver never finished a save";
        ::usleep(QRandomGenerator::global()->bounded(3000));
        saver.kill();
        ASSERT_TRUE(saver.waitForFinished(10000));
        const std::string ranking = FileRanking(ReadAll(path));
        const std::string round = ranking.substr(0, ranking.find('-') + 1);
        ASSERT_EQ(QString::fromStdString(ranking).count(QString::fromStdString(" " + round)),
                  kRankingSlots - 1)
            << "kill " << kill << " left " << ranking;
        ASSERT_GE(std::stoi(round.substr(1)), first) << "kill " << kill << " left " << ranking;
    }

    RunHelper(home.path(), {"tidy"});
    EXPECT_EQ(Entries(QFileInfo(path).absolutePath()), ".camp.cam|formulon.lock");
    EXPECT_EQ(Mode(path), S_IFREG | 0600u);
}

// Files and folders an administrator prepared, saved by an ordinary user.
struct TPermissionCase {
    const char* title;
    bool folderWritable;
    mode_t fileMode; // 0: a link at the path to a writable file elsewhere
    const char* loadLine;
    const char* saveLine;
    bool saved;     // the file holds the new record afterwards
    bool keptAside; // the old file sits beside it as the first backup
};

void PrintTo(const TPermissionCase& row, std::ostream* out) {
    *out << row.title;
}

class PermissionTest : public ::testing::TestWithParam<TPermissionCase> {
protected:
    void TearDown() override {
        if (home_.isValid())
            ::chmod(QFile::encodeName(folder_).constData(), 0755);
    }
    // Gives path to the helper's user (only root can, and needs to).
    static void HandOver(const QString& path) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        }
    }
    QTemporaryDir home_;
    QString folder_;
};

TEST_P(PermissionTest, SavesWhatItMayAndLosesNothing) {
    if (::geteuid() == 0 && QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP()
            << "root ignores permission bits and setpriv is missing to run as another user";
    const TPermissionCase& row = GetParam();
    ASSERT_TRUE(home_.isValid());
    ASSERT_EQ(::chmod(QFile::encodeName(home_.path()).constData(), 0755), 0);
    const QString path = RunHelper(home_.path(), {"path"}).value(0);
    folder_ = QFileInfo(path).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder_));

    // Three records on disk; the helper enters "new" and saves.
    ChampionTable.Reset();
    const char* names[] = {"ann", "bob", "cid"};
    for (int slot = 1; slot <= 3; ++slot) {
        ChampionTable[slot].SetName(names[slot - 1]);
        ChampionTable[slot].SetResult(std::to_string(slot * 10));
    }
    const QByteArray old = ChampionsFileBytes();
    const QString outside = home_.filePath("elsewhere");
    if (row.fileMode == 0) {
        ASSERT_TRUE(WriteAll(outside, old));
        HandOver(outside);
        ASSERT_TRUE(QFile::link(outside, path));
    } else {
        ASSERT_TRUE(WriteAll(path, old));
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), row.fileMode), 0);
    }
    HandOver(path);
    ASSERT_TRUE(WriteAll(path + ".bak", "older backup"));
    HandOver(path + ".bak");
    if (row.folderWritable) {
        HandOver(folder_);
    } else if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(folder_).constData(), 0555), 0);
    }
    ChampionTable.Reset();

    THelperRun ordinary;
    ordinary.ordinaryUser = true;
    const QStringList lines = RunHelper(home_.path(), {"load-save"}, ordinary);
    EXPECT_EQ(Joined(lines), std::string(row.loadLine) + "|" + row.saveLine + "|" + row.saveLine);
    if (row.fileMode == 0) {
        EXPECT_EQ(ReadAll(outside), old) << "never written through the link";
        EXPECT_TRUE(QFileInfo(path).isSymLink());
    } else if (row.saved || row.keptAside) {
        EXPECT_EQ(FileRanking(ReadAll(path)), row.saved ? "new:1 ann:10 bob:20 cid:30" : "new:1");
        EXPECT_FALSE(QFileInfo(path).isSymLink());
    } else {
        EXPECT_EQ(ReadAll(path), old);
    }
    EXPECT_EQ(ReadAll(path + ".formulon-backup-1"), row.keptAside ? old : QByteArray());
    EXPECT_EQ(ReadAll(path + ".bak"), "older backup") << "a backup is never overwritten";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PermissionTest,
    ::testing::Values(TPermissionCase{"ReadOnlyFolderWritableFile", false, 0600, "load: ok",
                                      "save: ok", true, false},
                      TPermissionCase{"ReadOnlyFolderLinkAtPath", false, 0, "load: ok",
                                      "save: File access denied", false, false},
                      TPermissionCase{"UnreadableFileLeftAsItIs", true, 0200,
                                      "load: File access denied", "save: File access denied", false,
                                      false},
                      TPermissionCase{"UnreadableFileInReadOnlyFolder", false, 0200,
                                      "load: File access denied", "save: File access denied", false,
                                      false}),
    Title<TPermissionCase>);
