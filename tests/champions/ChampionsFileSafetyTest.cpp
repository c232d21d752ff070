// The champions file under hostile conditions: links at its path, folders
// that refuse new files, unreadable files, leftovers and a saving process
// killed at random moments.
#include "champions/ChampionsFile.h"
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
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

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray LoopTableBytes(int which) {
    FillLoopTable(which);
    const QByteArray bytes = ChampionsFileBytes();
    ChampionTable.Reset();
    return bytes;
}

mode_t Mode(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

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

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs the save helper for home; as user 65534 when asked and the tests
// run as root (root ignores permission bits).
QStringList RunHelper(const QString& home, const QString& command, bool ordinaryUser = false) {
    QProcess process;
    if (ordinaryUser && ::geteuid() == 0)
        process.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                  CHAMPIONS_SAVE_HELPER, home, command});
    else
        process.start(CHAMPIONS_SAVE_HELPER, {home, command});
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

std::string Joined(const QStringList& list) {
    return list.join('|').toStdString();
}

} // namespace

// A link at the path is replaced by the saved file; whatever it named is
// left alone (mode included) and nothing appears outside the data folder.
struct TLinkCase {
    const char* title;
    bool targetIsFile;
    bool targetIsFolder;
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
    ChampionTable[1].SetName("abc");
    ChampionTable[1].SetResult("12");
    SaveChampions();

    EXPECT_EQ(Mode(ChampionsFilePath()), S_IFREG | 0600u);
    EXPECT_EQ(ReadAll(ChampionsFilePath()), ChampionsFileBytes());
    EXPECT_EQ(Joined(Tree(outside.path())), Joined(outsideBefore));
    EXPECT_EQ(Mode(target), targetMode);
    if (GetParam().targetIsFile) {
        EXPECT_EQ(ReadAll(target), "not a champions file");
    }
    EXPECT_EQ(Joined(Entries(folder)), ".camp.cam");
    QDir(folder).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(Links, LinkAtPathTest,
                         ::testing::Values(TLinkCase{"ToFile", true, false},
                                           TLinkCase{"Dangling", false, false},
                                           TLinkCase{"ToFolder", false, true}),
                         Title<TLinkCase>);

// Only names of the save's own temporary pattern go.
TEST(SaveLeftoversTest, RemovesOnlyTheSavesOwnTemporaryFiles) {
    QDir(DataFolder()).removeRecursively();
    const QString folder = DataFolder();
    const struct {
        const char* name;
        bool removed;
    } rows[] = {
        {".camp.cam.a1B2c3", true},  {".camp.cam.ZZZZZZ", true},   {".camp.cam", false},
        {".camp.cam.bak", false},    {".camp.cam.abc12", false},   {".camp.cam.abc1234", false},
        {".camp.cam.ab-12c", false}, {"x.camp.cam.a1B2c3", false}, {"notes.txt", false},
    };
    for (const auto& row : rows)
        ASSERT_TRUE(WriteAll(folder + "/" + row.name, "x"));
    ASSERT_TRUE(QDir().mkpath(folder + "/.camp.cam.dir123")); // not a file: kept

    RemoveSaveLeftovers();
    for (const auto& row : rows)
        EXPECT_EQ(QFileInfo::exists(folder + "/" + row.name), !row.removed) << row.name;
    EXPECT_TRUE(QFileInfo(folder + "/.camp.cam.dir123").isDir());
    QDir(folder).removeRecursively();
}

// A process saving two tables in turn is killed at random moments: the
// file is always one whole table, never a mixture or a stump.
TEST(SaveKillTest, FileIsAlwaysAWholeTable) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = RunHelper(home.path(), "path").value(0);
    ASSERT_FALSE(path.isEmpty());
    const QByteArray tables[] = {LoopTableBytes(0), LoopTableBytes(1)};
    int seen[2] = {0, 0};
    constexpr int kKills = 200;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess saver;
        saver.start(CHAMPIONS_SAVE_HELPER, {home.path(), "loop"});
        ASSERT_TRUE(saver.waitForReadyRead(10000)) << "the saver never finished a save";
        ::usleep(QRandomGenerator::global()->bounded(3000));
        saver.kill();
        ASSERT_TRUE(saver.waitForFinished(10000));
        const QByteArray file = ReadAll(path);
        const int which = file == tables[0] ? 0 : file == tables[1] ? 1 : -1;
        ASSERT_NE(which, -1) << "kill " << kill << " left " << file.size() << " bytes";
        ++seen[which];
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);

    RunHelper(home.path(), "tidy");
    EXPECT_EQ(Joined(Entries(QFileInfo(path).absolutePath())), ".camp.cam");
    EXPECT_EQ(Mode(path), S_IFREG | 0600u);
}

// Files and folders an administrator prepared, saved by an ordinary user.
struct TPermissionCase {
    const char* title;
    bool folderWritable;
    mode_t fileMode; // 0: a link at the path to a writable file elsewhere
    const char* loadLine;
    const char* saveLine;
    bool saved;     // the file holds the new table afterwards
    bool keptAside; // the old file sits beside it as .bak
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
    const QString path = RunHelper(home_.path(), "path").value(0);
    folder_ = QFileInfo(path).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder_));

    // Three records on disk; the helper adds "new" in slot 15 and saves.
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
    if (!row.saved)
        ChampionTable.Reset(); // nothing loaded
    ChampionTable[15].SetName("new");
    ChampionTable[15].SetResult("1");
    const QByteArray saved = ChampionsFileBytes();
    ChampionTable.Reset();

    const QStringList lines = RunHelper(home_.path(), "load-save", true);
    EXPECT_EQ(Joined(lines), std::string(row.loadLine) + "|" + row.saveLine + "|" + row.saveLine);
    if (row.fileMode == 0) {
        EXPECT_EQ(ReadAll(outside), old) << "never written through the link";
        EXPECT_TRUE(QFileInfo(path).isSymLink());
    } else if (row.saved || row.keptAside) {
        EXPECT_EQ(ReadAll(path), saved);
        EXPECT_FALSE(QFileInfo(path).isSymLink());
    } else {
        EXPECT_EQ(ReadAll(path), old);
    }
    EXPECT_EQ(ReadAll(path + ".bak"), row.keptAside ? old : QByteArray("older backup"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PermissionTest,
    ::testing::Values(TPermissionCase{"ReadOnlyFolderWritableFile", false, 0600, "load: ok",
                                      "save: ok", true, false},
                      TPermissionCase{"ReadOnlyFolderLinkAtPath", false, 0, "load: ok",
                                      "save: I/O error 40", false, false},
                      TPermissionCase{"UnreadableFileKeptAside", true, 0200,
                                      "load: File access denied", "save: ok", false, true},
                      TPermissionCase{"UnreadableFileInReadOnlyFolder", false, 0200,
                                      "load: File access denied", "save: File access denied", false,
                                      false}),
    Title<TPermissionCase>);
