// The lock file beside the table: whatever sits at its path, whoever made
// it, a load or save neither hangs nor is kept from the file for good, and
// nothing but a stale lock file is ever removed.
#include "app/shell/FolderLock.h"
#include "champions/ChampionsFile.h"
#include "engine/Errors.h"
#include "tests/champions/ChampionsTestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

enum class TAtPath {
    Empty,
    Garbage,
    DeadOwner,
    ForeignHost,
    LiveOwner,
    Folder,
    Link,
    Dangling,
    Pipe
};
enum class TOutcome { TakenOver, Unguarded, Busy };

struct TLockCase {
    const char* title;
    TAtPath what;
    int age; // seconds
    TOutcome outcome;
};

void PrintTo(const TLockCase& row, std::ostream* out) {
    *out << row.title;
}

// An owner line as another process would write it.
QByteArray OwnerLine(pid_t pid, const QByteArray& host = {}) {
    QList<QByteArray> own = TFolderLock::OwnerLine().split(' ');
    own[0] = QByteArray::number(pid);
    if (!host.isEmpty())
        own[1] = host;
    return own.join(' ');
}

pid_t DeadProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Makes the row's thing at path; returns what must stay of it.
QByteArray Make(TAtPath what, const QString& path, const QString& elsewhere) {
    const QByteArray native = QFile::encodeName(path);
    switch (what) {
    case TAtPath::Empty:
        return WriteAll(path, {}) ? "" : "failed";
    case TAtPath::Garbage:
        return WriteAll(path, "\x01zz\n") ? "" : "failed";
    case TAtPath::DeadOwner:
        return WriteAll(path, OwnerLine(DeadProcess())) ? "" : "failed";
    case TAtPath::ForeignHost:
        return WriteAll(path, OwnerLine(::getpid(), "another-host")) ? "" : "failed";
    case TAtPath::LiveOwner:
        return WriteAll(path, OwnerLine(::getppid())) ? "" : "failed";
    case TAtPath::Folder:
        return ::mkdir(native, 0755) == 0 ? "folder" : "failed";
    case TAtPath::Link:
        return WriteAll(elsewhere, "target") && QFile::link(elsewhere, path) ? "link" : "failed";
    case TAtPath::Dangling:
        return QFile::link(elsewhere, path) ? "dangling" : "failed";
    case TAtPath::Pipe:
        return ::mkfifo(native, 0644) == 0 ? "pipe" : "failed";
    }
    return "failed";
}

class LockTest : public ::testing::TestWithParam<TLockCase> {};

TEST_P(LockTest, NeitherHangsNorRemovesWhatIsNotAStaleLock) {
    const TLockCase& row = GetParam();
    QTemporaryDir folder;
    const QString path = folder.filePath("formulon.lock");
    const QString elsewhere = folder.filePath("elsewhere");
    ASSERT_NE(Make(row.what, path, elsewhere), "failed");
    ASSERT_TRUE(Age(path, row.age));
    const mode_t mode = Mode(path);
    const QByteArray content = S_ISREG(mode) ? ReadAll(path) : QByteArray();

    TOutcome outcome = TOutcome::Busy;
    try {
        const TFolderLock lock(QFile::encodeName(folder.path()), ChampionsLockedFile(),
                               std::chrono::milliseconds(100));
        outcome = lock.Held() ? TOutcome::TakenOver : TOutcome::Unguarded;
        if (lock.Held()) {
            EXPECT_EQ(ReadAll(path), TFolderLock::OwnerLine());
        }
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("formulon.lock"), std::string::npos) << e.what();
    }
    EXPECT_EQ(outcome, row.outcome);
    if (outcome == TOutcome::TakenOver) {
        EXPECT_EQ(Entries(folder.path()), "") << "released, and nothing left beside it";
    } else {
        EXPECT_EQ(Mode(path), mode);
        if (S_ISREG(mode)) {
            EXPECT_EQ(ReadAll(path), content);
        }
    }
    if (row.what == TAtPath::Link) {
        EXPECT_EQ(ReadAll(elsewhere), "target");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LockTest,
    ::testing::Values(TLockCase{"EmptyAndOld", TAtPath::Empty, 60, TOutcome::TakenOver},
                      TLockCase{"EmptyAndNew", TAtPath::Empty, 0, TOutcome::Busy},
                      TLockCase{"GarbageAndOld", TAtPath::Garbage, 11, TOutcome::TakenOver},
                      TLockCase{"DeadOwnerHere", TAtPath::DeadOwner, 0, TOutcome::TakenOver},
                      TLockCase{"LiveOwnerHere", TAtPath::LiveOwner, 0, TOutcome::Busy},
                      TLockCase{"AnotherHost", TAtPath::ForeignHost, 0, TOutcome::Busy},
                      TLockCase{"AnotherHostOld", TAtPath::ForeignHost, 60, TOutcome::TakenOver},
                      TLockCase{"Folder", TAtPath::Folder, 0, TOutcome::Unguarded},
                      TLockCase{"Link", TAtPath::Link, 0, TOutcome::Unguarded},
                      TLockCase{"DanglingLink", TAtPath::Dangling, 0, TOutcome::Unguarded},
                      TLockCase{"Pipe", TAtPath::Pipe, 0, TOutcome::Unguarded}),
    [](const auto& info) { return std::string(info.param.title); });

// A lock file another user left, unreadable to this one, goes by its age.
TEST(UnreadableLockTest, AnOldOneIsTakenOver) {
    if (!CanRunAsOrdinaryUser())
        GTEST_SKIP() << "root reads every file and setpriv is missing to run as another user";
    QTemporaryDir home;
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()), 0755), 0);
    THelperRun ordinary;
    ordinary.ordinaryUser = true;
    const QString folder = home.filePath("share/Formulon");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(WriteAll(folder + "/formulon.lock", OwnerLine(1, "elsewhere")));
    ASSERT_EQ(::chmod(QFile::encodeName(folder + "/formulon.lock"), 0), 0);
    ASSERT_TRUE(Age(folder + "/formulon.lock", 60));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(folder), 65534, 65534), 0);
    }
    EXPECT_EQ(RunHelper(home.path(), {"save"}, ordinary), QStringList{"save: ok"});
    EXPECT_EQ(Entries(folder), ".camp.cam");
}

} // namespace
